#include "shell/splashfin.h"

#include "platform/forms.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/pictures.h"

#include <array>

namespace vorn {

namespace {

struct Letter {
    const char* name;
    const char* text;
    TwipsRect geometry;
};

constexpr std::array kLetters{
    Letter{"Label1", "O", {3720, 495, 375, 480}},
    Letter{"Label2", "U", {3740, 760, 255, 375}},
    Letter{"Label3", "T", {3750, 1030, 255, 375}},
};

} // namespace

SplashFin::SplashFin()
    : Form(QStringLiteral("SplashFin"), QStringLiteral("M'écrire ?"), QSizeF(5130, 1740)) {
    Image1 =
        new Image(client(), QStringLiteral("Image1"), pictures::infoIcon, {360, 480, 975, 975});
    Image1->setClickable(QStringLiteral("Mes coordonnées"));
    Image2 =
        new Image(client(), QStringLiteral("Image2"), pictures::spannerIcon, {2040, 480, 855, 975});
    Image2->setClickable(QStringLiteral("Retour au menu"));
    Image3 =
        new Image(client(), QStringLiteral("Image3"), pictures::exitIcon, {3600, 480, 975, 975});
    Image3->setClickable(QStringLiteral("Quitter"));

    std::array<Label*, kLetters.size()> letters{};
    for (std::size_t i = 0; i < kLetters.size(); ++i) {
        const Letter& letter = kLetters[i];
        letters[i] = new Label(client(), QString::fromLatin1(letter.name),
                               QString::fromLatin1(letter.text), letter.geometry);
        letters[i]->setTransparent(true);
        letters[i]->setForeColor(rgb(255, 0, 0));
        letters[i]->setFontFace(QStringLiteral("MS Sans Serif"), 13.5);
        letters[i]->setWordWrap(false);
    }
    Label1 = letters[0];
    Label2 = letters[1];
    Label3 = letters[2];

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
