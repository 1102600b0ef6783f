#include "shell/tetris.h"

#include "platform/accessibility.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "shell/pictures.h"

#include <array>

namespace vorn {

namespace {

const QString kTitle = QStringLiteral("Dépacement de capacité");
constexpr MessageStyle kWarning{Buttons::Ok, MessageIcon::Warning};

// One move of the refusal button, in twips: Top first, then Left.
struct RefusMove {
    float top;
    float left;
};

// The button's round from its place at load: right, left, up and right, then back down.
constexpr std::array kRefusMoves{
    RefusMove{0, 750},
    RefusMove{0, -1500},
    RefusMove{-350, 750},
    RefusMove{350, 0},
};

} // namespace

Tetris::Tetris()
    : Form(QStringLiteral("Tétris"), QStringLiteral("Erreur"), QSizeF(4995, 2160), Border::Fixed) {
    // Dressed as a system error, it is one to its user: its message is read as it opens.
    setAccessibleRole(this, WindowRole::Alert);
    // The icon repeats what the title says.
    setDecorative(
        new PictureBox(client(), {"Picture1", nullptr, {240, 480, 480, 480}}, pictures::closeIcon));

    // The run of spaces pushes the second sentence onto a line of its own.
    auto* message = new Label(client(), {"Label1",
                                         "Windows a détecté une insuffisence intellec- tuelle "
                                         "chez l'utilisateur et ne peut donc pas exécuter "
                                         "correctement ce programme."
                                         "                     "
                                         "Si vous admettez que vous êtes simplet, une solution "
                                         "vous sera donnée.",
                                         {1080, 120, 3855, 1215}});
    message->setFontFace(QStringLiteral("Times New Roman"), 9.75);
    message->setTransparent(true);

    auto* Admission =
        new CommandButton(client(), {"Admission", "Je l'admet", {230, 1680, 850, 425}});
    Refus = new CommandButton(client(), {"Refus", "Je refuse", {2160, 1680, 850, 425}});
    // "Aide" has no click action: it only vanishes under the pointer.
    Aide = new CommandButton(client(), {"Aide", "Aide", {3960, 1680, 850, 425}});

    connect(Admission, &CommandButton::Click, this, handler(&Tetris::Admission_Click));
    connect(Refus, &CommandButton::Click, this, handler(&Tetris::Refus_Click));
    connect(Aide, &CommandButton::MouseMove, this, handler(&Tetris::Aide_MouseMove));
}

void Tetris::Form_Load() {
    m_compteur = 0;
    m_etat = false;
}

void Tetris::Admission_Click() {
    msgBox(this,
           QStringLiteral("Votre cas est trop prononcé, désolé, mais Windows ne peut rien "
                          "pour vous!"),
           kWarning, kTitle);
    // Closed while the message was up: the close-box message has already been given.
    if (isUnloaded())
        return;
    m_etat = true;
    Forms::instance().unload(this);
}

void Tetris::Refus_Click() {
    const RefusMove& move = kRefusMoves[static_cast<std::size_t>(m_compteur)];
    Refus->setTop(Refus->Top() + move.top);
    Refus->setLeft(Refus->Left() + move.left);
    m_compteur = static_cast<qint16>((m_compteur + 1) % static_cast<int>(kRefusMoves.size()));
}

void Tetris::Aide_MouseMove() {
    Aide->setVisible(false);
}

void Tetris::Form_Unload() {
    if (!m_etat)
        msgBox(this,
               QStringLiteral("Erreur: Windows certifie que vous ne pouvez pas avoir eu "
                              "l'intelligence de cliquer sur la petite croix !"),
               kWarning, kTitle);
}

} // namespace vorn
