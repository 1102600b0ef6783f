// Measures how fast the folder list and the file list open a folder of many entries, each
// against its floor measured in the same run: reading the names with readdir and sorting them
// as the lists do. Also how fast the file list follows a pattern change, what following the
// disk costs it when another program adds one file, and the processor time of the idle list
// while another program creates and removes 100 files a second in its folder. Makes its own
// folders. Where valgrind is installed, also counts the instructions of opening each folder
// and of its floor, in a child of its own run under callgrind ("--count FOLDER").
#include "benchsupport.h"
#include "files/listcontrols.h"
#include "files/listing.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <csignal>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kEntries = 100000;
constexpr int kRuns = 7;

// Names of the kinds found in real folders, in no particular order on disk.
QByteArray fileNameFor(int i) {
    const int n = int((static_cast<long long>(i) * 7919) % kEntries);
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

QByteArray folderNameFor(int i) {
    const int n = int((static_cast<long long>(i) * 7919) % kEntries);
    switch (n % 3) {
    case 0:
        return QByteArray("Projet ") + QByteArray::number(n);
    case 1:
        return QByteArray("été_") + QByteArray::number(n);
    default:
        return QByteArray("archive-") + QByteArray::number(n);
    }
}

bool makeFiles(const QString& folder) {
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (int i = 0; i < kEntries; ++i) {
        const int fd = ::open((base + fileNameFor(i)).constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

bool makeFolders(const QString& folder) {
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (int i = 0; i < kEntries; ++i) {
        if (::mkdir((base + folderNameFor(i)).constData(), 0755) != 0)
            return false;
    }
    return true;
}

// The floor: every name of the folder read with readdir, decoded and sorted as the lists sort.
QStringList readAndSort(const QString& folder) {
    struct Closer {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, Closer> dir(::opendir(QFile::encodeName(folder).constData()));
    QStringList names;
    while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr) {
        const char* name = entry->d_name;
        if (name[0] != '.')
            names.append(
                QFile::decodeName(QByteArray::fromRawData(name, qsizetype(std::strlen(name)))));
    }
    vorn::sortNames(names);
    return names;
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

void ratio(const char* what, Timing list, Timing floor) {
    std::printf("ratio: %-33s %8.2f x  %8.2f x\n", what, list.wall / floor.wall,
                list.cpu / floor.cpu);
}

// Another program that creates a file in `folder` every 10 ms and removes each one 50 ms
// later: 100 files a second each way, until it is stopped.
pid_t startChurn(const QString& folder) {
    const QByteArray base = QFile::encodeName(folder) + "/churn-";
    std::vector<QByteArray> paths;
    for (int i = 0; i < 6; ++i)
        paths.push_back(base + QByteArray::number(i));
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    const timespec tick{0, 10 * 1000 * 1000};
    for (unsigned n = 0;; ++n) {
        const int fd = ::open(paths[n % 6].constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
        ::unlink(paths[(n + 1) % 6].constData());
        ::nanosleep(&tick, nullptr);
    }
}

double processCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The share of one core this process uses over `seconds` of its event loop while another
// program churns files in `folder`.
double idleShareDuringChurn(const QString& folder, int seconds) {
    const pid_t churn = startChurn(folder);
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    const double cpu = processCpuMs();
    timer.start();
    QEventLoop idle;
    QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double share = (processCpuMs() - cpu) / double(timer.elapsed()) * 100;
    ::kill(churn, SIGKILL);
    ::waitpid(churn, nullptr, 0);
    return share;
}

// Each figure includes the view's layout and first paint: the events run before the clock
// stops.
std::function<void()> settled(const std::function<void()>& step) {
    return [step] {
        step();
        QCoreApplication::processEvents();
    };
}

// The folders of many entries in `base`: "fichiers" holds the files, "dossiers" the
// sub-folders.
struct Folders {
    QString base;
    QString files = base + QStringLiteral("/fichiers");
    QString folders = base + QStringLiteral("/dossiers");

    bool make() const {
        return QDir().mkdir(files) && QDir().mkdir(folders) && makeFiles(files) &&
               makeFolders(folders);
    }
};

// The child run under callgrind, on the folders its parent made: each folder opened, and its
// floor, once to warm up and once counted.
int countInstructions(const Folders& made, vorn::FileList& fileList, vorn::DirList& dirList) {
    QStringList names;
    const QString& elsewhere = made.base;
    const struct {
        const char* label;
        std::function<void()> run;
        std::function<void()> undo;
    } steps[] = {
        {"files floor", [&] { names = readAndSort(made.files); }, [&] { names = {}; }},
        {"file list", settled([&] { fileList.setPath(made.files); }),
         settled([&] { fileList.setPath(elsewhere); })},
        {"folders floor", [&] { names = readAndSort(made.folders); }, [&] { names = {}; }},
        {"folder list", settled([&] { dirList.setPath(made.folders); }),
         settled([&] { dirList.setPath(elsewhere); })},
    };
    for (const auto& step : steps) {
        step.run();
        step.undo();
        bench::startCounting();
        step.run();
        bench::stopCounting(step.label);
        step.undo();
    }
    return 0;
}

double countOf(const std::vector<std::pair<QByteArray, double>>& counts, const char* label) {
    for (const auto& [name, instructions] : counts) {
        if (name == label)
            return instructions;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // "--count FOLDER": the child that counts instructions, on the folders made in FOLDER.
    const bool child = argc > 2 && qstrcmp(argv[1], "--count") == 0;
    QTemporaryDir temp;
    const Folders made{child ? QString::fromLocal8Bit(argv[2]) : temp.path()};
    const QString& files = made.files;
    const QString& folders = made.folders;
    if (!child && (!temp.isValid() || !made.make())) {
        std::fprintf(stderr, "cannot make the folders of %d entries\n", kEntries);
        return 1;
    }

    QWidget window;
    window.resize(400, 300);
    auto* fileList = new vorn::FileList(&window, {"File1", nullptr, {0, 0, 4000, 4000}});
    auto* dirList = new vorn::DirList(&window, {"Dir1", nullptr, {4000, 0, 4000, 4000}});
    window.show();
    QCoreApplication::processEvents();
    if (child)
        return countInstructions(made, *fileList, *dirList);
    const QString& elsewhere = made.base;
    std::printf("folders of %d files and of %d sub-folders, median of %d runs\n\n", kEntries,
                kEntries, kRuns);
    std::printf("%-40s %11s %11s  %7s\n", "", "wall", "processor", "entries");

    QStringList names;
    // The names of the previous run are freed before the clock starts, as the lists free
    // theirs when they leave the folder.
    const auto forget = [&] { names = QStringList(); };
    const Timing fileFloor = median([&] { names = readAndSort(files); }, forget);
    report("files: readdir and sort (floor)", fileFloor, names.size());
    const Timing fileOpen = median(settled([&] { fileList->setPath(files); }),
                                   settled([&] { fileList->setPath(elsewhere); }));
    report("file list: open the folder", fileOpen, fileList->ListCount());

    const Timing folderFloor = median([&] { names = readAndSort(folders); }, forget);
    report("sub-folders: readdir and sort (floor)", folderFloor, names.size());
    const Timing folderOpen = median(settled([&] { dirList->setPath(folders); }),
                                     settled([&] { dirList->setPath(elsewhere); }));
    report("folder list: open the folder", folderOpen, dirList->ListCount());

    Timing t = median([&] { names = QDir(files).entryList(QDir::Files, QDir::Name); }, forget);
    report("files: QDir::entryList, sorted", t, names.size());

    const QString all = QStringLiteral("*");
    const QString txt = QStringLiteral("*.txt");
    const QString some = QStringLiteral("*_1?4.jpg");
    struct Step {
        const char* what;
        std::function<void()> run;
        std::function<void()> setup;
    };
    fileList->setPath(files);
    const Step steps[] = {
        {"file list: refresh", [&] { fileList->Refresh(); }, {}},
        {"file list: pattern * to *.txt", [&] { fileList->setPattern(txt); },
         [&] { fileList->setPattern(all); }},
        {"file list: pattern *.txt to *", [&] { fileList->setPattern(all); },
         [&] { fileList->setPattern(txt); }},
        {"file list: pattern * to *_1?4.jpg", [&] { fileList->setPattern(some); },
         [&] { fileList->setPattern(all); }},
        {"file list: select the last file",
         [&] { fileList->setListIndex(fileList->ListCount() - 1); },
         [&] {
             fileList->setPattern(all);
             fileList->setListIndex(0);
         }},
        {"folder list: refresh", [&] { dirList->Refresh(); }, {}},
    };
    for (const Step& step : steps) {
        t = median(settled(step.run), step.setup ? settled(step.setup) : std::function<void()>());
        report(step.what, t, step.what[1] == 'o' ? dirList->ListCount() : fileList->ListCount());
    }
    // Following the disk: one file added by another program, shown once the system tells of
    // it. The list waits for the notice without using the processor, so its processor time
    // is the cost of the refresh.
    fileList->setPattern(all);
    fileList->setPath(files);
    const QByteArray added = QFile::encodeName(files) + "/ajout.txt";
    const auto waitForCount = [&](int count) {
        while (fileList->ListCount() != count)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    const int before = fileList->ListCount();
    const Timing live = median(
        [&] {
            ::close(::open(added.constData(), O_CREAT | O_WRONLY, 0644));
            waitForCount(before + 1);
            QCoreApplication::processEvents();
        },
        [&] {
            ::unlink(added.constData());
            waitForCount(before);
        });
    report("file list: follows one file added", live, fileList->ListCount());
    const Timing reread = median(settled([&] { fileList->followDisk(); }));
    report("file list: reads again, keeping its place", reread, fileList->ListCount());

    std::printf("\n%-40s %10s %10s\n", "against the floor", "wall", "processor");
    ratio("files to their floor", fileOpen, fileFloor);
    ratio("sub-folders to their floor", folderOpen, folderFloor);
    std::printf("ratio: %-33s %8s    %8.3f x\n", "one file added to the floor", "",
                live.cpu / fileFloor.cpu);
    ratio("reading again to the floor", reread, fileFloor);

    // Instructions, which the machine's load does not move, of opening each folder.
    if (bench::canCountInstructions()) {
        const auto counts = bench::countInstructions(QCoreApplication::applicationFilePath(),
                                                     {QStringLiteral("--count"), made.base});
        std::printf("\ninstructions under callgrind\n");
        for (const char* label : {"files floor", "file list", "folders floor", "folder list"})
            std::printf("instructions: %-26s %8.1f M\n", label, countOf(counts, label) / 1e6);
        std::printf("instructions: %-26s %8.2f x\n", "files to their floor",
                    countOf(counts, "file list") / countOf(counts, "files floor"));
        std::printf("instructions: %-26s %8.2f x\n", "sub-folders to their floor",
                    countOf(counts, "folder list") / countOf(counts, "folders floor"));
    }

    // Idle while another program creates and removes 100 files a second in the open folder:
    // a small folder, then the folder of 100,000 files.
    const QString small = made.base + QStringLiteral("/petit");
    QDir().mkdir(small);
    fileList->setPath(small);
    dirList->setPath(small);
    const double smallShare = idleShareDuringChurn(small, 10);
    fileList->setPath(files);
    dirList->setPath(files);
    const double largeShare = idleShareDuringChurn(files, 10);
    std::printf("\nidle, 100 files/s created and removed, small folder: %6.2f %% of one core\n",
                smallShare);
    std::printf("idle, 100 files/s created and removed, %d files:  %6.2f %% of one core\n",
                kEntries, largeShare);
    return 0;
}
