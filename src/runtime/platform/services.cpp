#include "platform/services.h"

#include "files/names.h"
#include "platform/conversions.h"
#include "platform/runtimeerror.h"
#include "platform/systemcalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

std::function<QDateTime()>& timeSource() {
    static std::function<QDateTime()> source;
    return source;
}

// The bytes of `path` for a system call; an empty path, or one holding a null, is error 5.
QByteArray nativePath(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        raise(ErrorNumber::InvalidCall);
    return bytesFromName(path);
}

struct HostCandidates {
    HostProgram which;
    const char* fixedPath; // where Windows keeps it
    std::array<const char*, 5> programs;
};

constexpr std::array kHostCandidates{
    HostCandidates{HostProgram::CommandPrompt,
                   "c:\\windows\\Command.com",
                   {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal", "xterm"}},
    HostCandidates{
        HostProgram::ControlPanel,
        "c:\\windows\\Control.exe",
        {"gnome-control-center", "systemsettings", "xfce4-settings-manager", nullptr, nullptr}},
    HostCandidates{HostProgram::ProgramManager,
                   "c:\\windows\\Progman.exe",
                   {"xdg-open", nullptr, nullptr, nullptr, nullptr}},
    HostCandidates{
        HostProgram::TaskManager,
        "c:\\windows\\Taskman.exe",
        {"gnome-system-monitor", "plasma-systemmonitor", "xfce4-taskmanager", nullptr, nullptr}},
};

// The absolute folders of PATH. A relative entry ("." or "bin") would find programs through
// the current folder, and an empty one means the current folder itself: both are left out.
QStringList absolutePathFolders() {
    QStringList folders;
    const QString path = qEnvironmentVariable("PATH");
    for (const QString& folder : path.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            folders.append(folder);
    }
    return folders;
}

// The first existing folder of the desktop's application entries, else the usual one.
QString applicationsFolder() {
    const QStringList dirs =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& dir : dirs) {
        if (QFileInfo(dir).isDir())
            return dir;
    }
    return QStringLiteral("/usr/share/applications");
}

// The details of the file at `path`, a link followed; a folder is no file (error 53).
struct stat fileDetails(const QString& path) {
    const QByteArray native = nativePath(path);
    struct stat info {};
    if (sys::fstatat(AT_FDCWD, native.constData(), &info, 0) != 0)
        raiseErrno(errno, ErrnoSubject::File);
    if (S_ISDIR(info.st_mode))
        raise(ErrorNumber::FileNotFound);
    return info;
}

} // namespace

void startProgram(const QString& program, const QStringList& arguments, WindowStyle) {
    const QByteArray native = nativePath(program);
    // A relative name would be looked up through PATH or the current folder.
    if (!QDir::isAbsolutePath(program))
        raise(ErrorNumber::FileNotFound);
    struct stat info {};
    if (sys::fstatat(AT_FDCWD, native.constData(), &info, 0) != 0)
        raiseErrno(errno, ErrnoSubject::File);
    if (!S_ISREG(info.st_mode))
        raise(ErrorNumber::FileNotFound);
    if (sys::access(native.constData(), X_OK) != 0)
        raiseErrno(errno, ErrnoSubject::File);
    QList<QByteArray> texts{native};
    for (const QString& argument : arguments)
        texts.append(argument.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& text : std::as_const(texts))
        argv.push_back(text.constData());
    if (const int code = sys::startDetached(native.constData(), argv); code != 0)
        raiseErrno(code, ErrnoSubject::File);
}

Command resolveHostProgram(HostProgram which, const std::function<bool(const QString&)>& exists,
                           const std::function<QString(const QString&)>& onPath) {
    const auto fileExists =
        exists ? exists : [](const QString& p) { return QFileInfo(p).isFile(); };
    const auto findOnPath = onPath ? onPath : [](const QString& name) {
        // Given no folder, findExecutable would search the whole PATH itself.
        const QStringList folders = absolutePathFolders();
        return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
    };
    for (const auto& entry : kHostCandidates) {
        if (entry.which != which)
            continue;
#ifdef Q_OS_WIN
        const QString fixed = QString::fromLatin1(entry.fixedPath);
        if (fileExists(fixed))
            return {fixed, {}};
#endif
        for (const char* name : entry.programs) {
            if (!name)
                break;
            const QString found = findOnPath(QString::fromLatin1(name));
            if (found.isEmpty() || !QDir::isAbsolutePath(found))
                continue;
            if (which == HostProgram::ProgramManager)
                return {found, {applicationsFolder()}};
            return {found, {}};
        }
        // No task manager of the desktop: top in a terminal.
        if (which == HostProgram::TaskManager) {
            const QString top = findOnPath(QStringLiteral("top"));
            const Command terminal = [&]() -> Command {
                try {
                    return resolveHostProgram(HostProgram::CommandPrompt, fileExists, findOnPath);
                } catch (const RuntimeError&) {
                    return {};
                }
            }();
            if (QDir::isAbsolutePath(top) && !terminal.program.isEmpty())
                return {terminal.program, {QStringLiteral("-e"), top}};
        }
    }
    raise(ErrorNumber::FileNotFound);
}

void startHostProgram(HostProgram which) {
    const Command command = resolveHostProgram(which);
    startProgram(command.program, command.arguments, WindowStyle::Normal);
}

qint64 fileLen(const QString& path) {
    return qint64(fileDetails(path).st_size);
}

QDateTime fileDateTime(const QString& path) {
    const struct stat info = fileDetails(path);
    return fileTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
}

QDateTime now() {
    return timeSource() ? timeSource()() : QDateTime::currentDateTime();
}

void setTimeSource(std::function<QDateTime()> source) {
    timeSource() = std::move(source);
}

} // namespace vorn
