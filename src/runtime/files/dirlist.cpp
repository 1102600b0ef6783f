#include "files/entrymodel.h"
#include "files/listcontrols.h"
#include "files/names.h"
#include "files/tipdelegate.h"
#include "platform/form.h"
#include "platform/pictures.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

#include <QAbstractListModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>

namespace vorn {

// The rows of the folder list: the root, each ancestor and the open folder, then the open
// folder's sub-folders one level further in. The sub-folders are kept as the entries of their
// names, so a folder of many thousand sub-folders costs one list and no path per row.
class FolderModel final : public EntryListModel {
public:
    static constexpr int LevelRole = Qt::UserRole + 1;

    using EntryListModel::EntryListModel;

    int openRow() const { return int(m_open.size()) - 1; }
    QString pathAt(int row) const {
        return row <= openRow()
                   ? m_open.at(row).path
                   : joinPath(m_open.last().path, entries().at(row - openRow() - 1).name);
    }

    QString nameAt(int row) const override {
        if (row > openRow())
            return EntryListModel::nameAt(row);
        const QString& path = m_open.at(row).path;
        return row == 0 ? path : path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    }

    void setFolder(const QString& folder, QList<FolderEntry> subFolders) {
        QList<Ancestor> open{{QStringLiteral("/"), QStringLiteral("/")}};
        QString path;
        for (const QString& part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path += QLatin1Char('/') + part;
            open.append({shownName(part), path});
        }
        beginResetModel();
        m_open = std::move(open);
        replaceEntries(std::move(subFolders));
        endResetModel();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int row = index.row();
        if (!index.isValid() || row >= rowCount())
            return {};
        const bool open = row <= openRow();
        switch (role) {
        case Qt::DisplayRole:
            return open ? m_open.at(row).name : entries().at(row - openRow() - 1).shown;
        case Qt::ToolTipRole:
            return detail::shownPath(pathAt(row));
        case Qt::DecorationRole:
            return open ? pictures::openFolder() : pictures::closedFolder();
        case LevelRole:
            return open ? row : openRow() + 1;
        default:
            return {};
        }
    }

protected:
    int firstEntryRow() const override { return openRow() + 1; }

private:
    struct Ancestor {
        QString name; // as shown
        QString path;
    };
    QList<Ancestor> m_open{{QStringLiteral("/"), QStringLiteral("/")}};
};

bool detail::copyCurrentName(const QAbstractItemView& view, const EntryListModel& model,
                             QKeyEvent* event) {
    if (!event->matches(QKeySequence::Copy))
        return false;
    event->accept();
    if (const QModelIndex current = view.currentIndex(); current.isValid())
        QGuiApplication::clipboard()->setText(copiedName(model.nameAt(current.row())));
    return true;
}

detail::ViewTop detail::viewTop(const QListView& view) {
    const QModelIndex top = view.indexAt(QPoint(0, 0));
    return top.isValid() ? ViewTop{top.row(), view.visualRect(top).top()} : ViewTop{};
}

void detail::restoreTop(QListView& view, int row, const ViewTop& top) {
    if (top.row < 0 || row < 0 || row >= view.model()->rowCount())
        return;
    view.scrollTo(view.model()->index(row, 0), QAbstractItemView::PositionAtTop);
    if (view.verticalScrollMode() == QAbstractItemView::ScrollPerPixel)
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() - top.offset);
}

QItemSelectionModel::SelectionFlags detail::keepChosen(QItemSelectionModel::SelectionFlags command,
                                                       const QModelIndex& index,
                                                       const QEvent* event) {
    if (!event)
        return command; // the program's own choice
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if (command.testFlag(QItemSelectionModel::Deselect)) {
        command &= ~QItemSelectionModel::SelectionFlags(QItemSelectionModel::Deselect);
        command |= QItemSelectionModel::ClearAndSelect;
    }
    return command;
}

QString detail::shownPath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('/'));
    for (QString& part : parts)
        part = shownName(part);
    return parts.join(QLatin1Char('/'));
}

namespace {

// Shifts each row right by its level, so the folders read as a path from the root down.
class IndentDelegate final : public PlainTipDelegate {
public:
    using PlainTipDelegate::PlainTipDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(option.rect.left() + indent(option, index));
        PlainTipDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return PlainTipDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
    }

private:
    static int indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
        const int step = std::max(6, option.decorationSize.width() / 2);
        return index.data(FolderModel::LevelRole).toInt() * step;
    }
};

} // namespace

DirList::DirList(QWidget* parent, const ControlDecl& decl)
    : Control<QListView>(parent, decl, kEntryColours)
    , m_model(new FolderModel(this))
    , m_watch(new FolderWatch(this)) {
    // A name shortened to fit shows its whole path as its tip.
    detail::setUpFolderView(*this, m_model);
    setItemDelegate(new IndentDelegate(this));
    setIconSize(QSize(16, 16));
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_quiet)
            Q_EMIT Click();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        runInWindow(this, [this, row = index.row()] { openEntry(row); });
    });

    connect(m_watch, &FolderWatch::changed, this, [this](const QStringList& names, bool all) {
        runInWindow(this, [&] { follow(names, all); });
    });
    connect(m_watch, &FolderWatch::gone, this,
            [this] { runInWindow(this, [this] { Refresh(); }); });

    openNearest(startFolder(), [this](const QString& folder) { open(folder); });
}

DirList::~DirList() = default;

