#include "platform/controls.h"

#include "platform/accessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

namespace vorn {

namespace detail {

// Space, Enter and Return press a control that acts as a button.
bool isPressKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Space || isEnterKey(event);
}

// Tab reaches the control, but a mouse click leaves the focus where it was: clicking a picture
// is not leaving the box being edited.
void makeClickable(QWidget* widget, const QString& action) {
    widget->setFocusPolicy(Qt::TabFocus);
    widget->setCursor(Qt::PointingHandCursor);
    widget->setAccessibleName(action);
    widget->setToolTip(action);
}

} // namespace detail

namespace {

// Draws the focus mark just inside `surface` (the widget itself, or the part of it that paints
// its content) once the focus has come by the keyboard: a dotted outline, white dots on a black
// line, seen on any ground. It fills nothing, so a colour swatch or a picture keeps its colours.
void paintFocus(QWidget* widget, QWidget* surface = nullptr) {
    if (!widget->hasFocus() || !widget->window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    surface = surface ? surface : widget;
    QPainter painter(surface);
    const QRect mark = surface->rect().adjusted(1, 1, -2, -2);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(mark);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(mark);
}

} // namespace

// --- Label -------------------------------------------------------------------------------

Label::Label(QWidget* parent, const ControlDecl& decl)
    : ClickableControl<QLabel>(parent, declText(decl.name), decl.place) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // No accessible name of its own: Qt then tells assistive tools of every new caption.
    if (decl.description)
        setAccessibleDescription(declText(decl.description));
    setText(declText(decl.caption));
}

void Label::setBorder(bool border) {
    setFrameStyle(border ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
}

void Label::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    paintFocus(this);
}

// --- TextBox -----------------------------------------------------------------------------

TextBox::TextBox(QWidget* parent, const ControlDecl& decl)
    : Control<QLineEdit>(parent, decl, kEntryColours) {
    setText(declText(decl.caption));
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
    selectWithFocusUntold(this);
}

void TextBox::setText(const QString& text) {
    QLineEdit::setText(text);
    if (window()->focusWidget() != this)
        setCursorPosition(0);
}

// --- TextArea ----------------------------------------------------------------------------

TextArea::TextArea(QWidget* parent, const ControlDecl& decl)
    : Control<QPlainTextEdit>(parent, decl, kEntryColours) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    setPlainText(declText(decl.caption));
    tellFocusBackFromMenus(this);
    connect(this, &QPlainTextEdit::textChanged, this, &TextArea::Change);
}

void TextArea::paintEvent(QPaintEvent* event) {
    Control<QPlainTextEdit>::paintEvent(event);
    paintFocus(this, viewport());
}

void TextArea::focusInEvent(QFocusEvent* event) {
    Control<QPlainTextEdit>::focusInEvent(event);
    viewport()->update();
}

void TextArea::focusOutEvent(QFocusEvent* event) {
    Control<QPlainTextEdit>::focusOutEvent(event);
    viewport()->update();
}

// --- CommandButton -----------------------------------------------------------------------

CommandButton::CommandButton(QWidget* parent, const ControlDecl& decl)
    : Control<QPushButton>(parent, decl, {QPalette::Button, QPalette::ButtonText}) {
    setText(declText(decl.caption));
    setAutoDefault(true);
    setMouseTracking(true);
    connect(this, &QPushButton::clicked, this, &CommandButton::Click);
}

void CommandButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    Q_EMIT MouseMove();
}

void CommandButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    Q_EMIT MouseMove();
}

// --- OptionButton ------------------------------------------------------------------------

OptionButton::OptionButton(QWidget* parent, const ControlDecl& decl)
    : Control<QRadioButton>(parent, decl) {
    setText(declText(decl.caption));
    connect(this, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            Q_EMIT Click();
    });
}

// --- Image, PictureBox -------------------------------------------------------------------

Image::Image(QWidget* parent, const ControlDecl& decl, Picture picture)
    : ClickableControl<QWidget>(parent, decl)
    , m_picture(std::move(picture)) {}

void Image::setPicture(Picture picture) {
    m_picture = std::move(picture);
    update();
}

void Image::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (m_picture)
            m_picture(painter, QRectF(rect()));
        paintFrame(painter);
    }
    paintFocus(this);
}

PictureBox::PictureBox(QWidget* parent, const ControlDecl& decl, Picture picture)
    : Image(parent, decl, std::move(picture)) {}

void PictureBox::paintFrame(QPainter& painter) {
    QStyleOptionFrame option;
    option.initFrom(this);
    option.frameShape = QFrame::StyledPanel;
    option.state |= QStyle::State_Sunken;
    option.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, this);
}

// --- Shape -------------------------------------------------------------------------------

Shape::Shape(QWidget* parent, const ControlDecl& decl, Kind kind)
    : Control<QWidget>(parent, decl)
    , m_kind(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setBorderColor(ColourValue value) {
    m_border = value;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(toQColor(m_border, palette()), 1));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = 0.5; // half the pen, so the whole outline lies inside the box
    QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (m_kind == Kind::Circle) {
        const qreal d = std::min(box.width(), box.height());
        box = QRectF(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
        painter.drawEllipse(box);
    } else {
        painter.drawRect(box);
    }
}

// --- Line --------------------------------------------------------------------------------

Line::Line(QWidget* parent, const LineDecl& decl)
    : QWidget(parent)
    , m_ends(decl.place) {
    setObjectName(declText(decl.name));
    if (decl.description)
        setAccessibleName(declText(decl.description));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    relayout();
}

void Line::moveEnd(float TwipsLine::*coordinate, float twips) {
    if (m_ends.*coordinate == twips)
        return; // nothing to lay out or draw again
    m_ends.*coordinate = twips;
    relayout();
}

void Line::setBorderColor(ColourValue value) {
    m_colour = value;
    update();
}

void Line::setBorderWidth(int pixels) {
    m_width = std::max(1, pixels);
    relayout();
}

QLineF Line::inPixels() const {
    return QLineF(twipsToPixelsF(m_ends.x1), twipsToPixelsF(m_ends.y1), twipsToPixelsF(m_ends.x2),
                  twipsToPixelsF(m_ends.y2));
}

void Line::relayout() {
    const qreal margin = m_width + 1;
    const QLineF line = inPixels();
    const QRectF span =
        QRectF(line.p1(), line.p2()).normalized().adjusted(-margin, -margin, margin, margin);
    setGeometry(span.toAlignedRect());
    update();
}

void Line::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(toQColor(m_colour, palette()));
    pen.setWidthF(m_width);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(inPixels().translated(-QPointF(pos())));
}

} // namespace vorn
