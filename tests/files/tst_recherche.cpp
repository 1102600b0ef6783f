#include "filetree.h"
#include "support/testsupport.h"

#include "files/recherche.h"
#include "files/volumes.h"
#include "files/watch.h"
#include "platform/conversions.h"
#include "platform/forms.h"
#include "platform/systemcalls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <memory>
#include <utility>

using namespace vorn;
using test::DialogCall;

namespace {

// Every box the window may show, named as the tests name them.
struct ExpectedBox {
    const char* id;
    const char* text;
    const char* title;
    int style;
};

const ExpectedBox kExpectedBoxes[] = {
    {"M1", "Aucun fichier n'a été sélectionné !", "Erreur", 48},
    {"M2", "Effacer le fichier ?", "Confirmation", 49},
    {"M3", "Ecriture impossible, le CD-Rom n'est pas accessible en écriture !", "Erreur d'accès",
     48},
    {"M4", "Nom du nouveau dossier indispensable !", "Erreur d'accès", 53},
    {"M5", "supprimer le dossier ?", "Confirmation", 49},
    {"M6", "Le répertoire désigné n'est pas vide !", "Erreur", 48},
    {"filter", "Sélectionnez 'extension' ou 'Nom complet' et renseigner la case 'fichier'",
     "Erreur", 48},
    {"bad name", "Nom de dossier incorrect !", "Erreur d'accès", 48},
    {"file changed", "Le fichier a changé depuis sa sélection : rien n'a été effacé.",
     "Erreur d'accès", 48},
    {"folder changed", "Le dossier a changé depuis sa sélection : rien n'a été créé.",
     "Erreur d'accès", 48},
    {"removal changed", "Le dossier a changé depuis sa sélection : rien n'a été supprimé.",
     "Erreur d'accès", 48},
    {"not a program", "Ce fichier n'est pas un programme : il ne peut pas être exécuté.", "Erreur",
     48},
    {"part missing",
     "Ce programme ne peut pas démarrer : un fichier dont il a besoin est introuvable.", "Erreur",
     48},
};

// The boxes asked for, in order: "M1" … for the window's messages (text, title and style
// all as expected), "I1" for the folder name box, "E53" … for run-time errors.
QStringList boxesShown(const test::ScriptedDialogs& dialogs) {
    QStringList ids;
    for (const DialogCall& call : dialogs.calls()) {
        QString id = QStringLiteral("?") + call.text;
        if (call.kind == DialogCall::Kind::Error) {
            id = QStringLiteral("E%1").arg(call.style);
        } else if (call.kind == DialogCall::Kind::Input) {
            if (call.text == "Entrez le nom du dossier que vous voulez créer." &&
                call.title == "Précision")
                id = QStringLiteral("I1");
        } else {
            for (const ExpectedBox& box : kExpectedBoxes) {
                if (call.text == QString::fromUtf8(box.text) &&
                    call.title == QString::fromUtf8(box.title) && call.style == box.style)
                    id = QString::fromLatin1(box.id);
            }
        }
        ids.append(id);
    }
    return ids;
}

} // namespace

class TestRecherche : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
    QString m_startFolder;
    QStringList m_readOnlyAsked;
    Recherche* m_window = nullptr;

    QString at(const QString& relative) const { return m_root + QLatin1Char('/') + relative; }
    template <class T = QWidget> T* control(const char* name) const {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }
    QVariant get(const char* name, const char* property) const {
        return control<QObject>(name)->property(property);
    }
    void set(const char* name, const char* property, const QVariant& value) {
        QVERIFY(control<QObject>(name)->setProperty(property, value));
    }
    // A real click on the button, delivered to the window as the user's would be.
    void press(const char* button) {
        QWidget* widget = control(button);
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(m_window, widget->rect().center()));
    }
    void open(const QString& relative) { set("Dir1", "Path", at(relative)); }
    void select(const QString& file) { set("File1", "FileName", file); }
    QString text(const char* box) const { return control<QLineEdit>(box)->text(); }

