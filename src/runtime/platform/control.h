#pragma once

#include "platform/colours.h"
#include "platform/controldecl.h"
#include "platform/fonts.h"
#include "platform/form.h"
#include "platform/twips.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>

// The properties every control kind exposes to the automation contract, declared once.
#define VORN_CONTROL_PROPERTIES                                                                    \
    Q_PROPERTY(float Left READ Left WRITE setLeft)                                                 \
    Q_PROPERTY(float Top READ Top WRITE setTop)                                                    \
    Q_PROPERTY(float Width READ Width WRITE setWidth)                                              \
    Q_PROPERTY(float Height READ Height WRITE setHeight)                                           \
    Q_PROPERTY(bool Visible READ Visible WRITE setVisibleFlag)                                     \
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)                                \
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)                                \
    Q_PROPERTY(double FontSize READ FontSize WRITE setFontSize)                                    \
    Q_PROPERTY(QString FontName READ FontName)

namespace vorn {

// The palette roles a control paints its background and text with, and the colours it
// reports until they are set.
struct ColourRoles {
    QPalette::ColorRole background = QPalette::Window;
    QPalette::ColorRole foreground = QPalette::WindowText;
    ColourValue back = kButtonFace;
    ColourValue fore = kButtonText;
};

// The colours of a field the user types in or picks from: text boxes and lists.
inline constexpr ColourRoles kEntryColours{QPalette::Base, QPalette::Text, kWindowBackground,
                                           kWindowText};

// Reports a loss of focus only when the focus really moved on inside the window: a dialog
// appearing or the user switching windows is not one.
inline bool isRealFocusMove(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// Whether the key is Enter, from the main keyboard (Return) or from the keypad.
inline bool isEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Twips geometry, visibility, colours and font size on top of a Qt widget. The name and the
// place are given at construction; the twips values are stored as given and the pixel
// geometry is derived from them, so moves never drift.
template <class Widget> class Control : public Widget {
public:
    Control(QWidget* parent, const QString& name, TwipsRect place, ColourRoles roles = {})
        : Widget(parent)
        , m_twips{place.left, place.top, std::max(0.0f, place.width), std::max(0.0f, place.height)}
        , m_roles(roles)
        , m_back(roles.back)
        , m_fore(roles.fore) {
        this->setObjectName(name);
        applyGeometry();
    }
    // A control as a window's table gives it; its description, if any, is its accessible name.
    Control(QWidget* parent, const ControlDecl& decl, ColourRoles roles = {})
        : Control(parent, declText(decl.name), decl.place, roles) {
        if (decl.description)
            this->setAccessibleName(declText(decl.description));
    }

    float Left() const { return m_twips.left; }
    float Top() const { return m_twips.top; }
    float Width() const { return m_twips.width; }
    float Height() const { return m_twips.height; }
    void setLeft(float v) { moveTo(v, m_twips.top); }
    void setTop(float v) { moveTo(m_twips.left, v); }
    void setWidth(float v) {
        m_twips.width = std::max(0.0f, v);
        applyGeometry();
    }
    void setHeight(float v) {
        m_twips.height = std::max(0.0f, v);
        applyGeometry();
    }

    // The control's own visibility flag, whatever the window's state.
    bool Visible() const { return !this->isHidden(); }
    void setVisibleFlag(bool visible) { this->setVisible(visible); }

    ColourValue BackColor() const { return m_back; }
    void setBackColor(ColourValue value) {
        m_back = value;
        m_backSet = true;
        applyColours();
    }
    ColourValue ForeColor() const { return m_fore; }
    void setForeColor(ColourValue value) {
        m_fore = value;
        m_foreSet = true;
        applyColours();
    }
    // A transparent control shows its window's background behind its text.
    void setTransparent(bool transparent) {
        m_transparent = transparent;
        applyColours();
    }

    double FontSize() const { return this->font().pointSizeF(); }
    void setFontSize(double points) {
        QFont f = this->font();
        f.setPointSizeF(points);
        this->setFont(f);
    }
    void setFontFace(const QString& family, double points, bool bold = false) {
        m_fontName = family;
        this->setFont(makeFont(family, points, bold));
    }
    // The family the control asked for, which its font's installed family stands for; the
    // dialog font's until it asks for one.
    QString FontName() const { return m_fontName.isEmpty() ? dialogFontFamily() : m_fontName; }

protected:
    bool event(QEvent* event) override {
        // A transparent control's ground is its window's, settled by the time it first shows.
        if (event->type() == QEvent::Polish && m_transparent)
            applyColours();
        return Widget::event(event);
    }
    // The focus moved on to another control of the window; kinds with a LostFocus event
    // raise it here.
    virtual void lostFocus() {}
    void focusOutEvent(QFocusEvent* event) override {
        Widget::focusOutEvent(event);
        if (isRealFocusMove(event->reason()))
            lostFocus();
    }
    // A double-click is the primary button's, on every desktop: two quick clicks of another
    // button, as for a context menu, are two presses and open nothing.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            Widget::mouseDoubleClickEvent(event);
        else
            this->mousePressEvent(event);
    }

private:
    void moveTo(float left, float top) {
        m_twips.left = left;
        m_twips.top = top;
        applyGeometry();
    }
    void applyGeometry() { this->setGeometry(m_twips.toPixels()); }
    // Whether the control's ground is fixed: its own plain colour, or, transparent, a window
    // that paints its own ground. There its system colours come from the classic scheme, as a
    // dark desktop's light text would vanish on a light picture.
    bool onFixedGround() const {
        if (m_transparent) {
            const auto* form = qobject_cast<const Form*>(this->window());
            return form && form->hasFixedGround();
        }
        return m_backSet && !isSystemColour(m_back);
    }
    // The colour behind the control's text under `palette`: its own ground, or its window's
    // where it fills none.
    QColor groundUnder(const QPalette& palette) const {
        if (m_backSet && !m_transparent)
            return toQColor(m_back, palette);
        if (m_transparent || m_roles.background == QPalette::Window) {
            if (const auto* form = qobject_cast<const Form*>(this->window()))
                return toQColor(form->BackColor(), palette);
        }
        return palette.color(m_roles.background);
    }
    // A text colour of the window's own on the scheme's ground was chosen for the classic
    // ground; on the scheme's it is taken toward black or white as far as it needs to read.
    QColor schemeForeground() const {
        const QColor text = toQColor(m_fore);
        if (isSystemColour(m_fore))
            return text;
        return readableOn(text, groundUnder(QApplication::palette()),
                          groundUnder(classicPalette()));
    }
    void applyColours() {
        QPalette p = this->palette();
        if (onFixedGround())
            p.setColor(m_roles.foreground, toQColor(m_fore, classicPalette()));
        else if (m_foreSet)
            p.setColor(m_roles.foreground, schemeForeground());
        if (m_backSet)
            p.setColor(m_roles.background, toQColor(m_back));
        this->setPalette(p);
        this->setAutoFillBackground(m_backSet && !m_transparent);
    }

    TwipsRect m_twips;
    ColourRoles m_roles;
    ColourValue m_back;
    ColourValue m_fore;
    QString m_fontName;
    bool m_backSet = false;
    bool m_foreSet = false;
    bool m_transparent = false;
};

} // namespace vorn
