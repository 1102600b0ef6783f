// Measures how fast the file list fills with a folder of many files, and how fast it
// follows a pattern change, against QDir::entryList for comparison. Makes its own folder.
#include "files/listcontrols.h"
#include "files/listing.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <ctime>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 100000;
constexpr int kRuns = 7;

// Names of the kinds found in real folders, in no particular order on disk.
QByteArray nameFor(int i) {
    const int n = int((static_cast<long long>(i) * 7919) % kFiles);
    switch (n % 4) {
    case 0:
        return QByteArray("Photo_") + QByteArray::number(n) + ".JPG";
    case 1:
        return QByteArray("document ") + QByteArray::number(n) + ".txt";
    case 2:
        return QByteArray("Été-") + QByteArray::number(n) + ".doc";
    default:
        return QByteArray("rapport_") + QByteArray::number(n) + ".TXT";
    }
}

bool makeFolder(const QString& folder) {
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (int i = 0; i < kFiles; ++i) {
        const int fd = ::open((base + nameFor(i)).constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

// Wall-clock and processor time of one run, in milliseconds. The machine is shared, so the
// processor time of this thread is the steadier figure.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double threadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The median times of `run` over several runs; `setup` runs before each one, untimed.
Timing median(const std::function<void()>& run, const std::function<void()>& setup = {}) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < kRuns; ++i) {
        if (setup)
            setup();
        QElapsedTimer timer;
        const double cpu = threadCpuMs();
        timer.start();
        run();
        walls.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpus.push_back(threadCpuMs() - cpu);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

void report(const char* what, Timing timing, qsizetype count) {
    std::printf("%-40s %8.1f ms %8.1f ms  %7lld\n", what, timing.wall, timing.cpu,
                static_cast<long long>(count));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir temp;
    if (!temp.isValid() || !makeFolder(temp.path())) {
        std::fprintf(stderr, "cannot make the folder of %d files\n", kFiles);
        return 1;
    }
    const QString folder = temp.path();
    std::printf("folder of %d files, median of %d runs\n\n", kFiles, kRuns);
    std::printf("%-40s %11s %11s  %7s\n", "", "wall", "processor", "entries");

    QStringList names;
    Timing t = median([&] { names = QDir(folder).entryList(QDir::Files, QDir::Name); });
    report("QDir::entryList, sorted by name", t, names.size());
    t = median([&] { names = vorn::listFolder(folder, vorn::EntryKind::Files); });
    report("listFolder: read, match, sort", t, names.size());

    QWidget window;
    window.resize(400, 300);
    auto* list = new vorn::FileList(&window, QStringLiteral("File1"), {0, 0, 4000, 4000});
    window.show();
    QCoreApplication::processEvents();

    // Each figure includes the view's layout and first paint: the events run before the
    // clock stops.
    auto settled = [](const std::function<void()>& step) {
        return [step] {
            step();
            QCoreApplication::processEvents();
        };
    };
    const QString elsewhere = QDir::tempPath();
    const QString all = QStringLiteral("*");
    const QString txt = QStringLiteral("*.txt");
    const QString some = QStringLiteral("*_1?4.jpg");
    struct Step {
        const char* what;
        std::function<void()> run;
        std::function<void()> setup;
    };
    const Step steps[] = {
        {"file list: open the folder", [&] { list->setPath(folder); },
         [&] { list->setPath(elsewhere); }},
        {"file list: refresh", [&] { list->Refresh(); }, {}},
        {"file list: pattern * to *.txt", [&] { list->setPattern(txt); },
         [&] { list->setPattern(all); }},
        {"file list: pattern *.txt to *", [&] { list->setPattern(all); },
         [&] { list->setPattern(txt); }},
        {"file list: pattern * to *_1?4.jpg", [&] { list->setPattern(some); },
         [&] { list->setPattern(all); }},
        {"file list: select the last file", [&] { list->setListIndex(list->ListCount() - 1); },
         [&] {
             list->setPattern(all);
             list->setListIndex(0);
         }},
    };
    for (const Step& step : steps) {
        t = median(settled(step.run), step.setup ? settled(step.setup) : std::function<void()>());
        report(step.what, t, list->ListCount());
    }
    return 0;
}
