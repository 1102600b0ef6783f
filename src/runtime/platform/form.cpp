#include "platform/form.h"

#include "platform/controls.h"
#include "platform/devicegeometry.h"
#include "platform/fonts.h"
#include "platform/forms.h"
#include "platform/guard.h"
#include "platform/keyboarduse.h"
#include "platform/placement.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <array>
#include <utility>

namespace vorn {

// The client area: paints the window's background and passes double-clicks on the bare
// window to its handler. A double-click is the primary button's: two quick right clicks, as
// for a context menu, are not one.
class Form::Client : public QWidget {
public:
    explicit Client(Form* form)
        : QWidget(form)
        , m_form(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        {
            QPainter painter(this);
            m_form->paintBackground(painter, rect());
        }
        m_form->firstFramePainted();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        if (event->button() == Qt::LeftButton)
            m_form->runHandler([this] { m_form->Form_DblClick(); });
    }

private:
    Form* m_form;
};

namespace {

// When a window's first frame is drawn again after it appeared: as soon as the first one has
// been sent, and a quarter of a second later in case that one was missed too.
constexpr std::array kFirstFrameAgainMs{0, 250};

// The states in which the window manager, not the program, sizes a window.
constexpr Qt::WindowStates kScreenFilling = Qt::WindowMaximized | Qt::WindowFullScreen;

// The areas windows may take on each screen.
QList<QRect> screenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

Qt::WindowFlags flagsFor(Form::Border border) {
    const Qt::WindowFlags base = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    switch (border) {
    case Form::Border::Sizable:
        return base | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    case Form::Border::SizableNoMaximize:
        return base | Qt::WindowMinimizeButtonHint;
    case Form::Border::Fixed:
        return base;
    }
    return base;
}

} // namespace

Form::Form(const QString& name, const QString& caption, QSizeF clientTwips, Border border)
    : QWidget(nullptr, flagsFor(border))
    , m_border(border) {
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(dialogFont());

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_client = new Client(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_layout->addWidget(m_client);

    m_clientPx = QSize(twipsToPixels(static_cast<float>(clientTwips.width())),
                       twipsToPixels(static_cast<float>(clientTwips.height())));
    resize(m_clientPx);
    if (m_border == Border::Fixed)
        setFixedSize(m_clientPx);
}

Form::~Form() {
    // The children are destroyed after this part of the object, and may signal while they go
    // (focus moves, text changes): cut every connection from them to this window first.
    m_unloaded = true;
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

QMenuBar* Form::menuBar() {
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->setFont(QApplication::font(m_menuBar));
        m_layout->setMenuBar(m_menuBar);
        // F10 opens the first menu with its first entry current, as on GNOME and Windows.
        auto* openFirst = new QShortcut(QKeySequence(Qt::Key_F10), this);
        connect(openFirst, &QShortcut::activated, m_menuBar, [bar = m_menuBar] {
            const QList<QAction*> tops = bar->actions();
            if (tops.isEmpty() || !tops.constFirst()->menu())
                return;
            bar->setActiveAction(tops.constFirst());
            QMenu* menu = tops.constFirst()->menu();
            if (menu->isVisible() && !menu->actions().isEmpty())
                menu->setActiveAction(menu->actions().constFirst());
        });
    }
    return m_menuBar;
}

void Form::setDefaultButton(QPushButton* button) {
    if (m_defaultButton)
        m_defaultButton->setDefault(false);
    m_defaultButton = button;
    if (button)
        button->setDefault(true);
}

void Form::setBackColor(ColourValue value) {
    m_backColor = value;
    m_client->update();
}

void Form::setBackgroundPicture(Picture picture, BackgroundMode mode, QSizeF pixelSize) {
    m_picture = std::move(picture);
    m_pictureMode = mode;
    m_pictureSize = pixelSize;
    m_client->update();
}

void Form::paintBackground(QPainter& painter, const QRect& area) {
    painter.fillRect(area, toQColor(m_backColor, palette()));
    if (!m_picture)
        return;
    const QRectF target = m_pictureMode == BackgroundMode::Stretch || m_pictureSize.isEmpty()
                              ? QRectF(area)
                              : QRectF(QPointF(0, 0), m_pictureSize);
    // A window that cannot grow shows no more of its picture than its client area holds.
    const QSizeF shown = m_border == Border::Fixed ? QSizeF(m_client->size()) : QSizeF();
    painter.save();
    painter.setClipRect(area);
    m_picture(painter, target, shown);
    painter.restore();
}

QMargins Form::frameMarginsPx() const {
    const QWindow* window = windowHandle();
    return window ? window->frameMargins() : QMargins();
}

QSize Form::outerPixels() const {
    const QMargins m = frameMarginsPx();
    return size().grownBy(m);
}

QPoint Form::framePosition() const {
    return m_keptPlace ? m_keptPlace->client.marginsAdded(m_keptPlace->frame).topLeft() : pos();
}

void Form::moveFrameTo(QPoint position) {
    if (m_keptPlace) {
        const QMargins& frame = m_keptPlace->frame;
        m_keptPlace->client.moveTopLeft(position + QPoint(frame.left(), frame.top()));
        m_keptPlace->moved = true;
    } else {
        move(position);
    }
}

float Form::Left() const {
    return pixelsToTwips(framePosition().x());
}

float Form::Top() const {
    return pixelsToTwips(framePosition().y());
}

void Form::setLeft(float twips) {
    moveFrameTo(QPoint(twipsToPixels(twips), framePosition().y()));
}

void Form::setTop(float twips) {
    moveFrameTo(QPoint(framePosition().x(), twipsToPixels(twips)));
}

float Form::Width() const {
    const int px = outerPixels().width();
    if (m_requestedWidth && twipsToPixels(*m_requestedWidth) == px)
        return *m_requestedWidth;
    return pixelsToTwips(px);
}

float Form::Height() const {
    const int px = outerPixels().height();
    if (m_requestedHeight && twipsToPixels(*m_requestedHeight) == px)
        return *m_requestedHeight;
    return pixelsToTwips(px);
}

void Form::setWidth(float twips) {
    m_requestedWidth = twips;
    applyRequestedSize();
}

void Form::setHeight(float twips) {
    m_requestedHeight = twips;
    applyRequestedSize();
}

void Form::applyRequestedSize() {
    // Resizing a maximised or full-screen window would take it out of that state at a size
    // that mixes the screen's with the one asked for; it takes the size when it is restored.
    if (windowState() & kScreenFilling) {
        if (!m_sizeAwaitsRestore)
            m_restoredSize = normalGeometry().isValid() ? normalGeometry().size() : size();
        m_sizeAwaitsRestore = true;
        return;
    }
    // Just restored, the window may not have its restored size yet: the size not asked for is
    // the one it had before it filled the screen.
    QSize target = std::exchange(m_sizeAwaitsRestore, false) ? m_restoredSize : size();
    const QMargins m = frameMarginsPx();
    m_appliedMargins = m;
    if (m_requestedWidth)
        target.setWidth(std::max(0, twipsToPixels(*m_requestedWidth) - m.left() - m.right()));
    if (m_requestedHeight)
        target.setHeight(std::max(0, twipsToPixels(*m_requestedHeight) - m.top() - m.bottom()));
    if (target == size())
        return;
    if (m_keptPlace)
        m_keptPlace->resized = true;
    if (m_border == Border::Fixed)
        setFixedSize(target);
    else
        resize(target);
}

void Form::runHandler(const std::function<void()>& handler) {
    // An unloaded window takes no further events: focus and timer signals that arrive while
    // it is hidden or torn down must not reach its handlers.
    if (m_unloaded)
        return;
    enterHandler();
    runGuarded(this, handler);
    leaveHandler();
}

void Form::leaveHandler() {
    if (--m_busy == 0 && m_unloaded)
        deleteLater();
}

void Form::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!m_unloading)
        Forms::instance().unload(this);
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    runHandler([this] { Form_Resize(); });
}

