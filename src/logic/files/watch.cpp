#include "files/watch.h"

#include "files/names.h"
#include "files/volumes.h"
#include "platform/systemcalls.h"

#include <QSocketNotifier>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

// --- MountWatch --------------------------------------------------------------------------

MountWatch::MountWatch(QObject* parent)
    : QObject(parent) {
    // The mount table signals a change as an exceptional condition on the open file; reading
    // it is not needed to be told of the next one.
    m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatch::changed);
}

MountWatch::~MountWatch() {
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

// --- FolderWatch -------------------------------------------------------------------------

namespace {

constexpr uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;
// A change of attributes (permissions, owner, ACL, but also times and extended attributes) of
// the folder or of an entry.
constexpr uint32_t kAccessEvents = IN_ATTRIB;

bool operator!=(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec || a.tv_nsec != b.tv_nsec;
}

// The coarsest tick of the clocks file systems keep times with: FAT's, two seconds. Another
// change within the same tick leaves a folder's change time as it is.
constexpr int kCoarsestTickMs = 2000;

// How many looks a network or FUSE volume may go on listing a folder as it was once its change
// time moved: sshfs keeps a folder's details and its names apart, each for 20 seconds.
constexpr int kCacheLagLooks = 25;

// Whether a change at `changed` is so near now that another in the same tick of the file
// system's clock would leave the folder's change time as it is. A change time more than a tick
// ahead of the clock (the clock was set back since) cannot share its tick with a change to come,
// which the clock stamps earlier: it counts as recent again only once the clock reaches it.
bool isRecent(const timespec& changed) {
    const timespec now = sys::realTime();
    const long long ms =
        (now.tv_sec - changed.tv_sec) * 1000LL + (now.tv_nsec - changed.tv_nsec) / 1000000;
    return ms > -kCoarsestTickMs && ms < kCoarsestTickMs;
}

} // namespace

FolderWatch::FolderWatch(QObject* parent)
    : QObject(parent)
    , m_mounts(new MountWatch(this)) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FolderWatch::settle);
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &FolderWatch::look);
    connect(m_mounts, &MountWatch::changed, this, &FolderWatch::checkStillThere);
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatch::readEvents);
}

FolderWatch::~FolderWatch() {
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

void FolderWatch::watch(const QString& folder) {
    const QByteArray path = bytesFromName(folder);
    struct stat info {};
    const bool found = ::stat(path.constData(), &info) == 0;
    if (found && path == m_path && info.st_dev == m_device && info.st_ino == m_inode &&
        m_watch >= 0 && !m_gone)
        return;
    if (m_watch >= 0 && m_fd >= 0)
        ::inotify_rm_watch(m_fd, m_watch);
    m_watch = -1;
    m_path = path;
    m_device = found ? info.st_dev : 0;
    m_inode = found ? info.st_ino : 0;
    m_names.clear();
    m_access = found ? accessTo(path, info) : Access{};
    m_attributes = false;
    m_all = false;
    m_gone = false;
    m_settle.stop();
    m_look.stop();
    if (!found)
        return;
    if (m_fd >= 0)
        m_watch = sys::watch(m_fd, path.constData(),
                             kEntryEvents | kSelfEvents | kAccessEvents | IN_ONLYDIR);
    // The notifier tells only of the changes made through this system: a network volume's
    // server, and a FUSE volume's program, change the folder unseen.
    m_untold = !changesAreTold(folder);
    m_lagLooks = 0;
    if (m_watch < 0 || m_untold) {
        m_changed = info.st_ctim;
        m_recent = isRecent(m_changed);
        m_look.start();
    }
}

void FolderWatch::setShown(qsizetype entries) {
    m_settle.setInterval(entries > kManyEntries ? 2 * kSettleMs : kSettleMs);
}

void FolderWatch::readEvents() {
    alignas(inotify_event) std::array<char, 16384> buffer;
    for (;;) {
        const ssize_t size = ::read(m_fd, buffer.data(), buffer.size());
        if (size <= 0)
            break;
        for (ssize_t at = 0; at < size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                m_all = true;
            } else if (event->wd != m_watch || m_watch < 0) {
                continue; // a folder watched before
            } else if (event->mask & kSelfEvents) {
                m_gone = true;
                if (event->mask & IN_IGNORED)
                    m_watch = -1;
            } else if (event->mask & kAccessEvents) {
                // The folder's own attributes changed: if its permissions did, the entries told
                // of while this user could not look at them are found only by reading it whole.
                // An entry's own attributes change nothing the lists show.
                m_attributes = m_attributes || event->len == 0;
            } else if (!m_all && event->len > 0) {
                m_names.insert(QByteArray(event->name));
                if (m_names.size() > kMostNames) {
                    m_all = true;
                    m_names.clear();
                }
            }
        }
    }
    if ((m_all || m_gone || m_attributes || !m_names.isEmpty()) && !m_settle.isActive())
        m_settle.start();
}

