#include "files/heldfolder.h"

#include "files/names.h"
#include "platform/systemcalls.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

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

bool HeldFolder::removeFolder() const {
    if (!stillSeen(ErrnoSubject::Folder, true))
        return false;
    if (sys::unlinkat(m_folder, m_entry.constData(), AT_REMOVEDIR) != 0)
        raiseErrno(errno == EEXIST ? ENOTEMPTY : errno, ErrnoSubject::Folder); // both: not empty
    return true;
}

std::optional<QList<FolderEntry>> HeldFolder::readHeldEntry(EntryKind kind,
                                                            const WildcardPattern& pattern) const {
    if (!stillSeen(ErrnoSubject::Folder, true))
        return std::nullopt;
    return readFolderAt(m_held, kind, pattern);
}

bool HeldFolder::makeFolder(const QString& name) const {
    if (!stillSeen(ErrnoSubject::Folder, false))
        return false;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        raise(ErrorNumber::InvalidCall);
    if (sys::mkdirat(m_folder, bytesFromName(name).constData(), 0777) != 0)
        raiseErrno(errno, ErrnoSubject::Folder);
    return true;
}

} // namespace vorn
