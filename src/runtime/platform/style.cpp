#include "platform/style.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QToolButton>

namespace vorn {

namespace {

// Qt's name for a menu bar's overflow button.
const QString kOverflowButton = QStringLiteral("qt_menubar_ext_button");

// The menu bar's overflow button, or null before the bar has made it.
QToolButton* overflowButton(const QWidget* menuBar) {
    return menuBar->findChild<QToolButton*>(kOverflowButton, Qt::FindDirectChildrenOnly);
}

// The application's style, passed on whole but for the overflow button's picture and the
// standard icons, each made once.
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
        // Each box asks for the icons of its buttons and of its message as it opens. A fresh
        // icon's pictures stay in Qt's pixmap cache under keys of their own long after its box
        // is gone, so a program that opens boxes all day would grow by every box: each icon is
        // made once and every box shares it.
        const bool rightToLeft =
            option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
        const int key = int(which) * 2 + (rightToLeft ? 1 : 0);
        if (const auto kept = m_icons.constFind(key); kept != m_icons.cend())
            return *kept;
        const QIcon icon = QProxyStyle::standardIcon(which, option, widget);
        m_icons.insert(key, icon);
        return icon;
    }

    // Some styles (Fusion among them) mark a menu bar's current entry only while its menu is
    // open: after Alt, or Escape out of a menu, the keyboard is on the bar and nothing showed
    // where. A bar that has the keyboard focus draws its current entry as an open one.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuBarItem && widget && widget->hasFocus() &&
            (option->state & State_Selected) && !(option->state & State_Sunken)) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem current = *item;
                current.state |= State_Sunken;
                QProxyStyle::drawControl(element, &current, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
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
    // The icons handed out, by picture and direction.
    mutable QHash<int, QIcon> m_icons;

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
