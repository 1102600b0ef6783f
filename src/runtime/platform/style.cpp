#include "platform/style.h"

#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QToolButton>

namespace vorn {

namespace {

// Qt's name for a menu bar's overflow button.
const QString kOverflowButton = QStringLiteral("qt_menubar_ext_button");

QToolButton* overflowButton(const QWidget* menuBar) {
    return menuBar->findChild<QToolButton*>(kOverflowButton, Qt::FindDirectChildrenOnly);
}

// The application's style, passed on whole but for the overflow button's picture.
class SuiteStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        // The button asks as the bar makes it, hidden; it asks again as it first shows.
        if (which == SP_ToolBarHorizontalExtensionButton && qobject_cast<const QMenuBar*>(widget)) {
            if (const QToolButton* button = overflowButton(widget); button && !button->isVisible())
                return {};
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }

    void polish(QWidget* widget) override {
        if (isOverflowButton(widget))
            widget->installEventFilter(this);
        QProxyStyle::polish(widget);
    }

    void unpolish(QWidget* widget) override {
        if (isOverflowButton(widget))
            widget->removeEventFilter(this);
        QProxyStyle::unpolish(widget);
    }

    // QProxyStyle's other polish overloads stay visible.
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* button = static_cast<QToolButton*>(watched);
            if (button->icon().isNull())
                button->setIcon(QProxyStyle::standardIcon(SP_ToolBarHorizontalExtensionButton,
                                                          nullptr, button->parentWidget()));
        }
        return QProxyStyle::eventFilter(watched, event);
    }

private:
    static bool isOverflowButton(const QWidget* widget) {
        return widget->objectName() == kOverflowButton &&
               qobject_cast<const QMenuBar*>(widget->parentWidget());
    }
};

} // namespace

void installSuiteStyle() {
    // The style Qt chose (the desktop's, or the one the user asked for) becomes the base.
    QApplication::setStyle(new SuiteStyle(QApplication::style()));
}

} // namespace vorn
