#pragma once

#include "files/listing.h"
#include "files/volumes.h"
#include "files/watch.h"
#include "platform/control.h"

#include <QComboBox>
#include <QListView>

// The drive, folder and file lists. Each is the natural Qt widget for its kind and exposes
// the automation properties. Their C++ setters raise run-time errors, for handlers to stop
// at; the same properties written through Qt's property system run behind the guard, as the
// user's own choice would, and raise the same signals.
// While shown, each list follows the disk by itself: what other programs create, remove or
// rename, and volumes mounted and unmounted. The selected entry, the highlighted folder and
// the entry at the top stay on the same entries while these exist; when the folder shown
// goes, the list opens the nearest one that exists. None of this raises the lists' events
// but Change, when the folder list has to open another folder.
// Names are shown so that nothing in them is hidden (shownName); the folder list's Path and
// List are paths that name the folders exactly, the file list's List and FileName are the
// names as shown, and selectedName() gives the exact name behind them.
// The properties every list kind exposes besides those of a control.
#define VORN_LIST_PROPERTIES                                                                       \
    Q_PROPERTY(int ListIndex READ ListIndex WRITE writeListIndex)                                  \
    Q_PROPERTY(int ListCount READ ListCount)                                                       \
    Q_PROPERTY(QStringList List READ List)

class QKeyEvent;

namespace vorn {

class EntryListModel;

namespace detail {
// Lets a view of one folder's names take the text of dead keys, compose sequences and input
// methods, which hand it only to a control that takes it: the first letters typed to reach a
// name may come from them. Qt's views take it only while their current row may be edited, and
// these rows never are, so this is said again whenever the view turns it off (a new current
// row, the focus coming in). Taking it also has a composition left unfinished in the list
// end there when the focus leaves, rather than in the next box.
inline void takeComposedLetters(QAbstractItemView& view) {
    view.setAttribute(Qt::WA_InputMethodEnabled);
}
// Sets up a view of one folder's names: one row chosen at a time, none edited, every row of
// the same height so that a folder of many thousand entries lays out at once, and a name
// wider than the list shortened in its middle rather than scrolled to.
inline void setUpFolderView(QListView& view, QAbstractItemModel* model) {
    view.setModel(model);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    takeComposedLetters(view);
    view.setUniformItemSizes(true);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setTextElideMode(Qt::ElideMiddle);
}
// The path as the lists show it: each of its names shown as the lists show names.
QString shownPath(const QString& path);
// Where a list view stands: the row at its top and how far above the view that row begins.
struct ViewTop {
    int row = -1;
    int offset = 0;
};
ViewTop viewTop(const QListView& view);
// Scrolls `view` so that `row` stands at its top as `top`'s row did.
void restoreTop(QListView& view, int row, const ViewTop& top);
// What a user's gesture does to the chosen row of a list of one folder's names, from what Qt's
// list would do (`command`): the row chosen stays chosen, as a click below the last row or Ctrl
// with a click or with Space would unselect it; Ctrl chooses it again, as a plain click does.
QItemSelectionModel::SelectionFlags keepChosen(QItemSelectionModel::SelectionFlags command,
                                               const QModelIndex& index, const QEvent* event);
// Copy (Ctrl+C, Ctrl+Insert) in a list of one folder's names puts the current row's name on the
// clipboard as copiedName() gives it, not the text the row shows with its marks. True when
// `event` was that key, and is then done with.
bool copyCurrentName(const QAbstractItemView& view, const EntryListModel& model, QKeyEvent* event);
} // namespace detail

class FolderModel;
class NameListModel;

// The mounted, ready volumes, each shown by its root path (shownPath); starts on the volume that
// holds the folder the lists start in. The list is read again whenever it is opened, and a volume
// left out because it did not answer is listed again once it answers.
class DriveList : public Control<QComboBox> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Drive READ Drive WRITE writeDrive)
    VORN_LIST_PROPERTIES

public:
    DriveList(QWidget* parent, const ControlDecl& decl);

    // The root of the selected volume.
    QString Drive() const;
    // Selects the volume with that root, or else the one holding that path; none raises
    // error 68, a volume that is no longer ready raises 71.
    void setDrive(const QString& drive);
    int ListIndex() const { return currentIndex(); }
    // Selects the volume at `index`; outside the list raises error 5.
    void setListIndex(int index);
    int ListCount() const { return count(); }
    QStringList List() const;
    // Reads the volumes again, keeping the selected one.
    void Refresh();
    // Shows the volumes mounted now, as when the system tells of a change.
    void followDisk() { followMounts(); }

Q_SIGNALS:
    // Another volume was chosen, by the user or through Drive or ListIndex.
    void Change();

protected:
    void showPopup() override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void choose(int index);
    // The user volumes mounted now; those left out because they did not answer are looked at
    // once a second, as the lists look at a silent folder, until they answer, and so is the
    // open list until a change that waits for it to close can be shown.
    QList<Volume> readVolumes();
    void lookAtSilent();
    void fill(const QList<Volume>& volumes, const QString& keep);
    // Shows the volumes mounted now; a selected volume that went away gives its place to the
    // one that now holds its folder, as the other lists go there too, and one that does not
    // answer stays selected. An open list is left as the user sees it until it closes.
    void followMounts();
    void writeDrive(const QString& drive);
    void writeListIndex(int index);

    QList<Volume> m_volumes;
    int m_chosen = -1;
    // The volume shown was picked because none holds the open folder: choosing it still
    // takes the lists there.
    bool m_guessed = false;
    MountWatch* m_mounts;
    QStringList m_silent;         // the roots of the volumes left out because they did not answer
    bool m_followOnClose = false; // the volumes changed while the list was open
    QTimer* m_look;
};