FolderWatch::Access FolderWatch::accessTo(const QByteArray& path, const struct stat& info) {
    return {info.st_mode, info.st_uid, info.st_gid, ::access(path.constData(), R_OK) == 0,
            ::access(path.constData(), X_OK) == 0};
}

bool FolderWatch::sameFolder(const struct stat& info) const {
    return info.st_dev == m_device && info.st_ino == m_inode;
}

void FolderWatch::checkStillThere() {
    if (m_path.isEmpty())
        return;
    // Any mount or unmount on the machine comes here: a volume that stopped answering would
    // hold the window at the look. It is looked at again once it answers; its folder, unmounted
    // meanwhile, is found gone then, or at once, as its path leads to another volume.
    if (m_untold && !volumeAnswers(nameFromBytes(m_path)))
        return;
    struct stat info {};
    if (sys::fstatat(AT_FDCWD, m_path.constData(), &info, 0) != 0 || !sameFolder(info)) {
        m_gone = true;
        if (!m_settle.isActive())
            m_settle.start();
    }
}

// Looks at the folder the system cannot tell of: a change since the last look, or one that may
// have come in the same moment as it, has the folder read again.
void FolderWatch::look() {
    // A network or FUSE volume that stopped answering would hold the window at the look: it is
    // left alone until it answers again.
    if (m_untold && !volumeAnswers(nameFromBytes(m_path)))
        return;
    struct stat info {};
    if (sys::fstatat(AT_FDCWD, m_path.constData(), &info, 0) != 0 || !sameFolder(info)) {
        m_look.stop();
        m_gone = true;
    } else {
        const bool moved = info.st_ctim != m_changed;
        if (moved || m_recent || m_lagLooks > 0)
            m_all = true;
        m_lagLooks = moved && m_untold ? kCacheLagLooks : std::max(0, m_lagLooks - 1);
        m_changed = info.st_ctim;
        m_recent = isRecent(m_changed);
    }
    if ((m_all || m_gone) && !m_settle.isActive())
        m_settle.start();
}

void FolderWatch::settle() {
    if (m_attributes) {
        // Another program touching the folder often would otherwise have it read whole each time.
        struct stat info {};
        const Access now =
            ::stat(m_path.constData(), &info) == 0 ? accessTo(m_path, info) : Access{};
        m_all = m_all || now != m_access;
        m_access = now;
        m_attributes = false;
    }
    if (m_gone) {
        m_names.clear();
        m_all = false;
        Q_EMIT gone();
        return;
    }
    QStringList names;
    if (!m_all) {
        names.reserve(m_names.size());
        for (const QByteArray& name : std::as_const(m_names))
            names.append(nameFromBytes(name));
    }
    const bool all = m_all;
    m_names.clear();
    m_all = false;
    if (all || !names.isEmpty())
        Q_EMIT changed(names, all);
}

} // namespace vorn
