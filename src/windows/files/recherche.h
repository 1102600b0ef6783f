#pragma once

#include "files/listcontrols.h"
#include "platform/controls.h"
#include "platform/form.h"

#include <QVariant>

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
    void Command1_Click(); // "Fermer"
    void Command2_Click(); // "OK": the filter
    void Command3_Click(); // "Kill"
    void Command4_Click(); // "Créer dossier"
    void Command5_Click(); // "Exécuter"
    void Command6_Click(); // "RmDir"

    // The answer of the last warning box, and of the last confirmation (or the folder name
    // typed while a folder is created).
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
    };
    int say(Box box);
    void changedMeanwhile(Box box);
    QString selectedFilePath() const;

    Label* Label1;
    Label* Label2;
    Label* Label3;
    TextBox* Text1;
    TextBox* Text2;
    TextBox* Text3;
    CommandButton* Command1;
    CommandButton* Command2;
    CommandButton* Command3;
    CommandButton* Command4;
    CommandButton* Command5;
    CommandButton* Command6;
    DirList* Dir1;
    FileList* File1;
    DriveList* Drive1;
};

} // namespace vorn
