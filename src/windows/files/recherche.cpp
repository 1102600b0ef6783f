#include "files/recherche.h"

#include "files/heldfolder.h"
#include "files/volumes.h"
#include "platform/conversions.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/services.h"

#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

#include <climits>

namespace vorn {

namespace {

struct BoxText {
    const char* text;
    const char* title;
    int style;
};

// In the order of Recherche::Box.
constexpr std::array kBoxes{
    BoxText{"Aucun fichier n'a été sélectionné !", "Erreur", MsgWarning},
    BoxText{"Effacer le fichier ?", "Confirmation", MsgWarning + MsgOkCancel},
    BoxText{"Ecriture impossible, le CD-Rom n'est pas accessible en écriture !", "Erreur d'accès",
            MsgWarning},
    BoxText{"Nom du nouveau dossier indispensable !", "Erreur d'accès",
            MsgWarning + MsgRetryCancel},
    BoxText{"supprimer le dossier ?", "Confirmation", MsgWarning + MsgOkCancel},
    BoxText{"Le répertoire désigné n'est pas vide !", "Erreur", MsgWarning},
    BoxText{"Sélectionnez 'extension' ou 'Nom complet' et renseigner la case 'fichier'", "Erreur",
            MsgWarning},
    BoxText{"Nom de dossier incorrect !", "Erreur d'accès", MsgWarning},
    BoxText{"Le fichier a changé depuis sa sélection : rien n'a été effacé.", "Erreur d'accès",
            MsgWarning},
    BoxText{"Le dossier a changé depuis sa sélection : rien n'a été créé.", "Erreur d'accès",
            MsgWarning},
    BoxText{"Le dossier a changé depuis sa sélection : rien n'a été supprimé.", "Erreur d'accès",
            MsgWarning},
};

constexpr const char* kFolderPrompt = "Entrez le nom du dossier que vous voulez créer.";
constexpr const char* kFolderPromptTitle = "Précision";

struct LabelEntry {
    const char* name;
    const char* caption;
    TwipsRect geometry;
    ColourValue colour;
    bool heading;
};

constexpr std::array kLabels{
    LabelEntry{"Label1", "Fichier:", {480, 315, 975, 255}, kWhite, true},
    LabelEntry{"Label2", "A été créé le:", {120, 3600, 975, 255}, kButtonHighlight, false},
    LabelEntry{"Label3", "Taille:", {3000, 3600, 495, 255}, kHighlightText, false},
};

struct TextEntry {
    const char* name;
    TwipsRect geometry;
    bool readOnly;
};

constexpr std::array kTexts{
    TextEntry{"Text1", {1560, 240, 2415, 375}, false},
    TextEntry{"Text2", {1080, 3550, 1575, 285}, true},
    TextEntry{"Text3", {3480, 3550, 1695, 285}, true},
};

struct ButtonEntry {
    const char* name;
    const char* caption;
    TwipsRect geometry;
    void (Recherche::*handler)();
};

constexpr std::array kButtons{
    ButtonEntry{"Command1", "Fermer", {5640, 240, 1095, 375}, &Recherche::Command1_Click},
    ButtonEntry{"Command2", "OK", {4080, 240, 495, 375}, &Recherche::Command2_Click},
    ButtonEntry{"Command3", "Kill", {5640, 2040, 1095, 375}, &Recherche::Command3_Click},
    ButtonEntry{"Command4", "Créer dossier", {5640, 840, 1095, 375}, &Recherche::Command4_Click},
    ButtonEntry{"Command5", "Exécuter", {5640, 2640, 1095, 375}, &Recherche::Command5_Click},
    ButtonEntry{"Command6", "RmDir", {5640, 1440, 1095, 375}, &Recherche::Command6_Click},
};

// A folder name names one entry of the open folder that the lists will show: no separator,
// no leading point (the lists hide such names, the folder itself and its parent), no
// character the system refuses, not longer than the system allows.
bool isFolderName(const QString& name) {
    if (name.startsWith(QLatin1Char('.')))
        return false;
    const bool badCharacter = std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 ||
               c.unicode() == 0x7F;
    });
    return !badCharacter && QFile::encodeName(name).size() <= NAME_MAX;
}

