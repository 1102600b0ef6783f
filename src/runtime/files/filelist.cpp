#include "files/entrymodel.h"
#include "files/listcontrols.h"
#include "files/names.h"
#include "files/tipdelegate.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace vorn {

// The files of one folder, each row showing its name as the lists show names.
class NameListModel final : public EntryListModel {
public:
    using EntryListModel::EntryListModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return entries().at(index.row()).shown;
        return {};
    }
};

namespace {

// Whether `text` is a pattern rather than a name: it holds '*' or '?'.
bool hasWildcard(const QString& text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

} // namespace

FileList::FileList(QWidget* parent, const ControlDecl& decl)
    : Control<QListView>(parent, decl, kEntryColours)
    , m_model(new NameListModel(this))
    , m_watch(new FolderWatch(this)) {
    detail::setUpFolderView(*this, m_model);
    setItemDelegate(new PlainTipDelegate(this));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet && ListIndex() >= 0)
            Q_EMIT Click();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (ListIndex() >= 0)
            Q_EMIT DblClick();
    });

    connect(m_watch, &FolderWatch::changed, this, [this](const QStringList& names, bool all) {
        runInWindow(this, [&] { follow(names, all); });
    });
    connect(m_watch, &FolderWatch::gone, this,
            [this] { runInWindow(this, [this] { Refresh(); }); });

    openNearest(startFolder(), [this](const QString& folder) { display(folder); });
}

FileList::~FileList() = default;

// Lists the files of `folder` that match the pattern and shows them, without a Click. A file
// selected before is no longer, which SelectionGone tells: the list may have kept the focus (Enter
// in it presses the window's default button), so nothing else would.
void FileList::display(const QString& folder) {
    QList<FolderEntry> entries = readFolder(folder, EntryKind::Files, m_pattern);
    const bool selected = ListIndex() >= 0;
    m_quiet = true;
    m_model->setEntries(std::move(entries));
    m_path = folder;
    m_quiet = false;
    m_watch->watch(folder);
    m_watch->setShown(m_model->entries().size());
    if (selected)
        Q_EMIT SelectionGone();
}

// Shows what changed on the disk, keeping the selected file and the one at the top in their
// places while they are there.
void FileList::follow(const QStringList& names, bool all) {
    // A volume that stopped answering would hold the window at the reading: the list stays as
    // it is until the volume answers and the watch tells of a change.
    if (all && !volumeAnswers(m_path))
        return;
    const QString selected = selectedName();
    const detail::ViewTop top = detail::viewTop(*this);
    const QString topName = top.row >= 0 ? m_model->entries().at(top.row).name : QString();
    m_quiet = true;
    if (all) {
        QList<FolderEntry> entries;
        try {
            entries = readFolder(m_path, EntryKind::Files, m_pattern);
        } catch (const RuntimeError&) {
            m_quiet = false;
            Refresh(); // the folder can no longer be read: the nearest one that can
            return;
        }
        // A look that finds the folder as it was leaves the rows as they are, and with them
        // what assistive tools hold of each.
        if (entries != m_model->entries()) {
            m_model->setEntries(std::move(entries));
            if (!selected.isEmpty())
                selectQuietly(m_model->indexOfName(selected));
        }
    } else {
        m_model->followNames(m_path, names, EntryKind::Files, m_pattern);
        // The view chooses the next file in place of one removed; the user did not.
        if (!selected.isEmpty() && m_model->indexOfName(selected) < 0)
            selectionModel()->clearSelection();
    }
    if (!topName.isEmpty())
        detail::restoreTop(*this, int(m_model->placeOfName(topName)), top);
    m_watch->setShown(m_model->entries().size());
    m_quiet = false;
    if (!selected.isEmpty() && selectedName() != selected)
        Q_EMIT SelectionGone();
}

void FileList::selectQuietly(qsizetype entry) {
    if (entry < 0)
        return;
    const bool quiet = std::exchange(m_quiet, true);
    selectionModel()->setCurrentIndex(m_model->index(int(entry)),
                                      QItemSelectionModel::ClearAndSelect);
    m_quiet = quiet;
}

void FileList::setPath(const QString& path) {
    const QString folder = absoluteFolder(m_path, path);
    display(folder);
    Q_EMIT PathChange();
}

