#pragma once

#include "platform/control.h"
#include "platform/picture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineF>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

// The control kinds the windows are made of. Each is the natural Qt widget for its kind,
// named after the control, exposing the automation properties and the events as signals.
namespace vorn {

namespace detail {
bool isPressKey(const QKeyEvent* event);
void makeClickable(QWidget* widget, const QString& action);
} // namespace detail

// What assistive tools need of a control that may act on a click: whether it does, and the
// click itself.
class Pressable {
public:
    virtual ~Pressable() = default;
    virtual bool isClickable() const = 0;
    virtual void press() = 0;
};

// A control that reacts to the mouse: a press and a release of the left button inside it make
// a click. Once made clickable it also acts as a button for the keyboard: Tab reaches it and
// Space or Enter presses it.
template <class Widget> class ClickableControl : public Control<Widget>, public Pressable {
public:
    using Control<Widget>::Control;

    // Names the action for assistive tools and makes the control reachable from the keyboard.
    void setClickable(const QString& action) {
        m_clickable = true;
        detail::makeClickable(this, action);
    }
    bool isClickable() const override { return m_clickable; }
    void press() override { clicked(); }

protected:
    virtual void clicked() = 0;
    virtual void doubleClicked() = 0;

    void mousePressEvent(QMouseEvent* event) override {
        m_pressed = event->button() == Qt::LeftButton;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           this->rect().contains(event->position().toPoint());
        m_pressed = false;
        event->accept();
        if (click)
            clicked();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        if (event->button() == Qt::LeftButton)
            doubleClicked();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (m_clickable && detail::isPressKey(event)) {
            event->accept();
            clicked();
            return;
        }
        Widget::keyPressEvent(event);
    }

private:
    bool m_pressed = false;
    bool m_clickable = false;
};

// A static text. Words wrap at the label's width; it may be transparent or bordered.
class Label : public ClickableControl<QLabel> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)

public:
    // Assistive tools name the label by its caption, and by its declaration's description
    // while it has none.
    Label(QWidget* parent, const ControlDecl& decl);
    void setBorder(bool border);

Q_SIGNALS:
    void Click();
    void DblClick();

protected:
    void clicked() override { Q_EMIT Click(); }
    void doubleClicked() override { Q_EMIT DblClick(); }
    void paintEvent(QPaintEvent* event) override;
};

// A one-line text box.
class TextBox : public Control<QLineEdit> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)

public:
    TextBox(QWidget* parent, const ControlDecl& decl);
    // The program's writing. Into a box other than the one the user types in (the window's
    // focus, kept while another window is active), the text shows from its first character:
    // a name wider than its box reads as its beginning, not as its last letters.
    void setText(const QString& text);

Q_SIGNALS:
    void Change();
    void LostFocus();

protected:
    void lostFocus() override { Q_EMIT LostFocus(); }
};

// A multi-line text box; words wrap at its width. It shows the focus even when read-only.
class TextArea : public Control<QPlainTextEdit> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)

public:
    TextArea(QWidget* parent, const ControlDecl& decl);
    QString text() const { return toPlainText(); }
    void setText(const QString& text) { setPlainText(text); }

Q_SIGNALS:
    void Change();
    void LostFocus();

protected:
    void lostFocus() override { Q_EMIT LostFocus(); }
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// A command button. Enter or space presses it when it has the focus.
class CommandButton : public Control<QPushButton> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)

public:
    CommandButton(QWidget* parent, const ControlDecl& decl);

Q_SIGNALS:
    void Click();
    void MouseMove();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// An option button; those sharing a parent form one group.
class OptionButton : public Control<QRadioButton> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(bool Value READ isChecked WRITE setChecked)

public:
    OptionButton(QWidget* parent, const ControlDecl& decl);

Q_SIGNALS:
    // Emitted when the option becomes selected, by the user or by setting Value.
    void Click();
};

// A picture drawn by code, stretched to the control's size; reacts to mouse clicks.
class Image : public ClickableControl<QWidget> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES

public:
    Image(QWidget* parent, const ControlDecl& decl, Picture picture = {});
    void setPicture(Picture picture);

Q_SIGNALS:
    void Click();
    void DblClick();

protected:
    void clicked() override { Q_EMIT Click(); }
    void doubleClicked() override { Q_EMIT DblClick(); }
    void paintEvent(QPaintEvent* event) override;
    // Draws the control's frame over its picture; a plain image has none.
    virtual void paintFrame(QPainter&) {}

private:
    CachedPicture m_picture;
};

// A picture in a sunken frame.
class PictureBox : public Image {
    Q_OBJECT

public:
    PictureBox(QWidget* parent, const ControlDecl& decl, Picture picture);

protected:
    void paintFrame(QPainter& painter) override;
};

// An outline drawn by its window: a circle (the largest one that fits its box) or a rectangle.
class Shape : public Control<QWidget> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE setBorderColor)

public:
    enum class Kind { Rectangle, Circle };
    Shape(QWidget* parent, const ControlDecl& decl, Kind kind);
    ColourValue BorderColor() const { return m_border; }
    void setBorderColor(ColourValue value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
    ColourValue m_border = kBlack;
};

// A straight line between two points in twips, drawn antialiased.
class Line : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float X1 READ X1 WRITE setX1)
    Q_PROPERTY(float Y1 READ Y1 WRITE setY1)
    Q_PROPERTY(float X2 READ X2 WRITE setX2)
    Q_PROPERTY(float Y2 READ Y2 WRITE setY2)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)

public:
    Line(QWidget* parent, const LineDecl& decl);
    float X1() const { return m_ends.x1; }
    float Y1() const { return m_ends.y1; }
    float X2() const { return m_ends.x2; }
    float Y2() const { return m_ends.y2; }
    void setX1(float v) { moveEnd(&TwipsLine::x1, v); }
    void setY1(float v) { moveEnd(&TwipsLine::y1, v); }
    void setX2(float v) { moveEnd(&TwipsLine::x2, v); }
    void setY2(float v) { moveEnd(&TwipsLine::y2, v); }
    bool Visible() const { return !isHidden(); }
    ColourValue BorderColor() const { return m_colour; }
    void setBorderColor(ColourValue value);
    int BorderWidth() const { return m_width; }
    void setBorderWidth(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void moveEnd(float TwipsLine::*coordinate, float twips);
    // The line in the window's pixels.
    QLineF inPixels() const;
    void relayout();
    TwipsLine m_ends;
    ColourValue m_colour = kBlack;
    int m_width = 1;
};

} // namespace vorn
