#include "benchsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <sys/resource.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define BENCH_CALLGRIND 1
#else
#define BENCH_CALLGRIND 0
#endif

namespace bench {

namespace {

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The label and the total of one callgrind dump file.
std::pair<QByteArray, double> readDump(const QString& path) {
    QFile file(path);
    std::pair<QByteArray, double> dump;
    if (!file.open(QIODevice::ReadOnly))
        return dump;
    const QByteArray request = "desc: Trigger: Client Request: ";
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith(request))
            dump.first = line.mid(request.size());
        else if (line.startsWith("totals: "))
            dump.second = line.mid(8).toDouble();
    }
    return dump;
}

} // namespace

bool canCountInstructions() {
    return BENCH_CALLGRIND && !QStandardPaths::findExecutable(QStringLiteral("valgrind")).isEmpty();
}

void startCounting() {
#if BENCH_CALLGRIND
    CALLGRIND_ZERO_STATS;
#endif
}

void stopCounting([[maybe_unused]] const char* label) {
#if BENCH_CALLGRIND
    CALLGRIND_DUMP_STATS_AT(label);
#endif
}

std::vector<std::pair<QByteArray, double>> countInstructions(const QString& program,
                                                             const QStringList& arguments) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("callgrind.out"));
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral("valgrind"),
                QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--quiet"),
                            QStringLiteral("--callgrind-out-file=") + out, program} +
                    arguments);
    child.waitForFinished(30 * 60 * 1000);
    std::vector<std::pair<QByteArray, double>> counts;
    // Each stop is written as callgrind.out.N, numbered from 1 in order.
    for (int n = 1; QFile::exists(out + QLatin1Char('.') + QString::number(n)); ++n)
        counts.push_back(readDump(out + QLatin1Char('.') + QString::number(n)));
    return counts;
}

void waitUntilExposed(QWindow* window) {
    while (window && !window->isExposed())
        runEventsFor(5);
}

void settle() {
    for (int i = 0; i < 300; ++i) {
        const double before = processorSeconds();
        runEventsFor(100);
        if (processorSeconds() - before < 0.001)
            return;
    }
}

QByteArray platformName() {
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    return chosen.isEmpty() ? QByteArrayLiteral("default") : chosen;
}

} // namespace bench
