#include "platform/keyboarduse.h"

#include "platform/control.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

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

// Whether `key` presses, chooses or dismisses something as it goes down: Enter and Escape
// everywhere, Space but where it is typed into a text box.
bool actsAsItGoesDown(const QKeyEvent* key) {
    if (isEnterKey(key) || key->key() == Qt::Key_Escape)
        return true;
    if (key->key() != Qt::Key_Space)
        return false;
    const QWidget* focus = QApplication::focusWidget();
    return !(focus && focus->testAttribute(Qt::WA_InputMethodEnabled));
}

// Drops the presses the keyboard repeats while such a key is held down, or while a key held down
// where it acted stays down. A person slow to lift a finger would otherwise press the same button
// again and again (an amount converted over and over), answer unseen the box the first press
// opened (the lottery's second name left empty), type spaces into the name box that a Space on a
// button opened, or come back to the window just left.
class HeldKeyWatch final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            m_releasedCode = key->nativeScanCode();
            m_releasedAt = key->timestamp();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (!isRepeat(key)) {
                m_heldKey = key->key();
                m_holdActs = actsAsItGoesDown(key);
            } else if (actsAsItGoesDown(key) || (m_holdActs && key->key() == m_heldKey)) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // A repeat is flagged so, or, from the X server, is the press that comes at the very instant
    // of the same key's release: the server sends a repeat as a release and a press together,
    // and Qt flags it only when it finds both already read, which an idle program often does not.
    // Events the accessibility bridge hands on after a screen reader saw them carry no instant.
    bool isRepeat(const QKeyEvent* key) const {
        return key->isAutoRepeat() ||
               (key->nativeScanCode() != 0 && key->timestamp() != 0 &&
                key->nativeScanCode() == m_releasedCode && key->timestamp() == m_releasedAt);
    }

    quint32 m_releasedCode = 0;
    quint64 m_releasedAt = 0;
    int m_heldKey = 0;       // the key of the last press that was no repeat
    bool m_holdActs = false; // whether that press acted as it went down
};

// Opens the context menu of the control that has the focus on Shift+F10, the desktops' key for
// it where a keyboard has no Menu key; Qt opens it on the Menu key alone. The menu shows at the
// text cursor, or in the middle of a control without one, as it does for the Menu key.
class ContextMenuKey final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<const QKeyEvent*>(event);
        QWidget* focus = QApplication::focusWidget();
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier || !focus ||
            watched != focus || key->isAutoRepeat())
            return QObject::eventFilter(watched, event);
        const QRect cursor = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint at = cursor.isValid() ? cursor.center() : focus->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at),
                               key->modifiers());
        QApplication::sendEvent(focus, &menu);
        return true;
    }
};

} // namespace

void followKeyboardUse() {
    qApp->installEventFilter(new PressWatch(qApp));
    qApp->installEventFilter(new HeldKeyWatch(qApp));
    qApp->installEventFilter(new ContextMenuKey(qApp));
}

bool lastPressWasKey() {
    return lastPressIsKey;
}

} // namespace vorn
