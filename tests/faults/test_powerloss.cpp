// Power loss in the middle of sales: a seller process sells carts of 1 to 50 lines into a data
// file and is killed with SIGKILL at a random moment, again and again. After every kill the
// file is sound, every recorded sale is whole (all its lines and all its stock changes, or
// none), and the stock is the starting stock less the recorded quantities, never below 0.
//
// Two sellers on one data file: every sale of both is recorded once, none lost.
//
// TILLORA_KILLS sets the number of kills (200 here; the soak runs 2,000).
#include "tests/faults/salecheck.h"
#include "tests/faults/saleplan.h"
#include "tests/support/datafile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <numeric>

using namespace tillora;
using namespace tillora::test;

namespace {

QString driverPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tillora_saledriver");
}

// Waits for a line of the driver's output that starts with prefix.
bool waitForLine(QProcess& driver, const QByteArray& prefix, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        while (driver.canReadLine()) {
            if (driver.readLine().startsWith(prefix))
                return true;
        }
        if (driver.state() == QProcess::NotRunning)
            return false;
        driver.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    return false;
}

} // namespace

class TestPowerLoss : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedSellerLosesNothing();
    void twoSellersOnOneFile();
};

void TestPowerLoss::killedSellerLosesNothing() {
    const int kills =
        qEnvironmentVariableIsSet("TILLORA_KILLS") ? qEnvironmentVariableIntValue("TILLORA_KILLS") : 200;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.db"));
    QVERIFY(makeDataFile(path, plannedProductsSql()));
    SaleChecker checker(path);
    QRandomGenerator random(QRandomGenerator::global()->generate());
    int insideTransaction = 0;

    for (int kill = 0; kill < kills; ++kill) {
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(driverPath(), {path, QString::number(kill)});
        QVERIFY2(waitForLine(driver, "ready", 30000), "the seller did not start");
        // Anywhere from before the first sale to some sales in.
        QThread::usleep(random.bounded(80000));
        QVERIFY2(driver.state() == QProcess::Running, "the seller stopped by itself");
        ::kill(static_cast<pid_t>(driver.processId()), SIGKILL);
        QVERIFY(driver.waitForFinished(10000));
        if (QFileInfo(path + QStringLiteral("-journal")).size() > 0)
            ++insideTransaction;

        QVERIFY2(checker.fileIsSound(), qPrintable(checker.error()));
        QVERIFY2(checker.checkNewSales(),
                 qPrintable(QStringLiteral("kill %1: ").arg(kill) + checker.error()));
        QVERIFY2(checker.stockMatches(), qPrintable(QStringLiteral("kill %1: ").arg(kill) + checker.error()));
    }
    QVERIFY(!checker.sales().isEmpty());
    qInfo("power loss: %d kills survived (%d inside a transaction), %lld whole sales checked", kills,
          insideTransaction, static_cast<long long>(checker.sales().size()));
}

void TestPowerLoss::twoSellersOnOneFile() {
    constexpr int salesEach = 30;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.db"));
    QVERIFY(makeDataFile(path, plannedProductsSql()));
    QProcess first;
    QProcess second;
    for (QProcess* driver : {&first, &second})
        driver->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(driverPath(), {path, QStringLiteral("1"), QString::number(salesEach)});
    second.start(driverPath(), {path, QStringLiteral("2"), QString::number(salesEach)});
    for (QProcess* driver : {&first, &second}) {
        QVERIFY(driver->waitForFinished(120000));
        QCOMPARE(driver->exitStatus(), QProcess::NormalExit);
        QCOMPARE(driver->exitCode(), 0);
    }
    SaleChecker checker(path);
    QVERIFY2(checker.fileIsSound(), qPrintable(checker.error()));
    QVERIFY2(checker.checkNewSales(), qPrintable(checker.error()));
    QVERIFY2(checker.stockMatches(), qPrintable(checker.error()));
    // Each sale of both sellers once, in its own order.
    QHash<quint64, QList<int>> bySeller;
    for (const RecordedSale& sale : checker.sales())
        bySeller[sale.seed].append(sale.index);
    QList<int> all(salesEach);
    std::iota(all.begin(), all.end(), 0);
    QCOMPARE(bySeller.value(1), all);
    QCOMPARE(bySeller.value(2), all);
}

QTEST_GUILESS_MAIN(TestPowerLoss)
#include "test_powerloss.moc"
