#include "files/recherche.h"

#include "files/heldfolder.h"
#include "files/pictures.h"
#include "files/volumes.h"
#include "platform/accessibility.h"
#include "platform/conversions.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/services.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>

#include <climits>

namespace vorn {

namespace {

struct BoxText {
    const char* text;
    const char* title;
    MessageStyle style;
};

constexpr MessageStyle kWarning{Buttons::Ok, MessageIcon::Warning};
constexpr MessageStyle kWarningOkCancel{Buttons::OkCancel, MessageIcon::Warning};
constexpr MessageStyle kWarningRetryCancel{Buttons::RetryCancel, MessageIcon::Warning};

// In the order of Recherche::Box.
constexpr std::array kBoxes{
    BoxText{"Aucun fichier n'a été sélectionné !", "Erreur", kWarning},
    BoxText{"Effacer le fichier ?", "Confirmation", kWarningOkCancel},
    BoxText{"Ecriture impossible, le CD-Rom n'est pas accessible en écriture !", "Erreur d'accès",
            kWarning},
    BoxText{"Nom du nouveau dossier indispensable !", "Erreur d'accès", kWarningRetryCancel},
    BoxText{"supprimer le dossier ?", "Confirmation", kWarningOkCancel},
    BoxText{"Le répertoire désigné n'est pas vide !", "Erreur", kWarning},
    BoxText{"Sélectionnez 'extension' ou 'Nom complet' et renseigner la case 'fichier'", "Erreur",
            kWarning},
    BoxText{"Nom de dossier incorrect !", "Erreur d'accès", kWarning},
    BoxText{"Le fichier a changé depuis sa sélection : rien n'a été effacé.", "Erreur d'accès",
            kWarning},
    BoxText{"Le dossier a changé depuis sa sélection : rien n'a été créé.", "Erreur d'accès",
            kWarning},
    BoxText{"Le dossier a changé depuis sa sélection : rien n'a été supprimé.", "Erreur d'accès",
            kWarning},
    BoxText{"Ce fichier n'est pas un programme : il ne peut pas être exécuté.", "Erreur", kWarning},
    BoxText{"Ce programme ne peut pas démarrer : un fichier dont il a besoin est introuvable.",
            "Erreur", kWarning},
};

constexpr const char* kFolderPrompt = "Entrez le nom du dossier que vous voulez créer.";
constexpr const char* kFolderPromptTitle = "Précision";

// Each label with the colour of its caption; each names the box to its right.
constexpr std::array<ControlRow<ColourValue>, 3> kLabels{{
    {{"Label1", "Fichier:", {480, 315, 975, 255}}, kWhite},
    {{"Label2", "A été créé le:", {120, 3600, 975, 255}}, kButtonHighlight},
    {{"Label3", "Taille:", {3000, 3600, 495, 255}}, kHighlightText},
}};

// The filter, then the date and the size of the file clicked, which the user only reads.
constexpr ControlDecl kText1{"Text1", nullptr, {1560, 240, 2415, 375}};
constexpr std::array<ControlDecl, 2> kFileFacts{{
    {"Text2", nullptr, {1080, 3550, 1575, 285}},
    {"Text3", nullptr, {3480, 3550, 1695, 285}},
}};

// Each button with the handler it runs.
const std::array<ControlRow<void (Recherche::*)()>, 6> kButtons{{
    {{"Command1", "Fermer", {5640, 240, 1095, 375}}, &Recherche::Command1_Click},
    {{"Command2", "OK", {4080, 240, 495, 375}}, &Recherche::Command2_Click},
    {{"Command3", "Kill", {5640, 2040, 1095, 375}}, &Recherche::Command3_Click},
    {{"Command4", "Créer dossier", {5640, 840, 1095, 375}}, &Recherche::Command4_Click},
    {{"Command5", "Exécuter", {5640, 2640, 1095, 375}}, &Recherche::Command5_Click},
    {{"Command6", "RmDir", {5640, 1440, 1095, 375}}, &Recherche::Command6_Click},
}};

constexpr ControlDecl kDir1{"Dir1", nullptr, {240, 960, 2415, 2340}, "Dossiers"};
constexpr ControlDecl kFile1{"File1", nullptr, {3000, 960, 2175, 1845}, "Fichiers"};
constexpr ControlDecl kDrive1{"Drive1", nullptr, {3000, 3000, 2175, 315}, "Lecteurs"};

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

// Raises error 71 when the volume holding `path` does not answer, before anything looks at it: a
// network or FUSE volume that stopped answering would hold the window until it answers again.
void requireAnswer(const QString& path) {
    if (!volumeAnswers(path))
        vorn::raise(ErrorNumber::DiskNotReady);
}

} // namespace

Recherche::Recherche()
    : Form(QStringLiteral("Recherche"), QStringLiteral("Recherche de fichiers"),
           QSizeF(6915, 3930)) {
    setBackgroundPicture(pictures::fileSearch, BackgroundMode::Stretch);

    const auto labels = makeControls<Label>(client(), kLabels,
                                            [](Label* label, const ControlRow<ColourValue>& row) {
                                                label->setTransparent(true);
                                                label->setForeColor(row.extra);
                                                label->setWordWrap(false);
                                            });
    labels[0]->setFontFace(QStringLiteral("MS Sans Serif"), 12, true);

    Text1 = new TextBox(client(), kText1);
    const auto facts = makeControls<TextBox>(
        client(), kFileFacts, [](TextBox* box, const auto&) { box->setReadOnly(true); });
    Text2 = facts[0];
    Text3 = facts[1];
    Text1->setFontFace(QStringLiteral("MS Sans Serif"), 12);
    // A date and a time in the narrow box: a narrow face shows them whole.
    Text2->setFontFace(QStringLiteral("Arial Narrow"), 8.25);
    labels[0]->setBuddy(Text1);
    labels[1]->setBuddy(Text2);
    labels[2]->setBuddy(Text3);

    const auto buttons = makeControls<CommandButton>(
        client(), kButtons, [this](CommandButton* button, const auto& row) {
            connect(button, &CommandButton::Click, this, rereading(row.extra));
        });
    setDefaultButton(buttons[1]);

    Dir1 = new DirList(client(), kDir1);
    File1 = new FileList(client(), kFile1);
    Drive1 = new DriveList(client(), kDrive1);
    connect(Drive1, &DriveList::Change, this, rereading(&Recherche::Drive1_Change));
    connect(Dir1, &DirList::Change, this, rereading(&Recherche::Dir1_Change));
    connect(File1, &FileList::Click, this, rereading(&Recherche::File1_Click));
    connect(File1, &FileList::LostFocus, this, handler(&Recherche::File1_LostFocus));
    connect(File1, &FileList::SelectionGone, this, handler(&Recherche::File1_SelectionGone));

    orderTabs({Dir1, File1, Drive1, Text1, buttons[0], buttons[1], Text2, Text3, buttons[2],
               buttons[3], buttons[4], buttons[5]});
    Dir1->setFocus();
}

Answer Recherche::say(Box box) {
    const BoxText& entry = kBoxes[static_cast<std::size_t>(box)];
    return msgBox(this, QString::fromUtf8(entry.text), entry.style, QString::fromUtf8(entry.title));
}

Answer Recherche::warn(Box box) {
    const Answer answer = say(box);
    erreur = answerNumber(answer);
    return answer;
}

Answer Recherche::confirm(Box box) {
    const Answer answer = say(box);
    Confirm = answerNumber(answer);
    return answer;
}

QString Recherche::selectedFilePath() const {
    return joinPath(File1->Path(), File1->selectedName());
}

void Recherche::rereadIfGone(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        const ErrorNumber code = error.code();
        const bool gone = code == ErrorNumber::FileNotFound || code == ErrorNumber::PathNotFound ||
                          code == ErrorNumber::DeviceUnavailable ||
                          code == ErrorNumber::DiskNotReady;
        if (gone && !isUnloaded()) {
            Drive1->followDisk();
            Dir1->followDisk();
            File1->followDisk();
        }
        throw;
    }
}

