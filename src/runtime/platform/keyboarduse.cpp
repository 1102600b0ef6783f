#include "platform/keyboarduse.h"

#include <QApplication>
#include <QEvent>

namespace vorn {

namespace {

bool lastPressIsKey = false;

// Sees every press the application receives before its receiver does, and lets it go on.
class PressWatch final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        // A shortcut reaches its action without a key press going to any control.
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
            lastPressIsKey = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            lastPressIsKey = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void followKeyboardUse() {
    qApp->installEventFilter(new PressWatch(qApp));
}

bool lastPressWasKey() {
    return lastPressIsKey;
}

} // namespace vorn
