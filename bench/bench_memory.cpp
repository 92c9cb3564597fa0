// The memory the real program holds with a large catalogue, as a shop would use it: started
// on the display, then the picker opened (Ctrl+Alt+P) and ten keys typed into its search box
// by xdotool, as a keyboard types them. Read from /proc after each step, once the program has
// gone quiet (its processor time no longer grows).
#include "bench/bench.h"
#include "bench/products.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

using namespace tillora::bench;

namespace {

// Resident memory of process pid in MB, from /proc/pid/status.
double residentMb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Processor time of process pid and its threads so far, in clock ticks.
qint64 cpuTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command's closing parenthesis; utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

// Waits until the process has used no processor time for half a second (at most a minute).
void waitUntilQuiet(qint64 pid) {
    QElapsedTimer timer;
    timer.start();
    qint64 last = cpuTicks(pid);
    while (timer.elapsed() < 60000) {
        QThread::msleep(500);
        const qint64 now = cpuTicks(pid);
        if (now == last)
            return;
        last = now;
    }
}

bool xdotool(const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return false;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n')).value(0);
    return true;
}

bool focusWindow(const QString& title) {
    QString window;
    return xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--name"),
                    QLatin1Char('^') + title + QLatin1Char('$')},
                   &window) &&
           xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
}

Row memoryRow(const QString& step, int count, double mb, double goalMb, bool ok) {
    Row row{QStringLiteral("memory after ") + step, QString::number(count) + QStringLiteral(" products"), mb,
            -1, QStringLiteral("< %1 MB").arg(goalMb)};
    row.oursText = QString::number(mb, 'f', 0) + QStringLiteral(" MB");
    row.met = ok && mb > 0 && mb < goalMb;
    return row;
}

} // namespace

TILLORA_BENCHMARK(memory) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return {Row{QStringLiteral("memory"), QString(), 0, -1, QStringLiteral("needs an X display"), false}};
    QList<Row> rows;
    for (const int count : productSizes()) {
        const QString folder = programFolder(QStringLiteral("memory"), count);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
        program.setProcessEnvironment(env);
        program.start(folder + QStringLiteral("/tillora"), {});
        const qint64 pid = program.processId();
        bool ok = program.waitForStarted() && focusWindow(QStringLiteral("KESTRUM - Tillora"));
        waitUntilQuiet(pid);
        const double started = residentMb(pid);

        ok = ok && xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+p")}) &&
             focusWindow(QStringLiteral("Select Product"));
        waitUntilQuiet(pid);
        const double opened = residentMb(pid);

        // Ten keys: "milk 1234" and Backspace, each typed once the list has followed the last.
        const QStringList keys{"m", "i", "l", "k", "space", "1", "2", "3", "4", "BackSpace"};
        for (const QString& key : keys) {
            ok = ok && xdotool({QStringLiteral("key"), key});
            waitUntilQuiet(pid);
        }
        const double typed = residentMb(pid);
        program.kill();
        program.waitForFinished();
        rows << memoryRow(QStringLiteral("start-up"), count, started, 250, ok)
             << memoryRow(QStringLiteral("opening the picker"), count, opened, 250, ok)
             << memoryRow(QStringLiteral("ten keystrokes in the picker"), count, typed, 250, ok);
    }
    return rows;
}
