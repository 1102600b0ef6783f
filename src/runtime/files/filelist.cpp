#include "files/listcontrols.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vorn {

// A plain list of names for a view; the whole list is replaced at once.
class NameListModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    const QStringList& names() const { return m_names; }
    void setNames(QStringList names) {
        beginResetModel();
        m_names = std::move(names);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_names.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_names.size())
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return m_names.at(index.row());
        return {};
    }

private:
    QStringList m_names;
};

namespace {

bool hasWildcard(const QString& text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

} // namespace

FileList::FileList(QWidget* parent, const ControlDecl& decl)
    : Control<QListView>(parent, decl, kEntryColours)
    , m_model(new NameListModel(this)) {
    detail::setUpFolderView(*this, m_model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet && ListIndex() >= 0)
            Q_EMIT Click();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (ListIndex() >= 0)
            Q_EMIT DblClick();
    });

    openNearest(startFolder(), [this](const QString& folder) { display(folder); });
}

FileList::~FileList() = default;

// Lists the files of `folder` that match the pattern and shows them, without a Click.
void FileList::display(const QString& folder) {
    QStringList names = listFolder(folder, EntryKind::Files, m_pattern);
    m_quiet = true;
    m_model->setNames(std::move(names));
    m_path = folder;
    m_quiet = false;
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
    return row >= 0 ? m_model->names().at(row) : QString();
}

void FileList::setFileName(const QString& fileName) {
    if (fileName.isEmpty()) {
        setListIndex(-1);
        return;
    }
    const QString full = absoluteFolder(m_path, fileName);
    if (QFileInfo(full).isDir()) {
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
    const qsizetype row = m_model->names().indexOf(name);
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
    const QModelIndex row = m_model->index(index);
    m_quiet = true;
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    m_quiet = false;
    scrollTo(row);
    Q_EMIT Click();
}

int FileList::ListCount() const {
    return int(m_model->names().size());
}

QStringList FileList::List() const {
    return m_model->names();
}

void FileList::Refresh() {
    const QString before = m_path;
    openNearest(m_path, [this](const QString& folder) { display(folder); });
    if (m_path != before)
        Q_EMIT PathChange();
}

// With no file selected, the first arrow key selects the file under the focus frame (the
// first one, after a new list) instead of moving past it. The focus did not move, so assistive
// tools are told of the file as the one the focus is on, as a move to it would tell them.
void FileList::keyPressEvent(QKeyEvent* event) {
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
