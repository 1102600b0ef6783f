#pragma once

#include "platform/colours.h"
#include "platform/picture.h"

#include <QPointer>
#include <QPushButton>
#include <QSizeF>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <optional>

class QMenuBar;

class QVBoxLayout;

namespace vorn {

class Forms;

// One window of the suite. Controls live in its client area, below its menu bar if it has
// one; its Width and Height are the outer size in twips. The registry (Forms) creates,
// loads, shows and unloads it; every handler runs through runHandler().
class Form : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(float Left READ Left WRITE setLeft)
    Q_PROPERTY(float Top READ Top WRITE setTop)
    Q_PROPERTY(float Width READ Width WRITE setWidth)
    Q_PROPERTY(float Height READ Height WRITE setHeight)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)

public:
    enum class Border {
        Sizable,           // resizable, with minimise and maximise buttons
        SizableNoMaximize, // resizable, minimise button only
        Fixed,             // fixed size, close button only
    };
    enum class BackgroundMode { TopLeft, Stretch };

    Form(const QString& name, const QString& caption, QSizeF clientTwips,
         Border border = Border::Sizable);
    ~Form() override;

    void setVisible(bool visible) override;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }
    float Left() const;
    float Top() const;
    void setLeft(float twips);
    void setTop(float twips);
    float Width() const;
    float Height() const;
    void setWidth(float twips);
    void setHeight(float twips);
    ColourValue BackColor() const { return m_backColor; }
    void setBackColor(ColourValue value);

    // The area controls are placed in; (0, 0) is its top-left corner.
    QWidget* client() const { return m_client; }
    // The window's menu bar, created on first use.
    QMenuBar* menuBar();
    // The button that Enter presses when the focus is on a control that does not take Enter.
    void setDefaultButton(QPushButton* button);
    QPushButton* defaultButton() const { return m_defaultButton; }
    void setBackgroundPicture(Picture picture, BackgroundMode mode, QSizeF pixelSize = {});
    // Whether the window paints its own ground (a plain colour or a picture) rather than the
    // desktop scheme's.
    bool hasFixedGround() const { return !isSystemColour(m_backColor) || bool(m_picture); }

    // Runs a handler of this window behind the run-time error guard, keeping the window
    // alive until the handler returns even if it was unloaded meanwhile.
    void runHandler(const std::function<void()>& handler);
    // A slot that runs a member handler through runHandler().
    template <class T> auto handler(void (T::*member)()) {
        return
            [this, member] { runHandler([this, member] { (static_cast<T*>(this)->*member)(); }); };
    }
    template <class F> auto handler(F&& function) {
        return [this, f = std::forward<F>(function)] { runHandler(f); };
    }

    // True once the window was unloaded; a handler resumed after a nested loop checks this.
    bool isUnloaded() const { return m_unloaded; }
    // Handler nesting: deletion of an unloaded window waits until the count returns to zero.
    void enterHandler() { ++m_busy; }
    void leaveHandler();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    virtual void Form_DblClick() {}
    // Paints the background colour and picture; windows that draw more extend it.
    virtual void paintBackground(QPainter& painter, const QRect& area);

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Client;
    friend class Forms;
    friend class Client;

    // A window that gave no control the focus opens with it on the window itself when Tab
    // would first reach a picture: a stray Enter or Space must not act as a click on one.
    // Tab still reaches the pictures, and Enter or Space on one then presses it. A screen
    // reader asked where the user is then names the window, as for any window whose focus is
    // on none of its controls.
    void keepFocusOffPictures();
    // Under a compositing window manager (metacity) the first frame of a window that has just
    // appeared can fail to reach the screen: the window manager is not told of it and shows
    // the window black until something repaints it, though the window drew it. Each time the
    // window appears its whole frame is drawn again after the first one, and the frames that
    // follow do reach the screen.
    void firstFramePainted();
    QMargins frameMarginsPx() const;
    QSize outerPixels() const;
    void applyRequestedSize();
    void keepOuterSize();
    QPoint framePosition() const;
    void moveFrameTo(QPoint position);
    void keepPlace();
    void returnToKeptPlace();

    // Where a window the program hid stood on screen: its client area (the normal one when
    // maximised), the same in the display's own pixels where they can be read, the frame's
    // margins around that area, and whether it was maximised or full screen; and whether the
    // program has moved or resized it since. Once unmapped, the window's own geometry is
    // whatever the window manager left behind when it took the frame away.
    struct Place {
        QRect client;
        std::optional<QRect> device;
        QMargins frame;
        Qt::WindowStates state;
        bool moved = false;
        bool resized = false;
    };

    QVBoxLayout* m_layout = nullptr;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QPointer<QPushButton> m_defaultButton;
    Border m_border;
    ColourValue m_backColor = kButtonFace;
    CachedPicture m_picture;
    BackgroundMode m_pictureMode = BackgroundMode::TopLeft;
    QSizeF m_pictureSize;
    std::optional<float> m_requestedWidth;
    std::optional<float> m_requestedHeight;
    QSize m_clientPx;
    QMargins m_appliedMargins;
    QSize m_restoredSize;
    std::optional<Place> m_keptPlace;
    int m_busy = 0;
    bool m_sizeAwaitsRestore = false;
    bool m_firstFramePending = false;
    bool m_sized = false;
    bool m_unloading = false;
    bool m_unloaded = false;
};

// Runs `action` as a handler of the window holding `widget`: behind the run-time error guard,
// the window kept alive until it returns. Controls use it for changes made through their
// properties, so these behave as the user's own choices do.
void runInWindow(QWidget* widget, const std::function<void()>& action);

// Tab moves through the widgets of `chain` in its order.
void orderTabs(std::initializer_list<QWidget*> chain);

} // namespace vorn
