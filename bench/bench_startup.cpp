// Process start to the first painted frame of the main window on the display, with data files
// of no, 100,000 and 1,000,000 products, against a bare Qt main window that shares no code
// with the program. Both report the moment their first frame was painted (the program under
// TILLORA_STARTUP_PROBE); the clock is the system's monotonic one, read here just before the
// process is started. Also: when the start-up work (filter lists, the picker's products) is
// done, and the longest time the window could not answer meanwhile.
#include "bench/bench.h"
#include "bench/products.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <ctime>
#include <vector>

using namespace tillora::bench;

namespace {

qint64 monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Start {
    double frameMs = -1;
    double startupMs = -1;
    double stallMs = -1;
};

Start startOnce(const QString& program, const QString& folder) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("TILLORA_STARTUP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
    process.setProcessEnvironment(env);
    const qint64 begin = monotonicNs();
    process.start(program, {});
    process.waitForFinished(120000);
    Start start;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 2)
            continue;
        const double ms =
            static_cast<double>(parts[1].toLongLong() - (parts[0] == "stall" ? 0 : begin)) / 1e6;
        if (parts[0] == "frame")
            start.frameMs = ms;
        else if (parts[0] == "startup")
            start.startupMs = ms;
        else if (parts[0] == "stall")
            start.stallMs = ms;
    }
    return start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

TILLORA_BENCHMARK(startup) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return {Row{QStringLiteral("process start to first painted frame"), QString(), 0, -1,
                    QStringLiteral("needs an X display (./scripts/bench starts one)"), false}};
    QList<int> sizes{0};
    sizes += productSizes();
    QList<Row> rows;
    for (const int count : sizes) {
        const QString folder = programFolder(QStringLiteral("startup"), count);
        const QString size = QString::number(count) + QStringLiteral(" products");
        std::vector<double> ours;
        std::vector<double> bare;
        std::vector<double> done;
        std::vector<double> stall;
        // Turn about, so that load on the machine hits both alike; the first of each warms the
        // file cache.
        constexpr int repeats = 9;
        for (int i = 0; i <= repeats; ++i) {
            const Start program = startOnce(folder + QStringLiteral("/tillora"), folder);
            const Start reference = startOnce(QStringLiteral(TILLORA_BARE_WINDOW), folder);
            if (i == 0)
                continue;
            ours.push_back(program.frameMs);
            bare.push_back(reference.frameMs);
            done.push_back(program.startupMs);
            stall.push_back(program.stallMs);
        }
        Row frame{QStringLiteral("process start to first painted frame"), size, median(ours), median(bare),
                  QStringLiteral("ratio <= 1.5")};
        frame.met = frame.oursMs > 0 && frame.referenceMs > 0 && frame.oursMs <= 1.5 * frame.referenceMs;
        const double longest = *std::max_element(stall.begin(), stall.end());
        Row work{QStringLiteral("start-up work done in the background (longest stall %1 ms)")
                     .arg(longest, 0, 'f', 1),
                 size, median(done), -1, QStringLiteral("window answers: stall < 50 ms")};
        work.met = work.oursMs > 0 && longest >= 0 && longest < 50;
        rows << frame << work;
    }
    return rows;
}