// The window's background: a deep blue-green gradient with soft light and the outlines of
// a few sheets and a magnifying glass, dark enough for the white captions on it.
void background(QPainter& painter, const QRectF& target) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient base(target.topLeft(), target.bottomRight());
    base.setColorAt(0, QColor(14, 58, 74));
    base.setColorAt(0.55, QColor(20, 44, 92));
    base.setColorAt(1, QColor(10, 24, 58));
    painter.fillRect(target, base);

    QRadialGradient glow(target.topLeft() + QPointF(target.width() * 0.2, 0), target.width() * 0.6);
    glow.setColorAt(0, QColor(120, 200, 220, 70));
    glow.setColorAt(1, QColor(120, 200, 220, 0));
    painter.fillRect(target, glow);

    // Work on a 100 x 60 grid so the drawing follows the window's shape.
    painter.translate(target.topLeft());
    painter.scale(target.width() / 100.0, target.height() / 60.0);
    painter.setBrush(Qt::NoBrush);
    const QPen sheetPen(QColor(190, 225, 240, 38), 0.35);
    painter.setPen(sheetPen);
    struct Sheet {
        qreal x, y, angle;
    };
    constexpr std::array kSheets{Sheet{80, 8, -12}, Sheet{88, 30, 9}, Sheet{74, 44, -4},
                                 Sheet{4, 4, 8}, Sheet{40, 52, -10}};
    for (const Sheet& sheet : kSheets) {
        painter.save();
        painter.translate(sheet.x, sheet.y);
        painter.rotate(sheet.angle);
        QPainterPath page;
        page.moveTo(0, 0);
        page.lineTo(7, 0);
        page.lineTo(9, 2);
        page.lineTo(9, 11);
        page.lineTo(0, 11);
        page.closeSubpath();
        painter.drawPath(page);
        for (qreal line = 3.5; line < 10; line += 1.8)
            painter.drawLine(QPointF(1.5, line), QPointF(7.5, line));
        painter.restore();
    }
    painter.setPen(QPen(QColor(200, 235, 250, 48), 1.2));
    painter.drawEllipse(QPointF(62, 40), 9, 9);
    painter.setPen(QPen(QColor(200, 235, 250, 48), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(68.5, 46.5), QPointF(76, 54));
    painter.restore();
}

} // namespace

Recherche::Recherche()
    : Form(QStringLiteral("Recherche"), QStringLiteral("Recherche de fichiers"),
           QSizeF(6915, 3930)) {
    setBackgroundPicture(background, BackgroundMode::Stretch);
    // The controls' own font, unless a control names another.
    QFont controlsFont(QStringLiteral("MS Sans Serif"));
    controlsFont.setPointSizeF(8.25);
    setFont(controlsFont);

    std::array<Label*, kLabels.size()> labels{};
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        const LabelEntry& entry = kLabels[i];
        labels[i] = new Label(client(), QString::fromLatin1(entry.name),
                              QString::fromUtf8(entry.caption), entry.geometry);
        labels[i]->setTransparent(true);
        labels[i]->setForeColor(entry.colour);
        labels[i]->setWordWrap(false);
        if (entry.heading)
            labels[i]->setFontFace(QStringLiteral("MS Sans Serif"), 12, true);
    }
    Label1 = labels[0];
    Label2 = labels[1];
    Label3 = labels[2];

    std::array<TextBox*, kTexts.size()> texts{};
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        texts[i] = new TextBox(client(), QString::fromLatin1(kTexts[i].name), QString(),
                               kTexts[i].geometry);
        texts[i]->setReadOnly(kTexts[i].readOnly);
    }
    Text1 = texts[0];
    Text2 = texts[1];
    Text3 = texts[2];
    Text1->setFontFace(QStringLiteral("MS Sans Serif"), 12);
    // A date and a time in the narrow box: a narrow face shows them whole.
    Text2->setFontFace(QStringLiteral("Arial Narrow"), 8.25);
    Label1->setBuddy(Text1);
    Label2->setBuddy(Text2);
    Label3->setBuddy(Text3);

    std::array<CommandButton*, kButtons.size()> buttons{};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const ButtonEntry& entry = kButtons[i];
        buttons[i] = new CommandButton(client(), QString::fromLatin1(entry.name),
                                       QString::fromUtf8(entry.caption), entry.geometry);
        connect(buttons[i], &CommandButton::Click, this, handler(entry.handler));
    }
    Command1 = buttons[0];
    Command2 = buttons[1];
    Command3 = buttons[2];
    Command4 = buttons[3];
    Command5 = buttons[4];
    Command6 = buttons[5];
    setDefaultButton(Command2);

    Dir1 = new DirList(client(), QStringLiteral("Dir1"), {240, 960, 2415, 2340});
    File1 = new FileList(client(), QStringLiteral("File1"), {3000, 960, 2175, 1845});
    Drive1 = new DriveList(client(), QStringLiteral("Drive1"), {3000, 3000, 2175, 315});
    Dir1->setAccessibleName(QStringLiteral("Dossiers"));
    File1->setAccessibleName(QStringLiteral("Fichiers"));
    Drive1->setAccessibleName(QStringLiteral("Lecteurs"));
    connect(Drive1, &DriveList::Change, this, handler(&Recherche::Drive1_Change));
    connect(Dir1, &DirList::Change, this, handler(&Recherche::Dir1_Change));
    connect(File1, &FileList::Click, this, handler(&Recherche::File1_Click));
    connect(File1, &FileList::LostFocus, this, handler(&Recherche::File1_LostFocus));

    const std::array<QWidget*, 12> tabOrder{Dir1,  File1, Drive1,   Text1,    Command1, Command2,
                                            Text2, Text3, Command3, Command4, Command5, Command6};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Dir1->setFocus();
}

