#include "files/listing.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"

#include "support/testsupport.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QtTest>

using namespace vorn;

class TestServices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostPrograms_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QStringList>("installed"); // programs on PATH
        QTest::addColumn<QString>("fixed");         // fixed path that exists, if any
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const int prompt = int(HostProgram::CommandPrompt);
        const int panel = int(HostProgram::ControlPanel);
        const int manager = int(HostProgram::ProgramManager);
        const int tasks = int(HostProgram::TaskManager);
        QTest::newRow("fixed path wins")
            << prompt << QStringList{"xterm"} << "c:\\windows\\Command.com"
            << "c:\\windows\\Command.com" << QStringList{};
        QTest::newRow("first terminal found") << prompt << QStringList{"konsole", "xterm"} << ""
                                              << "/bin/konsole" << QStringList{};
        QTest::newRow("settings panel") << panel << QStringList{"systemsettings"} << ""
                                        << "/bin/systemsettings" << QStringList{};
        QTest::newRow("task manager") << tasks << QStringList{"xfce4-taskmanager"} << ""
                                      << "/bin/xfce4-taskmanager" << QStringList{};
        QTest::newRow("top in a terminal") << tasks << QStringList{"top", "xterm"} << ""
                                           << "/bin/xterm" << QStringList{"-e", "/bin/top"};
        QTest::newRow("program manager") << manager << QStringList{"xdg-open"} << ""
                                         << "/bin/xdg-open" << QStringList{"*"};
    }
    void hostPrograms() {
        QFETCH(int, which);
        QFETCH(QStringList, installed);
        QFETCH(QString, fixed);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const Command command = resolveHostProgram(
            HostProgram(which), [&](const QString& path) { return path == fixed; },
            [&](const QString& name) {
                return installed.contains(name) ? QStringLiteral("/bin/") + name : QString();
            });
        QCOMPARE(command.program, program);
        if (arguments == QStringList{QStringLiteral("*")})
            QCOMPARE(command.arguments.size(), 1); // the applications folder
        else
            QCOMPARE(command.arguments, arguments);
    }

    void noHostProgramIsError53() {
        const int error = test::errorOf([] {
            resolveHostProgram(
                HostProgram::ControlPanel, [](const QString&) { return false; },
                [](const QString&) { return QString(); });
        });
        QCOMPARE(error, 53);
    }

    void fileOperationsMapFailures() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.txt"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("12345");
        f.close();
        QCOMPARE(fileLen(file), 5);
        QVERIFY(fileDateTime(file).isValid());
        QCOMPARE(test::errorOf([&] { fileLen(dir.filePath(QStringLiteral("none"))); }), 53);
        QCOMPARE(test::errorOf([&] { killFile(dir.filePath(QStringLiteral("none"))); }), 53);

        const QString sub = dir.filePath(QStringLiteral("sous"));
        QCOMPARE(test::errorOf([&] { makeDir(sub); }), 0);
        QCOMPARE(test::errorOf([&] { makeDir(sub); }), 58);
        QCOMPARE(test::errorOf([&] { makeDir(dir.filePath(QStringLiteral("x/y/z"))); }), 76);
        QCOMPARE(test::errorOf([&] { killFile(sub); }), 53); // a folder is not a file: kept
        QVERIFY(QDir(sub).exists());
        QFile inner(sub + QStringLiteral("/b"));
        QVERIFY(inner.open(QIODevice::WriteOnly));
        inner.close();
        QCOMPARE(test::errorOf([&] { removeDir(sub); }), 75); // not empty: kept
        QVERIFY(QFile::exists(sub + QStringLiteral("/b")));
        QCOMPARE(test::errorOf([&] { killFile(sub + QStringLiteral("/b")); }), 0);
        QCOMPARE(test::errorOf([&] { removeDir(sub); }), 0);
        QCOMPARE(test::errorOf([&] { removeDir(sub); }), 76);
        QCOMPARE(test::errorOf([&] { killFile(file); }), 0);
        QVERIFY(!QFile::exists(file));
    }

    void joinPathUsesOneSeparator_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("joined");
        QTest::newRow("root") << "/"
                              << "/a";
        QTest::newRow("folder") << "/home/u"
                                << "/home/u/a";
        QTest::newRow("trailing") << "/home/u/"
                                  << "/home/u/a";
    }
    void joinPathUsesOneSeparator() {
        QFETCH(QString, folder);
        QFETCH(QString, joined);
        QCOMPARE(joinPath(folder, QStringLiteral("a")), joined);
    }

    void programStartsWithoutShell() {
        QTemporaryDir dir;
        // A name a shell would split and run twice; started as a program it is one file.
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString script = dir.filePath(QStringLiteral("-x; touch pwned 'q'.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho ok > '%1'\n").arg(marker).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(test::errorOf([&] { startProgram(script); }), 0);
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("pwned"))));
        QCOMPARE(test::errorOf([&] { startProgram(dir.filePath(QStringLiteral("absent"))); }), 53);
    }

    void timeSourceCanBePinned() {
        const QDateTime t(QDate(2000, 1, 1), QTime(12, 0, 1));
        setTimeSource([t] { return t; });
        QCOMPARE(now(), t);
        setTimeSource({});
        QVERIFY(now() != t);
    }
};

QTEST_GUILESS_MAIN(TestServices)
#include "tst_services.moc"
