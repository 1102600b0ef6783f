#include "platform/controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>

#include <cmath>

namespace vorn {

namespace {

template <class C> void initControl(C* control, const QString& name, TwipsRect geometry) {
    control->setObjectName(name);
    control->setTwips(geometry.left, geometry.top, geometry.width, geometry.height);
}

} // namespace

namespace detail {

// Space, Enter and Return press a control that acts as a button.
bool isPressKey(const QKeyEvent* event) {
    const int key = event->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
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

void paintFocus(QWidget* widget) {
    if (!widget->hasFocus())
        return;
    QPainter painter(widget);
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    option.rect = widget->rect().adjusted(1, 1, -1, -1);
    widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}

} // namespace

bool isRealFocusMove(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// --- Label -------------------------------------------------------------------------------

Label::Label(QWidget* parent, const QString& name, const QString& caption, TwipsRect geometry)
    : ClickableControl<QLabel>(parent) {
    initControl(this, name, geometry);
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(caption);
    setAccessibleName(caption);
}

void Label::setBorder(bool border) {
    setFrameStyle(border ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
}

void Label::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    paintFocus(this);
}

// --- TextBox -----------------------------------------------------------------------------

TextBox::TextBox(QWidget* parent, const QString& name, const QString& text, TwipsRect geometry)
    : Control<QLineEdit>(parent, {QPalette::Base, QPalette::Text}) {
    setDefaultColours(kWindowBackground, kWindowText);
    initControl(this, name, geometry);
    setText(text);
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isRealFocusMove(event->reason()))
        Q_EMIT LostFocus();
}

// --- TextArea ----------------------------------------------------------------------------

TextArea::TextArea(QWidget* parent, const QString& name, const QString& text, TwipsRect geometry)
    : Control<QPlainTextEdit>(parent, {QPalette::Base, QPalette::Text}) {
    setDefaultColours(kWindowBackground, kWindowText);
    initControl(this, name, geometry);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    setPlainText(text);
    connect(this, &QPlainTextEdit::textChanged, this, &TextArea::Change);
}

void TextArea::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (isRealFocusMove(event->reason()))
        Q_EMIT LostFocus();
}

// --- CommandButton -----------------------------------------------------------------------

CommandButton::CommandButton(QWidget* parent, const QString& name, const QString& caption,
                             TwipsRect geometry)
    : Control<QPushButton>(parent, {QPalette::Button, QPalette::ButtonText}) {
    initControl(this, name, geometry);
    setText(caption);
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

OptionButton::OptionButton(QWidget* parent, const QString& name, const QString& caption,
                           TwipsRect geometry)
    : Control<QRadioButton>(parent) {
    initControl(this, name, geometry);
    setText(caption);
    connect(this, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            Q_EMIT Click();
    });
}

// --- Image, PictureBox -------------------------------------------------------------------

Image::Image(QWidget* parent, const QString& name, Picture picture, TwipsRect geometry)
    : ClickableControl<QWidget>(parent)
    , m_picture(std::move(picture)) {
    initControl(this, name, geometry);
}

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

PictureBox::PictureBox(QWidget* parent, const QString& name, Picture picture, TwipsRect geometry)
    : Image(parent, name, std::move(picture), geometry) {}

void PictureBox::paintFrame(QPainter& painter) {
    QStyleOptionFrame option;
    option.initFrom(this);
    option.frameShape = QFrame::StyledPanel;
    option.state |= QStyle::State_Sunken;
    option.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, this);
}

// --- Shape -------------------------------------------------------------------------------

Shape::Shape(QWidget* parent, const QString& name, Kind kind, TwipsRect geometry)
    : Control<QWidget>(parent)
    , m_kind(kind) {
    initControl(this, name, geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setBorderColor(ColourValue value) {
    m_border = value;
    update();
}

void Shape::setBorderWidth(int pixels) {
    m_borderWidth = std::max(1, pixels);
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(toQColor(m_border, palette()));
    pen.setWidth(m_borderWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal inset = m_borderWidth / 2.0;
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

Line::Line(QWidget* parent, const QString& name, float x1, float y1, float x2, float y2)
    : QWidget(parent)
    , m_x1(x1)
    , m_y1(y1)
    , m_x2(x2)
    , m_y2(y2) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    relayout();
}

void Line::setX1(float v) {
    m_x1 = v;
    relayout();
}

void Line::setY1(float v) {
    m_y1 = v;
    relayout();
}

void Line::setX2(float v) {
    m_x2 = v;
    relayout();
}

void Line::setY2(float v) {
    m_y2 = v;
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

void Line::relayout() {
    const qreal margin = m_width + 1;
    const QRectF span = QRectF(QPointF(twipsToPixelsF(m_x1), twipsToPixelsF(m_y1)),
                               QPointF(twipsToPixelsF(m_x2), twipsToPixelsF(m_y2)))
                            .normalized()
                            .adjusted(-margin, -margin, margin, margin);
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
    const QPointF origin = pos();
    painter.drawLine(QPointF(twipsToPixelsF(m_x1), twipsToPixelsF(m_y1)) - origin,
                     QPointF(twipsToPixelsF(m_x2), twipsToPixelsF(m_y2)) - origin);
}

} // namespace vorn
