#include "euro/vorneuro.h"

#include "euro/pictures.h"
#include "platform/accessibility.h"
#include "platform/forms.h"

namespace vorn {

namespace {

// Three columns and four rows; the fourth row's first place holds "Off".
constexpr float kColumn[] = {240, 960, 1680};
constexpr float kRow[] = {720, 1320, 1920, 2520};
constexpr float kKeyWidth = 495;
constexpr float kKeyHeight = 375;

constexpr TwipsRect keyPlace(int column, int row) {
    return {kColumn[column], kRow[row], kKeyWidth, kKeyHeight};
}

// The keys that build the amount; each appends the caption it was laid out with.
constexpr std::array<ControlDecl, 11> kKeys{{
    {"un", "1", keyPlace(0, 0)},
    {"deux", "2", keyPlace(1, 0)},
    {"trois", "3", keyPlace(2, 0)},
    {"quatre", "4", keyPlace(0, 1)},
    {"cinq", "5", keyPlace(1, 1)},
    {"six", "6", keyPlace(2, 1)},
    {"sept", "7", keyPlace(0, 2)},
    {"huit", "8", keyPlace(1, 2)},
    {"neuf", "9", keyPlace(2, 2)},
    {"zero", "0", keyPlace(1, 3)},
    {"virgule", ",", keyPlace(2, 3), "Virgule"}, // a lone comma is not always spoken
}};

const QString kHeavyFace = QStringLiteral("Arial Black");

// A caption drawn straight on the photograph, in `colour`.
void onPhotograph(Label* label, ColourValue colour) {
    label->setTransparent(true);
    label->setForeColor(colour);
}

} // namespace

VornEuro::VornEuro()
    : Form(QStringLiteral("VornEuro"), QStringLiteral("La VornEuro"), QSizeF(4140, 3390),
           Border::Fixed) {
    setBackgroundPicture(pictures::nightScene, BackgroundMode::TopLeft,
                         QSizeF(pictures::kNightScenePixels));

    // Created in focus order: the display first, so it has the focus when the window opens.
    ecran = new TextBox(client(), {"ecran", nullptr, {240, 120, 2295, 375}, "Affichage"});
    ecran->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    monaie = new Label(client(), {"monaie", nullptr, {2640, 240, 1335, 255}, "Unité"});
    onPhotograph(monaie, rgb(0, 255, 0));
    monaie->setFontFace(QStringLiteral("Arial Alternative"), 12, true);
    monaie->setWordWrap(false);

    ecran2 = new TextBox(client(), {"ecran2", nullptr, {2520, 720, 975, 285}, "Montant converti"});
    ecran2->setReadOnly(true);
    ecran2->setFontFace(QStringLiteral("Arial Narrow"), 8.25);
    ecran2->hide();

    monaie2 = new Label(client(),
                        {"monaie2", nullptr, {3600, 840, 495, 255}, "Unité du montant converti"});
    onPhotograph(monaie2, rgb(255, 255, 192));
    monaie2->setWordWrap(false);
    monaie2->hide();

    auto* prompt = new Label(client(), {"Label1", "Convertir       en:", {2760, 1320, 975, 495}});
    onPhotograph(prompt, kWhite);
    prompt->setFontFace(kHeavyFace, 9);

    auto* euros = new CommandButton(client(), {"euros", "Euros", {2760, 2040, 975, 375}});
    auto* francs = new CommandButton(client(), {"francs", "Francs", {2760, 2640, 975, 375}});
    setDefaultButton(euros);

    makeControls<CommandButton>(client(), kKeys,
                                [this](CommandButton* key, const ControlDecl& decl) {
                                    key->setFontFace(kHeavyFace, 12);
                                    const QString character = declText(decl.caption);
                                    connect(key, &CommandButton::Click, this,
                                            handler([this, character] { key_Click(character); }));
                                });

    auto* off = new CommandButton(client(), {"off", "Off", keyPlace(0, 3)});
    off->setFontFace(kHeavyFace, 9.75);
    // "delete" is a C++ keyword; the object name keeps the word.
    auto* delete_ = new CommandButton(client(), {"delete", "Delete", {240, 3000, 1935, 255}});
    delete_->setFontFace(kHeavyFace, 8.25);

    connect(euros, &CommandButton::Click, this, handler(&VornEuro::euros_Click));
    connect(francs, &CommandButton::Click, this, handler(&VornEuro::francs_Click));
    connect(off, &CommandButton::Click, this, handler(&VornEuro::off_Click));
    connect(delete_, &CommandButton::Click, this, handler(&VornEuro::delete_Click));

    ecran->setFocus(Qt::OtherFocusReason);
}

void VornEuro::EstVide() {
    if (!monaie->text().isEmpty())
        clearDisplay();
}

void VornEuro::key_Click(const QString& character) {
    EstVide();
    ecran->setText(ecran->text() + character);
}

void VornEuro::delete_Click() {
    clearDisplay();
}

void VornEuro::clearDisplay() {
    ecran2->hide();
    monaie2->hide();
    ecran->setText(QString());
    monaie->setText(QString());
}

void VornEuro::off_Click() {
    Forms::instance().unload(this);
}

void VornEuro::euros_Click() {
    convertDisplay(euro::Currency::Francs);
}

void VornEuro::francs_Click() {
    convertDisplay(euro::Currency::Euros);
}

void VornEuro::convertDisplay(euro::Currency from) {
    if (ecran->text().isEmpty())
        return;
    ecran2->show();
    monaie2->show();
    ecran2->setText(euro::withDecimalCommas(ecran->text()));
    monaie2->setText(euro::currencyName(from));
    monaie->setText(euro::currencyName(euro::otherCurrency(from)));
    // The amount read is the copy just shown; a text that is no number stops here, with the
    // copy and the new units already on display.
    ecran->setText(euro::convertText(ecran2->text(), from));
    announce(this, ecran->text() + QLatin1Char(' ') + monaie->text());
}

} // namespace vorn
