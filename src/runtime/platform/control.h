#pragma once

#include "platform/colours.h"
#include "platform/fonts.h"
#include "platform/twips.h"

#include <QFont>
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
    Q_PROPERTY(double FontSize READ FontSize WRITE setFontSize)

namespace vorn {

// Colour roles a control paints its text and background with.
struct ColourRoles {
    QPalette::ColorRole background;
    QPalette::ColorRole foreground;
};

// Twips geometry, visibility, colours and font size on top of a Qt widget. The twips values
// are stored as given and the pixel geometry is derived from them, so moves never drift.
template <class Widget> class Control : public Widget {
public:
    explicit Control(QWidget* parent, ColourRoles roles = {QPalette::Window, QPalette::WindowText})
        : Widget(parent)
        , m_roles(roles) {}

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
    void setTwips(float left, float top, float width, float height) {
        m_twips = {left, top, std::max(0.0f, width), std::max(0.0f, height)};
        applyGeometry();
    }
    TwipsRect twips() const { return m_twips; }

    // The colours a kind starts with, reported by BackColor and ForeColor until set.
    void setDefaultColours(ColourValue back, ColourValue fore) {
        m_back = back;
        m_fore = fore;
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
    bool isTransparent() const { return m_transparent; }

    double FontSize() const { return this->font().pointSizeF(); }
    void setFontSize(double points) {
        QFont f = this->font();
        f.setPointSizeF(points);
        this->setFont(f);
    }
    void setFontFace(const QString& family, double points, bool bold = false) {
        this->setFont(makeFont(family, points, bold));
    }

protected:
    void moveTo(float left, float top) {
        m_twips.left = left;
        m_twips.top = top;
        applyGeometry();
    }
    virtual void applyGeometry() { this->setGeometry(m_twips.toPixels()); }
    void applyColours() {
        QPalette p = this->palette();
        if (m_foreSet)
            p.setColor(m_roles.foreground, toQColor(m_fore));
        if (m_backSet)
            p.setColor(m_roles.background, toQColor(m_back));
        this->setPalette(p);
        this->setAutoFillBackground(m_backSet && !m_transparent);
        this->setAttribute(Qt::WA_TranslucentBackground, false);
    }

private:
    TwipsRect m_twips;
    ColourRoles m_roles;
    ColourValue m_back = kButtonFace;
    ColourValue m_fore = kButtonText;
    bool m_backSet = false;
    bool m_foreSet = false;
    bool m_transparent = false;
};

} // namespace vorn
