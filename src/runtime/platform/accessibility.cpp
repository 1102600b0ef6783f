#include "platform/accessibility.h"

#include "platform/controls.h"
#include "platform/form.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QValidator>

#include <functional>
#include <utility>

namespace vorn {

namespace {

const char* const kDecorative = "decorative";
const char* const kWindowRole = "windowRole";

// Qt makes an interface for the first change a widget reports, which may come while the
// widget is still being built (its class then reads as one of its bases), so every interface
// here decides what it tells from the widget as it is when asked.

// The picture that `widget` is the caption of: a label beside a picture that acts as a button,
// whose buddy that picture is. A sighted user sees the two as one control, and assistive tools
// are told of the caption as part of the picture, so that a screen reader reading the window
// line by line names that control once.
QWidget* captionedPicture(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    auto* picture = label ? qobject_cast<Image*>(label->buddy()) : nullptr;
    const bool captions = picture && picture->isClickable() && !isDecorative(picture) &&
                          !isDecorative(label) && picture->parent() == label->parent();
    return captions ? picture : nullptr;
}

// The children of a widget that assistive tools are told about: its controls, without the
// decorations, and a picture's captions after its own.
QList<QWidget*> announcedChildren(const QWidget* parent) {
    QList<QWidget*> announced;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && !qobject_cast<QMenu*>(widget) &&
            !isDecorative(widget) && !captionedPicture(widget))
            announced.append(widget);
    }
    if (const QObject* holder = parent->parent()) {
        for (QObject* sibling : holder->children()) {
            auto* widget = qobject_cast<QWidget*>(sibling);
            if (widget && captionedPicture(widget) == parent)
                announced.append(widget);
        }
    }
    return announced;
}

// What the suite's own controls share: a decoration tells nothing, and a control that acts on
// a click is a button whose press action clicks it.
class ControlAccessible : public QAccessibleWidget {
public:
    ControlAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    QAccessible::Role role() const override {
        if (isDecorative(widget()))
            return QAccessible::Client;
        return clickable() ? QAccessible::Button : restingRole();
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (isDecorative(widget()))
            state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text t) const override {
        return isDecorative(widget()) ? QString() : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return clickable() ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (!clickable() || action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (widget()->isEnabled())
            dynamic_cast<Pressable*>(widget())->press();
    }

protected:
    // What the control is when it does not act on a click.
    virtual QAccessible::Role restingRole() const { return QAccessibleWidget::role(); }

private:
    bool clickable() const {
        const auto* control = dynamic_cast<const Pressable*>(widget());
        return control && control->isClickable() && !isDecorative(widget());
    }
};

// A picture, a line, a shape, or a container of a window's controls, which tells of its
// children all but the decorations.
class WidgetAccessible : public ControlAccessible {
public:
    explicit WidgetAccessible(QWidget* widget)
        : ControlAccessible(widget, QAccessible::Client) {}

