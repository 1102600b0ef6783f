// Startup benchmark: time from process start to the main window exposed, painted and idle,
// the child's processor time and its peak resident memory, for the suite, for a bare Qt
// program (one empty QMainWindow) and for a furnished one (five menus, a label and a small
// picture), measured side by side in the same run; where valgrind is installed, the
// instructions each runs to the same point under callgrind; then the peak memory with every
// window of the suite open at once. The program runs itself as the child in each mode; run
// it without arguments.

#include "benchsupport.h"
#include "platform/forms.h"
#include "platform/runtime.h"
#include "platform/windowsystem.h"
#include "quietdialogs.h"
#include "shell/catalogue.h"
#include "shell/menu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include <sys/resource.h>

namespace {

enum class Mode { Bare, Baseline, Suite, AllWindows };

void openEveryWindow() {
    for (const vorn::WindowEntry& entry : vorn::windowCatalogue())
        entry.open();
}

// The smallest honest counterpart of the suite's main window: a menu bar of five menus, a
// label and a small picture drawn at start.
void furnish(QMainWindow& window) {
    for (const char* title : {"Fichier", "Utiliaires", "Détente", "Farces", "?"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("Entrée"));
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::red);
        painter.drawEllipse(QRectF(2, 2, 28, 28));
    }
    auto* image = new QLabel;
    image->setPixmap(picture);
    layout->addWidget(image);
    layout->addWidget(new QLabel(QStringLiteral("Fermer")));
    window.setCentralWidget(central);
    window.resize(267, 51);
}

// Calls `ready` once, on the first exposure of the window it watches, after the events
// queued by then.
class ExposeWatch final : public QObject {
public:
    explicit ExposeWatch(std::function<void()> ready)
        : m_ready(std::move(ready)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && !m_seen &&
            static_cast<QWindow*>(watched)->isExposed()) {
            m_seen = true;
            QTimer::singleShot(0, this, m_ready);
        }
        return false;
    }

private:
    std::function<void()> m_ready;
    bool m_seen = false;
};

// Child: show the window, wait until it is exposed and the event loop has nothing left to
// do, then report the peak resident memory and leave.
int runChild(int argc, char* argv[], Mode mode) {
    const bool suite = mode == Mode::Suite || mode == Mode::AllWindows;
    if (suite)
        vorn::choosePlatform(); // as the program does, before the application exists
    QApplication app(argc, argv);
    QWidget* window = nullptr;
    std::unique_ptr<QMainWindow> bare;
    bench::QuietDialogs dialogs;
    std::optional<vorn::Runtime> runtime; // goes before the application, as in the program
    if (suite) {
        runtime.emplace(app);
        window = vorn::Forms::instance().show<vorn::Menu>();
        if (mode == Mode::AllWindows) {
            vorn::setDialogHost(&dialogs);
            openEveryWindow();
        }
    } else {
        bare = std::make_unique<QMainWindow>();
        if (mode == Mode::Baseline)
            furnish(*bare);
        bare->show();
        window = bare.get();
    }
    // The window is ready once the window system has exposed it (a widget paints in
    // answer to the exposure) and the events queued by then have run.
    auto report = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const long cpuMicros = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000L +
                               usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
        bench::stopCounting("ready");
        std::printf("ready %ld %ld\n", usage.ru_maxrss, cpuMicros);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    };
    ExposeWatch watch(report);
    window->windowHandle()->installEventFilter(&watch);
    return QApplication::exec();
}

struct Sample {
    double ms;    // wall time from start to idle
    double cpuMs; // processor time of the child, which other load on the machine leaves alone
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
    const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
    if (words.size() != 3 || words[0] != "ready")
        return {ms, 0.0, 0.0};
    return {ms, words[2].toDouble() / 1000.0, words[1].toDouble() / 1024.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--bare") == 0)
        return runChild(argc, argv, Mode::Bare);
    if (argc > 1 && qstrcmp(argv[1], "--baseline") == 0)
        return runChild(argc, argv, Mode::Baseline);
    if (argc > 1 && qstrcmp(argv[1], "--suite") == 0)
        return runChild(argc, argv, Mode::Suite);
    if (argc > 1 && qstrcmp(argv[1], "--all") == 0)
        return runChild(argc, argv, Mode::AllWindows);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    constexpr int runs = 41;
    const QStringList modes{QStringLiteral("--bare"), QStringLiteral("--baseline"),
                            QStringLiteral("--suite")};
    std::vector<std::vector<double>> ms(modes.size()), cpu(modes.size()), rss(modes.size());
    for (const QString& mode : modes) // warm the caches for each
        measure(self, mode);
    for (int i = 0; i < runs; ++i) {
        // Each round starts with another program, so that none always follows the same one,
        // and each child starts on a display server that has finished tearing down the last.
        for (qsizetype k = 0; k < modes.size(); ++k) {
            const qsizetype m = (i + k) % modes.size();
            QThread::msleep(100);
            const Sample sample = measure(self, modes[m]);
            ms[m].push_back(sample.ms);
            cpu[m].push_back(sample.cpuMs);
            rss[m].push_back(sample.rssMiB);
        }
    }
    const char* names[] = {"bare QMainWindow", "menus, label and picture", "VornUtil main window"};
    std::printf("startup (median of %d, platform %s)\n", runs, bench::platformName().constData());
    std::printf("  %-26s %9s %9s %12s\n", "program", "time ms", "cpu ms", "peak RSS MiB");
    for (qsizetype m = 0; m < modes.size(); ++m)
        std::printf("  %-26s %9.1f %9.1f %12.1f\n", names[m], median(ms[m]), median(cpu[m]),
                    median(rss[m]));
    // Ratios are the medians of each round's ratio: the programs of one round ran within a
    // second of each other, so a slow spell of the machine weighs on both sides alike.
    const auto pairedRatio = [](const std::vector<double>& over, const std::vector<double>& under) {
        std::vector<double> ratios;
        for (int i = 0; i < runs; ++i)
            ratios.push_back(over[i] / under[i]);
        return median(ratios);
    };
    const double sr = median(rss[2]);
    std::printf("  ratio to the bare window: time %.2f x, cpu %.2f x; memory +%.1f MiB\n",
                pairedRatio(ms[2], ms[0]), pairedRatio(cpu[2], cpu[0]), sr - median(rss[0]));
    std::printf("  ratio to the furnished window: time %.2f x, cpu %.2f x\n",
                pairedRatio(ms[2], ms[1]), pairedRatio(cpu[2], cpu[1]));
    if (bench::canCountInstructions()) {
        std::vector<double> instructions;
        for (const QString& mode : modes) {
            const auto counts = bench::countInstructions(self, {mode});
            instructions.push_back(counts.empty() ? 0.0 : counts.front().second);
        }
        std::printf("  instructions to ready (callgrind):");
        for (qsizetype m = 0; m < modes.size(); ++m)
            std::printf(" %s %.1f M%s", names[m], instructions[m] / 1e6,
                        m + 1 < modes.size() ? ";" : "\n");
        std::printf("  instructions, ratio to the furnished window: %.3f x\n",
                    instructions[2] / instructions[1]);
    }
    std::vector<double> allRss;
    for (int i = 0; i < 5; ++i)
        allRss.push_back(measure(self, QStringLiteral("--all")).rssMiB);
    const double ar = median(allRss);
    std::printf("  %-22s %9s %12.1f\n", "every window open", "", ar);
    std::printf("  every window open: +%.1f MiB over the main window alone\n", ar - sr);
    return 0;
}
