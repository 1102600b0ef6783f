#include "chores/mariage.h"

#include "chores/pictures.h"
#include "platform/accessibility.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/services.h"
#include "shell/courrier.h"

#include <QtGlobal>

#include <array>

namespace vorn {

namespace {

// Read from top to bottom, the three letters spell the caption's first word.
constexpr std::array<ControlDecl, 3> kLetters{{
    {"Label1", "Q", {75, -120, 615, 975}},
    {"Label2", "U", {960, 720, 615, 795}},
    {"Label3", "I", {1080, 2400, 495, 735}},
}};

constexpr std::array<ControlDecl, 7> kChores{{
    {"Option1", "Fera la vaisselle ?", {1680, 240, 1935, 255}},
    {"Option2", "Sortira les poubelles ?", {1680, 720, 2055, 255}},
    {"Option3", "Promènera le chien ?", {1680, 1200, 2175, 255}},
    {"Option4", "Changera le bébé ?", {1680, 1680, 2055, 255}},
    {"Option5", "Fera la lit tous les matins ?", {1680, 2160, 2295, 255}},
    {"Option6", "Préparera le repas ?", {1680, 2640, 1935, 255}},
    {"Option7", "Lavera la voiture ?", {1680, 3120, 1935, 255}},
}};

// Each button with the handler it runs.
const std::array<ControlRow<void (Mariage::*)()>, 3> kButtons{{
    {{"Command1", "Je veux savoir", {4680, 360, 1935, 375}}, &Mariage::Command1_Click},
    {{"Command2", "J'en ai trop peur", {4680, 1080, 1935, 375}}, &Mariage::Command2_Click},
    {{"Command3", "Je préfère ne pas savoir", {4680, 1800, 1935, 375}}, &Mariage::Command3_Click},
}};

constexpr ControlDecl kText1{"Text1", nullptr, {3960, 2670, 1575, 450}, "Réponse"};

// Each picture with what it draws; they only decorate the window.
constexpr std::array<ControlRow<void (*)(QPainter&, const QRectF&)>, 8> kImages{{
    {{"Image1", nullptr, {-240, 2040, 1260, 1380}}, pictures::hearts},
    {{"Image2", nullptr, {5640, 2520, 960, 720}}, pictures::car},
    {{"Image3", nullptr, {720, 1680, 600, 600}}, pictures::dog},
    {{"Image4", nullptr, {4200, 360, 360, 360}}, pictures::plates},
    {{"Image5", nullptr, {4200, 1080, 360, 360}}, pictures::bin},
    {{"Image6", nullptr, {4200, 1800, 375, 375}}, pictures::pan},
    {{"Image7", nullptr, {840, 120, 495, 495}}, pictures::bed},
    {{"Image8", nullptr, {120, 1080, 495, 855}}, pictures::babyBottle},
}};

} // namespace

Mariage::Mariage()
    : Form(QStringLiteral("MARIAGE"), QStringLiteral("Qui fait quoi ?"), QSizeF(6705, 3480),
           Border::Fixed) {
    makeControls<Image>(client(), kImages, [](Image* image, const auto& row) {
        image->setPicture(row.extra);
        setDecorative(image);
    });
    makeControls<Label>(client(), kLetters, [](Label* letter, const ControlDecl&) {
        letter->setFontFace(QStringLiteral("Verdana"), 36, true);
        letter->setTransparent(true);
        letter->setWordWrap(false);
        // The title says the word they spell.
        setDecorative(letter);
    });
    const auto chores =
        makeControls<OptionButton>(client(), kChores, [this](OptionButton* option, const auto&) {
            connect(option, &OptionButton::Click, this, handler(&Mariage::Option_Click));
        });
    const auto buttons = makeControls<CommandButton>(
        client(), kButtons, [this](CommandButton* button, const auto& row) {
            connect(button, &CommandButton::Click, this, handler(row.extra));
        });
    Text1 = new TextBox(client(), kText1);
    Text1->setFontFace(QStringLiteral("Modern"), 18, true);

    // The chores but the last, the three buttons, the answer, then the last chore.
    orderTabs({chores[0], chores[1], chores[2], chores[3], chores[4], chores[5], buttons[0],
               buttons[1], buttons[2], Text1, chores[6]});
}

void Mariage::Form_Load() {
    msgBox(this,
           QStringLiteral("Ce petit programme vous permettra de définir qui dans votre couple "
                          "fera telle ou telle tâche ménagère, et ce sans dispute."),
           {Buttons::Ok, MessageIcon::None}, QStringLiteral("Préparation mentale"));
    // Unloaded while a box was up: nobody is left to ask.
    if (isUnloaded())
        return;
    const QString title = QStringLiteral("Personnalisation");
    m_nom1 = inputBox(this, QStringLiteral("Donnez le nom de la première personne"), title);
    if (isUnloaded())
        return;
    m_nom2 = inputBox(this, QStringLiteral("Donnez le nom de la deuxième personne"), title);
}

void Mariage::Option_Click() {
    Text1->setText(QString());
}

// The draw: the first person for an even second, the second person for an odd one.
void Mariage::Command1_Click() {
    const auto second = static_cast<qint16>(now().time().second());
    bool found = false;
    for (qint16 i = 0; i != 60 && !found; i = static_cast<qint16>(i + 2)) {
        if (i == second) {
            Text1->setText(m_nom1);
            found = true;
        }
    }
    if (!found)
        Text1->setText(m_nom2);
    announce(this, Text1->text());
}

void Mariage::Command2_Click() {
    msgBox(this, QStringLiteral("Alors comme ça on a peur de prendre ses responsabilités ?!"),
           {Buttons::Ok, MessageIcon::None}, QStringLiteral("Rappel essentiel"));
}

void Mariage::Command3_Click() {
    Forms::instance().unload(this);
}

void Mariage::Form_Unload() {
    Forms::instance().show<Courrier>();
}

} // namespace vorn