    int childCount() const override { return static_cast<int>(announcedChildren(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = announcedChildren(widget());
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        return static_cast<int>(
            announcedChildren(widget()).indexOf(qobject_cast<QWidget*>(child->object())));
    }
    // Where the control is on the screen: a picture covers its captions too, as they stand under
    // it, and assistive tools look for a child within its parent (a screen reader's mouse review
    // over a caption, a hit test).
    QRect rect() const override {
        QRect covered = ControlAccessible::rect();
        const QList<QWidget*> children =
            widget()->isVisible() ? announcedChildren(widget()) : QList<QWidget*>();
        for (QWidget* child : children) {
            if (captionedPicture(child) == widget() && child->isVisible())
                covered |= QAccessible::queryAccessibleInterface(child)->rect();
        }
        return covered;
    }

protected:
    QAccessible::Role restingRole() const override {
        const QWidget* w = widget();
        const bool drawn = qobject_cast<const Image*>(w) || qobject_cast<const Line*>(w) ||
                           qobject_cast<const Shape*>(w);
        return drawn ? QAccessible::Graphic : QAccessible::Client;
    }
};

// Where the run of text attributes holding `offset` starts and ends, in a text of `count`
// characters told as one run: Qt 6.4 reports an empty run at each offset, from which a screen
// reader reading the text drops its last character ("10" for "100").
void wholeRun(int offset, int count, int* start, int* end) {
    const bool inside = offset >= 0 && offset < count;
    *start = inside ? 0 : offset;
    *end = inside ? count : offset;
}

// The text of a control as assistive tools read it: what shownText() gives, as one run of text
// attributes; no cursor, selection or place of a character where the control gives none.
class OneRunText : public QAccessibleTextInterface {
public:
    QString text(int start, int end) const override { return shownText().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shownText().size()); }
    QString attributes(int offset, int* start, int* end) const override {
        wholeRun(offset, characterCount(), start, end);
        return QString();
    }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}

protected:
    virtual QString shownText() const = 0;
};

// A label, named by its caption, and by what it shows while it has none; one with a buddy
// labels it. Its text also reads as text, selection included: Qt tells assistive tools of each
// change to the text of a label that can be selected or take the focus as it tells of a text
// box's, and they read the change back from the label's text.
class LabelAccessible : public ControlAccessible, public OneRunText {
public:
    explicit LabelAccessible(QLabel* label)
        : ControlAccessible(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return ControlAccessible::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = ControlAccessible::state();
        state.selectableText = selectable(label());
        return state;
    }
    // A picture's caption stands under the picture.
    QAccessibleInterface* parent() const override {
        if (QWidget* picture = captionedPicture(widget()))
            return QAccessible::queryAccessibleInterface(picture);
        return ControlAccessible::parent();
    }
    using OneRunText::text;
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || isDecorative(widget()) ||
            !label()->accessibleName().isEmpty())
            return ControlAccessible::text(t);
        // The blanks some captions are aligned with on the screen are no part of the name.
        const QString shown = shownText().trimmed();
        return shown.isEmpty() ? label()->accessibleDescription() : shown;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto relations = ControlAccessible::relations(match);
        if ((match & QAccessible::Labelled) && !isDecorative(widget())) {
            if (QAccessibleInterface* buddy =
                    QAccessible::queryAccessibleInterface(label()->buddy()))
                relations.append({buddy, QAccessible::Labelled});
        }
        return relations;
    }

    // Text: what the label shows, which only a selection changes.
    int cursorPosition() const override { return label()->hasSelectedText() ? selectionEnd() : 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return label()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        const bool selected = index == 0 && label()->hasSelectedText();
        *start = selected ? label()->selectionStart() : 0;
        *end = selected ? selectionEnd() : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0 && label()->hasSelectedText())
            label()->setSelection(0, 0);
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0 && selectable(label()))
            label()->setSelection(start, end - start);
    }

    // Whether the user may select the text of `label`.
    static bool selectable(const QLabel* label) {
        return label->textInteractionFlags().testAnyFlags(Qt::TextSelectableByMouse |
                                                          Qt::TextSelectableByKeyboard);
    }

private:
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
    int selectionEnd() const {
        return label()->selectionStart() + static_cast<int>(label()->selectedText().size());
    }
    // The text as the label shows it: rich text without its markup.
    QString shownText() const override {
        if (isDecorative(widget()))
            return QString();
        const QString text = label()->text();
        const Qt::TextFormat format = label()->textFormat();
        if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            return document.toPlainText();
        }
        return text;
    }
};

// A drop-down list named for what it lists. Qt names one after its current entry on this
// platform, which would leave the list without a name of its own. The current entry reads as the
// list's text instead: a screen reader says it after the name, as the box shows it.
class NamedListAccessible : public QAccessibleWidget, public OneRunText {
public:
    explicit NamedListAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    using OneRunText::text;
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value ||
            (t == QAccessible::Name && box()->accessibleName().isEmpty()))
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        return state;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
    }