void Form::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    keepOuterSize();
}

// The window system reports the frame only once the window is mapped (on X11 as it moves there;
// on Wayland, where Qt draws the frame, with no move at all by the time the window has drawn
// itself); an outer size set before then is applied again so the window keeps the outer size
// it was given.
void Form::keepOuterSize() {
    if ((m_requestedWidth || m_requestedHeight) && frameMarginsPx() != m_appliedMargins)
        applyRequestedSize();
}

void Form::setVisible(bool visible) {
    if (!visible && isVisible() && testAttribute(Qt::WA_Mapped) && !m_unloading)
        keepPlace();
    if (visible && !isVisible())
        returnToKeptPlace();
    // The menu bar's height is known only once its entries exist: the window grows by it
    // just before it first appears, so the client area keeps its stated size.
    if (visible && !m_sized) {
        m_sized = true;
        if (m_menuBar) {
            const QSize total(size().width(), size().height() + m_menuBar->sizeHint().height());
            if (m_border == Border::Fixed)
                setFixedSize(total);
            else
                resize(total);
            if (m_requestedWidth || m_requestedHeight)
                applyRequestedSize();
        }
    }
    QWidget::setVisible(visible);
}

void Form::keepPlace() {
    const QPoint offset = geometry().topLeft() - pos();
    const QMargins margins = frameMarginsPx();
    const QMargins frame(offset.x(), offset.y(), margins.right(), margins.bottom());
    Place place{geometry(), deviceGeometry(this), frame, windowState() & kScreenFilling};
    if (place.state && normalGeometry().isValid()) {
        place.client = normalGeometry();
        place.device.reset();
    }
    m_keptPlace = place;
}

