#include "filetree.h"
#include "support/testsupport.h"

#include "files/listcontrols.h"
#include "files/names.h"
#include "files/volumes.h"
#include "files/watch.h"
#include "platform/systemcalls.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTextDocument>
#include <QToolTip>
#include <QWheelEvent>
#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vorn;
using namespace Qt::StringLiterals;
using vorn::test::errorOf;

class TestListControls : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
    QString m_startFolder;

    QString at(const QString& relative) const {
        return relative.isEmpty() ? m_root : m_root + QLatin1Char('/') + relative;
    }

    // What a dead key or a compose sequence makes reaches a control through the input method,
    // which hands its text only to a control that says it takes it.
    static void commitFromInputMethod(QWidget& widget, const QString& text) {
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QCoreApplication::sendEvent(&widget, &query);
        if (!query.value(Qt::ImEnabled).toBool())
            return;
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(&widget, &commit);
    }

private Q_SLOTS:
    // One temporary folder for the whole run, so the data tables can name paths in it; each
    // test starts from the same tree inside it.
    void initTestCase() {
        test::initRuntime(*qApp);
        m_startFolder = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        // The canonical path, so that the lists' paths compare equal to it.
        m_root = QFileInfo(m_dir->path()).canonicalFilePath();
    }

    void init() {
        for (const QString& name : test::onDisk(m_root)) {
            const QString path = at(name);
            QVERIFY(QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()
                        ? QDir(path).removeRecursively()
                        : QFile::remove(path));
        }
        QVERIFY(test::makeTree(m_root, {"a.txt", "B.txt", "c.doc", ".cache", "sous/", "sous/d.doc",
                                        "sous/e.txt", "sous/f/", "autre/", ".cache-dir/"}));
        QVERIFY(QDir::setCurrent(m_root));
    }

    void cleanup() {
        QDir::setCurrent(m_startFolder);
        setVolumeSource({});
        sys::setFailure({});
        sys::setRealTime({});
        test::destroyForms();
    }

    void cleanupTestCase() { m_dir.reset(); }

    // --- File list -----------------------------------------------------------------------

    void fileListFileName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("error");
        QTest::newRow("a folder opens it") << at("sous") << at("sous") << "*"
                                           << "" << 0;
        QTest::newRow("a relative folder") << "sous" << at("sous") << "*"
                                           << "" << 0;
        QTest::newRow("wildcards set the pattern") << "*.txt" << at("") << "*.txt"
                                                   << "" << 0;
        QTest::newRow("folder and wildcards") << "sous/*.doc" << at("sous") << "*.doc"
                                              << "" << 0;
        QTest::newRow("a listed name selects it") << "B.txt" << at("") << "*"
                                                  << "B.txt" << 0;
        QTest::newRow("folder and name") << at("sous/e.txt") << at("sous") << "*"
                                         << "e.txt" << 0;
        QTest::newRow("a name not listed") << "absent.txt" << at("") << "*"
                                           << "" << 53;
        QTest::newRow("a hidden name is not listed") << ".cache" << at("") << "*"
                                                     << "" << 53;
        QTest::newRow("a missing folder") << "manquant/x.txt" << at("") << "*"
                                          << "" << 76;
        QTest::newRow("empty selects none") << "" << at("") << "*"
                                            << "" << 0;
    }
    void fileListFileName() {
        QFETCH(QString, text);
        QFETCH(QString, path);
        QFETCH(QString, pattern);
        QFETCH(QString, fileName);
        QFETCH(int, error);
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 2000}});
        QCOMPARE(errorOf([&] { list.setFileName(text); }), error);
        QCOMPARE(list.Path(), path);
        QCOMPARE(list.Pattern(), pattern);
        QCOMPARE(list.FileName(), fileName);
    }

    void fileListClick_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("selected");
        QTest::newRow("ListIndex set") << "index" << 1 << "B.txt";
        QTest::newRow("ListIndex property") << "property" << 1 << "B.txt";
        QTest::newRow("key down from none") << "down" << 1 << "a.txt";
        QTest::newRow("a letter an input method composed") << "composed" << 1 << "c.doc";
        QTest::newRow("mouse on a file") << "mouse" << 1 << "c.doc";
        QTest::newRow("mouse on the selected file") << "mouse again" << 1 << "a.txt";
        QTest::newRow("Ctrl and the mouse on the selected file") << "ctrl mouse" << 1 << "a.txt";
        QTest::newRow("Ctrl+Space on the selected file") << "ctrl space" << 0 << "a.txt";
        QTest::newRow("mouse below the files") << "mouse below" << 0 << "a.txt";
        QTest::newRow("refresh clears quietly") << "refresh" << 0 << "";
        QTest::newRow("pattern clears quietly") << "pattern" << 0 << "";
        QTest::newRow("folder clears quietly") << "path" << 0 << "";
    }
    void fileListClick() {
        QFETCH(QString, action);
        QFETCH(int, clicks);
        QFETCH(QString, selected);
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 2000}});
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        if (action.startsWith("mouse ") || action.startsWith("ctrl") ||
            action.startsWith("refresh") || action == "pattern" || action == "path")
            list.setListIndex(0);
        QSignalSpy spy(&list, &FileList::Click);
        auto rowCentre = [&](int row) {
            return list.visualRect(list.model()->index(row, 0)).center();
        };
        if (action == "index")
            list.setListIndex(1);
        else if (action == "property")
            list.setProperty("ListIndex", 1);
        else if (action == "down")
            QTest::keyClick(&list, Qt::Key_Down);
        else if (action == "composed") {
            // The input method answers the control that has the focus.
            list.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&list));
            list.setFocus();
            commitFromInputMethod(list, u"c"_s);
        } else if (action == "mouse")
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(2));
        else if (action == "mouse again")
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(0));
        else if (action == "ctrl mouse")
            QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(0));
        else if (action == "ctrl space")
            QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
        else if (action == "mouse below")
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              QPoint(rowCentre(0).x(), list.viewport()->height() - 2));
        else if (action == "refresh")
            list.Refresh();
        else if (action == "pattern")
            list.setPattern(QStringLiteral("*"));
        else if (action == "path")
            list.setPath(at("sous"));
        QCOMPARE(spy.count(), clicks);
        QCOMPARE(list.FileName(), selected);
    }

    void fileListRefreshRereads() {
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 2000}});
        QVERIFY(test::makeFile(at("nouveau.txt")));
        QVERIFY(QFile::remove(at("a.txt")));
        QCOMPARE(list.ListCount(), 3);
        list.Refresh();
        QCOMPARE(list.List(), (QStringList{"B.txt", "c.doc", "nouveau.txt"}));
        // A folder that went away: the list stands in its nearest remaining ancestor.
        list.setPath(at("autre"));
        QVERIFY(QDir(at("autre")).removeRecursively());
        QSignalSpy moves(&list, &FileList::PathChange);
        QCOMPARE(errorOf([&] { list.Refresh(); }), 0);
        QCOMPARE(list.Path(), m_root);
        QCOMPARE(list.List(), (QStringList{"B.txt", "c.doc", "nouveau.txt"}));
        QCOMPARE(moves.count(), 1);
    }

    // Another program changes the folder shown: the list follows, the selected file and the
    // one at the top of the view stay in their places, and a selected file removed is
    // unselected.
    void fileListFollowsTheDisk_data() {
        QTest::addColumn<int>("watchError");
        QTest::addColumn<QByteArray>("volumeType");
        QTest::newRow("told by the system") << 0 << QByteArray("ext4");
        QTest::newRow("no folder can be followed any more") << ENOSPC << QByteArray("ext4");
        // The system tells of its own changes only: the server's must be looked for.
        QTest::newRow("a network volume") << 0 << QByteArray("fuse.sshfs");
    }
    void fileListFollowsTheDisk() {
        QFETCH(int, watchError);
        QFETCH(QByteArray, volumeType);
        setVolumeSource([=, this] {
            return QList<Volume>{{"/", "ext4", false, true}, {m_root, volumeType, false, true}};
        });
        int looks = 0;        // the folder looked at, as the list does where it is told nothing
        int refusedLooks = 0; // a new file looked at while this user may not look into the folder
        bool refusing = false;
        sys::setFailure([&, folder = QFile::encodeName(m_root)](sys::Call call, const char* path) {
            looks += call == sys::Call::Stat && folder == path;
            if (refusing && call == sys::Call::Stat && std::strcmp(path, "retard.txt") == 0) {
                ++refusedLooks;
                return EACCES;
            }
            return call == sys::Call::Watch ? watchError : 0;
        });
        for (int i = 0; i < 40; ++i)
            QVERIFY(test::makeFile(at(QStringLiteral("m%1.txt").arg(i, 2, 10, QLatin1Char('0')))));
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 1500}});
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFileName(QStringLiteral("m20.txt"));
        list.scrollTo(list.currentIndex(), QAbstractItemView::PositionAtTop);
        const auto top = [&] { return list.indexAt(QPoint(0, 0)).data().toString(); };
        QCOMPARE(top(), QStringLiteral("m20.txt"));
        QSignalSpy clicks(&list, &FileList::Click);
        QSignalSpy gone(&list, &FileList::SelectionGone);
        for (const char* name : {"0.txt", "1.txt", "m10bis.txt"})
            QVERIFY(test::makeFile(at(QString::fromLatin1(name))));
        QTRY_COMPARE(list.ListCount(), 46);
        QCOMPARE(list.FileName(), QStringLiteral("m20.txt"));
        QCOMPARE(top(), QStringLiteral("m20.txt"));
        QVERIFY(QFile::remove(at("m20.txt")));
        QTRY_COMPARE(list.ListCount(), 45);
        QCOMPARE(list.FileName(), QString());
        QCOMPARE(top(), QStringLiteral("m21.txt"));
        QCOMPARE(gone.count(), 1);
        QCOMPARE(clicks.count(), 0);
        if (watchError != 0 || volumeType != "ext4")
            QTRY_VERIFY(looks > 0);
        // A reading that finds the folder as it was leaves the rows, and what assistive tools
        // hold of them, alone.
        QSignalSpy resets(list.model(), &QAbstractItemModel::modelReset);
        list.followDisk();
        QCOMPARE(resets.count(), 0);
        // A file told of while the folder's permissions kept this user from looking at it shows
        // once they are given back.
        refusing = true;
        QVERIFY(test::makeFile(at("retard.txt")));
        QTRY_VERIFY(refusedLooks > 0 || list.List().contains(u"retard.txt"_s));
        refusing = false;
        // Another program setting the folder's times leaves its permissions as they were: what
        // it creates then is looked at, the folder is not read whole again.
        if (watchError == 0 && volumeType == "ext4") {
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(m_root).constData(), nullptr, 0), 0);
            QVERIFY(test::makeFile(at("touche.txt")));
            QTRY_VERIFY(list.List().contains(u"touche.txt"_s));
            QVERIFY(!list.List().contains(u"retard.txt"_s));
        }
        const QFile::Permissions permissions = QFile::permissions(m_root);
        QVERIFY(QFile::setPermissions(m_root, permissions ^ QFile::ExeOther));
        QTRY_VERIFY(list.List().contains(u"retard.txt"_s));
        QVERIFY(QFile::setPermissions(m_root, permissions));
    }

    // A folder the system cannot tell of is looked at once a second, and read again only while
    // a change within the same tick of the file system's clock could still leave its change time
    // as it is: not for as long as the system's clock stands far from that time.
    void quietFolderIsNotReadAgain_data() {
        QTest::addColumn<int>("clockShift");
        QTest::newRow("clock set back an hour") << -3600;
        QTest::newRow("clock set forward an hour") << 3600;
    }
    void quietFolderIsNotReadAgain() {
        QFETCH(int, clockShift);
        sys::setRealTime([=] {
            timespec now{};
            ::clock_gettime(CLOCK_REALTIME, &now);
            now.tv_sec += clockShift;
            return now;
        });
        sys::setFailure(
            [](sys::Call call, const char*) { return call == sys::Call::Watch ? ENOSPC : 0; });
        FolderWatch watch;
        QSignalSpy readAgain(&watch, &FolderWatch::changed);
        watch.watch(m_root);
        QTest::qWait(2 * FolderWatch::kLookMs + FolderWatch::kSettleMs);
        QCOMPARE(readAgain.count(), 0);
    }

    // Any mount on the machine has the list check that its folder is still the one shown; on a
    // network volume that stopped answering, that would hold the window until it answers. The
    // folder is left alone until then, and its replacement meanwhile shows once it answers.
    void fileListLeavesASilentVolumeAlone_data() {
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("a network volume through FUSE") << QByteArray("fuse.sshfs");
        QTest::newRow("the desktop's network shares") << QByteArray("fuse.gvfsd-fuse");
    }
    void fileListLeavesASilentVolumeAlone() {
        QFETCH(QByteArray, type);
        bool answers = false;
        setVolumeSource([&, this] {
            return QList<Volume>{{"/", "ext4", false, true}, {m_root, type, false, answers}};
        });
        // The system tells nothing: only a look sees what became of the folder.
        sys::setFailure(
            [](sys::Call call, const char*) { return call == sys::Call::Watch ? ENOSPC : 0; });
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 1500}});
        list.setPath(at("sous"));
        QCOMPARE(list.ListCount(), 2);
        QVERIFY(QDir(m_root).rename("sous", "ancienne"));
        QVERIFY(QDir(m_root).mkdir("sous"));
        for (MountWatch* mounts : list.findChildren<MountWatch*>())
            Q_EMIT mounts->changed();
        QTest::qWait(3 * FolderWatch::kSettleMs);
        QCOMPARE(list.ListCount(), 2);
        answers = true;
        QTRY_COMPARE(list.ListCount(), 0);
    }

    void fileListCountsBeyond16Bits() {
        QVERIFY(QDir(m_root).mkdir("beaucoup"));
        const int count = 33000;
        for (int i = 0; i < count; ++i)
            QVERIFY(
                test::makeFile(at(QStringLiteral("beaucoup/f%1").arg(i, 5, 10, QLatin1Char('0')))));
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 2000}});
        list.setPath(at("beaucoup"));
        QCOMPARE(list.ListCount(), count);
        QCOMPARE(list.property("ListCount").toInt(), count);
        list.setListIndex(count - 1);
        QCOMPARE(list.FileName(), QStringLiteral("f32999"));
        QCOMPARE(list.ListIndex(), count - 1);
    }

    // The tip of a row, the whole name or path, reads as it is written, whatever markup the
    // name spells.
    void listTipsShowNamesAsWritten_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::newRow("bold markup") << "<b>gras.txt" << false;
        QTest::newRow("an escaped character") << "a&lt;b.txt" << false;
        QTest::newRow("a picture of a file nearby") << "<img src=\"a.txt\">" << false;
        QTest::newRow("a comment") << "<p>début<!--caché-->fin.txt" << false;
        QTest::newRow("two spaces in a row") << "<u>deux  espaces.txt" << false;
        QTest::newRow("a folder in markup") << "<i>penché" << true;
    }
    void listTipsShowNamesAsWritten() {
        QFETCH(QString, name);
        QFETCH(bool, folder);
        QVERIFY(folder ? QDir(m_root).mkdir(name) : test::makeFile(at(name)));
        const ControlDecl decl{"List", nullptr, {0, 0, 2000, 2000}};
        std::unique_ptr<QListView> list;
        if (folder)
            list = std::make_unique<DirList>(nullptr, decl);
        else
            list = std::make_unique<FileList>(nullptr, decl);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        const QModelIndexList rows = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        QCOMPARE(rows.size(), 1);
        const QPoint point = list->visualRect(rows.first()).center();
        QHelpEvent help(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
        QApplication::sendEvent(list->viewport(), &help);
        const QString tip = QToolTip::text();
        QTextDocument shown;
        if (Qt::mightBeRichText(tip))
            shown.setHtml(tip);
        else
            shown.setPlainText(tip);
        QCOMPARE(shown.toPlainText(), folder ? at(name) : name);
        QToolTip::hideText();
    }

    // Copy in a list gives the highlighted entry's name as the disk holds it, so that pasted
    // elsewhere it names that entry: what the row shows around it (a space drawn, a look-alike's
    // mark) is no part of it. A name that is not text gives its shown form, mark included.
    void listCopiesTheName_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("row"); // "file", "sub-folder" or "open folder"
        QTest::addColumn<QString>("copied");
        QTest::newRow("a leading space") << " devant.txt"_ba
                                         << "file" << u" devant.txt"_s;
        QTest::newRow("a zero-width space") << "z\xc3\xa9ro\xe2\x80\x8blargeur.txt"_ba
                                            << "file" << u"zéro\u200blargeur.txt"_s;
        QTest::newRow("a look-alike, marked") << "e\xcc\x81te\xcc\x81.txt"_ba
                                              << "file" << u"e\u0301te\u0301.txt"_s;
        QTest::newRow("not text") << "caf\xe9.txt"_ba
                                  << "file" << u"café.txt (codage non reconnu)"_s;
        QTest::newRow("a folder with a trailing space") << "fin "_ba
                                                        << "sub-folder" << u"fin "_s;
        QTest::newRow("the open folder") << "\ttab"_ba
                                         << "open folder" << u"\ttab"_s;
    }
    void listCopiesTheName() {
        QFETCH(QByteArray, name);
        QFETCH(QString, row);
        QFETCH(QString, copied);
        QVERIFY(test::makeFile(at(u"été.txt"_s))); // the look-alike's twin
        const QByteArray path = QFile::encodeName(m_root) + '/' + name;
        // A name that is not text is gone before the next test clears the tree by its text.
        const auto removed = qScopeGuard([&path] { std::remove(path.constData()); });
        const ControlDecl decl{"List", nullptr, {0, 0, 2000, 2000}};
        std::unique_ptr<QListView> list;
        if (row == u"file") {
            QCOMPARE(::close(::creat(path.constData(), 0644)), 0);
            auto files = std::make_unique<FileList>(nullptr, decl);
            files->setFileName(nameFromBytes(name));
            list = std::move(files);
        } else {
            QCOMPARE(::mkdir(path.constData(), 0755), 0);
            auto folders = std::make_unique<DirList>(nullptr, decl);
            if (row == u"open folder") {
                folders->setPath(nameFromBytes(path));
                folders->setListIndex(-1);
            } else {
                folders->setListIndex(int(folders->List().indexOf(nameFromBytes(path))));
            }
            list = std::move(folders);
        }
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(list.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    }

    void propertyWritesAreGuarded_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("Path to a missing folder") << "Path" << QVariant(at("manquant")) << 76;
        QTest::newRow("ListIndex past the end") << "ListIndex" << QVariant(3) << 5;
        QTest::newRow("ListIndex below -1") << "ListIndex" << QVariant(-2) << 5;
        QTest::newRow("FileName not listed") << "FileName" << QVariant("absent") << 53;
        QTest::newRow("Path to a folder") << "Path" << QVariant(at("sous")) << 0;
    }
    void propertyWritesAreGuarded() {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(int, error);
        test::ScriptedDialogs dialogs;
        FileList list(nullptr, {"File1", nullptr, {0, 0, 2000, 2000}});
        QVERIFY(list.setProperty(property.toLatin1().constData(), value));
        const auto errors = dialogs.errors();
        QCOMPARE(errors.size(), error ? 1 : 0);
        if (error)
            QCOMPARE(errors.first().style, error);
    }

    // --- Folder list ---------------------------------------------------------------------

    void dirListRows() {
        DirList list(nullptr, {"Dir1", nullptr, {0, 0, 2000, 2000}});
        QCOMPARE(list.Path(), m_root);
        QCOMPARE(list.List(), (QStringList{at("autre"), at("sous")}));
        QCOMPARE(list.ListCount(), 2);
        QCOMPARE(list.ListIndex(), -1);
        // The rows: "/", each folder down to the open one, then the sub-folders.
        const QStringList parts = m_root.split('/', Qt::SkipEmptyParts);
        QStringList shown;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            shown.append(list.model()->index(row, 0).data().toString());
        QCOMPARE(shown, (QStringList{"/"} + parts + QStringList{"autre", "sous"}));
    }

    void dirListPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<int>("changes");
        QTest::addColumn<int>("error");
        QTest::newRow("a sub-folder") << "sous" << at("sous") << 1 << 0;
        QTest::newRow("with a closing separator") << "sous/f/" << at("sous/f") << 1 << 0;
        QTest::newRow("the parent") << ".." << QFileInfo(m_root).path() << 1 << 0;
        QTest::newRow("the root") << "/"
                                  << "/" << 1 << 0;
        QTest::newRow("the open folder again") << m_root << at("") << 0 << 0;
        QTest::newRow("a missing folder") << "manquant" << at("") << 0 << 76;
        QTest::newRow("a file") << "a.txt" << at("") << 0 << 76;
        QTest::newRow("on a volume that does not answer") << "autre" << at("") << 0 << 71;
    }
    void dirListPath() {
        QFETCH(QString, path);
        QFETCH(QString, opened);
        QFETCH(int, changes);
        QFETCH(int, error);
        // The tree is on a volume that answers; "autre" is a network volume that stopped.
        setVolumeSource([this] {
            return QList<Volume>{{"/", "ext4", false, true},
                                 {at("autre"), "fuse.sshfs", false, false},
                                 {m_root, "ext4", false, true}};
        });
        DirList list(nullptr, {"Dir1", nullptr, {0, 0, 2000, 2000}});
        QSignalSpy spy(&list, &DirList::Change);
        QCOMPARE(errorOf([&] { list.setPath(path); }), error);
        QCOMPARE(list.Path(), opened);
        QCOMPARE(spy.count(), changes);
        QCOMPARE(list.ListIndex(), -1);
    }

    void dirListListIndex_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("highlighted");
        QTest::addColumn<int>("error");
        QTest::newRow("first sub-folder") << 0 << "autre" << 0;
        QTest::newRow("last sub-folder") << 1 << "sous" << 0;
        QTest::newRow("the open folder") << -1 << m_root.section('/', -1) << 0;
        QTest::newRow("its parent") << -2 << m_root.section('/', -2, -2) << 0;
        QTest::newRow("past the sub-folders") << 2 << "" << 5;
    }
    void dirListListIndex() {
        QFETCH(int, index);
        QFETCH(QString, highlighted);
        QFETCH(int, error);
        DirList list(nullptr, {"Dir1", nullptr, {0, 0, 2000, 2000}});
        QSignalSpy clicks(&list, &DirList::Click);
        QSignalSpy changes(&list, &DirList::Change);
        QCOMPARE(errorOf([&] { list.setListIndex(index); }), error);
        QCOMPARE(clicks.count(), error ? 0 : 1);
        QCOMPARE(changes.count(), 0); // highlighting opens nothing
        if (!error) {
            QCOMPARE(list.ListIndex(), index);
            QCOMPARE(list.currentIndex().data().toString(), highlighted);
        }
        QCOMPARE(list.Path(), m_root);
    }

    void dirListOpensByUser_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("opened");
        QTest::newRow("double-click on a sub-folder") << "double-click" << 1 << at("sous");
        QTest::newRow("Enter on a sub-folder") << "enter" << 0 << at("autre");
        QTest::newRow("Enter on the parent") << "enter" << -2 << QFileInfo(m_root).path();
        QTest::newRow("a single click opens nothing") << "click" << 1 << at("");
        QTest::newRow("a right double-click opens nothing") << "right double-click" << 1 << at("");
        QTest::newRow("a click below the folders opens nothing") << "below" << 1 << at("");
    }
    void dirListOpensByUser() {
        QFETCH(QString, gesture);
        QFETCH(int, index);
        QFETCH(QString, opened);
        DirList list(nullptr, {"Dir1", nullptr, {0, 0, 2000, 4000}});
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy changes(&list, &DirList::Change);
        const int row = list.model()->rowCount() - list.ListCount() + index;
        const QPoint centre = list.visualRect(list.model()->index(row, 0)).center();
        if (gesture.endsWith("double-click")) {
            const auto button = gesture == "double-click" ? Qt::LeftButton : Qt::RightButton;
            QTest::mouseClick(list.viewport(), button, {}, centre);
            QTest::mouseDClick(list.viewport(), button, {}, centre);
        } else if (gesture == "enter") {
            list.setListIndex(index);
            QTest::keyClick(&list, Qt::Key_Return);
        } else {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
            if (gesture == "below")
                QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                                  QPoint(centre.x(), list.viewport()->height() - 2));
        }
        QCOMPARE(list.Path(), opened);
        QCOMPARE(changes.count(), opened == m_root ? 0 : 1);
        // The folder Enter would open shows as the highlighted one.
        QVERIFY(list.selectionModel()->isSelected(list.currentIndex()));
    }

    void dirListRefresh() {
        DirList list(nullptr, {"Dir1", nullptr, {0, 0, 2000, 2000}});
        list.setPath(at("sous/f"));
        QVERIFY(QDir(m_root).mkdir("sous/f/neuf"));
        list.Refresh();
        QCOMPARE(list.List(), QStringList{at("sous/f/neuf")});
        QSignalSpy resets(list.model(), &QAbstractItemModel::modelReset);
        list.followDisk();
        QCOMPARE(resets.count(), 0);
        // The open folder and its parent went away: the nearest folder left opens.
        QSignalSpy changes(&list, &DirList::Change);
        QVERIFY(QDir(at("sous")).removeRecursively());
        list.Refresh();
        QCOMPARE(list.Path(), m_root);
        QCOMPARE(changes.count(), 1);
        QVERIFY(!list.List().contains(at("sous")));
    }

    // --- Drive list ----------------------------------------------------------------------

    void driveList_data() {
        QTest::addColumn<QString>("drive");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("changes");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("shown");
        QTest::newRow("another root") << at("v1") << at("v1") << 1 << 0 << at("v1");
        QTest::newRow("a path inside a volume") << at("v3/x/y") << at("v3") << 1 << 0 << at("v3");
        QTest::newRow("the same volume") << at("v2") << at("v2") << 0 << 0 << at("v2");
        QTest::newRow("no volume holds it") << "/ailleurs" << at("v2") << 0 << 68 << at("v2");
        QTest::newRow("a volume gone meanwhile") << at("v4") << at("v2") << 0 << 71 << at("v2");
        // A stick's label names its folder: what the name hides is shown as the lists show it.
        QTest::newRow("a root that hides characters")
            << at(u"v5\u202Etxt.exe\n"_s) << at(u"v5\u202Etxt.exe\n"_s) << 1 << 0
            << at(u"v5⟨U+202E⟩txt.exe⏎"_s);
    }
    void driveList() {
        QFETCH(QString, drive);
        QFETCH(QString, chosen);
        QFETCH(int, changes);
        QFETCH(int, error);
        QFETCH(QString, shown);
        QList<Volume> volumes{{at("v3"), "iso9660", true, true},
                              {at("v1"), "ext4", false, true},
                              {at("v2"), "ext4", false, true},
                              {at(u"v5\u202Etxt.exe\n"_s), "ext4", false, true},
                              {at("v4"), "vfat", false, true}};
        setVolumeSource([&] { return volumes; });
        QVERIFY(QDir(m_root).mkpath("v2/dedans"));
        QVERIFY(QDir::setCurrent(at("v2/dedans")));
        DriveList list(nullptr, {"Drive1", nullptr, {0, 0, 2000, 315}});
        QCOMPARE(list.List(),
                 (QStringList{at("v1"), at("v2"), at("v3"), at("v4"), at(u"v5\u202Etxt.exe\n"_s)}));
        QCOMPARE(list.Drive(), at("v2")); // the volume of the current folder
        volumes.removeLast();             // the stick is pulled out
        QSignalSpy spy(&list, &DriveList::Change);
        QCOMPARE(errorOf([&] { list.setDrive(drive); }), error);
        QCOMPARE(list.Drive(), chosen);
        QCOMPARE(list.currentText(), shown);
        QCOMPARE(spy.count(), changes);
    }

    void driveListByKeyboard() {
        setVolumeSource([this] {
            return QList<Volume>{{at("v1"), "ext4", false, true}, {at("v2"), "ext4", false, true}};
        });
        DriveList list(nullptr, {"Drive1", nullptr, {0, 0, 2000, 315}});
        QCOMPARE(list.ListIndex(), 0); // no volume holds the current folder: the first one
        QSignalSpy spy(&list, &DriveList::Change);
        list.Refresh();
        list.setDrive(at("v1")); // shown but not where the lists are: choosing it goes there
        QCOMPARE(spy.count(), 1);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.Drive(), at("v2"));
        QCOMPARE(spy.count(), 2);
        QTest::keyClick(&list, Qt::Key_Down); // already the last: no change
        QCOMPARE(spy.count(), 2);
    }

    // A wheel turned over the list goes through the drives only once the user is in it.
    void driveListWheel_data() {
        QTest::addColumn<bool>("inList");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("changes");
        QTest::newRow("passing over it") << false << "v1" << 0;
        QTest::newRow("in the list") << true << "v2" << 1;
    }
    void driveListWheel() {
        QFETCH(bool, inList);
        QFETCH(QString, chosen);
        QFETCH(int, changes);
        setVolumeSource([this] {
            return QList<Volume>{{at("v1"), "ext4", false, true}, {at("v2"), "ext4", false, true}};
        });
        QWidget window;
        auto* name = new QLineEdit(&window);
        auto* list = new DriveList(&window, {"Drive1", nullptr, {0, 900, 2000, 315}});
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        (inList ? static_cast<QWidget*>(list) : name)->setFocus();
        QSignalSpy spy(list, &DriveList::Change);
        const QPoint point = list->geometry().center();
        QWheelEvent down(point, window.mapToGlobal(point), {},
                         {0, -QWheelEvent::DefaultDeltasPerStep}, Qt::NoButton, {},
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.windowHandle(), &down);
        QCOMPARE(list->Drive(), at(chosen));
        QCOMPARE(spy.count(), changes);
    }

    void driveListRefreshKeepsTheChoice() {
        QList<Volume> volumes{{at("v1"), "ext4", false, true}, {at("v2"), "ext4", false, true}};
        setVolumeSource([&] { return volumes; });
        DriveList list(nullptr, {"Drive1", nullptr, {0, 0, 2000, 315}});
        list.setListIndex(1);
        volumes.prepend({at("v0"), "vfat", false, true});
        list.Refresh();
        QCOMPARE(list.Drive(), at("v2"));
        QCOMPARE(list.ListIndex(), 2);
        // The chosen volume went away: it stays shown until another is chosen.
        volumes.removeLast();
        list.Refresh();
        QCOMPARE(list.Drive(), at("v2"));
        QCOMPARE(list.ListCount(), 3);
    }
};

QTEST_MAIN(TestListControls)
#include "tst_listcontrols.moc"
