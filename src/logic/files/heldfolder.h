#pragma once

#include "files/listing.h"
#include "platform/runtimeerror.h"

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/types.h>

namespace vorn {

// A folder held open from the moment the user acts on it, with the identity (device and
// inode) of the folder and of one entry in it, so that an operation confirmed later acts on
// the very folder and entry the user saw, and only while the path still leads to them.
// Opening failures are kept and reported by the operation, after the questions.
class HeldFolder {
public:
    // Holds `folder` (links leading to it resolved, the folder itself opened as no link) and,
    // when `entry` is not empty, the entry of that name in it, a link taken as itself.
    explicit HeldFolder(const QString& folder, const QString& entry = {});
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    // Each operation returns false (or nothing), having touched nothing, when the folder's path no
    // longer leads to the held folder or the entry's name to the held entry; it raises the run-time
    // error of a failure. A held entry that went away is error 53 for a file, 76 for a folder.

    // Deletes the held entry: a file or a link (a folder is error 53).
    [[nodiscard]] bool removeFile() const;
    // Removes the held entry, an empty folder, through the held folder that contains it (a link
    // to a folder is error 75).
    [[nodiscard]] bool removeFolder() const;
    // Creates the folder `name` in the held folder.
    [[nodiscard]] bool makeFolder(const QString& name) const;
    // The entries of the held entry, a folder, as they are on the disk now (readFolder()); a
    // link to a folder is error 75.
    [[nodiscard]] std::optional<QList<FolderEntry>>
    readHeldEntry(EntryKind kind, const WildcardPattern& pattern) const;

private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const Identity&) const = default;
    };
    // True while the path and the entry's name still lead to what is held.
    bool stillSeen(ErrnoSubject subject, bool withEntry) const;
    // Whether the held folder is still in its file system: a removed one has no link left.
    bool stillThere() const;
    // Whether this user may write in the held folder and remove what it holds, so that a
    // refusal is not about permission.
    bool mayChange() const;
    // Refuses to treat a held link as a folder: a folder opened through a link is not one this
    // folder holds, and removing it would take either the link or what it leads to, neither of
    // them what the user asked to remove.
    void refuseLinkAsFolder() const;

    QByteArray m_path;
    QByteArray m_entry;
    int m_folder = -1;
    int m_held = -1;
    int m_folderErrno = 0;
    int m_entryErrno = 0;
    Identity m_folderId;
    Identity m_entryId;
    bool m_entryIsFolder = false;
    bool m_entryIsLink = false;
};

} // namespace vorn
