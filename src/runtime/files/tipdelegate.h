#pragma once

#include <QStyledItemDelegate>

namespace vorn {

// Draws a list's rows as usual and shows each row's tip as plain text: a name on the disk is
// shown as it is written, never read as markup (which would change what it shows, or have the
// tip load a file the name points to).
class PlainTipDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace vorn