// A window mapped again is placed afresh by the window manager unless it asks for a
// position, which Qt does only for a window the program itself placed; and the window
// manager forgets a withdrawn window's maximised state. The window asks again for its kept
// client area, which the window system puts exactly where it was, so the frame comes back
// where it stood, and for the state it was in. Where the display's own pixels are known, they
// are asked for too: under a scale factor Qt's coordinates may miss the kept one by a pixel.
// A screen may have gone meanwhile: a frame whose title bar no screen shows any more comes
// back on the screen nearest to it instead.
void Form::returnToKeptPlace() {
    if (!m_keptPlace || !windowHandle())
        return;
    const Place place = *m_keptPlace;
    m_keptPlace.reset();
    QRect client(place.client.topLeft(), place.resized ? size() : place.client.size());
    const QRect frame = client.marginsAdded(place.frame);
    const QPoint shift =
        reachablePlace(frame, place.frame.top(), screenAreas()).topLeft() - frame.topLeft();
    client.translate(shift);
    setGeometry(client);
    windowHandle()->setGeometry(client);
    if (place.state)
        setWindowState(windowState() | place.state);
    else if (place.device && !place.moved && shift.isNull())
        setDeviceGeometry(this, place.device->topLeft(),
                          place.resized ? QSize() : place.device->size());
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_firstFramePending = true;
    // A window opened from the keyboard shows at once which control has the focus: some styles
    // mark a focused option or button only once a key has moved the focus in that window, and
    // a person going on by keys would not see where they are. Opened by the pointer, it keeps
    // the style's usual look.
    if (lastPressWasKey())
        setAttribute(Qt::WA_KeyboardFocusChange);
    keepFocusOffPictures();
    keepOuterSize();
}

void Form::firstFramePainted() {
    if (!m_firstFramePending)
        return;
    m_firstFramePending = false;
    for (const int delay : kFirstFrameAgainMs) {
        QTimer::singleShot(delay, this, [this] {
            keepOuterSize();
            // The window itself paints nothing: its client area and menu bar cover it.
            m_client->update();
            if (m_menuBar)
                m_menuBar->update();
        });
    }
}

void Form::keepFocusOffPictures() {
    if (focusWidget())
        return;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
            if (qobject_cast<Image*>(w))
                setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Form::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_sizeAwaitsRestore &&
        !(windowState() & kScreenFilling))
        applyRequestedSize();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_unloading) {
        Forms::instance().noteActivated(this);
        runHandler([this] { Form_Activate(); });
    }
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        m_defaultButton && m_defaultButton->isEnabled() && m_defaultButton->isVisible()) {
        event->accept();
        m_defaultButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void runInWindow(QWidget* widget, const std::function<void()>& action) {
    if (auto* form = qobject_cast<Form*>(widget ? widget->window() : nullptr))
        form->runHandler(action);
    else
        runGuarded(widget, action);
}

void orderTabs(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* widget : chain) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace vorn
