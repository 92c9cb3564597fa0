// Process start to the data file opened, against a bare Qt window start.
#include "bench/bench.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using namespace tillora::bench;

namespace {

double runMs(const QString& program, const QString& folder) {
    return medianMs(
        [&]() {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("TILLORA_QUIT_AFTER_STARTUP"), QStringLiteral("1"));
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
            env.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
            process.setProcessEnvironment(env);
            process.start(program, {});
            process.waitForFinished(30000);
        },
        15);
}

} // namespace

TILLORA_BENCHMARK(startup) {
    const QString folder = scratchFolder() + QStringLiteral("/startup");
    QDir().mkpath(folder);
    const QString program = folder + QStringLiteral("/tillora");
    QFile::remove(program);
    QFile::copy(QStringLiteral(TILLORA_BINARY), program);
    QFile::remove(folder + QStringLiteral("/data.db"));
    QFile::copy(QStringLiteral(TILLORA_EMPTY_DB), folder + QStringLiteral("/data.db"));
    QFile::setPermissions(folder + QStringLiteral("/data.db"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const double ours = runMs(program, folder);
    const double bare = runMs(QStringLiteral(TILLORA_BARE_WINDOW), folder);
    Row row{QStringLiteral("process start to data file open"), QStringLiteral("empty data.db"), ours, bare,
            QStringLiteral("ratio <= 1.5")};
    row.met = ours <= 1.5 * bare;
    return {row};
}
