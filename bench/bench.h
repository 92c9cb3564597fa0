#pragma once
// The benchmark table: each benchmark returns rows of (operation, size, ours, reference,
// goal); the runner prints them as one table with the ratio ours / reference.
#include <QList>
#include <QString>

#include <functional>

namespace tillora::bench {

struct Row {
    QString operation;
    QString size;
    double oursMs = 0;
    double referenceMs = -1; // negative: no reference, the goal is an absolute time
    QString goal;            // e.g. "ratio <= 2" or "< 1 ms"
    bool met = true;
    // Shown in place of the times when set (a row that measures memory, say).
    QString oursText{};
    QString referenceText{};
};

using Benchmark = std::function<QList<Row>()>;

int registerBenchmark(const char* name, Benchmark benchmark);

// Median wall time of one call of work, in milliseconds, over repeats runs (after one warm-up).
double medianMs(const std::function<void()>& work, int repeats);

// A folder under the system's temporary folder that lives until the runner ends.
QString scratchFolder();

// The catalogue sizes the benchmarks that follow the number of products run at: 100,000 and
// 1,000,000, or the one chosen with --size.
QList<int> productSizes();

} // namespace tillora::bench

#define TILLORA_BENCHMARK(fn)                                                                                \
    static QList<tillora::bench::Row> fn();                                                                  \
    [[maybe_unused]] static const int fn##_registered = tillora::bench::registerBenchmark(#fn, fn);          \
    static QList<tillora::bench::Row> fn()
