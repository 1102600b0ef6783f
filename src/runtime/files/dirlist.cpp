#include "files/listcontrols.h"
#include "platform/form.h"
#include "platform/pictures.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace vorn {

// The rows of the folder list: the root, each ancestor and the open folder, then the open
// folder's sub-folders one level further in. The sub-folders are kept as the list of their
// names, so a folder of many thousand sub-folders costs one list and no path per row.
class FolderModel final : public QAbstractListModel {
public:
    static constexpr int LevelRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    int openRow() const { return int(m_open.size()) - 1; }
    QString pathAt(int row) const {
        return row <= openRow()
                   ? m_open.at(row).path
                   : joinPath(m_open.last().path, m_subFolders.at(row - openRow() - 1));
    }

    void setFolder(const QString& folder, QStringList subFolders) {
        QList<Ancestor> open{{QStringLiteral("/"), QStringLiteral("/")}};
        QString path;
        for (const QString& part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            path += QLatin1Char('/') + part;
            open.append({part, path});
        }
        beginResetModel();
        m_open = std::move(open);
        m_subFolders = std::move(subFolders);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_open.size() + m_subFolders.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const int row = index.row();
        if (!index.isValid() || row >= rowCount())
            return {};
        const bool open = row <= openRow();
        switch (role) {
        case Qt::DisplayRole:
            return open ? m_open.at(row).name : m_subFolders.at(row - openRow() - 1);
        case Qt::ToolTipRole:
            return pathAt(row);
        case Qt::DecorationRole:
            return open ? pictures::openFolder() : pictures::closedFolder();
        case LevelRole:
            return open ? row : openRow() + 1;
        default:
            return {};
        }
    }

private:
    struct Ancestor {
        QString name;
        QString path;
    };
    QList<Ancestor> m_open{{QStringLiteral("/"), QStringLiteral("/")}};
    QStringList m_subFolders;
};

namespace {

// Shifts each row right by its level, so the folders read as a path from the root down.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(option.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
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
    , m_model(new FolderModel(this)) {
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

    openNearest(startFolder(), [this](const QString& folder) { open(folder); });
}

DirList::~DirList() = default;

void DirList::open(const QString& path) {
    const QString folder = absoluteFolder(m_path, path);
    QStringList subFolders = listFolder(folder, EntryKind::Folders);
    const bool changed = folder != m_path;
    m_quiet = true;
    m_model->setFolder(folder, std::move(subFolders));
    m_path = folder;
    setCurrentIndex(m_model->index(m_model->openRow()));
    m_quiet = false;
    showOpenFolder();
    if (changed)
        Q_EMIT Change();
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
    open(path);
}

void DirList::openEntry(int row) {
    if (row >= 0 && row < m_model->rowCount())
        open(m_model->pathAt(row));
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
    return m_model->rowCount() - openFolderRow() - 1;
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

void DirList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
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
