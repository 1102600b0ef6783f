#include "files/tipdelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace vorn {

namespace {

// The text that shows `plain` exactly as a tip: a tip takes any text that looks like markup
// for markup, so every text is given as markup that spells it out, on one line with every
// space kept, as the list shows the name.
QString tipText(const QString& plain) {
    return QStringLiteral("<p style=\"white-space:pre\">") + plain.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace

bool PlainTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
    QRect rect;
    if (index.isValid()) {
        const QRect row = view->visualRect(index);
        rect = QRect(view->viewport()->mapToGlobal(row.topLeft()), row.size());
    }
    // An empty text hides a tip that shows.
    QToolTip::showText(event->globalPos(), tip.isEmpty() ? QString() : tipText(tip), view, rect);
    event->setAccepted(!tip.isEmpty());
    return event->isAccepted();
}

} // namespace vorn
