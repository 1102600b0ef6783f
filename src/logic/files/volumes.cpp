#include "files/volumes.h"

#include "files/names.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vorn {

namespace {

// A volume's file-system type, as the tables below spell it.
std::string_view typeOf(const Volume& volume) {
    return {volume.type.constData(), std::size_t(volume.type.size())};
}

// File systems that are the kernel's views, held in memory, or automounter placeholders:
// none of them is a drive a user would pick.
constexpr std::string_view kNonUserTypes[] = {
    "autofs",          "binfmt_misc", "bpf",         "cgroup",     "cgroup2",
    "configfs",        "debugfs",     "devpts",      "devtmpfs",   "efivarfs",
    "fuse.gvfsd-fuse", "fuse.lxcfs",  "fuse.portal", "fusectl",    "hugetlbfs",
    "mqueue",          "nfsd",        "nsfs",        "pipefs",     "proc",
    "pstore",          "ramfs",       "rootfs",      "rpc_pipefs", "securityfs",
    "selinuxfs",       "sockfs",      "sysfs",       "tmpfs",      "tracefs",
};

constexpr std::array<std::string_view, 3> kSystemFolders{"/proc", "/sys", "/dev"};

// File systems whose folders change by other hands than this system's calls: network and
// cluster file systems, a virtual machine's host folder. FUSE volumes are among them too (below),
// but for "fuseblk": a disk of this machine, which only its program, through the system, changes.
constexpr std::string_view kUntoldTypes[] = {
    "9p",    "afs", "ceph", "cifs",  "coda", "gfs2",  "glusterfs", "lustre",
    "ncpfs", "nfs", "nfs4", "ocfs2", "smb3", "smbfs", "virtiofs",
};

// Whether the volume's folders may change without this system's notifier telling of it: a
// network volume, or a FUSE volume ("fuse", "fuse.sshfs") whose program may change them by
// itself, but for "fuseblk", a disk of this machine.
bool changesUntold(const Volume& volume) {
    const std::string_view type = typeOf(volume);
    return type == "fuse" || type.substr(0, 5) == "fuse." ||
           std::find(std::begin(kUntoldTypes), std::end(kUntoldTypes), type) !=
               std::end(kUntoldTypes);
}

// FUSE gateways of the desktop to its network shares: one volume holding each share in a folder
// of its own, that many levels below its root (gvfs's "sftp:host=…,user=…", kio-fuse's
// "sftp/user@host"). The gateway's program answers for the levels above the shares by itself,
// so only a share's own folder tells whether its server answers.
struct Gateway {
    std::string_view type;
    int shareDepth;
};
constexpr Gateway kGateways[] = {{"fuse.gvfsd-fuse", 1}, {"fuse.kio-fuse", 2}};

// Whether `path` is `folder` itself or lies anywhere inside it.
bool isUnder(const QString& path, const QString& folder) {
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder ||
           (path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/'));
}

// The gateway the volume is, if it is one.
const Gateway* gatewayOf(const Volume& volume) {
    const std::string_view type = typeOf(volume);
    const auto gateway = std::find_if(std::begin(kGateways), std::end(kGateways),
                                      [&](const Gateway& g) { return g.type == type; });
    return gateway == std::end(kGateways) ? nullptr : gateway;
}

// The folders leading from the volume's root to `path`, which it holds.
QStringList levelsBelow(const Volume& volume, const QString& path) {
    return path.mid(volume.root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// The folder standing for the volume holding `path`: its root, or on a gateway the folder of
// the share holding `path` (the root when `path` is above the shares).
QString shareRoot(const Volume& volume, const QString& path) {
    const Gateway* gateway = gatewayOf(volume);
    if (!gateway)
        return volume.root;
    const QStringList levels = levelsBelow(volume, path);
    if (levels.size() < gateway->shareDepth)
        return volume.root;
    QString share = volume.root == QLatin1String("/") ? QString() : volume.root;
    for (int i = 0; i < gateway->shareDepth; ++i)
        share += QLatin1Char('/') + levels.at(i);
    return share;
}

// What a volume answers when asked for its state.
struct VolumeState {
    bool answered = false;
    bool found = false;
    bool readOnly = false;
    bool empty = false; // it has no room at all: nothing a user could store on
};

// A mounted volume as the mount table lists it: the number the system gives the mount, which
// no other mount has while it stays mounted, and the volume.
struct Mount {
    QByteArray id;
    Volume volume;
};

// The mounts a mount table (as /proc/self/mountinfo writes it) lists, in its order.
QList<Mount> mountsOfTable(QByteArrayView table) {
    // A mount point with a space, a tab, a line break or a backslash has it as three octal
    // digits after a backslash.
    const auto unescaped = [](QByteArrayView field) {
        QByteArray path;
        const auto digit = [&](qsizetype at) {
            return at < field.size() && field.at(at) >= '0' && field.at(at) <= '7'
                       ? field.at(at) - '0'
                       : -1;
        };
        for (qsizetype i = 0; i < field.size(); ++i) {
            const bool octal =
                field.at(i) == '\\' && digit(i + 1) >= 0 && digit(i + 2) >= 0 && digit(i + 3) >= 0;
            path.append(octal ? char((digit(i + 1) << 6) | (digit(i + 2) << 3) | digit(i + 3))
                              : field.at(i));
            i += octal ? 3 : 0;
        }
        return path;
    };
    QList<Mount> mounts;
    for (const QByteArray& line : table.toByteArray().split('\n')) {
        // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [TAGS...] - TYPE SOURCE OPTIONS
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 1 >= fields.size())
            continue;
        mounts.append(
            {fields.at(0), {nameFromBytes(unescaped(fields.at(4))), fields.at(dash + 1)}});
    }
    return mounts;
}

// Asks volumes for their state, each on a thread of its own and for a limited time, so that
// one whose server or FUSE program no longer answers cannot hold the program: it counts as
// not ready, and is not asked again until it has answered the question it was asked. A mount
// is known by its number, not its folder: another volume mounted at the same folder (over the
// silent one, or in its place once it is unmounted) is asked for itself, and so is each share
// of a gateway, by the mount's number and the share's folder.
class VolumeQuestions {
public:
    static constexpr std::chrono::milliseconds kAnswerTime{500};

    std::vector<VolumeState> ask(const std::vector<std::pair<QByteArray, QByteArray>>& mounts) {
        auto round = std::make_shared<Round>();
        round->states.resize(mounts.size());
        for (std::size_t i = 0; i < mounts.size(); ++i) {
            const auto& [id, root] = mounts[i];
            if (!startAsking(id))
                continue; // silent since it was last asked
            const auto question = [this, round, i, id = id, root = root] {
                struct statvfs info {};
                const bool found = ::statvfs(root.constData(), &info) == 0;
                answered(id);
                const std::lock_guard lock(round->mutex);
                round->states[i] = {true, found, found && (info.f_flag & ST_RDONLY) != 0,
                                    found && info.f_blocks == 0};
                --round->waiting;
                round->done.notify_one();
            };
            {
                const std::lock_guard lock(round->mutex);
                ++round->waiting;
            }
            try {
                std::thread(question).detach();
            } catch (const std::system_error&) {
                question(); // no thread to spare: asked here, at the risk of waiting for it
            }
        }
        std::unique_lock lock(round->mutex);
        round->done.wait_for(lock, kAnswerTime, [&] { return round->waiting == 0; });
        return round->states;
    }

private:
    struct Round {
        std::mutex mutex;
        std::condition_variable done;
        std::vector<VolumeState> states;
        int waiting = 0;
    };

    bool startAsking(const QByteArray& id) {
        const std::lock_guard lock(m_mutex);
        return m_silent.insert(id).second;
    }
    void answered(const QByteArray& id) {
        const std::lock_guard lock(m_mutex);
        m_silent.erase(id);
    }

    std::mutex m_mutex;
    std::set<QByteArray> m_silent; // the mounts asked that have not answered yet
};

// The questions put to volumes, shared by the whole program.
VolumeQuestions& volumeQuestions() {
    // Never destroyed: a question still unanswered as the program ends refers to it.
    static auto* const questions = new VolumeQuestions;
    return *questions;
}

// The system's mounts, read without touching any volume: read again once the system tells that
// they changed, and at least once a second where it might not tell. The volume of each folder
// the user opens is looked up in it, and reading the table costs more than opening a small
// folder.
class MountTable {
public:
    static constexpr std::chrono::seconds kLongest{1};

    QList<Mount> mounts() {
        const std::lock_guard lock(m_mutex);
        if (m_fd < 0)
            m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        pollfd notice{m_fd, POLLPRI, 0};
        const bool told = m_fd >= 0 && ::poll(&notice, 1, 0) > 0 && notice.revents != 0;
        const auto now = std::chrono::steady_clock::now();
        if (told || !m_read || now - m_readAt >= kLongest) {
            m_mounts = mountsOfTable(readAll());
            m_read = m_fd >= 0;
            m_readAt = now;
        }
        return m_mounts;
    }

private:
    QByteArray readAll() const {
        QByteArray table;
        if (m_fd < 0 || ::lseek(m_fd, 0, SEEK_SET) != 0)
            return table;
        std::array<char, 8192> buffer;
        for (;;) {
            const ssize_t size = ::read(m_fd, buffer.data(), buffer.size());
            if (size > 0)
                table.append(buffer.data(), size);
            else if (size == 0 || errno != EINTR)
                return table;
        }
    }

    std::mutex m_mutex;
    int m_fd = -1;
    bool m_read = false;
    std::chrono::steady_clock::time_point m_readAt;
    QList<Mount> m_mounts;
};

// The system's mount table as the whole program reads it.
MountTable& systemMountTable() {
    // Never destroyed, as the questions.
    static auto* const table = new MountTable;
    return *table;
}

// The mount table read without touching any volume; the kernel's views and memory file systems
// are left out, and the others asked for their state through VolumeQuestions, the root always
// kept as the system's own even when it has no room. The roots of those that did not answer go
// to `unanswered`.
QList<Volume> systemVolumes(QStringList& unanswered) {
    const QList<Mount> all = systemMountTable().mounts();
    QList<Volume> volumes;
    std::vector<std::pair<QByteArray, QByteArray>> asked; // each mount's number and folder
    for (const Mount& mount : all) {
        if (isUserVolume(mount.volume)) {
            volumes.append(mount.volume);
            asked.emplace_back(mount.id, bytesFromName(mount.volume.root));
        }
    }
    const std::vector<VolumeState> states = volumeQuestions().ask(asked);
    for (qsizetype i = 0; i < volumes.size(); ++i) {
        const VolumeState& state = states[std::size_t(i)];
        volumes[i].readOnly = state.readOnly;
        volumes[i].ready = state.answered && state.found &&
                           (!state.empty || volumes[i].root == QLatin1String("/"));
        if (!state.answered)
            unanswered.append(volumes[i].root);
    }
    return volumes;
}

// Of `entries`, the one whose volume holds `path`: the longest root leading to it, and of two
// mounted at the same folder the one on top, listed last. Null when none holds it.
template <class Entry, class VolumeOf>
const Entry* holding(const QList<Entry>& entries, const QString& path, VolumeOf volumeOf) {
    const Entry* found = nullptr;
    for (const Entry& entry : entries) {
        const QString& root = volumeOf(entry)->root;
        if (isUnder(path, root) && (!found || root.size() >= volumeOf(*found)->root.size()))
            found = &entry;
    }
    return found;
}

std::function<QList<Volume>()>& volumeSource() {
    static std::function<QList<Volume>()> source;
    return source;
}

std::function<QList<bool>(const QStringList&)>& volumeQuestion() {
    static std::function<QList<bool>(const QStringList&)> question;
    return question;
}

std::function<bool(const QString&)>& readOnlyProbe() {
    static std::function<bool(const QString&)> probe;
    return probe;
}

// Whether the volume holding `path`, as the replaced source or the mount table gives it
// without touching it, is what `test` looks for; false when none holds it.
bool holdingVolumeIs(const QString& path, const std::function<bool(const Volume&)>& test) {
    if (volumeSource()) {
        const QList<Volume> volumes = volumeSource()();
        const Volume* volume = holding(volumes, path, [](const Volume& v) { return &v; });
        return volume && test(*volume);
    }
    const QList<Mount> mounts = systemMountTable().mounts();
    const Mount* mount = holding(mounts, path, [](const Mount& m) { return &m.volume; });
    return mount && test(mount->volume);
}

} // namespace

bool isUserVolume(const Volume& volume) {
    const std::string_view type = typeOf(volume);
    if (std::find(std::begin(kNonUserTypes), std::end(kNonUserTypes), type) !=
        std::end(kNonUserTypes))
        return false;
    // Each installed snap package is a read-only image of its own under /snap.
    if (type == "squashfs" && isUnder(volume.root, QStringLiteral("/snap")))
        return false;
    return std::none_of(kSystemFolders.begin(), kSystemFolders.end(), [&](std::string_view f) {
        return isUnder(volume.root, QString::fromLatin1(f.data(), qsizetype(f.size())));
    });
}

QList<Volume> userVolumes(QStringList* silent) {
    QStringList unanswered;
    const QList<Volume> all = volumeSource() ? volumeSource()() : systemVolumes(unanswered);
    QList<Volume> kept;
    for (const Volume& volume : all) {
        if (volume.root.isEmpty() || !isUserVolume(volume))
            continue;
        if (!volume.ready) {
            if (volumeSource())
                unanswered.append(volume.root);
            continue;
        }
        // A folder mounted over twice shows the volume on top, the one listed last.
        const auto same = std::find_if(kept.begin(), kept.end(),
                                       [&](const Volume& v) { return v.root == volume.root; });
        if (same != kept.end())
            *same = volume;
        else
            kept.append(volume);
    }
    std::sort(kept.begin(), kept.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    if (silent) {
        silent->clear();
        for (const QString& root : std::as_const(unanswered)) {
            const bool shown = std::any_of(kept.begin(), kept.end(),
                                           [&](const Volume& v) { return v.root == root; });
            if (!shown && !silent->contains(root))
                silent->append(root);
        }
    }
    return kept;
}

QList<Volume> volumesOfMountTable(QByteArrayView table) {
    QList<Volume> volumes;
    for (const Mount& mount : mountsOfTable(table))
        volumes.append(mount.volume);
    return volumes;
}

void setVolumeSource(std::function<QList<Volume>()> source) {
    volumeSource() = std::move(source);
}

QString rootHolding(const QString& path, const QList<Volume>& volumes) {
    const Volume* volume = holding(volumes, path, [](const Volume& v) { return &v; });
    return volume ? shareRoot(*volume, path) : QString();
}

bool volumeAnswers(const QString& path) {
    return volumesAnswer({path}).front();
}

QList<bool> volumesAnswer(const QStringList& paths) {
    QList<bool> answers(paths.size(), true);
    std::vector<std::pair<QByteArray, QByteArray>> questions; // each volume's number and folder
    std::vector<std::pair<qsizetype, std::size_t>> asked;     // each path's index and question
    const auto ask = [&](qsizetype path, const QByteArray& id, const QString& folder) {
        const auto same = std::find_if(questions.begin(), questions.end(),
                                       [&](const auto& question) { return question.first == id; });
        asked.emplace_back(path, std::size_t(same - questions.begin()));
        if (same == questions.end())
            questions.emplace_back(id, bytesFromName(folder));
    };
    if (volumeSource()) {
        const QList<Volume> volumes = volumeSource()();
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const Volume* volume =
                holding(volumes, paths.at(i), [](const Volume& v) { return &v; });
            if (!volume || !(isUserVolume(*volume) || changesUntold(*volume)))
                continue;
            const QString folder = shareRoot(*volume, paths.at(i));
            if (volumeQuestion())
                ask(i, bytesFromName(folder), folder);
            else
                answers[i] = volume->ready;
        }
    } else {
        const QList<Mount> mounts = systemMountTable().mounts();
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const Mount* mount =
                holding(mounts, paths.at(i), [](const Mount& m) { return &m.volume; });
            // The program's own files are on the root volume: were it silent, nothing would
            // answer. The kernel's and memory file systems always answer; a network or FUSE one
            // that is no drive (the desktop's gateway to its network shares) is asked as a drive.
            if (!mount || mount->volume.root == QLatin1String("/") ||
                !(isUserVolume(mount->volume) || changesUntold(mount->volume)))
                continue;
            // Only the answer counts: what a volume answers with, an error or no room, the
            // opening reports itself.
            const QString folder = shareRoot(mount->volume, paths.at(i));
            ask(i,
                folder == mount->volume.root ? mount->id : mount->id + ' ' + bytesFromName(folder),
                folder);
        }
    }
    if (questions.empty())
        return answers;
    QList<bool> answered;
    if (volumeQuestion()) {
        QStringList folders;
        for (const auto& question : questions)
            folders.append(nameFromBytes(question.second));
        answered = volumeQuestion()(folders);
    } else {
        for (const VolumeState& state : volumeQuestions().ask(questions))
            answered.append(state.answered);
    }
    for (const auto& [path, question] : asked)
        answers[path] = qsizetype(question) < answered.size() && answered.at(qsizetype(question));
    return answers;
}

void setVolumeQuestion(std::function<QList<bool>(const QStringList&)> question) {
    volumeQuestion() = std::move(question);
}

bool holdsShares(const QString& folder) {
    return holdingVolumeIs(folder, [&](const Volume& volume) {
        const Gateway* gateway = gatewayOf(volume);
        return gateway && levelsBelow(volume, folder).size() == gateway->shareDepth - 1;
    });
}

bool changesAreTold(const QString& path) {
    return !holdingVolumeIs(path, changesUntold);
}

bool isOnReadOnlyVolume(const QString& path) {
    if (readOnlyProbe())
        return readOnlyProbe()(path);
    struct statvfs info {};
    if (::statvfs(bytesFromName(path).constData(), &info) != 0)
        return false; // the operation that follows reports what is wrong with the path
    return (info.f_flag & ST_RDONLY) != 0;
}

void setReadOnlyProbe(std::function<bool(const QString&)> probe) {
    readOnlyProbe() = std::move(probe);
}

} // namespace vorn