private Q_SLOTS:
    // One temporary folder for the whole run, so the data tables can name paths in it; each
    // test starts from the same tree inside it.
    void initTestCase() {
        test::initRuntime(*qApp);
        m_startFolder = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_root = QFileInfo(m_dir->path()).canonicalFilePath();
    }

    void init() {
        QVERIFY(QDir(at("disque")).removeRecursively());
        QVERIFY(QDir(at("cdrom")).removeRecursively());
        QVERIFY(test::makeTree(m_root,
                               {"disque/travail/", "disque/travail/b.doc", "disque/travail/c.TXT",
                                "disque/travail/sous/x.txt", "disque/travail/sous/y.doc",
                                "disque/travail/vide/", "disque/travail/pleine/p1.txt",
                                "disque/travail/cache/.secret", "disque/travail/parent/enfant/",
                                "disque/autre.txt", "cdrom/lisezmoi.txt", "cdrom/vide/"}));
        QVERIFY(test::makeFile(at("disque/travail/a.txt"), 5));
        setVolumeSource([this] {
            return QList<Volume>{{at("cdrom"), "iso9660", true, true},
                                 {at("disque"), "ext4", false, true}};
        });
        m_readOnlyAsked.clear();
        setReadOnlyProbe([this](const QString& path) {
            m_readOnlyAsked.append(path);
            return path == at("cdrom") || path.startsWith(at("cdrom/"));
        });
        QVERIFY(QDir::setCurrent(at("disque/travail")));
        m_window = Forms::instance().show<Recherche>();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup() {
        m_window = nullptr;
        test::destroyForms();
        QDir::setCurrent(m_startFolder);
        setVolumeSource({});
        setReadOnlyProbe({});
    }

    void cleanupTestCase() { m_dir.reset(); }

    // --- Layout --------------------------------------------------------------------------

    void window() {
        QCOMPARE(m_window->objectName(), QStringLiteral("Recherche"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Recherche de fichiers"));
        QCOMPARE(m_window->client()->size(), QSize(461, 262));
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRectF>("twips");
        QTest::newRow("Label1") << "Label1"
                                << "QLabel"
                                << "Fichier:" << QRectF(480, 315, 975, 255);
        QTest::newRow("Text1") << "Text1"
                               << "QLineEdit"
                               << "" << QRectF(1560, 240, 2415, 375);
        QTest::newRow("Command2") << "Command2"
                                  << "QPushButton"
                                  << "OK" << QRectF(4080, 240, 495, 375);
        QTest::newRow("Command1") << "Command1"
                                  << "QPushButton"
                                  << "Fermer" << QRectF(5640, 240, 1095, 375);
        QTest::newRow("Command4") << "Command4"
                                  << "QPushButton"
                                  << "Créer dossier" << QRectF(5640, 840, 1095, 375);
        QTest::newRow("Command6") << "Command6"
                                  << "QPushButton"
                                  << "RmDir" << QRectF(5640, 1440, 1095, 375);
        QTest::newRow("Command3") << "Command3"
                                  << "QPushButton"
                                  << "Kill" << QRectF(5640, 2040, 1095, 375);
        QTest::newRow("Command5") << "Command5"
                                  << "QPushButton"
                                  << "Exécuter" << QRectF(5640, 2640, 1095, 375);
        QTest::newRow("Dir1") << "Dir1"
                              << "QListView"
                              << "" << QRectF(240, 960, 2415, 2340);
        QTest::newRow("File1") << "File1"
                               << "QListView"
                               << "" << QRectF(3000, 960, 2175, 1845);
        QTest::newRow("Drive1") << "Drive1"
                                << "QComboBox"
                                << "" << QRectF(3000, 3000, 2175, 315);
        QTest::newRow("Label2") << "Label2"
                                << "QLabel"
                                << "A été créé le:" << QRectF(120, 3600, 975, 255);
        QTest::newRow("Text2") << "Text2"
                               << "QLineEdit"
                               << "" << QRectF(1080, 3550, 1575, 285);
        QTest::newRow("Label3") << "Label3"
                                << "QLabel"
                                << "Taille:" << QRectF(3000, 3600, 495, 255);
        QTest::newRow("Text3") << "Text3"
                               << "QLineEdit"
                               << "" << QRectF(3480, 3550, 1695, 285);
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QRectF, twips);
        QWidget* widget = control(name.toLatin1().constData());
        QVERIFY(widget);
        QVERIFY(widget->inherits(kind.toLatin1().constData()));
        const QVariant shown = widget->property(kind == "QLineEdit" ? "Text" : "Caption");
        if (shown.isValid())
            QCOMPARE(shown.toString(), caption);
        const QRectF geometry(widget->property("Left").toFloat(), widget->property("Top").toFloat(),
                              widget->property("Width").toFloat(),
                              widget->property("Height").toFloat());
        QCOMPARE(geometry, twips);
    }

    void tabOrder() {
        const char* order[] = {"Dir1",  "File1", "Drive1",   "Text1",    "Command1", "Command2",
                               "Text2", "Text3", "Command3", "Command4", "Command5", "Command6"};
        QWidget* widget = control(order[0]);
        for (const char* name : order) {
            QCOMPARE(widget->objectName(), QString::fromLatin1(name));
            do
                widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(m_window) ||
                   widget->objectName().isEmpty() || widget->objectName().startsWith("qt_"));
        }
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QCOMPARE(QApplication::focusWidget(), control("Dir1"));
    }

    // --- The three lists in step ---------------------------------------------------------

    void startsOnTheCurrentFolder() {
        QCOMPARE(get("Drive1", "Drive").toString(), at("disque"));
        QCOMPARE(get("Dir1", "Path").toString(), at("disque/travail"));
        QCOMPARE(get("File1", "Path").toString(), at("disque/travail"));
        QCOMPARE(get("File1", "Pattern").toString(), QStringLiteral("*"));
        QCOMPARE(get("File1", "List").toStringList(), (QStringList{"a.txt", "b.doc", "c.TXT"}));
    }

    void driveOpensItsFolderAndFiles() {
        test::ScriptedDialogs dialogs;
        set("Drive1", "Drive", at("cdrom"));
        QCOMPARE(get("Dir1", "Path").toString(), at("cdrom"));
        QCOMPARE(get("File1", "Path").toString(), at("cdrom"));
        QCOMPARE(get("File1", "List").toStringList(), QStringList{"lisezmoi.txt"});
        set("Dir1", "Path", at("disque/travail/sous"));
        QCOMPARE(get("File1", "List").toStringList(), (QStringList{"x.txt", "y.doc"}));
        QCOMPARE(get("Drive1", "Drive").toString(), at("cdrom")); // nothing links back
        QVERIFY(dialogs.calls().isEmpty());
    }

    void filter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("here");
        QTest::addColumn<QStringList>("inSous");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("an extension")
            << "txt"
            << "*txt" << QStringList{"a.txt", "c.TXT"} << QStringList{"x.txt"} << QStringList{};
        QTest::newRow("point and extension")
            << ".doc"
            << "*.doc" << QStringList{"b.doc"} << QStringList{"y.doc"} << QStringList{};
        QTest::newRow("a whole name")
            << "a.txt"
            << "*a.txt" << QStringList{"a.txt"} << QStringList{} << QStringList{};
        QTest::newRow("nothing typed") << ""
                                       << "*" << QStringList{"a.txt", "b.doc", "c.TXT"}
                                       << QStringList{"x.txt", "y.doc"} << QStringList{"filter"};
    }
    void filter() {
        QFETCH(QString, typed);
        QFETCH(QString, pattern);
        QFETCH(QStringList, here);
        QFETCH(QStringList, inSous);
        QFETCH(QStringList, boxes);
        test::ScriptedDialogs dialogs;
        control<QLineEdit>("Text1")->setText(typed);
        press("Command2");
        QCOMPARE(boxesShown(dialogs), boxes);
        QCOMPARE(get("File1", "Pattern").toString(), pattern);
        QCOMPARE(get("File1", "List").toStringList(), here);
        open("disque/travail/sous");
        QCOMPARE(get("File1", "List").toStringList(), inSous);
        if (!boxes.isEmpty())
            QCOMPARE(m_window->erreur, QVariant(1));
    }

    void enterInTheFilterBoxAppliesIt() {
        control<QLineEdit>("Text1")->setText(QStringLiteral("doc"));
        QTest::keyClick(control("Text1"), Qt::Key_Return);
        QCOMPARE(get("File1", "Pattern").toString(), QStringLiteral("*doc"));
    }

    // --- Details -------------------------------------------------------------------------

    void details_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("told");
        QTest::newRow("empty file") << qint64(0) << "0"
                                    << "0 octet";
        QTest::newRow("one byte") << qint64(1) << "1"
                                  << "1 octet";
        QTest::newRow("four digits, no grouping") << qint64(1536) << "1536"
                                                  << "1536 octets";
        QTest::newRow("beyond 32 bits") << qint64(5000000000) << "5000000000"
                                        << "5000000000 octets";
    }
    void details() {
        QFETCH(qint64, size);
        QFETCH(QString, sizeText);
        QFETCH(QString, told);
        const QString path = at("disque/travail/d.bin");
        const QDateTime modified(QDate(2024, 3, 9), QTime(7, 5, 4));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size)); // sparse: takes no room
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();
        static_cast<FileList*>(control("File1"))->Refresh();
        select(QStringLiteral("d.bin"));
        QCOMPARE(text("Text2"), QStringLiteral("09/03/2024 07:05:04"));
        QCOMPARE(text("Text3"), sizeText);
        QTRY_COMPARE(test::lastAnnouncement(m_window),
                     QStringLiteral("Créé le 09/03/2024 07:05:04, ") + told);
        QFile::remove(path);
    }

    void detailsOnEveryDrive() {
        set("Drive1", "Drive", at("cdrom"));
        select(QStringLiteral("lisezmoi.txt"));
        QCOMPARE(text("Text3"), QStringLiteral("0"));
        QVERIFY(!text("Text2").isEmpty());
    }

    void detailsCleared_data() {
        QTest::addColumn<int>("reason"); // why the list loses the focus; -1 it keeps it
        QTest::addColumn<bool>("cleared");
        QTest::newRow("mouse on a button") << int(Qt::MouseFocusReason) << true;
        QTest::newRow("tab to the drive list") << int(Qt::TabFocusReason) << true;
        QTest::newRow("another window comes forward") << int(Qt::ActiveWindowFocusReason) << false;
        // Enter in the list presses "OK", whose filter lists the files anew with none selected.
        QTest::newRow("Enter in the list with a filter typed") << -1 << true;
    }
    void detailsCleared() {
        QFETCH(int, reason);
        QFETCH(bool, cleared);
        select(QStringLiteral("a.txt"));
        QCOMPARE(text("Text3"), QStringLiteral("5"));
        if (reason < 0) {
            set("Text1", "Text", QStringLiteral("txt"));
            QTest::keyClick(control("File1"), Qt::Key_Return);
            QCOMPARE(get("File1", "Pattern").toString(), QStringLiteral("*txt"));
            QCOMPARE(get("File1", "FileName").toString(), QString());
        } else {
            QFocusEvent event(QEvent::FocusOut, Qt::FocusReason(reason));
            QCoreApplication::sendEvent(control("File1"), &event);
        }
        QCOMPARE(text("Text2").isEmpty(), cleared);
        QCOMPARE(text("Text3").isEmpty(), cleared);
    }

    void pressingAButtonClearsTheDetailsFirst() {
        test::ScriptedDialogs dialogs;
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        auto* files = control<QListView>("File1");
        files->setFocus(Qt::TabFocusReason);
        select(QStringLiteral("a.txt"));
        QVERIFY(!text("Text3").isEmpty());
        // While the confirmation is open, the details are already gone.
        QString duringBox = QStringLiteral("not asked");
        dialogs.setWhileOpen([&](const DialogCall&) { duringBox = text("Text2") + text("Text3"); });
        dialogs.queueAnswer(2);
        QTest::mouseClick(control("Command3"), Qt::LeftButton);
        QCOMPARE(boxesShown(dialogs), QStringList{"M2"});
        QCOMPARE(duringBox, QString());
    }

    void detailsOfAVanishedFile() {
        test::ScriptedDialogs dialogs;
        select(QStringLiteral("b.doc"));
        QVERIFY(QFile::remove(at("disque/travail/a.txt")));
        select(QStringLiteral("a.txt")); // still listed: the disk has not been told of yet
        QCOMPARE(boxesShown(dialogs), QStringList{"E53"});
        // The lists show the disk again before the box returns: the file and its details are
        // gone.
        QCOMPARE(text("Text2"), QString());
        QCOMPARE(get("File1", "List").toStringList(), (QStringList{"b.doc", "c.TXT"}));
        QCOMPARE(test::onDisk(at("disque/travail")),
                 (QStringList{"b.doc", "c.TXT", "cache", "parent", "pleine", "sous", "vide"}));
    }

    // --- Kill ----------------------------------------------------------------------------

    void kill_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no file selected") << "disque/travail"
                                          << "" << QList<int>{} << QStringList{"M1"} << false;
        QTest::newRow("cancelled") << "disque/travail"
                                   << "a.txt" << QList<int>{2} << QStringList{"M2"} << false;
        QTest::newRow("confirmed") << "disque/travail"
                                   << "a.txt" << QList<int>{1} << QStringList{"M2"} << true;
        QTest::newRow("confirmed on a read-only volume")
            << "cdrom"
            << "lisezmoi.txt" << QList<int>{1} << QStringList{"M2", "M3"} << false;
        QTest::newRow("cancelled on a read-only volume")
            << "cdrom"
            << "lisezmoi.txt" << QList<int>{2} << QStringList{"M2"} << false;
    }
    void kill() {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, deleted);
        open(folder);
        if (!file.isEmpty())
            select(file);
        const QStringList before = test::onDisk(at(folder));
        test::ScriptedDialogs dialogs;
        for (int answer : answers)
            dialogs.queueAnswer(answer);
        press("Command3");
        QCOMPARE(boxesShown(dialogs), boxes);
        QStringList expected = before;
        if (deleted)
            expected.removeOne(file);
        QCOMPARE(test::onDisk(at(folder)), expected);
        QCOMPARE(get("File1", "List").toStringList().contains(file), !file.isEmpty() && !deleted);
        if (boxes.contains("M3"))
            QCOMPARE(m_readOnlyAsked, QStringList{at(folder)});
        if (!answers.isEmpty())
            QCOMPARE(m_window->Confirm, QVariant(answers.first()));
    }

    void killFailures_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("the file vanished") << "vanished" << QStringList{"M2", "E53"};
        QTest::newRow("a link goes, not its file") << "link" << QStringList{"M2"};
        QTest::newRow("the folder is write-protected") << "protected" << QStringList{"M2", "E70"};
        // A volume whose FUSE program writes nothing (an ISO image) is mounted read-write.
        QTest::newRow("the volume cannot delete") << "unsupported" << QStringList{"M2", "M3"};
    }
    void killFailures() {
        QFETCH(QString, failure);
        QFETCH(QStringList, boxes);
        const QString folder = at("disque/travail");
        if (failure == "link")
            QVERIFY(QFile::link(folder + "/a.txt", folder + "/lien.txt"));
        if (failure == "protected" && !test::permissionsApply())
            QSKIP("the super-user writes in every folder");
        static_cast<FileList*>(control("File1"))->Refresh();
        select(failure == "link" ? QStringLiteral("lien.txt") : QStringLiteral("a.txt"));
        if (failure == "vanished")
            QVERIFY(QFile::remove(folder + "/a.txt"));
        if (failure == "protected")
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QStringList expected = test::onDisk(folder);
        if (failure == "link")
            expected.removeOne("lien.txt");
        test::ScriptedDialogs dialogs;
        dialogs.queueAnswer(1);
        if (failure == "unsupported")
            sys::setFailure(
                [](sys::Call call, const char*) { return call == sys::Call::Unlink ? ENOSYS : 0; });
        press("Command3");
        sys::setFailure({});
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QCOMPARE(boxesShown(dialogs), boxes);
        QCOMPARE(test::onDisk(folder), expected);
        QCOMPARE(QFileInfo(folder + "/a.txt").size(), failure == "vanished" ? 0 : 5);
    }

    // --- Créer dossier -------------------------------------------------------------------

    void makeFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("created");
        const QString w = QStringLiteral("disque/travail");
        QTest::newRow("a name") << w << QStringList{"Essai"} << QList<int>{} << QStringList{"I1"}
                                << "Essai";
        QTest::newRow("nothing typed, cancelled")
            << w << QStringList{""} << QList<int>{2} << QStringList{"I1", "M4"} << "";
        QTest::newRow("nothing typed, retried") << w << QStringList{"", "Essai"} << QList<int>{4}
                                                << QStringList{"I1", "M4", "I1"} << "Essai";
        QTest::newRow("retried twice, then cancelled")
            << w << QStringList{"", "", ""} << QList<int>{4, 4, 2}
            << QStringList{"I1", "M4", "I1", "M4", "I1", "M4"} << "";
        QTest::newRow("spaces kept as typed")
            << w << QStringList{" Essai 2 "} << QList<int>{} << QStringList{"I1"} << " Essai 2 ";
        QTest::newRow("accents and quotes") << w << QStringList{"Été \"2024\" l'an"} << QList<int>{}
                                            << QStringList{"I1"} << "Été \"2024\" l'an";
        QTest::newRow("a separator")
            << w << QStringList{"a/b"} << QList<int>{} << QStringList{"I1", "bad name"} << "";
        QTest::newRow("a path up") << w << QStringList{"../evasion"} << QList<int>{}
                                   << QStringList{"I1", "bad name"} << "";
        QTest::newRow("a backslash")
            << w << QStringList{"a\\b"} << QList<int>{} << QStringList{"I1", "bad name"} << "";
        QTest::newRow("the folder itself")
            << w << QStringList{"."} << QList<int>{} << QStringList{"I1", "bad name"} << "";
        QTest::newRow("its parent")
            << w << QStringList{".."} << QList<int>{} << QStringList{"I1", "bad name"} << "";
        QTest::newRow("a line break")
            << w << QStringList{"a\nb"} << QList<int>{} << QStringList{"I1", "bad name"} << "";
        QTest::newRow("a hidden name, which the lists would not show")
            << w << QStringList{".cache-neuve"} << QList<int>{} << QStringList{"I1", "bad name"}
            << "";
        QTest::newRow("too long") << w << QStringList{QString(256, 'x')} << QList<int>{}
                                  << QStringList{"I1", "bad name"} << "";
        QTest::newRow("longest allowed") << w << QStringList{QString(255, 'x')} << QList<int>{}
                                         << QStringList{"I1"} << QString(255, 'x');
        QTest::newRow("a name in use")
            << w << QStringList{"sous"} << QList<int>{} << QStringList{"I1", "E58"} << "";
        QTest::newRow("a file's name")
            << w << QStringList{"a.txt"} << QList<int>{} << QStringList{"I1", "E58"} << "";
        QTest::newRow("on a read-only volume")
            << "cdrom" << QStringList{"Essai"} << QList<int>{} << QStringList{"I1", "M3"} << "";
    }
    void makeFolder() {
        QFETCH(QString, folder);
        QFETCH(QStringList, typed);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, boxes);
        QFETCH(QString, created);
        open(folder);
        const QStringList before = test::onDisk(at(folder));
        const QStringList aboveBefore = test::onDisk(at("disque"));
        test::ScriptedDialogs dialogs;
        for (const QString& name : typed)
            dialogs.queueInput(name);
        for (int answer : answers)
            dialogs.queueAnswer(answer);
        press("Command4");
        QCOMPARE(boxesShown(dialogs), boxes);
        QStringList expected = before;
        if (!created.isEmpty()) {
            expected.append(created);
            expected.sort();
        }
        QCOMPARE(test::onDisk(at(folder)), expected);
        QCOMPARE(test::onDisk(at("disque")), aboveBefore);
        if (!created.isEmpty()) {
            QVERIFY(QFileInfo(at(folder + '/' + created)).isDir());
            QVERIFY(get("Dir1", "List").toStringList().contains(at(folder + '/' + created)));
        }
        QCOMPARE(m_window->Confirm, QVariant(typed.last()));
    }

    // --- RmDir ---------------------------------------------------------------------------

    void removeFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QString>("linkTo"); // what the folder is a link to, if it is one
        QTest::newRow("an empty folder") << "disque/travail/vide"
                                         << "" << QList<int>{1} << QStringList{"M5"} << true << "";
        QTest::newRow("cancelled") << "disque/travail/vide"
                                   << "" << QList<int>{2} << QStringList{"M5"} << false << "";
        QTest::newRow("files listed")
            << "disque/travail/pleine"
            << "" << QList<int>{1} << QStringList{"M5", "M6"} << false << "";
        QTest::newRow("files listed, cancelled")
            << "disque/travail/pleine"
            << "" << QList<int>{2} << QStringList{"M5"} << false << "";
        QTest::newRow("files hidden by the filter")
            << "disque/travail/pleine"
            << "zzz" << QList<int>{1} << QStringList{"M5", "E75"} << false << "";
        QTest::newRow("only a hidden file")
            << "disque/travail/cache"
            << "" << QList<int>{1} << QStringList{"M5", "E75"} << false << "";
        QTest::newRow("only a sub-folder")
            << "disque/travail/parent"
            << "" << QList<int>{1} << QStringList{"M5", "E75"} << false << "";
        QTest::newRow("on a read-only volume")
            << "cdrom/vide"
            << "" << QList<int>{1} << QStringList{"M5", "M3"} << false << "";
        QTest::newRow("an empty folder opened through a link")
            << "disque/travail/lien"
            << "" << QList<int>{1} << QStringList{"M5", "E75"} << false << "disque/travail/vide";
    }
    void removeFolder() {
        QFETCH(QString, folder);
        QFETCH(QString, filter);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, removed);
        QFETCH(QString, linkTo);
        if (!linkTo.isEmpty())
            QVERIFY(QFile::link(at(linkTo), at(folder)));
        open(folder);
        if (!filter.isEmpty()) {
            control<QLineEdit>("Text1")->setText(filter);
            press("Command2");
        }
        const QString parent = QFileInfo(at(folder)).path();
        const QStringList inside = test::onDisk(at(folder));
        const QStringList beside = test::onDisk(parent);
        test::ScriptedDialogs dialogs;
        for (int answer : answers)
            dialogs.queueAnswer(answer);
        press("Command6");
        QCOMPARE(boxesShown(dialogs), boxes);
        QCOMPARE(QFileInfo(at(folder)).isDir(), !removed);
        QStringList expected = beside;
        if (removed) {
            expected.removeOne(QFileInfo(at(folder)).fileName());
            QCOMPARE(get("Dir1", "Path").toString(), parent);
            QCOMPARE(get("File1", "Path").toString(), parent);
            QVERIFY(!get("Dir1", "List").toStringList().contains(at(folder)));
        } else {
            QCOMPARE(test::onDisk(at(folder)), inside);
            QCOMPARE(get("Dir1", "Path").toString(), at(folder));
        }
        QCOMPARE(test::onDisk(parent), expected);
    }

    // The disk changes while the first question is open: the operation acts on the folder and
    // the entry the user saw, or on nothing, and the lists then show what is there.
    void actsOnWhatTheUserSaw_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("folder"); // the folder shown
        QTest::addColumn<QString>("change"); // what happens to the disk during the question
        QTest::addColumn<QString>("target"); // what it happens to
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("kept");   // entries still on the disk afterwards
        QTest::addColumn<QStringList>("absent"); // entries not on the disk afterwards
        QTest::addColumn<QString>("shown");      // the folder the lists show afterwards
        const QString w = QStringLiteral("disque/travail");
        QTest::newRow("Kill: the folder becomes a link to another")
            << "Command3" << w << "link" << w << QStringList{"M2", "file changed"}
            << QStringList{"disque/travail-vu/a.txt", "disque/ailleurs/a.txt"} << QStringList{}
            << w;
        QTest::newRow("Kill: the file is renamed and another takes its name")
            << "Command3" << w << "replace" << w + "/a.txt" << QStringList{"M2", "file changed"}
            << QStringList{"disque/travail/a.txt", "disque/travail/a.txt-vu"} << QStringList{} << w;
        QTest::newRow("Kill: the folder is removed")
            << "Command3" << w << "remove" << w << QStringList{"M2", "file changed"}
            << QStringList{"disque/ailleurs/a.txt"} << QStringList{w} << "disque";
        QTest::newRow("Créer dossier: the folder becomes a link to another")
            << "Command4" << w << "link" << w << QStringList{"I1", "folder changed"}
            << QStringList{"disque/travail-vu/a.txt"}
            << QStringList{"disque/travail-vu/Essai", "disque/ailleurs/Essai"} << w;
        QTest::newRow("Créer dossier: the folder is removed")
            << "Command4" << w + "/sous"
            << "remove" << w + "/sous" << QStringList{"I1", "folder changed"} << QStringList{w}
            << QStringList{w + "/sous"} << w;
        QTest::newRow("RmDir: another folder takes its name")
            << "Command6" << w + "/vide"
            << "replace" << w + "/vide" << QStringList{"M5", "removal changed"}
            << QStringList{"disque/travail/vide", "disque/travail/vide-vu"} << QStringList{}
            << w + "/vide";
        QTest::newRow("RmDir: the folder above becomes a link to another")
            << "Command6" << w + "/vide"
            << "link" << w << QStringList{"M5", "removal changed"}
            << QStringList{"disque/travail-vu/vide", "disque/ailleurs/vide"} << QStringList{}
            << w + "/vide";
    }
    void actsOnWhatTheUserSaw() {
        QFETCH(QString, button);
        QFETCH(QString, folder);
        QFETCH(QString, change);
        QFETCH(QString, target);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, absent);
        QFETCH(QString, shown);
        QVERIFY(test::makeTree(m_root, {"disque/ailleurs/a.txt", "disque/ailleurs/vide/"}));
        open(folder);
        if (button == "Command3")
            select(QStringLiteral("a.txt"));
        test::ScriptedDialogs dialogs;
        dialogs.queueInput(QStringLiteral("Essai"));
        bool changed = false;
        dialogs.setWhileOpen([&](const DialogCall&) {
            if (std::exchange(changed, true))
                return;
            const QString path = at(target);
            const QString aside = path + QStringLiteral("-vu"); // where the original goes
            if (change == "remove") {
                QVERIFY(QDir(path).removeRecursively());
            } else {
                QVERIFY(QFile::rename(path, aside));
                const bool made = change == "link" ? QFile::link(at("disque/ailleurs"), path)
                                  : QFileInfo(aside).isDir() ? QDir().mkdir(path)
                                                             : test::makeFile(path);
                QVERIFY(made);
            }
        });
        press(button.toLatin1().constData());
        QCOMPARE(boxesShown(dialogs), boxes);
        for (const QString& entry : kept)
            QVERIFY2(QFileInfo::exists(at(entry)), qPrintable(entry));
        for (const QString& entry : absent)
            QVERIFY2(!QFileInfo::exists(at(entry)), qPrintable(entry));
        QCOMPARE(get("Dir1", "Path").toString(), at(shown));
        QCOMPARE(get("File1", "Path").toString(), at(shown));
        QCOMPARE(get("File1", "List").toStringList(),
                 QDir(at(shown)).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
        QCOMPARE(get("Dir1", "List").toStringList().size(),
                 QDir(at(shown)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }

    // The window opened while the process's current folder is gone: the lists stand in its
    // nearest remaining ancestor, on its drive, and the window works there.
    void opensWhereTheCurrentFolderWas_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("removed");
        QTest::newRow("the current folder") << "disque/travail/parti"
                                            << "disque/travail/parti";
        QTest::newRow("the current folder and the one above") << "disque/travail/parti/loin"
                                                              << "disque/travail/parti";
    }
    void opensWhereTheCurrentFolderWas() {
        QFETCH(QString, current);
        QFETCH(QString, removed);
        Forms::instance().unload(m_window);
        QTRY_VERIFY(!Forms::instance().isLoaded<Recherche>());
        QVERIFY(QDir().mkpath(at(current)));
        QVERIFY(QDir::setCurrent(at(current)));
        QVERIFY(QDir(at(removed)).removeRecursively());
        m_window = Forms::instance().show<Recherche>();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        const QString ancestor = at("disque/travail");
        QCOMPARE(get("Dir1", "Path").toString(), ancestor);
        QCOMPARE(get("File1", "Path").toString(), ancestor);
        QCOMPARE(get("Drive1", "Drive").toString(), at("disque"));
        test::ScriptedDialogs dialogs;
        dialogs.queueInput(QStringLiteral("Essai"));
        press("Command4");
        QCOMPARE(boxesShown(dialogs), QStringList{"I1"});
        QVERIFY(QFileInfo(ancestor + "/Essai").isDir());
    }

    // The window closed while one of its boxes was open: the operation stops there.
    void closedWhileAsking_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::newRow("Kill") << "Command3"
                              << "disque/travail"
                              << "a.txt";
        QTest::newRow("Créer dossier") << "Command4"
                                       << "disque/travail"
                                       << "";
        QTest::newRow("RmDir") << "Command6"
                               << "disque/travail/vide"
                               << "";
    }
    void closedWhileAsking() {
        QFETCH(QString, button);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        open(folder);
        if (!file.isEmpty())
            select(file);
        const QStringList before = test::onDisk(at("disque/travail"));
        const QStringList inside = test::onDisk(at(folder));
        test::ScriptedDialogs dialogs;
        dialogs.queueInput(QStringLiteral("Essai"));
        QPointer<Recherche> window = m_window;
        dialogs.setWhileOpen([&](const DialogCall&) {
            if (window)
                Forms::instance().unload(window);
        });
        press(button.toLatin1().constData());
        QCOMPARE(boxesShown(dialogs).size(), 1);
        QCOMPARE(test::onDisk(at("disque/travail")), before);
        QCOMPARE(test::onDisk(at(folder)), inside);
        QTRY_VERIFY(!window);
        m_window = nullptr;
    }

    // The volume stopped answering while its folder is shown, or while the user is asked: what
    // the user does there tells error 71 at once, and neither touches the volume nor reads its
    // folder again, which would hold the window until the volume answers. The drive list leaves
    // the volume out, and lists it again by itself once it answers, still showing the same drive.
    void silentVolume_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("selected"); // the file selected before
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("answersAgain"); // the volume answers again afterwards
        QTest::addColumn<bool>("listOpen");     // while the drive list is open
        const QString w = QStringLiteral("disque/travail");
        const QStringList told{"E71"};
        QTest::newRow("a file clicked") << "File1" << w << "" << told << false << false;
        QTest::newRow("a file clicked, the volume answering again")
            << "File1" << w << "" << told << true << false;
        QTest::newRow("a file clicked, the volume answering again, the drive list open")
            << "File1" << w << "" << told << true << true;
        QTest::newRow("a file clicked after another")
            << "File1" << w << "b.doc" << told << false << false;
        QTest::newRow("OK") << "Command2" << w << "a.txt" << told << false << false;
        QTest::newRow("Kill") << "Command3" << w << "a.txt" << told << false << false;
        QTest::newRow("Créer dossier") << "Command4" << w << "a.txt" << told << false << false;
        QTest::newRow("Exécuter") << "Command5" << w << "a.txt" << told << false << false;
        QTest::newRow("RmDir") << "Command6" << w + "/vide"
                               << "" << told << false << false;
        QTest::newRow("Kill, silent while asked")
            << "Command3" << w << "a.txt" << QStringList{"M2", "E71"} << false << false;
        QTest::newRow("RmDir, silent while asked")
            << "Command6" << w + "/pleine"
            << "" << QStringList{"M5", "E71"} << false << false;
    }
    void silentVolume() {
        QFETCH(QString, action);
        QFETCH(QString, folder);
        QFETCH(QString, selected);
        QFETCH(QStringList, boxes);
        QFETCH(bool, answersAgain);
        QFETCH(bool, listOpen);
        open(folder);
        auto* files = control<QListView>("File1");
        if (!selected.isEmpty())
            select(selected);
        control<QLineEdit>("Text1")->setText(QStringLiteral("txt"));
        const QStringList before = test::onDisk(at("disque/travail"));
        const auto answering = [this](bool answers) {
            setVolumeSource([this, answers] {
                return QList<Volume>{{at("cdrom"), "iso9660", true, true},
                                     {at("disque"), "fuse.sshfs", false, answers}};
            });
        };
        const auto silence = [&] { answering(false); };
        test::ScriptedDialogs dialogs;
        const bool whileAsked = boxes.size() > 1;
        if (whileAsked)
            dialogs.setWhileOpen([&](const DialogCall&) { silence(); });
        else
            silence();
        QSignalSpy foldersRead(control<QListView>("Dir1")->model(),
                               &QAbstractItemModel::modelReset);
        QSignalSpy filesRead(files->model(), &QAbstractItemModel::modelReset);
        dialogs.queueAnswer(1);
        dialogs.queueInput(QStringLiteral("Essai"));
        if (action == "File1") {
            const QRect row = files->visualRect(files->model()->index(0, 0));
            QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                              files->viewport()->mapTo(m_window, row.center()));
        } else {
            press(action.toLatin1().constData());
        }
        QCOMPARE(boxesShown(dialogs), boxes);
        if (action == "File1")
            QCOMPARE(text("Text3"), QString()); // no file's details are shown
        QCOMPARE(foldersRead.count(), 0);
        QCOMPARE(filesRead.count(), 0);
        QCOMPARE(test::onDisk(at("disque/travail")), before);
        // The drive list stays on the volume the other lists are in, and another drive chosen
        // by the keys takes them away from it.
        QCOMPARE(get("Drive1", "Drive").toString(), at("disque"));
        auto* drives = control<QComboBox>("Drive1");
        drives->setFocus();
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Up);
        QCOMPARE(get("Dir1", "Path").toString(), at("cdrom"));
        QCOMPARE(get("File1", "Path").toString(), at("cdrom"));
        if (!answersAgain)
            return;
        const auto driveListed = [this] {
            return get("Drive1", "List").toStringList().contains(at("disque"));
        };
        drives->showPopup(); // the drives read again: the silent one is left out
        QVERIFY(!driveListed());
        if (!listOpen)
            drives->hidePopup();
        answering(true);
        if (listOpen) {
            // The entries do not change under the user's pointer, whether a look or the mount
            // table tells of the change; they do once the list closes.
            for (MountWatch* mounts : drives->findChildren<MountWatch*>())
                Q_EMIT mounts->changed();
            QTest::qWait(2 * FolderWatch::kLookMs);
            QVERIFY(!driveListed());
            drives->hidePopup();
        }
        QTRY_VERIFY(driveListed());
        QCOMPARE(get("Drive1", "Drive").toString(), at("cdrom"));
    }

    // --- Exécuter ------------------------------------------------------------------------

    void startNothingSelected() {
        test::ScriptedDialogs dialogs;
        press("Command5");
        QCOMPARE(boxesShown(dialogs), QStringList{"M1"});
        QCOMPARE(m_window->erreur, QVariant(1));
    }

    // A program whose name a shell would split into commands starts as itself, alone.
    void startAShellHostileName() {
        const QString folder = at("disque/travail");
        const QString hostile = QStringLiteral("-n ; touch PIRATE ; 'x' \"y\" $(id) lancé.sh");
        const QString marker = at("disque/lance.txt");
        auto writeScript = [](const QString& path, const QString& body) {
            QFile script(path);
            if (!script.open(QIODevice::WriteOnly))
                return false;
            script.write("#!/bin/sh\n" + body.toUtf8() + "\n");
            script.close();
            return script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        };
        QVERIFY(writeScript(
            folder + '/' + hostile,
            QStringLiteral("printf '%s|%s' \"$0\" \"$#\" > %1").arg(test::shellWord(marker))));
        // What a shell would run instead, if it read the name.
        QVERIFY(writeScript(folder + "/-n",
                            QStringLiteral("touch %1").arg(test::shellWord(at("disque/leurre")))));
        static_cast<FileList*>(control("File1"))->Refresh();
        select(hostile);
        test::ScriptedDialogs dialogs;
        press("Command5");
        QCOMPARE(boxesShown(dialogs), QStringList{});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(marker).size() > 0, 20000);
        QFile result(marker);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(result.readAll()), folder + '/' + hostile + "|0");
        QVERIFY(!QFile::exists(at("disque/leurre")));
        QVERIFY(!QFile::exists(folder + "/PIRATE"));
        QVERIFY(!QFile::exists(at("disque/PIRATE")));
    }

    void startFailures_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("content"); // of a file marked as a program
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("not marked as a program") << "plain" << QByteArray() << QStringList{"E70"};
        QTest::newRow("vanished") << "vanished" << QByteArray() << QStringList{"E53"};
        QTest::newRow("marked, but text")
            << "marked" << QByteArray("echo oui\n") << QStringList{"not a program"};
        QTest::newRow("marked, but empty")
            << "marked" << QByteArray() << QStringList{"not a program"};
        QTest::newRow("a script whose interpreter is missing")
            << "marked" << QByteArray("#!/nulle/part/sh\n") << QStringList{"part missing"};
    }
    void startFailures() {
        QFETCH(QString, failure);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, boxes);
        const QString file = at("disque/travail/a.txt");
        if (failure == "marked") {
            QFile program(file);
            QVERIFY(program.open(QIODevice::WriteOnly | QIODevice::Truncate));
            program.write(content);
            program.close();
            QVERIFY(program.setPermissions(program.permissions() | QFileDevice::ExeOwner));
        }
        select(QStringLiteral("a.txt"));
        if (failure == "vanished")
            QVERIFY(QFile::remove(file));
        const QStringList before = test::onDisk(at("disque/travail"));
        test::ScriptedDialogs dialogs;
        press("Command5");
        QCOMPARE(boxesShown(dialogs), boxes);
        QCOMPARE(test::onDisk(at("disque/travail")), before);
        QVERIFY(m_window->isVisible());
    }

    // --- Fermer --------------------------------------------------------------------------

    void closeAndReopenFresh() {
        control<QLineEdit>("Text1")->setText(QStringLiteral("doc"));
        press("Command2");
        set("Dir1", "Path", at("disque/travail/sous"));
        press("Command1");
        QTRY_VERIFY(!Forms::instance().isLoaded<Recherche>());
        m_window = Forms::instance().show<Recherche>();
        QCOMPARE(text("Text1"), QString());
        QCOMPARE(get("File1", "Pattern").toString(), QStringLiteral("*"));
        QCOMPARE(get("Dir1", "Path").toString(), at("disque/travail"));
    }
};

QTEST_MAIN(TestRecherche)
#include "tst_recherche.moc"
