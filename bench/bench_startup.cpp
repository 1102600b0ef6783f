// Startup benchmark: time from process start to the main window shown with the event loop
// idle, and peak resident memory, for the suite and for a bare Qt program (one empty
// QMainWindow), measured side by side in the same run; then the peak memory with every
// window of the suite open at once. The program runs itself as the child in each mode;
// run it without arguments.

#include "chores/mariage.h"
#include "chronology/main.h"
#include "clock/horloge.h"
#include "colour/color.h"
#include "euro/vorneuro.h"
#include "files/recherche.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/runtime.h"
#include "shell/courrier.h"
#include "shell/menu.h"
#include "shell/splashfin.h"
#include "shell/tetris.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

enum class Mode { Bare, Suite, AllWindows };

// Answers the lottery's questions so that every window can open unattended.
class QuietDialogs final : public vorn::DialogHost {
public:
    vorn::Answer message(QWidget*, const QString&, vorn::MessageStyle, const QString&) override {
        return vorn::Answer::Ok;
    }
    QString input(QWidget*, const QString&, const QString&) override {
        return QStringLiteral("Nom");
    }
    void runtimeError(QWidget*, vorn::ErrorNumber, const QString&) override {}
};

void openEveryWindow() {
    using vorn::Forms;
    Forms::instance().show<vorn::SplashFin>();
    Forms::instance().show<vorn::Courrier>();
    Forms::instance().show<vorn::Tetris>();
    Forms::instance().show<vorn::Mariage>();
    Forms::instance().show<vorn::Main>();
    Forms::instance().show<vorn::VornEuro>();
    Forms::instance().show<vorn::Color>();
    Forms::instance().show<vorn::Recherche>();
    Forms::instance().show<vorn::Horloge>();
}

// Child: show the window, wait until it is exposed and the event loop has nothing left to
// do, then report the peak resident memory and leave.
int runChild(int argc, char* argv[], Mode mode) {
    QApplication app(argc, argv);
    QWidget* window = nullptr;
    std::unique_ptr<QMainWindow> bare;
    QuietDialogs dialogs;
    if (mode != Mode::Bare) {
        new vorn::Runtime(app);
        window = vorn::Forms::instance().show<vorn::Menu>();
        if (mode == Mode::AllWindows) {
            vorn::setDialogHost(&dialogs);
            openEveryWindow();
        }
    } else {
        bare = std::make_unique<QMainWindow>();
        bare->show();
        window = bare.get();
    }
    QTimer::singleShot(0, &app, [&] {
        auto report = [] {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("ready %ld\n", usage.ru_maxrss);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        };
        if (window->isVisible())
            QTimer::singleShot(0, report);
    });
    return QApplication::exec();
}

struct Sample {
    double ms;
    double rssMiB;
};

Sample measure(const QString& self, const QString& mode) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(self, {mode});
    child.waitForReadyRead(30000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    child.waitForFinished(30000);
    const QByteArray line = child.readAllStandardOutput().trimmed();
    const double kib = line.startsWith("ready ") ? line.mid(6).toDouble() : 0.0;
    return {ms, kib / 1024.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--bare") == 0)
        return runChild(argc, argv, Mode::Bare);
    if (argc > 1 && qstrcmp(argv[1], "--suite") == 0)
        return runChild(argc, argv, Mode::Suite);
    if (argc > 1 && qstrcmp(argv[1], "--all") == 0)
        return runChild(argc, argv, Mode::AllWindows);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = 15;
    std::vector<double> suiteMs, bareMs, suiteRss, bareRss;
    measure(self, QStringLiteral("--bare")); // warm the caches for both
    measure(self, QStringLiteral("--suite"));
    for (int i = 0; i < runs; ++i) {
        const Sample b = measure(self, QStringLiteral("--bare"));
        const Sample s = measure(self, QStringLiteral("--suite"));
        bareMs.push_back(b.ms);
        bareRss.push_back(b.rssMiB);
        suiteMs.push_back(s.ms);
        suiteRss.push_back(s.rssMiB);
    }
    const double sm = median(suiteMs), bm = median(bareMs);
    const double sr = median(suiteRss), br = median(bareRss);
    std::printf("startup (median of %d, platform %s)\n", runs,
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default"
                                                     : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  %-22s %9s %12s\n", "program", "time ms", "peak RSS MiB");
    std::printf("  %-22s %9.1f %12.1f\n", "bare QMainWindow", bm, br);
    std::printf("  %-22s %9.1f %12.1f\n", "VornUtil main window", sm, sr);
    std::printf("  ratio %.2f x, memory +%.1f MiB\n", sm / bm, sr - br);
    std::vector<double> allRss;
    for (int i = 0; i < 5; ++i)
        allRss.push_back(measure(self, QStringLiteral("--all")).rssMiB);
    const double ar = median(allRss);
    std::printf("  %-22s %9s %12.1f\n", "every window open", "", ar);
    std::printf("  every window open: +%.1f MiB over the main window alone\n", ar - sr);
    return 0;
}
