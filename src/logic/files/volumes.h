#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The volumes of the machine as the drive list shows them, and, of the volume holding a path,
// whether it answers, whether its changes are told, and whether it can be written to. Each
// reads the system through a replaceable source, so tests can show chosen volumes, a silent one
// and a read-only one without mounting anything.
namespace vorn {

struct Volume {
    QString root;    // where it is mounted: "/", "/home", "/media/usb"
    QByteArray type; // its file system type: "ext4", "vfat", "iso9660"
    bool readOnly = false;
    bool ready = true;

    friend bool operator==(const Volume&, const Volume&) = default;
};

// True for the volumes a user works on: not the kernel's own file systems, memory file
// systems, package images or the folders under /proc, /sys and /dev.
bool isUserVolume(const Volume& volume);

// The mounted, ready user volumes, sorted by root, each root once. `silent`, when given, receives
// the roots of those left out because they did not answer in time (with a replaced volume source,
// those it gives as not ready), but for a root another volume holds in the list.
QList<Volume> userVolumes(QStringList* silent = nullptr);
// The volumes a mount table (as /proc/self/mountinfo writes it) lists, in its order, each with
// its root and type only.
QList<Volume> volumesOfMountTable(QByteArrayView table);
// Replaces the system's volume table (tests); an empty function restores it.
void setVolumeSource(std::function<QList<Volume>()> source);

// The root among `roots` that holds `path` (the longest one that is a leading part of it),
// or an empty text when none does. On the desktop's FUSE gateway to its network shares, each
// share is a volume of its own: its folder is the root.
QString rootHolding(const QString& path, const QList<Volume>& volumes);

// False when the user volume holding `path` (the mount with the longest root leading to it;
// on the desktop's gateway, the share holding it) does not answer: at once when it has not
// answered an earlier question, else after the time the drive list waits for a volume. A path on
// the root volume, which holds the program itself, or on a file system the drive list leaves out is
// not asked. With a replaced volume source, a volume it gives as not ready does not answer.
bool volumeAnswers(const QString& path);
// Whether the volume holding each of `paths` answers, as volumeAnswers() tells for one path. The
// volumes to ask are asked together, so the silent ones hold the caller once, not once each.
QList<bool> volumesAnswer(const QStringList& paths);
// Replaces the question put to volumes (tests): told the folders standing for the volumes asked
// together, it says whether each answers. An empty function restores the system's question.
void setVolumeQuestion(std::function<QList<bool>(const QStringList&)> question);

// True when the entries of `folder` are the shares of the desktop's gateway to its network
// shares: each is asked with volumeAnswers() before it is looked at. Read from the mount table,
// or the replaced volume source, without touching the volume.
bool holdsShares(const QString& folder);

// False when the folder at `path` may change without this system's notifier telling of it: on
// a network volume (another machine changes it) or a FUSE volume (its program may change it by
// itself, as sshfs does for its server). Read from the mount table, without touching the volume.
bool changesAreTold(const QString& path);

// True when the volume holding `path` is mounted read-only (a CD-ROM, a read-only mount).
bool isOnReadOnlyVolume(const QString& path);
// Replaces the read-only check (tests); an empty function restores it.
void setReadOnlyProbe(std::function<bool(const QString&)> probe);

} // namespace vorn
