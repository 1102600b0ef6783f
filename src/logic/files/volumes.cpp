#include "files/volumes.h"

#include "files/names.h"

#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <string_view>

#include <sys/statvfs.h>

namespace vorn {

namespace {

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

bool isUnder(const QString& path, const QString& folder) {
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder ||
           (path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/'));
}

QList<Volume> systemVolumes() {
    QList<Volume> volumes;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        volumes.append({info.rootPath(), info.fileSystemType(), info.isReadOnly(),
                        info.isValid() && info.isReady()});
    }
    return volumes;
}

std::function<QList<Volume>()>& volumeSource() {
    static std::function<QList<Volume>()> source;
    return source;
}

std::function<bool(const QString&)>& readOnlyProbe() {
    static std::function<bool(const QString&)> probe;
    return probe;
}

} // namespace

bool isUserVolume(const Volume& volume) {
    const std::string_view type(volume.type.constData(), std::size_t(volume.type.size()));
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

QList<Volume> userVolumes() {
    const QList<Volume> all = volumeSource() ? volumeSource()() : systemVolumes();
    QList<Volume> kept;
    for (const Volume& volume : all) {
        if (!volume.ready || volume.root.isEmpty() || !isUserVolume(volume))
            continue;
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
    return kept;
}

void setVolumeSource(std::function<QList<Volume>()> source) {
    volumeSource() = std::move(source);
}

QString rootHolding(const QString& path, const QList<Volume>& volumes) {
    QString best;
    for (const Volume& volume : volumes) {
        if (isUnder(path, volume.root) && volume.root.size() > best.size())
            best = volume.root;
    }
    return best;
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
