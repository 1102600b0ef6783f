#include "euro/vorneuro.h"

#include "euro/pictures.h"
#include "platform/forms.h"

namespace vorn {

namespace {

// One key of the keypad: its name, caption, place and the character it appends.
struct Key {
    const char* name;
    const char* caption;
    float left;
    float top;
    const char* character;
};

// Three columns and four rows; the fourth row's first place holds "Off".
constexpr float kColumn[] = {240, 960, 1680};
constexpr float kRow[] = {720, 1320, 1920, 2520};
constexpr float kKeyWidth = 495;
constexpr float kKeyHeight = 375;

constexpr std::array kKeys{
    Key{"un", "1", kColumn[0], kRow[0], "1"},      Key{"deux", "2", kColumn[1], kRow[0], "2"},
    Key{"trois", "3", kColumn[2], kRow[0], "3"},   Key{"quatre", "4", kColumn[0], kRow[1], "4"},
    Key{"cinq", "5", kColumn[1], kRow[1], "5"},    Key{"six", "6", kColumn[2], kRow[1], "6"},
    Key{"sept", "7", kColumn[0], kRow[2], "7"},    Key{"huit", "8", kColumn[1], kRow[2], "8"},
    Key{"neuf", "9", kColumn[2], kRow[2], "9"},    Key{"zero", "0", kColumn[1], kRow[3], "0"},
    Key{"virgule", ",", kColumn[2], kRow[3], ","},
};

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
    ecran = new TextBox(client(), QStringLiteral("ecran"), QString(), {240, 120, 2295, 375});
    ecran->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ecran->setAccessibleName(QStringLiteral("Affichage"));

    monaie = new Label(client(), QStringLiteral("monaie"), QString(), {2640, 240, 1335, 255});
    onPhotograph(monaie, rgb(0, 255, 0));
    monaie->setFontFace(QStringLiteral("Arial Alternative"), 12, true);
    monaie->setWordWrap(false);
    monaie->setAccessibleName(QStringLiteral("Unité"));

    ecran2 = new TextBox(client(), QStringLiteral("ecran2"), QString(), {2520, 720, 975, 285});
    ecran2->setReadOnly(true);
    ecran2->setFontFace(QStringLiteral("Arial Narrow"), 8.25);
    ecran2->setAccessibleName(QStringLiteral("Montant converti"));
    ecran2->hide();

    monaie2 = new Label(client(), QStringLiteral("monaie2"), QString(), {3600, 840, 495, 255});
    onPhotograph(monaie2, rgb(255, 255, 192));
    monaie2->setWordWrap(false);
    monaie2->setAccessibleName(QStringLiteral("Unité du montant converti"));
    monaie2->hide();

    Label1 = new Label(client(), QStringLiteral("Label1"), QStringLiteral("Convertir       en:"),
                       {2760, 1320, 975, 495});
    onPhotograph(Label1, kWhite);
    Label1->setFontFace(kHeavyFace, 9);

    euros = new CommandButton(client(), QStringLiteral("euros"), QStringLiteral("Euros"),
                              {2760, 2040, 975, 375});
    francs = new CommandButton(client(), QStringLiteral("francs"), QStringLiteral("Francs"),
                               {2760, 2640, 975, 375});
    setDefaultButton(euros);
    euros->setDefault(true); // drawn as the button Enter presses

    static_assert(kKeys.size() == kKeyCount);
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const Key& key = kKeys[i];
        keys[i] = new CommandButton(client(), QString::fromLatin1(key.name),
                                    QString::fromLatin1(key.caption),
                                    {key.left, key.top, kKeyWidth, kKeyHeight});
        keys[i]->setFontFace(kHeavyFace, 12);
        const QString character = QString::fromLatin1(key.character);
        connect(keys[i], &CommandButton::Click, this,
                handler([this, character] { key_Click(character); }));
    }

    off = new CommandButton(client(), QStringLiteral("off"), QStringLiteral("Off"),
                            {kColumn[0], kRow[3], kKeyWidth, kKeyHeight});
    off->setFontFace(kHeavyFace, 9.75);
    delete_ = new CommandButton(client(), QStringLiteral("delete"), QStringLiteral("Delete"),
                                {240, 3000, 1935, 255});
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
}

} // namespace vorn