private:
    // Text: the current entry, which the user changes only by choosing another.
    QString shownText() const override { return box()->currentText(); }
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// A one-line text box, told as Qt tells one, but with its whole text in one run of text
// attributes.
class LineEditAccessible : public QAccessibleWidget,
                           public OneRunText,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }
    using OneRunText::text;
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return edit()->displayText();
        // Named by its caption, without the blanks that align the caption on the screen.
        return t == QAccessible::Name ? QAccessibleWidget::text(t).trimmed()
                                      : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value)
            replaceText(0, characterCount(), text);
        else
            QAccessibleWidget::setText(t, text);
    }

    // Text: what the box shows, which hides a password; its cursor and selection.
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        const bool selected = index == 0 && edit()->hasSelectedText();
        *start = selected ? edit()->selectionStart() : 0;
        *end = selected ? edit()->selectionEnd() : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            edit()->setSelection(start, end - start);
    }
    // Where a character is drawn, on the screen: measured from the text cursor, which the box
    // reports where it draws it. The offset just past the text, where the cursor stands as the
    // user types, is the place of the next character: a sliver as wide as a pixel, so that a
    // magnifier following the cursor has somewhere to go. A hidden box draws nothing anywhere.
    QRect characterRect(int offset) const override {
        const QString shown = edit()->displayText();
        if (offset < 0 || offset > shown.size() || !edit()->isVisible())
            return QRect();
        const QFontMetricsF metrics(edit()->font());
        const QRect cursor = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const qreal origin =
            cursor.center().x() - metrics.horizontalAdvance(shown.left(edit()->cursorPosition()));
        const qreal width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
        const QRectF drawn(origin + metrics.horizontalAdvance(shown.left(offset)), cursor.top(),
                           width, cursor.height());
        return drawn.toAlignedRect().translated(edit()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int end) override { edit()->setCursorPosition(end); }

    // Editing, as typing would, where the box takes it.
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (edit()->isReadOnly())
            return;
        QString changed = edit()->text();
        changed.replace(start, end - start, text);
        if (const QValidator* validator = edit()->validator()) {
            int position = 0;
            if (validator->validate(changed, position) != QValidator::Acceptable)
                return;
        }
        edit()->setText(changed);
    }

private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
    QString shownText() const override { return edit()->displayText(); }
};

// The voice of a window for what appears without the focus moving there: a notification that is
// shown for as long as it takes to tell assistive tools of it, then withdrawn, so that nothing
// stays in the window to be read twice. What it tells stands in a line of text of its own, under
// it: a screen reader speaks a notification's name and the text of its lines, but shows a braille
// display only its lines.
class Herald : public QObject {
    Q_OBJECT

public:
    explicit Herald(QWidget* window)
        : QObject(window)
        , m_line(new QObject(this)) {
        QAccessibleEvent created(this, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&created);
    }

    QString text() const { return m_text; }
    bool isShowing() const { return m_showing; }
    QObject* line() const { return m_line; }

