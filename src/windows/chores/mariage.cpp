#include "chores/mariage.h"

#include "chores/pictures.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/services.h"
#include "shell/courrier.h"

#include <QtGlobal>

#include <algorithm>
#include <utility>
#include <vector>

namespace vorn {

namespace {

struct Letter {
    const char* name;
    const char* text;
    TwipsRect geometry;
};

// Read from top to bottom, the three letters spell the caption's first word.
constexpr std::array<Letter, 3> kLetters{{
    {"Label1", "Q", {75, -120, 615, 975}},
    {"Label2", "U", {960, 720, 615, 795}},
    {"Label3", "I", {1080, 2400, 495, 735}},
}};

struct Chore {
    const char* name;
    const char* caption;
    TwipsRect geometry;
    int tabIndex;
};

constexpr std::array<Chore, 7> kChores{{
    {"Option1", "Fera la vaisselle ?", {1680, 240, 1935, 255}, 0},
    {"Option2", "Sortira les poubelles ?", {1680, 720, 2055, 255}, 1},
    {"Option3", "Promènera le chien ?", {1680, 1200, 2175, 255}, 2},
    {"Option4", "Changera le bébé ?", {1680, 1680, 2055, 255}, 3},
    {"Option5", "Fera la lit tous les matins ?", {1680, 2160, 2295, 255}, 4},
    {"Option6", "Préparera le repas ?", {1680, 2640, 1935, 255}, 5},
    {"Option7", "Lavera la voiture ?", {1680, 3120, 1935, 255}, 10},
}};

struct Button {
    const char* name;
    const char* caption;
    TwipsRect geometry;
    int tabIndex;
    void (Mariage::*handler)();
};

const std::array<Button, 3> kButtons{{
    {"Command1", "Je veux savoir", {4680, 360, 1935, 375}, 6, &Mariage::Command1_Click},
    {"Command2", "J'en ai trop peur", {4680, 1080, 1935, 375}, 7, &Mariage::Command2_Click},
    {"Command3", "Je préfère ne pas savoir", {4680, 1800, 1935, 375}, 8, &Mariage::Command3_Click},
}};

constexpr TwipsRect kText1{3960, 2670, 1575, 450};
constexpr int kText1TabIndex = 9;

struct Decoration {
    const char* name;
    const char* description;
    void (*picture)(QPainter&, const QRectF&);
    TwipsRect geometry;
};

constexpr std::array<Decoration, 8> kImages{{
    {"Image1", "Deux cœurs", pictures::hearts, {-240, 2040, 1260, 1380}},
    {"Image2", "Voiture", pictures::car, {5640, 2520, 960, 720}},
    {"Image3", "Chien", pictures::dog, {720, 1680, 600, 600}},
    {"Image4", "Assiettes", pictures::plates, {4200, 360, 360, 360}},
    {"Image5", "Poubelle", pictures::bin, {4200, 1080, 360, 360}},
    {"Image6", "Poêle", pictures::pan, {4200, 1800, 375, 375}},
    {"Image7", "Lit", pictures::bed, {840, 120, 495, 495}},
    {"Image8", "Biberon", pictures::babyBottle, {120, 1080, 495, 855}},
}};

} // namespace

Mariage::Mariage()
    : Form(QStringLiteral("MARIAGE"), QStringLiteral("Qui fait quoi ?"), QSizeF(6705, 3480),
           Border::Fixed) {
    buildImages();
    buildLetters();
    buildChores();
    buildButtons();
    Text1 = new TextBox(client(), QStringLiteral("Text1"), QString(), kText1);
    Text1->setFontFace(QStringLiteral("Modern"), 18, true);
    Text1->setAccessibleName(QStringLiteral("Réponse"));
    orderTabs();
}

void Mariage::buildLetters() {
    for (std::size_t i = 0; i < kLetters.size(); ++i) {
        const Letter& letter = kLetters[i];
        Label* label = new Label(client(), QString::fromLatin1(letter.name),
                                 QString::fromLatin1(letter.text), letter.geometry);
        label->setFontFace(QStringLiteral("Verdana"), 36, true);
        label->setTransparent(true);
        label->setWordWrap(false);
        m_letters[i] = label;
    }
}

void Mariage::buildImages() {
    for (std::size_t i = 0; i < kImages.size(); ++i) {
        const Decoration& decoration = kImages[i];
        Image* image = new Image(client(), QString::fromLatin1(decoration.name), decoration.picture,
                                 decoration.geometry);
        image->setAccessibleName(QString::fromUtf8(decoration.description));
        m_images[i] = image;
    }
}

void Mariage::buildChores() {
    for (std::size_t i = 0; i < kChores.size(); ++i) {
        const Chore& chore = kChores[i];
        OptionButton* option = new OptionButton(client(), QString::fromLatin1(chore.name),
                                                QString::fromUtf8(chore.caption), chore.geometry);
        connect(option, &OptionButton::Click, this, handler(&Mariage::Option_Click));
        m_chores[i] = option;
    }
}

void Mariage::buildButtons() {
    std::array<CommandButton*, kButtons.size()> buttons{};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const Button& spec = kButtons[i];
        buttons[i] = new CommandButton(client(), QString::fromLatin1(spec.name),
                                       QString::fromUtf8(spec.caption), spec.geometry);
        connect(buttons[i], &CommandButton::Click, this, handler(spec.handler));
    }
    Command1 = buttons[0];
    Command2 = buttons[1];
    Command3 = buttons[2];
}

// Tab moves through the controls by their tab index: the chores but the last, the three
// buttons, the answer, then the last chore.
void Mariage::orderTabs() {
    std::vector<std::pair<int, QWidget*>> stops;
    for (std::size_t i = 0; i < kChores.size(); ++i)
        stops.emplace_back(kChores[i].tabIndex, m_chores[i]);
    const std::array<CommandButton*, 3> buttons{Command1, Command2, Command3};
    for (std::size_t i = 0; i < kButtons.size(); ++i)
        stops.emplace_back(kButtons[i].tabIndex, buttons[i]);
    stops.emplace_back(kText1TabIndex, Text1);
    std::sort(stops.begin(), stops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
}

void Mariage::Form_Load() {
    msgBox(this,
           QStringLiteral("Ce petit programme vous permettra de définir qui dans votre couple "
                          "fera telle ou telle tâche ménagère, et ce sans dispute."),
           MsgOkOnly, QStringLiteral("Préparation mentale"));
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
}

void Mariage::Command2_Click() {
    msgBox(this, QStringLiteral("Alors comme ça on a peur de prendre ses responsabilités ?!"),
           MsgOkOnly, QStringLiteral("Rappel essentiel"));
}

void Mariage::Command3_Click() {
    Forms::instance().unload(this);
}

void Mariage::Form_Unload() {
    Forms::instance().show<Courrier>();
}

} // namespace vorn