void Recherche::Drive1_Change() {
    Dir1->setPath(Drive1->Drive());
}

void Recherche::Dir1_Change() {
    File1->setFileName(Dir1->Path());
}

void Recherche::File1_Click() {
    const QString path = selectedFilePath();
    qint64 size = 0;
    try {
        requireAnswer(path);
        Text2->setText(generalDateText(fileDateTime(path)));
        size = fileLen(path);
    } catch (const RuntimeError&) {
        File1_LostFocus(); // what the boxes show is of the file selected before
        throw;
    }
    Text3->setText(QString::number(size));
    // French puts "octet" in the singular below two.
    announce(this, QStringLiteral("Créé le %1, %2 %3")
                       .arg(Text2->text(), Text3->text(),
                            size < 2 ? QStringLiteral("octet") : QStringLiteral("octets")));
}

void Recherche::File1_LostFocus() {
    Text2->setText(QString());
    Text3->setText(QString());
}

void Recherche::File1_SelectionGone() {
    File1_LostFocus();
}

void Recherche::Command1_Click() {
    Forms::instance().unload(this);
}

void Recherche::Command2_Click() {
    if (Text1->text().isEmpty()) {
        warn(Box::FilterNeedsText);
        return;
    }
    requireAnswer(File1->Path());
    File1->setPattern(QLatin1Char('*') + Text1->text());
}

// Something the user saw changed before the answer: nothing was touched. The lists show
// what is there now.
void Recherche::changedMeanwhile(Box box) {
    warn(box);
    if (isUnloaded())
        return;
    File1->Refresh();
    Dir1->Refresh();
}

