#include "files/heldfolder.h"

#include "files/names.h"
#include "platform/systemcalls.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

// A handle that names a file without opening its content, where the system has one.
#ifdef O_PATH
constexpr int kHandleOnly = O_PATH;
#else
constexpr int kHandleOnly = O_RDONLY;
#endif

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

// Failures to open the folder that mean the folder the user saw is no longer at its path.
bool isGone(int code) {
    return code == ENOENT || code == ENOTDIR || code == ELOOP;
}

// Whether the folder open as `fd` holds any entry besides itself and its parent.
bool holdsEntries(int fd) {
    const int own = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0)
        return false;
    DIR* dir = ::fdopendir(own);
    if (!dir) {
        ::close(own);
        return false;
    }
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] != '.' || (name[1] != '\0' && (name[1] != '.' || name[2] != '\0'))) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

// Whether the file system marks what is open as `fd` immutable or append-only (chattr +i, +a):
// the system then refuses to remove it, or anything from it, with EPERM whoever asks.
bool isMarkedUnchangeable(int fd) {
    struct statx info {};
    return ::statx(fd, "", AT_EMPTY_PATH, 0, &info) == 0 &&
           (info.stx_attributes & (STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND)) != 0;
}

// Whether `name` holds a character FAT volumes refuse in names.
bool isRefusedByFat(const QString& name) {
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 0x20 || QStringView(u"\"*:<>?\\|").contains(c);
    });
}

} // namespace

HeldFolder::HeldFolder(const QString& folder, const QString& entry)
    : m_path(bytesFromName(folder))
    , m_entry(bytesFromName(entry)) {
    if (folder.isEmpty() || folder.contains(QChar(0))) {
        m_folderErrno = ENOENT;
        return;
    }
    const std::unique_ptr<char, FreeDeleter> real(::realpath(m_path.constData(), nullptr));
    if (!real) {
        m_folderErrno = errno;
        return;
    }
    m_folder =
        sys::openat(AT_FDCWD, real.get(), kHandleOnly | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (m_folder < 0 || ::fstat(m_folder, &info) != 0) {
        m_folderErrno = errno;
        return;
    }
    m_folderId = {info.st_dev, info.st_ino};
    if (entry.isEmpty())
        return;
    if (entry.contains(QLatin1Char('/')) || entry.contains(QChar(0))) {
        m_entryErrno = EINVAL;
        return;
    }
    m_held = sys::openat(m_folder, m_entry.constData(), kHandleOnly | O_NOFOLLOW | O_CLOEXEC);
    if (m_held < 0 || ::fstat(m_held, &info) != 0) {
        m_entryErrno = errno;
        return;
    }
    m_entryId = {info.st_dev, info.st_ino};
    m_entryIsFolder = S_ISDIR(info.st_mode);
    m_entryIsLink = S_ISLNK(info.st_mode);
}

HeldFolder::~HeldFolder() {
    if (m_held >= 0)
        ::close(m_held);
    if (m_folder >= 0)
        ::close(m_folder);
}

bool HeldFolder::stillSeen(ErrnoSubject subject, bool withEntry) const {
    if (m_folderErrno != 0) {
        if (isGone(m_folderErrno))
            return false;
        raiseErrno(m_folderErrno, ErrnoSubject::Folder);
    }
    struct stat info {};
    if (sys::fstatat(AT_FDCWD, m_path.constData(), &info, 0) != 0 ||
        Identity{info.st_dev, info.st_ino} != m_folderId)
        return false;
    if (!withEntry)
        return true;
    if (m_entry.isEmpty())
        raise(subject == ErrnoSubject::File ? ErrorNumber::FileNotFound
                                            : ErrorNumber::PathFileAccess);
    if (m_entryErrno != 0)
        raiseErrno(m_entryErrno, subject);
    if (sys::fstatat(m_folder, m_entry.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        raiseErrno(errno, subject);
    return Identity{info.st_dev, info.st_ino} == m_entryId;
}

bool HeldFolder::removeFile() const {
    if (!stillSeen(ErrnoSubject::File, true))
        return false;
    if (m_entryIsFolder)
        raise(ErrorNumber::FileNotFound);
    if (sys::unlinkat(m_folder, m_entry.constData(), 0) != 0)
        raiseErrno(errno, ErrnoSubject::File);
    return true;
}

void HeldFolder::refuseLinkAsFolder() const {
    if (m_entryIsLink)
        raise(ErrorNumber::PathFileAccess);
}

bool HeldFolder::removeFolder() const {
    if (!stillSeen(ErrnoSubject::Folder, true))
        return false;
    refuseLinkAsFolder();
    if (sys::unlinkat(m_folder, m_entry.constData(), AT_REMOVEDIR) != 0) {
        const int code = errno;
        // EEXIST says "not empty" too; so does EPERM from a FAT volume through FUSE, about a
        // folder that holds something, where permission is not what refused it.
        const bool full = code == EEXIST || (code == EPERM && mayChange() && holdsEntries(m_held));
        raiseErrno(full ? ENOTEMPTY : code, ErrnoSubject::Folder);
    }
    return true;
}

std::optional<QList<FolderEntry>> HeldFolder::readHeldEntry(EntryKind kind,
                                                            const WildcardPattern& pattern) const {
    if (!stillSeen(ErrnoSubject::Folder, true))
        return std::nullopt;
    refuseLinkAsFolder();
    return readFolderAt(m_held, kind, pattern);
}

bool HeldFolder::makeFolder(const QString& name) const {
    if (!stillSeen(ErrnoSubject::Folder, false))
        return false;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        raise(ErrorNumber::InvalidCall);
    if (sys::mkdirat(m_folder, bytesFromName(name).constData(), 0777) != 0) {
        const int code = errno;
        // A FAT volume refuses a name it does not take ("?") with EINVAL from the kernel's
        // driver, but with EPERM through FUSE, which also says EPERM when it is full: the name
        // is at fault only when it holds such a character and permission is not. An exFAT
        // volume through FUSE refuses it with ENOENT, which otherwise says that the held folder
        // was removed meanwhile.
        const bool badName = isRefusedByFat(name) &&
                             ((code == EPERM && mayChange()) || (code == ENOENT && stillThere()));
        raiseErrno(badName ? EINVAL : code, ErrnoSubject::Folder);
    }
    return true;
}

bool HeldFolder::stillThere() const {
    struct stat info {};
    return ::fstat(m_folder, &info) == 0 && info.st_nlink > 0;
}

bool HeldFolder::mayChange() const {
    // A folder marked immutable refuses writing to everyone, with EPERM too; one marked
    // sticky refuses the removal of other users' entries with EPERM; a folder marked
    // append-only, and an entry marked immutable or append-only, refuse removal with EPERM.
    struct stat info {};
    return sys::access(m_path.constData(), W_OK) == 0 && ::fstat(m_folder, &info) == 0 &&
           (info.st_mode & S_ISVTX) == 0 && !isMarkedUnchangeable(m_folder) &&
           (m_held < 0 || !isMarkedUnchangeable(m_held));
}

} // namespace vorn
