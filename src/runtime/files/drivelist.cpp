#include "files/listcontrols.h"
#include "platform/form.h"
#include "platform/pictures.h"
#include "platform/runtimeerror.h"

#include <QAbstractItemView>
#include <QDir>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace vorn {

namespace {

// Whether the volume is an optical disc's, which the list shows with a disc's picture.
bool isOptical(const Volume& volume) {
    return volume.type == "iso9660" || volume.type == "udf";
}

// The position of the volume mounted at `root` among `volumes`, or -1.
int indexOfRoot(const QList<Volume>& volumes, const QString& root) {
    for (int i = 0; i < volumes.size(); ++i) {
        if (volumes.at(i).root == root)
            return i;
    }
    return -1;
}

} // namespace

DriveList::DriveList(QWidget* parent, const ControlDecl& decl)
    : Control<QComboBox>(parent, decl, kEntryColours)
    , m_mounts(new MountWatch(this))
    , m_look(new QTimer(this)) {
    setEditable(false);
    // The wheel neither takes the focus nor, without it, changes the drive (below).
    setFocusPolicy(Qt::StrongFocus);
    connect(m_mounts, &MountWatch::changed, this,
            [this] { runInWindow(this, [this] { followMounts(); }); });
    m_look->setInterval(FolderWatch::kLookMs);
    connect(m_look, &QTimer::timeout, this,
            [this] { runInWindow(this, [this] { lookAtSilent(); }); });
    const QList<Volume> volumes = readVolumes();
    fill(volumes, rootHolding(startFolder(), volumes));
    connect(this, &QComboBox::activated, this,
            [this](int index) { runInWindow(this, [this, index] { choose(index); }); });
}

QString DriveList::Drive() const {
    return m_chosen >= 0 ? m_volumes.at(m_chosen).root : QString();
}

void DriveList::setDrive(const QString& drive) {
    int index = indexOfRoot(m_volumes, drive);
    if (index < 0)
        index = indexOfRoot(m_volumes, rootHolding(QDir::cleanPath(drive), m_volumes));
    if (index < 0)
        vorn::raise(ErrorNumber::DeviceUnavailable);
    setCurrentIndex(index);
    choose(index);
}

void DriveList::setListIndex(int index) {
    if (index < 0 || index >= count())
        vorn::raise(ErrorNumber::InvalidCall);
    setCurrentIndex(index);
    choose(index);
}

QStringList DriveList::List() const {
    QStringList roots;
    for (const Volume& volume : m_volumes)
        roots.append(volume.root);
    return roots;
}

void DriveList::Refresh() {
    fill(readVolumes(), Drive());
}

// Commits the entry the user or a property chose. A volume that went away meanwhile is not
// taken: the list goes back to the volume it was on.
void DriveList::choose(int index) {
    if (index == m_chosen && !m_guessed)
        return;
    const QString root = m_volumes.at(index).root;
    const QList<Volume> now = readVolumes();
    if (indexOfRoot(now, root) < 0) {
        followMounts();
        vorn::raise(ErrorNumber::DiskNotReady);
    }
    m_chosen = index;
    m_guessed = false;
    Q_EMIT Change();
}

QList<Volume> DriveList::readVolumes() {
    const QList<Volume> volumes = userVolumes(&m_silent);
    if (m_silent.isEmpty() && !m_followOnClose)
        m_look->stop();
    else if (!m_look->isActive())
        m_look->start();
    return volumes;
}

// A silent volume is asked as the lists ask their folder's: it answers no at once, without a
// further question, while the one put to it before still waits; once it answers, the list reads
// the volumes again. The first look after an open list closes lists what changed meanwhile.
void DriveList::lookAtSilent() {
    if (view()->isVisible())
        return;
    if (m_followOnClose || volumesAnswer(m_silent).contains(true))
        followMounts();
}

void DriveList::fill(const QList<Volume>& volumes, const QString& keep) {
    QList<Volume> shown = volumes;
    // The selected volume stays listed, in its place, even if it went away, so the selection
    // never changes without a Change.
    if (!keep.isEmpty() && indexOfRoot(shown, keep) < 0 && m_chosen >= 0) {
        const Volume& selected = m_volumes.at(m_chosen);
        const auto byRoot = [](const Volume& a, const Volume& b) { return a.root < b.root; };
        shown.insert(std::lower_bound(shown.cbegin(), shown.cend(), selected, byRoot), selected);
    }
    const QSignalBlocker block(this);
    clear();
    // A root is named by a volume's label, which its maker chose: it is shown as the lists
    // show names, so that nothing in it is hidden.
    for (const Volume& volume : shown)
        addItem(isOptical(volume) ? pictures::opticalDisc() : pictures::hardDisk(),
                detail::shownPath(volume.root));
    m_volumes = shown;
    const int kept = indexOfRoot(shown, keep);
    m_chosen = shown.isEmpty() ? -1 : std::max(0, kept);
    if (kept < 0)
        m_guessed = true;
    setCurrentIndex(m_chosen);
}

void DriveList::followMounts() {
    // An open list is left as the user sees it, its entries where the pointer is.
    if (view()->isVisible()) {
        m_followOnClose = true;
        m_look->start();
        return;
    }
    m_followOnClose = false;
    const QList<Volume> volumes = readVolumes();
    // A change elsewhere in the mount table leaves the list as it is.
    if (volumes == m_volumes)
        return;
    const QString chosen = Drive();
    // A selected volume that is only silent stays selected: the other lists are still in it,
    // and choosing another drive takes them away.
    if (chosen.isEmpty() || indexOfRoot(volumes, chosen) >= 0 || m_silent.contains(chosen)) {
        fill(volumes, chosen);
        return;
    }
    m_chosen = -1;
    fill(volumes, rootHolding(chosen, volumes));
}

void DriveList::showPopup() {
    Refresh();
    QComboBox::showPopup();
}

// Opening another drive reads it, and one not ready shows an error: a wheel turned while the
// pointer merely passes over the list, to scroll the window, must not do that. With the focus,
// the wheel goes through the drives as the arrow keys do.
void DriveList::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DriveList::writeDrive(const QString& drive) {
    runInWindow(this, [this, drive] { setDrive(drive); });
}

void DriveList::writeListIndex(int index) {
    runInWindow(this, [this, index] { setListIndex(index); });
}

} // namespace vorn
