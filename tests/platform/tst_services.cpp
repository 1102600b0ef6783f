#include "files/heldfolder.h"
#include "files/listing.h"
#include "platform/runtime.h"
#include "platform/runtimeerror.h"
#include "platform/services.h"
#include "platform/startenvironment.h"
#include "platform/systemcalls.h"
#include "platform/windowsystem.h"

#include "support/testsupport.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QtTest>

#include <array>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <langinfo.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vorn;

class TestServices : public QObject {
    Q_OBJECT

    // What a shell script started by startProgram() writes with `command` once it has run;
    // empty when it could not be started or wrote nothing within the usual wait.
    static QByteArray startedScriptWrites(const QString& command) {
        QTemporaryDir dir;
        const QString seen = dir.filePath(QStringLiteral("seen"));
        const QString script = dir.filePath(QStringLiteral("started.sh"));
        QFile f(script);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(QStringLiteral("#!/bin/sh\n%1 > %2\nmv %2 %3\n")
                    .arg(command, test::shellWord(seen + QStringLiteral(".part")),
                         test::shellWord(seen))
                    .toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (test::errorOf([&] { startProgram(script); }) != 0 ||
            !QTest::qWaitFor([&] { return QFile::exists(seen); }))
            return {};
        QFile result(seen);
        return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
    }

    // Sets the variable `name` to `value`, or unsets it for a null value, until the returned
    // guard goes, which puts back what the user left.
    static auto environmentWhile(const char* name, const QByteArray& value) {
        const bool wasSet = qEnvironmentVariableIsSet(name);
        const QByteArray before = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
        return qScopeGuard([=] {
            if (wasSet)
                qputenv(name, before);
            else
                qunsetenv(name);
        });
    }

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
#ifdef Q_OS_WIN
        const QString fixedWhereTried = QStringLiteral("c:\\windows\\Command.com");
#else
        const QString fixedWhereTried = QStringLiteral("/bin/xterm");
#endif
        QTest::newRow("fixed path, tried on Windows only")
            << prompt << QStringList{"xterm"} << "c:\\windows\\Command.com" << fixedWhereTried
            << QStringList{};
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

    // Neither the current folder nor a relative PATH entry ever supplies a host program, even
    // one named as the fixed Windows path.
    void hostProgramsIgnoreTheCurrentFolder_data() {
        QTest::addColumn<QString>("path"); // PATH; "@" is the folder of the real programs
        QTest::addColumn<QString>("found");
        QTest::newRow("the fixed path's name in the current folder") << "@"
                                                                     << "@/xterm";
        QTest::newRow("the current folder first on PATH") << ".:@"
                                                          << "@/xterm";
        QTest::newRow("only the current folder on PATH") << "."
                                                         << "";
        QTest::newRow("only empty entries on PATH") << "::"
                                                    << "";
        QTest::newRow("a relative folder on PATH") << "bin"
                                                   << "";
    }
    void hostProgramsIgnoreTheCurrentFolder() {
        QFETCH(QString, path);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QString here = dir.filePath(QStringLiteral("ici"));
        const QString programs = dir.filePath(QStringLiteral("programmes"));
        auto program = [](const QString& file) {
            QFile f(file);
            return QDir().mkpath(QFileInfo(file).path()) && f.open(QIODevice::WriteOnly) &&
                   f.write("#!/bin/sh\n") > 0 &&
                   f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        for (const QString& decoy :
             {QStringLiteral("c:\\windows\\Command.com"), QStringLiteral("x-terminal-emulator"),
              QStringLiteral("bin/x-terminal-emulator")})
            QVERIFY(program(here + '/' + decoy));
        QVERIFY(program(programs + QStringLiteral("/xterm")));
        const QString startFolder = QDir::currentPath();
        const QByteArray startPath = qgetenv("PATH");
        QVERIFY(QDir::setCurrent(here));
        qputenv("PATH", QString(path).replace('@', programs).toLocal8Bit());
        Command command;
        const int error =
            test::errorOf([&] { command = resolveHostProgram(HostProgram::CommandPrompt); });
        qputenv("PATH", startPath);
        QDir::setCurrent(startFolder);
        QCOMPARE(command.program, QString(found).replace('@', programs));
        QCOMPARE(error, found.isEmpty() ? 53 : 0);
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
        const auto removeFile = [&](const QString& folder, const QString& name) {
            return test::errorOf([&] { QVERIFY(HeldFolder(folder, name).removeFile()); });
        };
        const auto removeFolder = [&](const QString& name) {
            return test::errorOf([&] { QVERIFY(HeldFolder(dir.path(), name).removeFolder()); });
        };
        const auto makeFolder = [&](const QString& folder, const QString& name) {
            return test::errorOf([&] { QVERIFY(HeldFolder(folder).makeFolder(name)); });
        };
        QCOMPARE(removeFile(dir.path(), QStringLiteral("none")), 53);

        const QString name = QStringLiteral("sous");
        const QString sub = dir.filePath(name);
        QCOMPARE(makeFolder(dir.path(), name), 0);
        QCOMPARE(makeFolder(dir.path(), name), 58);
        // A folder that is not there is no folder the user saw: nothing is made, nothing said.
        QVERIFY(!HeldFolder(dir.filePath(QStringLiteral("x/y"))).makeFolder(QStringLiteral("z")));
        QVERIFY(!QDir(dir.filePath(QStringLiteral("x"))).exists());
        QCOMPARE(removeFile(dir.path(), name), 53); // a folder is not a file: kept
        QVERIFY(QDir(sub).exists());
        QFile inner(sub + QStringLiteral("/b"));
        QVERIFY(inner.open(QIODevice::WriteOnly));
        inner.close();
        QCOMPARE(removeFolder(name), 75); // not empty: kept
        QVERIFY(QFile::exists(sub + QStringLiteral("/b")));
        QCOMPARE(removeFile(sub, QStringLiteral("b")), 0);
        QCOMPARE(removeFolder(name), 0);
        QCOMPARE(removeFolder(name), 76);
        QCOMPARE(removeFile(dir.path(), QStringLiteral("a.txt")), 0);
        QVERIFY(!QFile::exists(file));
    }

    // Every file operation, the file's details included, reports what the system refused
    // through the one table. The failures a super-user never meets are made by the seam.
    void failuresFromTheSystem_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("call"); // the call made to fail, -1 for none
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("error");
        const int stat = int(sys::Call::Stat);
        const int makeDir = int(sys::Call::MakeDir);
        const int unlink = int(sys::Call::Unlink);
        QTest::newRow("size, permission refused") << "size" << stat << EACCES << 70;
        QTest::newRow("date, permission refused") << "date" << stat << EACCES << 70;
        QTest::newRow("size, name too long") << "size of a long name" << -1 << 0 << 75;
        QTest::newRow("program, permission refused") << "start" << stat << EACCES << 70;
        QTest::newRow("folder, disk full") << "make held folder" << makeDir << ENOSPC << 61;
        QTest::newRow("held folder, quota reached")
            << "make held folder" << makeDir << EDQUOT << 61;
        QTest::newRow("held file, read-only volume") << "delete held file" << unlink << EROFS << 70;
        QTest::newRow("file, not permitted") << "delete held file" << unlink << EPERM << 70;
        QTest::newRow("held file, gone from a network volume's server")
            << "delete held file" << unlink << ESTALE << 53;
        QTest::newRow("held folder, a network volume's server gone")
            << "make held folder" << makeDir << ENOTCONN << 68;
        // A FAT volume through FUSE refuses a name, a folder when it is full, and the removal
        // of a folder holding something, all with EPERM in a folder that may be written.
        QTest::newRow("held folder, a name FAT refuses")
            << "make held folder a?b" << makeDir << EPERM << 75;
        QTest::newRow("held folder, a name exFAT refuses")
            << "make held folder a?b" << makeDir << ENOENT << 75;
        QTest::newRow("held folder, a plain name refused")
            << "make held folder" << makeDir << EPERM << 70;
        QTest::newRow("held folder holding a folder, removal refused")
            << "remove held folder" << unlink << EPERM << 75;
        QTest::newRow("held empty folder, removal refused")
            << "remove held empty folder" << unlink << EPERM << 70;
        QTest::newRow("held folder holding a folder in a sticky folder, removal refused")
            << "remove held folder from a sticky folder" << unlink << EPERM << 70;
        QTest::newRow("size, no disk in the drive") << "size" << stat << ENOMEDIUM << 71;
        QTest::newRow("program, an empty file marked as one") << "start" << -1 << 0 << 75;
    }
    void failuresFromTheSystem() {
        QFETCH(QString, operation);
        QFETCH(int, call);
        QFETCH(int, code);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.txt"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("plein/sous")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("vide")));
        const QHash<QString, std::function<void()>> operations{
            {"size", [&] { fileLen(file); }},
            {"date", [&] { fileDateTime(file); }},
            {"size of a long name", [&] { fileLen(dir.filePath(QString(300, 'x'))); }},
            {"start", [&] { startProgram(file); }},
            {"make held folder",
             [&] { QVERIFY(HeldFolder(dir.path()).makeFolder(QStringLiteral("neuf"))); }},
            {"make held folder a?b",
             [&] { QVERIFY(HeldFolder(dir.path()).makeFolder(QStringLiteral("a?b"))); }},
            {"delete held file",
             [&] { QVERIFY(HeldFolder(dir.path(), QStringLiteral("a.txt")).removeFile()); }},
            {"remove held folder",
             [&] { QVERIFY(HeldFolder(dir.path(), QStringLiteral("plein")).removeFolder()); }},
            {"remove held empty folder",
             [&] { QVERIFY(HeldFolder(dir.path(), QStringLiteral("vide")).removeFolder()); }},
            {"remove held folder from a sticky folder",
             [&] {
                 QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 01700), 0);
                 QVERIFY(HeldFolder(dir.path(), QStringLiteral("plein")).removeFolder());
             }},
        };
        sys::setFailure([&](sys::Call made, const char*) { return int(made) == call ? code : 0; });
        const int raised = test::errorOf(operations.value(operation));
        sys::setFailure({});
        QCOMPARE(raised, error);
        QVERIFY(QFile::exists(file));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("plein/sous"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("vide"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("neuf"))));
        QCOMPARE(RuntimeError::describe(ErrorNumber(raised)).isEmpty(), false);
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

    // The window system asked of Qt, by the session the program starts in, and whether Qt will
    // find one at all: without, the program says so itself rather than let Qt end it by a crash.
    void platformBySession_data() {
        QTest::addColumn<QByteArray>("requested");
        QTest::addColumn<QByteArray>("sessionType");
        QTest::addColumn<QByteArray>("desktops");
        QTest::addColumn<bool>("xServer");
        QTest::addColumn<bool>("waylandPlugin");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("GNOME") << QByteArray() << QByteArray("wayland") << QByteArray("GNOME")
                               << true << true << QByteArray("xcb") << true;
        QTest::newRow("GNOME by another name")
            << QByteArray() << QByteArray("wayland") << QByteArray("ubuntu:GNOME") << true << true
            << QByteArray("xcb") << true;
        QTest::newRow("GNOME, the user's choice")
            << QByteArray("wayland") << QByteArray("wayland") << QByteArray("GNOME") << true << true
            << QByteArray() << true;
        QTest::newRow("GNOME, no X server")
            << QByteArray() << QByteArray("wayland") << QByteArray("GNOME") << false << true
            << QByteArray() << true;
        QTest::newRow("Plasma") << QByteArray() << QByteArray("wayland") << QByteArray("KDE")
                                << true << true << QByteArray() << true;
        QTest::newRow("Plasma, no Wayland plugin")
            << QByteArray() << QByteArray("wayland") << QByteArray("KDE") << true << false
            << QByteArray("xcb") << true;
        QTest::newRow("X11") << QByteArray() << QByteArray("x11") << QByteArray("GNOME") << true
                             << true << QByteArray() << true;
        QTest::newRow("X11, its server gone")
            << QByteArray() << QByteArray("x11") << QByteArray("GNOME") << false << true
            << QByteArray() << false;
        QTest::newRow("a text console") << QByteArray() << QByteArray("tty") << QByteArray()
                                        << false << true << QByteArray() << false;
        QTest::newRow("no display, the user's choice")
            << QByteArray("offscreen") << QByteArray() << QByteArray() << false << true
            << QByteArray() << true;
    }
    void platformBySession() {
        QFETCH(QByteArray, requested);
        QFETCH(QByteArray, sessionType);
        QFETCH(QByteArray, desktops);
        QFETCH(bool, xServer);
        QFETCH(bool, waylandPlugin);
        QFETCH(QByteArray, platform);
        QFETCH(bool, reachable);
        Session session;
        session.requested = requested;
        session.sessionType = sessionType;
        session.desktops = desktops;
        session.xServer = xServer;
        session.waylandPlugin = waylandPlugin;
        QCOMPARE(platformFor(session), platform);
        QCOMPARE(displayReachable(session), reachable);
    }

    // The command line's choice of window system is the user's, as Qt takes it, and so is its
    // choice of X display (DISPLAY unset here, and an X server listening at ":4091").
    void platformArgumentIsTheUsersChoice_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("requested");
        QTest::addColumn<bool>("xServer");
        QTest::newRow("none") << QStringList{"vornutil"} << QByteArray() << false;
        QTest::newRow("one dash") << QStringList{"vornutil", "-platform", "offscreen"}
                                  << QByteArray("offscreen") << false;
        QTest::newRow("two dashes")
            << QStringList{"vornutil", "--platform", "xcb"} << QByteArray("xcb") << false;
        QTest::newRow("the option last, without its name")
            << QStringList{"vornutil", "-platform"} << QByteArray() << false;
        QTest::newRow("X display")
            << QStringList{"vornutil", "-display", ":4091"} << QByteArray() << true;
        QTest::newRow("X display, two dashes, a screen")
            << QStringList{"vornutil", "--display", ":4091.0"} << QByteArray() << true;
        QTest::newRow("X display written with a leading zero")
            << QStringList{"vornutil", "-display", ":04091"} << QByteArray() << true;
    }
    void platformArgumentIsTheUsersChoice() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, requested);
        QFETCH(bool, xServer);
        const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(server >= 0);
        const auto closeServer = qScopeGuard([&] { ::close(server); });
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name("/tmp/.X11-unix/X4091"); // in the abstract namespace
        std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
        QVERIFY(::bind(server, reinterpret_cast<const sockaddr*>(&address), length) == 0 ||
                errno == EADDRINUSE);
        ::listen(server, 1);
        const auto display = environmentWhile("DISPLAY", {});
        const auto platform = environmentWhile("QT_QPA_PLATFORM", {});
        QList<QByteArray> texts;
        for (const QString& argument : std::as_const(arguments))
            texts.append(argument.toUtf8());
        std::vector<const char*> argv;
        for (const QByteArray& text : std::as_const(texts))
            argv.push_back(text.constData());
        const Session session = currentSession(int(argv.size()), argv.data());
        QCOMPARE(session.requested, requested);
        QCOMPARE(session.xServer, xServer);
    }

    // The window system the suite asked Qt for and GTK's accessibility bridge it kept out are its
    // own: a program it starts afterwards finds the environment as the user left it.
    void startedProgramsChooseTheirOwnPlatform_data() {
        QTest::addColumn<QByteArray>("requested"); // what the user set, if anything
        QTest::addColumn<QByteArray>("bridge");    // the user's NO_AT_BRIDGE; null: unset
        QTest::newRow("chosen for the suite") << QByteArray() << QByteArray();
        QTest::newRow("the user's choice") << QByteArray("wayland") << QByteArray("0");
        QTest::newRow("bridge set empty") << QByteArray() << QByteArray("");
        QTest::newRow("bridge kept out by the user") << QByteArray() << QByteArray("1");
    }
    void startedProgramsChooseTheirOwnPlatform() {
        QFETCH(QByteArray, requested);
        QFETCH(QByteArray, bridge);
        const auto platform = environmentWhile("QT_QPA_PLATFORM", requested);
        const auto userBridge = environmentWhile("NO_AT_BRIDGE", bridge);
        Session gnomeOnWayland;
        gnomeOnWayland.requested = requested;
        gnomeOnWayland.sessionType = "wayland";
        gnomeOnWayland.desktops = "GNOME";
        gnomeOnWayland.xServer = true;
        choosePlatform(gnomeOnWayland);
        keepToolkitBridgeOut();
        // What GTK reads as it starts while the application object is made.
        QCOMPARE(qgetenv("NO_AT_BRIDGE"), QByteArray("1"));
        restoreStartEnvironment();

        const QByteArray written = startedScriptWrites(
            QStringLiteral("printf '%s|%s' \"$QT_QPA_PLATFORM\" \"${NO_AT_BRIDGE-unset}\""));
        QCOMPARE(written, requested + '|' + (bridge.isNull() ? QByteArray("unset") : bridge));
    }

    void programStartsWithoutShell() {
        QTemporaryDir dir;
        // A name a shell would split and run twice; started as a program it is one file.
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString script = dir.filePath(QStringLiteral("-x; touch pwned 'q'.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho ok > %1\n").arg(test::shellWord(marker)).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(test::errorOf([&] { startProgram(script); }), 0);
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("pwned"))));
        QCOMPARE(test::errorOf([&] { startProgram(dir.filePath(QStringLiteral("absent"))); }), 53);
    }

    // What the program starts finds every signal at its default, even one the program inherited
    // ignored (`vornutil &` in a script ignores interrupt and quit): Ctrl+C then still stops a
    // command in the terminal opened from the launcher.
    void startedProgramsGetSignalsBack_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("interrupt") << SIGINT;
        QTest::newRow("quit") << SIGQUIT;
        QTest::newRow("hang-up") << SIGHUP;
        QTest::newRow("broken pipe") << SIGPIPE;
    }
    void startedProgramsGetSignalsBack() {
        QFETCH(int, signal);
        struct sigaction ignore {};
        struct sigaction before {};
        ignore.sa_handler = SIG_IGN;
        QCOMPARE(::sigaction(signal, &ignore, &before), 0);
        const QByteArray written = startedScriptWrites(
            QStringLiteral("sed -n 's/^SigIgn:[[:space:]]*//p' /proc/$$/status"));
        ::sigaction(signal, &before, nullptr);
        bool read = false;
        const qulonglong ignored = written.trimmed().toULongLong(&read, 16);
        QVERIFY2(read, written.constData());
        QCOMPARE(ignored & (1ULL << (signal - 1)), 0ULL);
    }

    // The standard streams the program was started without are /dev/null once it runs, before
    // the X connection or any other file could take their numbers.
    void missingStandardStreamsBecomeNull_data() {
        QTest::addColumn<QList<int>>("closed");
        QTest::newRow("error output") << QList<int>{STDERR_FILENO};
        QTest::newRow("output and error output") << QList<int>{STDOUT_FILENO, STDERR_FILENO};
        QTest::newRow("all three") << QList<int>{STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO};
    }
    void missingStandardStreamsBecomeNull() {
        QFETCH(QList<int>, closed);
        struct stat null {};
        QCOMPARE(::stat("/dev/null", &null), 0);
        std::array<int, 3> kept{};
        for (int stream = 0; stream < 3; ++stream)
            kept[std::size_t(stream)] = ::fcntl(stream, F_DUPFD_CLOEXEC, 10);
        for (const int stream : closed)
            ::close(stream);
        openMissingStandardStreams();
        std::array<bool, 3> isNull{};
        for (int stream = 0; stream < 3; ++stream) {
            struct stat info {};
            isNull[std::size_t(stream)] = ::fstat(stream, &info) == 0 && S_ISCHR(info.st_mode) &&
                                          info.st_rdev == null.st_rdev;
        }
        for (int stream = 0; stream < 3; ++stream) {
            ::dup2(kept[std::size_t(stream)], stream);
            ::close(kept[std::size_t(stream)]);
        }
        for (const int stream : closed)
            QVERIFY2(isNull[std::size_t(stream)], qPrintable(QString::number(stream)));
    }

    // The UTF-8 counterpart of a locale of another character set, in which Xlib writes a
    // window's legacy title property right.
    void utf8Locales_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("French with the euro")
            << QByteArray("fr_FR@euro") << QByteArray("fr_FR.UTF-8");
        QTest::newRow("a character set")
            << QByteArray("fr_FR.ISO-8859-15") << QByteArray("fr_FR.UTF-8");
        QTest::newRow("a character set and a modifier")
            << QByteArray("de_DE.ISO-8859-15@euro") << QByteArray("de_DE.UTF-8");
        QTest::newRow("Latin-1 by default") << QByteArray("fr_BE") << QByteArray("fr_BE.UTF-8");
        QTest::newRow("C") << QByteArray("C") << QByteArray("C.UTF-8");
        QTest::newRow("POSIX") << QByteArray("POSIX") << QByteArray("C.UTF-8");
    }
    void utf8Locales() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, utf8);
        QCOMPARE(utf8LocaleFor(name), utf8);
    }

    void charactersBecomeUtf8() {
        const QByteArray before = std::setlocale(LC_CTYPE, nullptr);
        QVERIFY(std::setlocale(LC_CTYPE, "C"));
        useUtf8Characters();
        const QByteArray codeset = nl_langinfo(CODESET);
        std::setlocale(LC_CTYPE, before.constData());
        QCOMPARE(codeset, QByteArray("UTF-8"));
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