void FileList::setPattern(const QString& pattern) {
    m_pattern = WildcardPattern(pattern);
    Refresh();
    Q_EMIT PatternChange();
}

QString FileList::FileName() const {
    const int row = ListIndex();
    return row >= 0 ? m_model->entries().at(row).shown : QString();
}

QString FileList::selectedName() const {
    const int row = ListIndex();
    return row >= 0 ? m_model->entries().at(row).name : QString();
}

void FileList::setFileName(const QString& fileName) {
    if (fileName.isEmpty()) {
        setListIndex(-1);
        return;
    }
    const QString full = absoluteFolder(m_path, fileName);
    if (isFolderPath(full)) {
        setPath(full);
        return;
    }
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? fileName : fileName.mid(slash + 1);
    if (slash >= 0)
        setPath(slash == 0 ? QStringLiteral("/") : absoluteFolder(m_path, fileName.left(slash)));
    if (hasWildcard(name)) {
        setPattern(name);
        return;
    }
    const qsizetype row = m_model->indexOfText(name);
    if (row < 0)
        vorn::raise(ErrorNumber::FileNotFound);
    setListIndex(int(row));
}

int FileList::ListIndex() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FileList::setListIndex(int index) {
    if (index < -1 || index >= ListCount())
        vorn::raise(ErrorNumber::InvalidCall);
    if (index == -1) {
        m_quiet = true;
        selectionModel()->clear();
        m_quiet = false;
        return;
    }
    selectQuietly(index);
    scrollTo(m_model->index(index));
    Q_EMIT Click();
}

int FileList::ListCount() const {
    return int(m_model->entries().size());
}

QStringList FileList::List() const {
    QStringList shown;
    shown.reserve(m_model->entries().size());
    for (const FolderEntry& entry : m_model->entries())
        shown.append(entry.shown);
    return shown;
}

void FileList::Refresh() {
    const QString before = m_path;
    openNearest(m_path, [this](const QString& folder) { display(folder); });
    if (m_path != before)
        Q_EMIT PathChange();
}

void FileList::focusInEvent(QFocusEvent* event) {
    Control<QListView>::focusInEvent(event);
    detail::takeComposedLetters(*this);
}

void FileList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    detail::takeComposedLetters(*this);
}

// With no file selected, the first arrow key selects the file under the focus frame (the
// first one, after a new list) instead of moving past it. The focus did not move, so assistive
// tools are told of the file as the one the focus is on, as a move to it would tell them.
void FileList::keyPressEvent(QKeyEvent* event) {
    if (detail::copyCurrentName(*this, *m_model, event))
        return;
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && event->modifiers() == Qt::NoModifier && ListIndex() < 0 && ListCount() > 0) {
        event->accept();
        const QModelIndex chosen = currentIndex().isValid() ? currentIndex() : m_model->index(0);
        const bool stays = chosen == currentIndex();
        selectionModel()->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect);
        if (stays && QAccessible::isActive()) {
            QAccessibleEvent focused(this, QAccessible::Focus);
            focused.setChild(chosen.row());
            QAccessible::updateAccessibility(&focused);
        }
        return;
    }
    QListView::keyPressEvent(event);
}

// A click on the file already selected is a choice too: it raises Click again.
void FileList::mousePressEvent(QMouseEvent* event) {
    const QModelIndex hit = indexAt(event->position().toPoint());
    m_pressedOnSelected = hit.isValid() && hit.row() == ListIndex() ? hit.row() : -1;
    QListView::mousePressEvent(event);
}

void FileList::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && m_pressedOnSelected >= 0 &&
        hit.row() == m_pressedOnSelected && ListIndex() == m_pressedOnSelected)
        Q_EMIT Click();
    m_pressedOnSelected = -1;
}

QItemSelectionModel::SelectionFlags FileList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    return detail::keepChosen(QListView::selectionCommand(index, event), index, event);
}

void FileList::writePath(const QString& path) {
    runInWindow(this, [this, path] { setPath(path); });
}

void FileList::writePattern(const QString& pattern) {
    runInWindow(this, [this, pattern] { setPattern(pattern); });
}

void FileList::writeFileName(const QString& fileName) {
    runInWindow(this, [this, fileName] { setFileName(fileName); });
}

void FileList::writeListIndex(int index) {
    runInWindow(this, [this, index] { setListIndex(index); });
}

} // namespace vorn