    // Tells `text`, unless the window was hidden meanwhile.
    void say(const QString& text) {
        if (!static_cast<QWidget*>(parent())->isVisible())
            return;
        m_text = text;
        QAccessibleEvent renamed(m_line, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
        m_showing = true;
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
        m_showing = false;
        QAccessibleEvent hidden(this, QAccessible::ObjectHide);
        QAccessible::updateAccessibility(&hidden);
    }

private:
    QObject* m_line;
    QString m_text;
    bool m_showing = false;
};

// The herald of `window`, or null until it first announces something.
Herald* heraldOf(const QWidget* window) {
    return window->findChild<Herald*>(QString(), Qt::FindDirectChildrenOnly);
}

// The herald as assistive tools see it: a notification, shown only while it tells, holding the
// line it tells. It has no name of its own: a screen reader leaves out of the braille display a
// line whose text is part of the notification's name.
class HeraldAccessible : public QAccessibleObject {
public:
    explicit HeraldAccessible(Herald* herald)
        : QAccessibleObject(herald) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(herald()->line()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == herald()->line() ? 0 : -1;
    }
    QString text(QAccessible::Text) const override { return QString(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !herald()->isShowing();
        return state;
    }

private:
    Herald* herald() const { return static_cast<Herald*>(object()); }
};

// The line a herald tells, named by its text. It counts as shown once it has a text: a screen
// reader reads it after the notification has been withdrawn again, and whatever reads the window
// as it is on the screen leaves it out with the withdrawn notification.
class HeraldLineAccessible : public QAccessibleObject {
public:
    explicit HeraldLineAccessible(QObject* line)
        : QAccessibleObject(line) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(herald());
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? herald()->text() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = herald()->text().isEmpty();
        return state;
    }

private:
    Herald* herald() const { return static_cast<Herald*>(object()->parent()); }
};

// A window, in the role it has for its user, with its herald after its own children.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* window)
        : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessible::Role role() const override {
        const auto role = static_cast<WindowRole>(widget()->property(kWindowRole).toInt());
        return role == WindowRole::Alert ? QAccessible::AlertMessage : QAccessible::Window;
    }
    int childCount() const override {
        return QAccessibleWidget::childCount() + (heraldOf(widget()) ? 1 : 0);
    }
    QAccessibleInterface* child(int index) const override {
        Herald* herald = heraldOf(widget());
        if (herald && index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(herald);
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        Herald* herald = heraldOf(widget());
        if (herald && child && child->object() == herald)
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }
};

// A part Qt adds to a list for its own use (the area its entries are drawn in, the holders of
// its scroll bars). Qt's list tells assistive tools only of its entries and warns when asked
// where such a part stands, as a screen reader does on meeting a scroll bar as the list
// scrolls; the part therefore stands under what holds the list, which does not count it
// among its children either, and says so without a warning.
class ListPartAccessible : public QAccessibleWidget {
public:
    explicit ListPartAccessible(QWidget* part)
        : QAccessibleWidget(part, QAccessible::Client) {}

    static bool isListPart(const QWidget* widget) {
        return qobject_cast<const QAbstractItemView*>(widget->parentWidget()) &&
               widget->objectName().startsWith(QLatin1String("qt_scrollarea_"));
    }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(widget()->parentWidget()->parentWidget());
    }
};

// A widget of one of the suite's windows, not one Qt adds for its own use (a scroll area's
// viewport, say).
bool inSuiteWindow(const QWidget* widget) {
    return qobject_cast<const Form*>(widget->window()) != nullptr &&
           !widget->objectName().startsWith(QLatin1String("qt_"));
}

// Makes the interface assistive tools see for the suite's own widgets and for the few of Qt's
// that need one; null leaves the rest to Qt.
QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (auto* herald = qobject_cast<Herald*>(object))
        return className == QLatin1String("vorn::Herald") ? new HeraldAccessible(herald) : nullptr;
    if (auto* herald = qobject_cast<Herald*>(object ? object->parent() : nullptr);
        herald && object == herald->line())
        return new HeraldLineAccessible(object);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("vorn::Form"))
        return new FormAccessible(widget);
    // Qt's own labels too where their text changes are told: a message box's text, say.
    if (className == QLatin1String("vorn::Label") ||
        (className == QLatin1String("QLabel") &&
         (LabelAccessible::selectable(static_cast<QLabel*>(widget)) ||
          widget->focusPolicy() != Qt::NoFocus)))
        return new LabelAccessible(static_cast<QLabel*>(widget));
    if (className == QLatin1String("QWidget") && ListPartAccessible::isListPart(widget))
        return new ListPartAccessible(widget);
    if (className == QLatin1String("vorn::Image") || className == QLatin1String("vorn::Line") ||
        className == QLatin1String("vorn::Shape") ||
        (className == QLatin1String("QWidget") && inSuiteWindow(widget)))
        return new WidgetAccessible(widget);
    if (className == QLatin1String("QLineEdit"))
        return new LineEditAccessible(static_cast<QLineEdit*>(widget));
    if (className == QLatin1String("QComboBox") && inSuiteWindow(widget))
        return new NamedListAccessible(static_cast<QComboBox*>(widget));
    return nullptr;
}