// The open folder with its ancestors, shown open and indented from the root down, then its
// sub-folders. A double-click or Enter opens the highlighted folder. ListIndex counts the
// sub-folders from 0; the open folder is -1, its parent -2, and so on up to the root.
class DirList : public Control<QListView> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Path READ Path WRITE writePath)
    VORN_LIST_PROPERTIES

public:
    DirList(QWidget* parent, const ControlDecl& decl);
    ~DirList() override;

    // The open folder: an absolute path, ending with a separator only for the root.
    QString Path() const { return m_path; }
    // Opens the folder (relative paths start from the open one) and raises Change when it is
    // another one. A missing folder raises error 76, one that may not be read 70, one on a
    // volume that does not answer 71.
    void setPath(const QString& path);
    // The highlighted entry; setting it highlights that entry and raises Click.
    int ListIndex() const;
    void setListIndex(int index);
    // The number of sub-folders.
    int ListCount() const;
    // The paths of the sub-folders.
    QStringList List() const;
    // Reads the open folder again; if it is gone or unreadable, opens its nearest ancestor
    // that can be read, else the home folder.
    void Refresh();
    // Reads the open folder again as when the system tells of a change: the highlighted
    // folder and the one at the top stay where they are while they exist.
    void followDisk() { follow({}, true); }

Q_SIGNALS:
    void Change();
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void open(const QString& path);
    // Opens a folder the user or a script chose; one on a volume that does not answer raises
    // error 71 within the time the drive list waits, rather than holding the program.
    void openChosen(const QString& path);
    void showOpenFolder();
    void openEntry(int row);
    int openFolderRow() const;
    void writePath(const QString& path);
    void writeListIndex(int index);
    void follow(const QStringList& names, bool all);

    FolderModel* m_model;
    FolderWatch* m_watch;
    QString m_path = QStringLiteral("/");
    bool m_quiet = false;
};

// The files of a folder whose names match Pattern, sorted. Selecting one, by mouse or
// keyboard or through ListIndex, raises Click. Counts are not limited to 16 bits.
class FileList : public Control<QListView> {
    Q_OBJECT
    VORN_CONTROL_PROPERTIES
    Q_PROPERTY(QString Path READ Path WRITE writePath)
    Q_PROPERTY(QString Pattern READ Pattern WRITE writePattern)
    Q_PROPERTY(QString FileName READ FileName WRITE writeFileName)
    VORN_LIST_PROPERTIES

public:
    FileList(QWidget* parent, const ControlDecl& decl);
    ~FileList() override;

    QString Path() const { return m_path; }
    // Lists the files of that folder; a missing folder raises error 76, a refused one 70.
    void setPath(const QString& path);
    QString Pattern() const { return m_pattern.text(); }
    // Lists the files matching the new pattern.
    void setPattern(const QString& pattern);
    // The selected file's name as shown, or the empty text.
    QString FileName() const;
    // The selected file's exact name, or the empty text.
    QString selectedName() const;
    // A folder opens that folder; a name with wildcards becomes the pattern (a folder part
    // before it opens that folder first); a file's name, as shown or exact, selects that file,
    // or raises error 53 when it is not listed.
    void setFileName(const QString& fileName);
    int ListIndex() const;
    // Selects the file at `index` and raises Click; -1 selects none; else raises error 5.
    void setListIndex(int index);
    int ListCount() const;
    QStringList List() const;
    // Reads the folder again; if it is gone or unreadable, lists its nearest ancestor that can
    // be read, else the home folder (PathChange tells).
    void Refresh();
    // Reads the folder again as when the system tells of a change: the selected file and the
    // one at the top stay where they are while they exist.
    void followDisk() { follow({}, true); }

Q_SIGNALS:
    void Click();
    void DblClick();
    void PathChange();
    void PatternChange();
    // The list lost the focus to another control of its window.
    void LostFocus();
    // The selected file is selected no longer, though no Click told of another: it went away
    // from the disk, or the list was read again, of another folder or under another pattern.
    void SelectionGone();

protected:
    void lostFocus() override { Q_EMIT LostFocus(); }
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void display(const QString& folder);
    void writePath(const QString& path);
    void writePattern(const QString& pattern);
    void writeFileName(const QString& fileName);
    void writeListIndex(int index);
    void follow(const QStringList& names, bool all);
    // Selects the file at `entry` without a Click; nothing when `entry` is negative.
    void selectQuietly(qsizetype entry);

    NameListModel* m_model;
    FolderWatch* m_watch;
    QString m_path = QStringLiteral("/");
    WildcardPattern m_pattern;
    bool m_quiet = false;
    int m_pressedOnSelected = -1; // the selected row a mouse press landed on
};

} // namespace vorn
