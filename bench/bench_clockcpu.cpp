// Processor use of the analog clock: CPU seconds over wall seconds with the clock open,
// against the same program idling with no clock open. Usage: bench_clockcpu [seconds]
#include "clock/horloge.h"
#include "platform/forms.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Share {
    double cpu;
    double wall;
    double percent() const { return 100.0 * cpu / wall; }
};

// Runs the event loop for `ms` milliseconds and measures what the process used meanwhile.
Share measure(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds();
    wall.start();
    loop.exec();
    return {cpuSeconds() - cpuBefore, wall.nsecsElapsed() / 1e9};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vorn::Runtime runtime(app, vorn::Runtime::QuitRule::KeepRunning);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    // Let start-up work (fonts, platform) settle before either measurement.
    measure(500);
    const Share idle = measure(seconds * 1000);

    vorn::Horloge* clock = vorn::Forms::instance().show<vorn::Horloge>();
    int passes = 0;
    QObject::connect(clock, &vorn::Horloge::Refreshed, [&passes] { ++passes; });
    measure(500); // first paint and activation
    passes = 0;
    const Share open = measure(seconds * 1000);
    vorn::Forms::instance().unload(clock);

    std::printf("platform            %s\n", qPrintable(QApplication::platformName()));
    std::printf("no clock open       %.3f s CPU in %.2f s = %.2f %% of one core\n", idle.cpu,
                idle.wall, idle.percent());
    std::printf("clock open          %.3f s CPU in %.2f s = %.2f %% of one core (%d refreshes)\n",
                open.cpu, open.wall, open.percent(), passes);
    std::printf("cost of the clock   %.2f %% of one core\n", open.percent() - idle.percent());
    return 0;
}