// Hands `event` on from an update handler to `next`, the one installed before it, or to the
// platform's own bridge when there was none; the handler in place, which may be a filter installed
// above the caller, stays in place. Qt brings a table's cached cells up to date with its model
// before it calls a handler, and again as the event reaches the bridge; the lists' cells follow
// their model rows, so the second time leaves them as they are.
void handOn(QAccessibleEvent* event, QAccessible::UpdateHandler next) {
    if (next) {
        next(event);
        return;
    }
    const QAccessible::UpdateHandler installed = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(installed);
}

// While it lasts, assistive tools are told of no change to the selection of `box`, and of every
// other event as they would be without it: through the handler installed before, or the
// platform's own bridge.
class UntoldSelection {
public:
    explicit UntoldSelection(QWidget* box)
        : m_outer(s_current)
        , m_box(box)
        , m_next(QAccessible::installUpdateHandler(tell)) {
        s_current = this;
    }
    ~UntoldSelection() {
        QAccessible::installUpdateHandler(m_next);
        s_current = m_outer;
    }
    UntoldSelection(const UntoldSelection&) = delete;
    UntoldSelection& operator=(const UntoldSelection&) = delete;

private:
    static void tell(QAccessibleEvent* event) {
        UntoldSelection* self = s_current;
        if (event->type() == QAccessible::TextSelectionChanged && event->object() == self->m_box)
            return;
        // Handed on with the enclosing selection's filter current, should one hold the handler
        // installed before this one.
        s_current = self->m_outer;
        handOn(event, self->m_next);
        s_current = self;
    }

    static inline UntoldSelection* s_current = nullptr;
    UntoldSelection* m_outer;
    QWidget* m_box;
    QAccessible::UpdateHandler m_next;
};

// Makes `change` to the selection of `box` without telling assistive tools of it.
void changeSelectionUntold(QWidget* box, const std::function<void()>& change) {
    UntoldSelection untold(box);
    change();
}

// Tells assistive tools that the focus is back in a text box once a menu opened over it (its own
// context menu) closes. Qt tells them of the menu's entries as the focus, then of nothing as the
// menu goes: a screen reader stayed on the last entry, and an on-screen keyboard that shows
// itself for a text box, having seen the focus leave for the menu, stayed hidden while the user
// was back in the box. It lives as long as the box.
class FocusBackFromMenu : public QObject {
public:
    FocusBackFromMenu(QWidget* box, const QMetaObject& kind)
        : QObject(box)
        , m_box(box)
        , m_kind(kind) {
        box->installEventFilter(this);
    }

protected:
    // Whether `watched` is the box, whole: deleted with the focus, the box loses it once it is
    // of its kind no longer, as its widget part is torn down.
    bool isWholeBox(QObject* watched) const { return watched == m_box && m_kind.cast(watched); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isWholeBox(watched))
            return false;
        if (event->type() == QEvent::FocusIn) {
            // Back from a menu that left the focus here: Qt tells nothing of it.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason &&
                std::exchange(m_underMenu, false) && !QApplication::activePopupWidget()) {
                QAccessibleEvent focus(m_box, QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            }
        } else if (event->type() == QEvent::FocusOut) {
            // A menu opening over the box leaves it the focus; a real move takes it away.
            m_underMenu = static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason &&
                          m_box->hasFocus();
        }
        return false;
    }

private:
    QWidget* m_box;
    const QMetaObject& m_kind;
    bool m_underMenu = false;
};

