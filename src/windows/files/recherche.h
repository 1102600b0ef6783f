#pragma once

#include "files/listcontrols.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"

#include <QVariant>

#include <functional>

namespace vorn {

// The small file manager: drive, folder and file lists kept in step, the date and size of
// the file clicked, a filter on the end of the names, and four operations on the disk, each
// checked and confirmed before it touches anything.
class Recherche : public Form {
    Q_OBJECT

public:
    Recherche();

    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_LostFocus();
    void File1_SelectionGone(); // the selected file is selected no longer, with no Click
    void Command1_Click();      // "Fermer"
    void Command2_Click();      // "OK": the filter
    void Command3_Click();      // "Kill"
    void Command4_Click();      // "Créer dossier"
    void Command5_Click();      // "Exécuter"
    void Command6_Click();      // "RmDir"

    // The answer of the last warning box, and of the last confirmation (or the folder name
    // typed while a folder is created). Answers are kept as the numbers scripts and tests
    // read (OK 1, Cancel 2, Retry 4), made by answerNumber; the window itself compares the
    // typed answers.
    QVariant erreur;
    QVariant Confirm;

private:
    // The boxes this window shows, in the order of the table that describes them.
    enum class Box {
        NoFileSelected,
        DeleteFile,
        ReadOnlyVolume,
        FolderNameNeeded,
        RemoveFolder,
        FolderNotEmpty,
        FilterNeedsText,
        BadFolderName,
        FileChanged,
        FolderChangedCreate,
        FolderChangedRemove,
        NotAProgram,
        ProgramPartMissing,
    };
    Answer say(Box box);
    // Shows a warning box and keeps its answer in `erreur`.
    Answer warn(Box box);
    // Shows a confirmation box and keeps its answer in `Confirm`.
    Answer confirm(Box box);
    void changedMeanwhile(Box box);
    // Runs a handler; when it finds gone what the user chose (the file, the folder, the
    // drive), the lists show the disk as it is now before the error is told.
    void rereadIfGone(const std::function<void()>& handler);
    // Makes a handler of this window that runs through rereadIfGone().
    template <class F> auto rereading(F member) {
        return handler([this, member] { rereadIfGone([this, member] { (this->*member)(); }); });
    }
    bool changeDisk(const QString& folder, Box changed, const std::function<bool()>& change);
    QString selectedFilePath() const;

    TextBox* Text1;
    TextBox* Text2;
    TextBox* Text3;
    DirList* Dir1;
    FileList* File1;
    DriveList* Drive1;
};

} // namespace vorn
