#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <sys/stat.h>
#include <sys/types.h>

class QSocketNotifier;

// Following the disk while a window shows it: the system tells of the changes it sees (inotify
// for a folder's entries, the mount table's own notice for the volumes); only a folder whose
// changes it cannot tell of is looked at again at intervals.
namespace vorn {

// Tells whenever a volume is mounted or unmounted, from the mount table's change notice; where
// the system gives no such notice, it tells nothing.
class MountWatch final : public QObject {
    Q_OBJECT

public:
    explicit MountWatch(QObject* parent = nullptr);
    ~MountWatch() override;

Q_SIGNALS:
    void changed();

private:
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

// Follows one folder: the names created, removed or renamed in it, gathered for a moment so
// that a burst of changes is told once, and the folder itself going away (removed, moved,
// its volume unmounted, or another folder now standing at its path).
class FolderWatch final : public QObject {
    Q_OBJECT

public:
    // The most names told one by one; past it the folder is to be read again whole.
    static constexpr int kMostNames = 512;
    // How long changes are gathered before they are told; twice as long for a folder of many
    // entries, whose every refresh lays out its whole list again.
    static constexpr int kSettleMs = 250;
    static constexpr qsizetype kManyEntries = 20000;
    static constexpr int kLookMs = 1000;

    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;

    // Follows `folder` from now on, in place of any other. Where the system cannot tell of its
    // changes (no notifier left for this user, or too many folders followed already, or a
    // network or FUSE volume that others change), the folder is looked at every kLookMs as
    // well, and a change found has it read again whole.
    void watch(const QString& folder);
    // How many entries the folder shows, which sets how long changes are gathered.
    void setShown(qsizetype entries);

Q_SIGNALS:
    // These names (as nameFromBytes() gives them) changed in the folder; when `all` is set,
    // too many changed to tell, or some were lost: the folder is to be read again.
    void changed(const QStringList& names, bool all);
    // The folder at the path watched is no longer the one that was there.
    void gone();

private:
    void readEvents();
    void checkStillThere();
    void settle();
    void look();
    bool sameFolder(const struct stat& info) const;

    // What of the folder decides whether this user may list it and look at its entries: its
    // permissions, owner and group, and the access the system grants this user, which an ACL
    // may change while they stay as they are.
    struct Access {
        mode_t mode = 0;
        uid_t owner = 0;
        gid_t group = 0;
        bool readable = false;
        bool searchable = false;
        bool operator==(const Access&) const = default;
    };
    // The access of the folder at `path`, whose status `info` was just read.
    static Access accessTo(const QByteArray& path, const struct stat& info);

    QByteArray m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    int m_fd = -1;
    int m_watch = -1;
    QSocketNotifier* m_notifier = nullptr;
    MountWatch* m_mounts = nullptr;
    QTimer m_settle;
    QTimer m_look;
    // The folder's last change as it was last looked at, and whether a change in that same
    // moment could still have gone unseen.
    struct timespec m_changed {};
    bool m_recent = false;
    // The folder is on a volume others change, which may stop answering, and the looks left
    // that read it again whole after its change time moved, while the volume may still list
    // it as it was.
    bool m_untold = false;
    int m_lagLooks = 0;
    QSet<QByteArray> m_names;
    // The folder's access when last looked at, and whether its attributes changed since: only a
    // change of that access has it read again whole, not a new time or extended attribute.
    Access m_access;
    bool m_attributes = false;
    bool m_all = false;
    bool m_gone = false;
};

} // namespace vorn
