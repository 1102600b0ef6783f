#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// System services the windows use: starting programs, a file's details and the time of
// day. Failures raise the run-time error that names them.
namespace vorn {

enum class WindowStyle { Normal = 1, Minimized = 2 };

// Starts `program` detached, never through a shell; `program` is the absolute path of the
// program itself. A relative or missing program raises error 53, one that may not be run 70;
// any other refusal of the system raises the error its errno stands for, carrying that errno
// (ENOEXEC for a file that is no program, ENOENT for a program whose interpreter is missing).
void startProgram(const QString& program, const QStringList& arguments = {},
                  WindowStyle style = WindowStyle::Normal);

// The four programs of the host system the main menu starts.
enum class HostProgram { CommandPrompt, ControlPanel, ProgramManager, TaskManager };

// How a host program is started here: the program and its arguments.
struct Command {
    QString program;
    QStringList arguments;
};
// Finds the host program: on Windows its fixed path where it exists; elsewhere, and failing
// that, the nearest equivalent in an absolute folder of PATH, never through the current
// folder. `exists` and `onPath` are the seams tests use. No candidate raises error 53.
Command resolveHostProgram(HostProgram which,
                           const std::function<bool(const QString&)>& exists = {},
                           const std::function<QString(const QString&)>& onPath = {});
void startHostProgram(HostProgram which);

// A file's size and date; failures are reported through the one errno table.
qint64 fileLen(const QString& path);
QDateTime fileDateTime(const QString& path);

// The time of day. Tests replace the source to control it.
QDateTime now();
void setTimeSource(std::function<QDateTime()> source);

} // namespace vorn