int Recherche::say(Box box) {
    const BoxText& entry = kBoxes[static_cast<std::size_t>(box)];
    return msgBox(this, QString::fromUtf8(entry.text), entry.style, QString::fromUtf8(entry.title));
}

QString Recherche::selectedFilePath() const {
    return joinPath(File1->Path(), File1->FileName());
}

void Recherche::Drive1_Change() {
    Dir1->setPath(Drive1->Drive());
}

void Recherche::Dir1_Change() {
    File1->setFileName(Dir1->Path());
}

void Recherche::File1_Click() {
    const QString path = selectedFilePath();
    Text2->setText(generalDateText(fileDateTime(path)));
    Text3->setText(QString::number(fileLen(path)));
}

void Recherche::File1_LostFocus() {
    Text2->setText(QString());
    Text3->setText(QString());
}

void Recherche::Command1_Click() {
    Forms::instance().unload(this);
}

void Recherche::Command2_Click() {
    if (Text1->text().isEmpty()) {
        erreur = say(Box::FilterNeedsText);
        return;
    }
    File1->setPattern(QLatin1Char('*') + Text1->text());
}

// Something the user saw changed before the answer: nothing was touched. The lists show
// what is there now.
void Recherche::changedMeanwhile(Box box) {
    erreur = say(box);
    if (isUnloaded())
        return;
    File1->Refresh();
    Dir1->Refresh();
}

void Recherche::Command3_Click() {
    if (File1->FileName().isEmpty()) {
        erreur = say(Box::NoFileSelected);
        return;
    }
    // The file confirmed is the one selected when the button was pressed, in the folder shown.
    const QString folder = File1->Path();
    const HeldFolder held(folder, File1->FileName());
    Confirm = say(Box::DeleteFile);
    if (Confirm.toInt() != AnswerOk || isUnloaded())
        return;
    if (isOnReadOnlyVolume(folder)) {
        erreur = say(Box::ReadOnlyVolume);
        return;
    }
    if (!held.removeFile()) {
        changedMeanwhile(Box::FileChanged);
        return;
    }
    File1->Refresh();
}

void Recherche::Command4_Click() {
    // The folder is created in the one shown when the button was pressed.
    const QString folder = File1->Path();
    const HeldFolder held(folder);
    for (;;) {
        Confirm =
            inputBox(this, QString::fromUtf8(kFolderPrompt), QString::fromUtf8(kFolderPromptTitle));
        if (isUnloaded())
            return;
        if (!Confirm.toString().isEmpty())
            break;
        erreur = say(Box::FolderNameNeeded);
        if (erreur.toInt() != AnswerRetry || isUnloaded())
            return;
    }
    const QString name = Confirm.toString();
    if (!isFolderName(name)) {
        erreur = say(Box::BadFolderName);
        return;
    }
    if (isOnReadOnlyVolume(folder)) {
        erreur = say(Box::ReadOnlyVolume);
        return;
    }
    if (!held.makeFolder(name)) {
        changedMeanwhile(Box::FolderChangedCreate);
        return;
    }
    Dir1->Refresh();
}

void Recherche::Command5_Click() {
    if (File1->FileName().isEmpty()) {
        erreur = say(Box::NoFileSelected);
        return;
    }
    // The file itself is the program, started without a shell and without arguments, so
    // nothing in its name is ever read as a command.
    startProgram(selectedFilePath(), {}, WindowStyle::Minimized);
}

void Recherche::Command6_Click() {
    // The folder confirmed is the one open when the button was pressed, held through the
    // folder that contains it.
    const QString folder = Dir1->Path();
    const QFileInfo shown(folder);
    const HeldFolder held(shown.path(), shown.fileName());
    Confirm = say(Box::RemoveFolder);
    if (Confirm.toInt() != AnswerOk || isUnloaded())
        return;
    if (File1->ListCount() != 0) {
        erreur = say(Box::FolderNotEmpty);
        return;
    }
    if (isOnReadOnlyVolume(folder)) {
        erreur = say(Box::ReadOnlyVolume);
        return;
    }
    if (!held.removeFolder()) {
        changedMeanwhile(Box::FolderChangedRemove);
        return;
    }
    File1->Refresh();
    Dir1->Refresh();
}

} // namespace vorn
