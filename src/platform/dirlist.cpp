#include "platform/form.h"
#include "platform/listcontrols.h"
#include "platform/listicons.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

#include <QAbstractListModel>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace vorn {

// The rows of the folder list: the root, each ancestor and the open folder, then the open
// folder's sub-folders one level further in.
class FolderModel final : public QAbstractListModel {
public:
    struct Row {
        QString name;
        QString path;
        int level;
        bool open;
    };
    static constexpr int LevelRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    const QList<Row>& rows() const { return m_rows; }
    int openRow() const { return m_openRow; }

    void setFolder(const QString& folder, const QStringList& subFolders) {
        QList<Row> rows;
        rows.append({QStringLiteral("/"), QStringLiteral("/"), 0, true});
        QString path;
        const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        for (const QString& part : parts) {
            path += QLatin1Char('/') + part;
            rows.append({part, path, int(rows.size()), true});
        }
        const int open = int(rows.size()) - 1;
        for (const QString& sub : subFolders)
            rows.append({sub, joinPath(folder, sub), open + 1, false});
        beginResetModel();
        m_rows = std::move(rows);
        m_openRow = open;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_rows.size())
            return {};
        const Row& row = m_rows.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return row.name;
        case Qt::ToolTipRole:
            return row.path;
        case Qt::DecorationRole:
            return row.open ? listicons::openFolder() : listicons::closedFolder();
        case LevelRole:
            return row.level;
        default:
            return {};
        }
    }

private:
    QList<Row> m_rows;
    int m_openRow = 0;
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

DirList::DirList(QWidget* parent, const QString& name, TwipsRect geometry)
    : Control<QListView>(parent, {QPalette::Base, QPalette::Text})
    , m_model(new FolderModel(this)) {
    setObjectName(name);
    setDefaultColours(kWindowBackground, kWindowText);
    setTwips(geometry.left, geometry.top, geometry.width, geometry.height);
    setModel(m_model);
    setItemDelegate(new IndentDelegate(this));
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
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
    m_model->setFolder(folder, subFolders);
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
        open(m_model->rows().at(row).path);
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
        vorn::raise(ErrInvalidCall);
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
    const auto& rows = m_model->rows();
    for (int row = openFolderRow() + 1; row < rows.size(); ++row)
        paths.append(rows.at(row).path);
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
