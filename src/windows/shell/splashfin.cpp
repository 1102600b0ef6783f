#include "shell/splashfin.h"

#include "platform/accessibility.h"
#include "platform/forms.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/pictures.h"

#include <array>

namespace vorn {

namespace {

constexpr std::array<ControlDecl, 3> kLetters{{
    {"Label1", "O", {3720, 495, 375, 480}},
    {"Label2", "U", {3740, 760, 255, 375}},
    {"Label3", "T", {3750, 1030, 255, 375}},
}};

} // namespace

SplashFin::SplashFin()
    : Form(QStringLiteral("SplashFin"), QStringLiteral("M'écrire ?"), QSizeF(5130, 1740)) {
    // The window opens with the focus on none of its pictures: a screen reader says the choices.
    setAccessibleDescription(
        QStringLiteral("Tab mène à Mes coordonnées, Retour au menu et Quitter ; Entrée choisit."));
    Image1 = new Image(client(), {"Image1", nullptr, {360, 480, 975, 975}}, pictures::infoIcon);
    Image1->setClickable(QStringLiteral("Mes coordonnées"));
    Image2 = new Image(client(), {"Image2", nullptr, {2040, 480, 855, 975}}, pictures::spannerIcon);
    Image2->setClickable(QStringLiteral("Retour au menu"));
    Image3 = new Image(client(), {"Image3", nullptr, {3600, 480, 975, 975}}, pictures::exitIcon);
    Image3->setClickable(QStringLiteral("Quitter"));

    makeControls<Label>(client(), kLetters, [](Label* letter, const ControlDecl&) {
        letter->setTransparent(true);
        letter->setForeColor(rgb(255, 0, 0));
        letter->setFontFace(QStringLiteral("MS Sans Serif"), 13.5);
        letter->setWordWrap(false);
        // The picture below says what the letters spell.
        setDecorative(letter);
    });

    connect(Image1, &Image::Click, this, handler(&SplashFin::Image1_Click));
    connect(Image2, &Image::Click, this, handler(&SplashFin::Image2_Click));
    connect(Image3, &Image::Click, this, handler(&SplashFin::Image3_Click));
}

void SplashFin::Image1_Click() {
    Forms::instance().show<Courrier>();
}

void SplashFin::Image2_Click() {
    m_leaving = true;
    Forms::instance().show<Menu>();
    Forms::instance().unload(this);
}

void SplashFin::Image3_Click() {
    m_leaving = true;
    Forms::instance().unload(this);
    if (Menu* menu = Forms::instance().loaded<Menu>())
        Forms::instance().unload(menu);
}

void SplashFin::Form_Unload() {
    // Closed by the window system: never leave the user with a running program and no window.
    if (!m_leaving)
        Forms::instance().show<Menu>();
}

} // namespace vorn
