#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QWindow;

// What the benchmarks share: counting instructions under callgrind, and waiting for a window
// or for the whole program to come to rest.
namespace bench {

// Whether instructions can be counted: built with callgrind's client requests and valgrind
// on the path.
bool canCountInstructions();
// Under callgrind, zeroes the counts; elsewhere does nothing.
void startCounting();
// Under callgrind, writes the counts since the last start or stop under `label`.
void stopCounting(const char* label);
// Runs the program under callgrind and returns the label and instruction count of every
// stop it made, in order.
std::vector<std::pair<QByteArray, double>> countInstructions(const QString& program,
                                                             const QStringList& arguments);

// Runs the event loop until the window is exposed.
void waitUntilExposed(QWindow* window);
// Runs the event loop until the program is at rest: under a millisecond of processor time
// in 100 ms, so work it does when idle is over too.
void settle();
// The window system asked for (QT_QPA_PLATFORM), for a benchmark's heading.
QByteArray platformName();

} // namespace bench
