// Window open benchmark: for every window the launcher opens, the time from its menu entry
// (the close picture for the exit screen) to the window exposed, painted and idle; cold, the
// first open in a fresh program, and warm, an open after the same window was opened and
// closed once. Each figure is the best of five. Where valgrind is installed it also counts the
// instructions of each open under callgrind, which the machine's other load leaves alone.
// The program runs itself as the child for each window; run it without arguments.

#include "benchsupport.h"
#include "platform/forms.h"
#include "platform/runtime.h"
#include "platform/windowsystem.h"
#include "quietdialogs.h"
#include "shell/menu.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <vector>

namespace {

// One window and how the launcher opens it: by its menu entry, or by the close picture.
struct Opening {
    const char* window;
    const char* action; // nullptr: the close picture
};

constexpr Opening kOpenings[] = {
    {"Main", "Pat"},       {"VornEuro", "conv"},  {"Color", "Hexa"},
    {"Recherche", "rech"}, {"Horloge", "Horl"},   {"MARIAGE", "mari"},
    {"Tétris", "tétr"},    {"Courrier", "coord"}, {"SplashFin", nullptr},
};

constexpr int kWarmOpens = 5;
constexpr int kColdRuns = 5;

// Calls `ready` once the window named `name` is exposed (a widget paints in answer to the
// exposure) and the events queued by then have run.
class ExposeWatch final : public QObject {
public:
    ExposeWatch(QString name, std::function<void()> ready)
        : m_name(std::move(name))
        , m_ready(std::move(ready)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose || m_seen)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && window->isExposed() && isNamed(window)) {
            m_seen = true;
            QTimer::singleShot(0, this, m_ready);
        }
        return false;
    }

private:
    bool isNamed(const QWindow* window) const {
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window)
                return widget->objectName() == m_name;
        }
        return false;
    }

    QString m_name;
    std::function<void()> m_ready;
    bool m_seen = false;
};

// Opens the window as the user would and returns the nanoseconds until it is ready.
qint64 openOnce(vorn::Menu& menu, const Opening& opening, const char* label) {
    ExposeWatch watch(QString::fromUtf8(opening.window), [] { QCoreApplication::exit(0); });
    qApp->installEventFilter(&watch);
    QElapsedTimer clock;
    bench::startCounting();
    clock.start();
    if (opening.action)
        menu.action(QString::fromUtf8(opening.action))->trigger();
    else
        menu.Image1_Click();
    QCoreApplication::exec();
    const qint64 ns = clock.nsecsElapsed();
    bench::stopCounting(label);
    qApp->removeEventFilter(&watch);
    return ns;
}

void close(const Opening& opening) {
    for (vorn::Form* form : vorn::Forms::instance().loadedForms()) {
        if (form->objectName() == QString::fromUtf8(opening.window))
            vorn::Forms::instance().unload(form);
    }
    if (!opening.action) // the exit screen hid the launcher
        vorn::Forms::instance().show<vorn::Menu>();
    bench::settle();
}

// Child: the launcher up and idle, then the window opened cold, closed, and opened warm
// kWarmOpens times; prints "cold NS" and "warm NS" lines.
int runChild(int argc, char* argv[], const Opening& opening) {
    vorn::choosePlatform();
    QApplication app(argc, argv);
    bench::QuietDialogs dialogs;
    vorn::Runtime runtime(app);
    vorn::setDialogHost(&dialogs);
    vorn::Menu* menu = vorn::Forms::instance().show<vorn::Menu>();
    bench::waitUntilExposed(menu->windowHandle());
    bench::settle();
    std::printf("cold %lld\n", static_cast<long long>(openOnce(*menu, opening, "cold")));
    close(opening);
    for (int i = 0; i < kWarmOpens; ++i) {
        std::printf("warm %lld\n", static_cast<long long>(openOnce(*menu, opening, "warm")));
        close(opening);
    }
    std::fflush(stdout);
    vorn::setDialogHost(nullptr);
    return 0;
}

struct Figures {
    double coldMs = std::numeric_limits<double>::infinity();
    double warmMs = std::numeric_limits<double>::infinity();
    double coldInstructions = 0;
    double warmInstructions = std::numeric_limits<double>::infinity();
};

void readTimes(const QByteArray& output, Figures& figures) {
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() != 2)
            continue;
        const double ms = words[1].toDouble() / 1e6;
        if (words[0] == "cold")
            figures.coldMs = std::min(figures.coldMs, ms);
        else if (words[0] == "warm")
            figures.warmMs = std::min(figures.warmMs, ms);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0) {
        for (const Opening& opening : kOpenings) {
            if (qstrcmp(argv[2], opening.window) == 0)
                return runChild(argc, argv, opening);
        }
        return 2;
    }

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const bool counting = bench::canCountInstructions();
    std::map<QByteArray, Figures> figures;
    for (int run = 0; run < kColdRuns; ++run) {
        for (const Opening& opening : kOpenings) {
            QProcess child;
            child.start(self, {QStringLiteral("--child"), QString::fromUtf8(opening.window)});
            child.waitForFinished(60000);
            readTimes(child.readAllStandardOutput(), figures[opening.window]);
        }
    }
    if (counting) {
        for (const Opening& opening : kOpenings) {
            const auto counts = bench::countInstructions(
                self, {QStringLiteral("--child"), QString::fromUtf8(opening.window)});
            Figures& f = figures[opening.window];
            for (const auto& [label, instructions] : counts) {
                if (label == "cold")
                    f.coldInstructions = instructions;
                else if (label == "warm")
                    f.warmInstructions = std::min(f.warmInstructions, instructions);
            }
        }
    }

    std::printf("window open, menu entry to painted (best of %d, platform %s)\n", kColdRuns,
                bench::platformName().constData());
    std::printf("  %-10s %8s %8s %12s %12s\n", "window", "cold ms", "warm ms", "cold Minstr",
                "warm Minstr");
    for (const Opening& opening : kOpenings) {
        const Figures& f = figures[opening.window];
        if (counting)
            std::printf("  %-10s %8.1f %8.1f %12.1f %12.1f\n", opening.window, f.coldMs, f.warmMs,
                        f.coldInstructions / 1e6, f.warmInstructions / 1e6);
        else
            std::printf("  %-10s %8.1f %8.1f %12s %12s\n", opening.window, f.coldMs, f.warmMs, "-",
                        "-");
    }
    return 0;
}