// Makes a change on the disk in `folder` unless its volume may not be written; false, once the
// user is told why, when nothing was changed.
bool Recherche::changeDisk(const QString& folder, Box changed,
                           const std::function<bool()>& change) {
    requireAnswer(folder); // it may have stopped answering while the user was asked
    if (isOnReadOnlyVolume(folder)) {
        warn(Box::ReadOnlyVolume);
        return false;
    }
    try {
        if (!change()) {
            changedMeanwhile(changed);
            return false;
        }
    } catch (const RuntimeError& error) {
        // A volume found read-only only as it is written to says so as one known before; so
        // does one whose FUSE program makes no changes at all (an ISO image), mounted
        // read-write, which answers that it has no such operation.
        if (error.systemError() != EROFS && error.systemError() != ENOSYS)
            throw;
        warn(Box::ReadOnlyVolume);
        return false;
    }
    return true;
}

void Recherche::Command3_Click() {
    if (File1->FileName().isEmpty()) {
        warn(Box::NoFileSelected);
        return;
    }
    // The file confirmed is the one selected when the button was pressed, in the folder shown.
    const QString folder = File1->Path();
    requireAnswer(folder);
    const HeldFolder held(folder, File1->selectedName());
    if (confirm(Box::DeleteFile) != Answer::Ok || isUnloaded())
        return;
    // The list reads the folder again where it stands, so a long one keeps its place.
    if (changeDisk(folder, Box::FileChanged, [&held] { return held.removeFile(); }))
        File1->followDisk();
}

void Recherche::Command4_Click() {
    // The folder is created in the one shown when the button was pressed.
    const QString folder = File1->Path();
    requireAnswer(folder);
    const HeldFolder held(folder);
    for (;;) {
        Confirm =
            inputBox(this, QString::fromUtf8(kFolderPrompt), QString::fromUtf8(kFolderPromptTitle));
        if (isUnloaded())
            return;
        if (!Confirm.toString().isEmpty())
            break;
        if (warn(Box::FolderNameNeeded) != Answer::Retry || isUnloaded())
            return;
    }
    const QString name = Confirm.toString();
    if (!isFolderName(name)) {
        warn(Box::BadFolderName);
        return;
    }
    bool made = false;
    try {
        made = changeDisk(folder, Box::FolderChangedCreate,
                          [&held, &name] { return held.makeFolder(name); });
    } catch (const RuntimeError& error) {
        // A name this volume does not take (a FAT volume refuses "?" or ":") is a bad name.
        if (error.systemError() != EINVAL && error.systemError() != ENAMETOOLONG)
            throw;
        warn(Box::BadFolderName);
        return;
    }
    if (made)
        Dir1->Refresh();
}

void Recherche::Command5_Click() {
    if (File1->FileName().isEmpty()) {
        warn(Box::NoFileSelected);
        return;
    }
    // The file itself is the program, started without a shell and without arguments, so
    // nothing in its name is ever read as a command.
    const QString path = selectedFilePath();
    requireAnswer(path);
    try {
        startProgram(path, {}, WindowStyle::Minimized);
    } catch (const RuntimeError& error) {
        if (error.systemError() == ENOEXEC) {
            warn(Box::NotAProgram);
            return;
        }
        // The system names the program missing when what runs it is: its interpreter, or the
        // loader of a program made for another system.
        const bool partMissing = error.systemError() == ENOENT || error.systemError() == ELIBBAD;
        const bool stillThere = [&] {
            try {
                fileLen(path);
                return true;
            } catch (const RuntimeError&) {
                return false;
            }
        }();
        if (!partMissing || !stillThere)
            throw;
        warn(Box::ProgramPartMissing);
    }
}

void Recherche::Command6_Click() {
    // The folder confirmed is the one open when the button was pressed, held through the
    // folder that contains it.
    const QString folder = Dir1->Path();
    requireAnswer(folder);
    const QFileInfo shown(folder);
    const HeldFolder held(shown.path(), shown.fileName());
    if (confirm(Box::RemoveFolder) != Answer::Ok || isUnloaded())
        return;
    requireAnswer(folder); // it may have stopped answering while the user was asked
    // The files counted are those the file list would show in that folder now.
    const auto files = held.readHeldEntry(EntryKind::Files, WildcardPattern(File1->Pattern()));
    if (!files) {
        changedMeanwhile(Box::FolderChangedRemove);
        return;
    }
    if (!files->isEmpty()) {
        warn(Box::FolderNotEmpty);
        return;
    }
    if (!changeDisk(folder, Box::FolderChangedRemove, [&held] { return held.removeFolder(); }))
        return;
    File1->Refresh();
    Dir1->Refresh();
}

} // namespace vorn
