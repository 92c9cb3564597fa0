#include "bench/bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace tillora::bench {

namespace {
std::map<QString, Benchmark>& registry() {
    static std::map<QString, Benchmark> benchmarks;
    return benchmarks;
}
QTemporaryDir* scratch = nullptr;
QList<int> sizes{100000, 1000000};
} // namespace

int registerBenchmark(const char* name, Benchmark benchmark) {
    registry()[QString::fromLatin1(name)] = std::move(benchmark);
    return 0;
}

double medianMs(const std::function<void()>& work, int repeats) {
    work();
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString scratchFolder() {
    return scratch->path();
}

QList<int> productSizes() {
    return sizes;
}

} // namespace tillora::bench

using namespace tillora::bench;

static QString ms(double value) {
    if (value < 0)
        return QStringLiteral("-");
    if (value < 0.1)
        return QString::number(value * 1000.0, 'f', 1) + QStringLiteral(" us");
    return QString::number(value, 'f', 2) + QStringLiteral(" ms");
}

// Usage: tillora_bench [--size PRODUCTS] [name-filter]
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    scratch = &dir;
    QString filter;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--size") && i + 1 < argc) {
            bool ok = false;
            const int size = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || size <= 0) {
                std::fprintf(stderr, "--size takes a number of products\n");
                return 2;
            }
            sizes = {size};
        } else {
            filter = arg;
        }
    }
    QList<Row> rows;
    for (const auto& [name, benchmark] : registry()) {
        if (!filter.isEmpty() && !name.contains(filter))
            continue;
        std::fprintf(stderr, "running %s ...\n", qPrintable(name));
        rows += benchmark();
    }
    QTextStream out(stdout);
    const QString line = QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |");
    out << line.arg(QStringLiteral("operation"), QStringLiteral("size"), QStringLiteral("ours"),
                    QStringLiteral("reference"), QStringLiteral("ratio"), QStringLiteral("goal"),
                    QStringLiteral("met"))
        << "\n|---|---|---|---|---|---|---|\n";
    bool allMet = true;
    for (const Row& row : rows) {
        const QString ratio =
            row.referenceMs > 0 ? QString::number(row.oursMs / row.referenceMs, 'f', 2) : QStringLiteral("-");
        out << line.arg(row.operation, row.size, row.oursText.isEmpty() ? ms(row.oursMs) : row.oursText,
                        row.referenceText.isEmpty() ? ms(row.referenceMs) : row.referenceText, ratio,
                        row.goal, row.met ? QStringLiteral("yes") : QStringLiteral("MISSED"))
            << "\n";
        allMet = allMet && row.met;
    }
    out.flush();
    return allMet ? 0 : 1;
}