// Makes the selection changes that come with the focus to a line edit before the line edit
// would, untold; the focus is told back in it as a menu over it closes.
class FocusSelection final : public FocusBackFromMenu {
public:
    explicit FocusSelection(QLineEdit* box)
        : FocusBackFromMenu(box, QLineEdit::staticMetaObject)
        , m_box(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (isWholeBox(watched) && event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            const bool selectsAll = reason == Qt::TabFocusReason ||
                                    reason == Qt::BacktabFocusReason ||
                                    reason == Qt::ShortcutFocusReason;
            if (selectsAll && m_box->inputMask().isEmpty() && !m_box->hasSelectedText())
                changeSelectionUntold(m_box, [this] { m_box->selectAll(); });
        } else if (isWholeBox(watched) && event->type() == QEvent::FocusOut &&
                   isRealFocusMove(static_cast<QFocusEvent*>(event)->reason())) {
            changeSelectionUntold(m_box, [this] { m_box->deselect(); });
        }
        return FocusBackFromMenu::eventFilter(watched, event);
    }

private:
    QLineEdit* m_box;
};

// Tells assistive tools of the focus and the text cursor only where the user is, so that a
// magnifier following them stays there. A window writes its results into boxes the user is not
// in (a file's date and size as the arrows go through the file list, the chronology's answers, a
// colour's value): the cursor of such a box is not told to move, nor is that of a hidden box,
// which would take a magnifier to the corner of the screen; a screen reader listens to the
// focused control's cursor alone. Nor is the selection such a box loses as its text is replaced
// (a part of the chronology's commentary the user selected, then left): a screen reader would
// say it is gone, and show that box on the braille display in place of the one the user is in.
// And while a menu is open, the window under it is not told to take the focus: going from one
// menu of the bar to the next hands the focus back to the window for a moment, after the entry
// highlighted in the new menu, and a magnifier left the menu for it.
class FollowedPlace {
public:
    static void install() { s_next = QAccessible::installUpdateHandler(tell); }

private:
    static void tell(QAccessibleEvent* event) {
        if (!whereTheUserIs(event))
            return;
        handOn(event, s_next);
    }

    static bool whereTheUserIs(const QAccessibleEvent* event) {
        const auto* widget = qobject_cast<const QWidget*>(event->object());
        if (!widget)
            return true;
        if (event->type() == QAccessible::TextCaretMoved ||
            event->type() == QAccessible::TextSelectionChanged)
            return widget->hasFocus();
        if (event->type() == QAccessible::Focus && QApplication::activePopupWidget())
            return widget->window()->windowType() == Qt::Popup;
        return true;
    }

    static inline QAccessible::UpdateHandler s_next = nullptr;
};

} // namespace

void installAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        FollowedPlace::install();
        installed = true;
    }
}

void setAccessibleRole(QWidget* window, WindowRole role) {
    window->setProperty(kWindowRole, static_cast<int>(role));
}

void announce(QWidget* widget, const QString& text) {
    QWidget* window = widget ? widget->window() : nullptr;
    if (!window || !window->isVisible() || text.isEmpty())
        return;
    Herald* herald = heraldOf(window);
    if (!herald)
        herald = new Herald(window);
    // Told once the event that led to it is done, so that it follows what that event itself
    // tells (the entry the focus moved to, say); dropped if the window is gone by then.
    QMetaObject::invokeMethod(
        herald, [herald, text] { herald->say(text); }, Qt::QueuedConnection);
}

void selectWithFocusUntold(QLineEdit* box) {
    new FocusSelection(box);
}

void tellFocusBackFromMenus(QPlainTextEdit* box) {
    new FocusBackFromMenu(box, QPlainTextEdit::staticMetaObject);
}

void setDecorative(QWidget* widget) {
    widget->setProperty(kDecorative, true);
}

bool isDecorative(const QWidget* widget) {
    return widget->property(kDecorative).toBool();
}

} // namespace vorn

#include "accessibility.moc"