void DirList::open(const QString& path) {
    const QString folder = absoluteFolder(m_path, path);
    QList<FolderEntry> subFolders = readFolder(folder, EntryKind::Folders);
    const bool changed = folder != m_path;
    m_quiet = true;
    m_model->setFolder(folder, std::move(subFolders));
    m_path = folder;
    setCurrentIndex(m_model->index(m_model->openRow()));
    m_quiet = false;
    m_watch->watch(folder);
    m_watch->setShown(m_model->entries().size());
    showOpenFolder();
    if (changed)
        Q_EMIT Change();
}

void DirList::openChosen(const QString& path) {
    const QString folder = absoluteFolder(m_path, path);
    if (!volumeAnswers(folder))
        vorn::raise(ErrorNumber::DiskNotReady);
    open(folder);
}

// Shows the sub-folders that changed on the disk, keeping the highlighted folder and the one
// at the top in their places while they are there.
void DirList::follow(const QStringList& names, bool all) {
    // A volume that stopped answering would hold the window at the reading: the list stays as
    // it is until the volume answers and the watch tells of a change.
    if (all && !volumeAnswers(m_path))
        return;
    const int firstEntry = openFolderRow() + 1;
    const auto nameAt = [&](const QModelIndex& index) {
        return index.isValid() && index.row() >= firstEntry
                   ? m_model->entries().at(index.row() - firstEntry).name
                   : QString();
    };
    const detail::ViewTop top = detail::viewTop(*this);
    const QString topName = nameAt(m_model->index(top.row));
    const QString highlighted = nameAt(currentIndex());
    m_quiet = true;
    if (all) {
        QList<FolderEntry> subFolders;
        try {
            subFolders = readFolder(m_path, EntryKind::Folders);
        } catch (const RuntimeError&) {
            m_quiet = false;
            Refresh(); // the folder can no longer be read: the nearest one that can
            return;
        }
        // As in the file list, a look that finds the folder as it was leaves the rows alone.
        if (subFolders != m_model->entries()) {
            const int keptRow = currentIndex().row();
            m_model->setFolder(m_path, std::move(subFolders));
            const qsizetype entry = highlighted.isEmpty() ? -1 : m_model->indexOfName(highlighted);
            setCurrentIndex(m_model->index(entry >= 0             ? int(firstEntry + entry)
                                           : keptRow < firstEntry ? std::max(keptRow, 0)
                                                                  : openFolderRow()));
        }
    } else {
        m_model->followNames(m_path, names, EntryKind::Folders, WildcardPattern());
    }
    // The ancestors above the sub-folders do not move.
    detail::restoreTop(
        *this, topName.isEmpty() ? top.row : int(firstEntry + m_model->placeOfName(topName)), top);
    m_quiet = false;
}

// As many sub-folders as fit below the open folder, which stays in view.
void DirList::showOpenFolder() {
    scrollTo(m_model->index(m_model->rowCount() - 1));
    scrollTo(m_model->index(openFolderRow()));
}

void DirList::showEvent(QShowEvent* event) {
    QListView::showEvent(event);
    showOpenFolder();
}

void DirList::setPath(const QString& path) {
    openChosen(path);
}

// Opens the folder of that row; one gone meanwhile leaves the list showing the disk as it is.
void DirList::openEntry(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    try {
        openChosen(m_model->pathAt(row));
    } catch (const RuntimeError& error) {
        if (error.code() == ErrorNumber::PathNotFound)
            followDisk();
        throw;
    }
}

int DirList::openFolderRow() const {
    return m_model->openRow();
}

int DirList::ListIndex() const {
    const int row = currentIndex().isValid() ? currentIndex().row() : openFolderRow();
    return row - openFolderRow() - 1;
}

void DirList::setListIndex(int index) {
    const int row = index + openFolderRow() + 1;
    if (row < 0 || row >= m_model->rowCount())
        vorn::raise(ErrorNumber::InvalidCall);
    m_quiet = true;
    setCurrentIndex(m_model->index(row));
    m_quiet = false;
    scrollTo(currentIndex());
    Q_EMIT Click();
}

int DirList::ListCount() const {
    return int(m_model->entries().size());
}

QStringList DirList::List() const {
    QStringList paths;
    for (int row = openFolderRow() + 1; row < m_model->rowCount(); ++row)
        paths.append(m_model->pathAt(row));
    return paths;
}

void DirList::Refresh() {
    openNearest(m_path, [this](const QString& folder) { open(folder); });
}

void DirList::focusInEvent(QFocusEvent* event) {
    Control<QListView>::focusInEvent(event);
    detail::takeComposedLetters(*this);
}

void DirList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    detail::takeComposedLetters(*this);
}

QItemSelectionModel::SelectionFlags DirList::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    return detail::keepChosen(QListView::selectionCommand(index, event), index, event);
}

void DirList::keyPressEvent(QKeyEvent* event) {
    if (detail::copyCurrentName(*this, *m_model, event))
        return;
    if (isEnterKey(event) && currentIndex().isValid()) {
        event->accept();
        runInWindow(this, [this, row = currentIndex().row()] { openEntry(row); });
        return;
    }
    QListView::keyPressEvent(event);
}

void DirList::writePath(const QString& path) {
    runInWindow(this, [this, path] { setPath(path); });
}

void DirList::writeListIndex(int index) {
    runInWindow(this, [this, index] { setListIndex(index); });
}

} // namespace vorn
