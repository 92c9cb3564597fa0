// The products import of 100,000 lines against the sqlite3 command-line ".import" of the same
// file into the same indexed table, run side by side; the payments export of 1,000,000 rows
// against the bare statement stepped through plus writing the same bytes to a file.
#include "bench/bench.h"
#include "bench/products.h"

#include "exchange/csvexport.h"
#include "exchange/csvimport.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int importLines = 100000;
constexpr int exportRows = 1000000;
constexpr int repeats = 5;

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One run of ours and then of the reference, each giving its time; false when a run failed.
using SideBySide = std::function<bool(double& oursMs, double& referenceMs)>;

// Runs both repeats times after one run that warms the caches, alternating so that a busy
// moment of the machine falls on both; the row with the medians, or a failed row.
Row sideBySide(const QString& operation, const QString& size, const QString& goal, double allowedRatio,
               const SideBySide& run) {
    std::vector<double> ours;
    std::vector<double> reference;
    for (int i = 0; i <= repeats; ++i) {
        double o = 0;
        double r = 0;
        if (!run(o, r))
            return Row{operation, size, 0, -1, goal, false};
        if (i > 0) {
            ours.push_back(o);
            reference.push_back(r);
        }
    }
    const double o = median(ours);
    const double r = median(reference);
    return Row{operation, size, o, r, goal, o <= allowedRatio * r};
}

double elapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

bool exec(const QString& path, const QByteArray& sql) {
    sqlite3* db = nullptr;
    char* error = nullptr;
    const bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "bench_exchange: %s\n", error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

qint64 count(const QString& path, const char* table) {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    qint64 n = -1;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, (QByteArray("SELECT count(*) FROM ") + table).constData(), -1, &stmt,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return n;
}

bool freshCopy(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

// ---- import

// The file the import reads: barcode;name;price;stock with CR LF, as a shop would prepare it.
QByteArray importFile() {
    QByteArray bytes;
    bytes.reserve(importLines * 40);
    for (int i = 0; i < importLines; ++i) {
        bytes += benchBarcode(i) + ";Product " + QByteArray::number(i) + ";" +
                 QByteArray::number(0.5 + (i % 1000) * 0.25, 'f', 2) + ";" + QByteArray::number(i % 50) +
                 "\r\n";
    }
    return bytes;
}

QList<Row> importRows() {
    const QString operation = QStringLiteral("import products (vs sqlite3 .import)");
    const QString size = QStringLiteral("100,000 lines");
    const QString goal = QStringLiteral("ratio <= 1");
    const QDir scratch(scratchFolder());
    const QString csv = scratch.filePath(QStringLiteral("import.csv"));
    const QByteArray bytes = importFile();
    QFile out(csv);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return {Row{operation, size, 0, -1, goal, false}};
    out.close();

    // The command line fills a table's columns in order from each line's fields, so its table is
    // urunler with the file's four columns first and the same types, defaults, key and index;
    // the two columns the file lacks it fills with NULL (saying so for every line on stderr,
    // which goes nowhere): the key is given by the database, the date stays empty, so the
    // command line does a little less work per row than the program.
    const QString cliMaster = scratch.filePath(QStringLiteral("import_cli_master.db"));
    QFile::remove(cliMaster);
    if (!exec(cliMaster,
              "CREATE TABLE urunler (barkod TEXT, urunadi TEXT, fiyat REAL, stok INTEGER DEFAULT 0, "
              "kayittarihi TEXT DEFAULT (datetime('now','localtime')), "
              "id INTEGER PRIMARY KEY AUTOINCREMENT);"
              "CREATE INDEX urunler_barkod ON urunler(barkod);"))
        return {Row{operation, size, 0, -1, goal, false}};

    const QString ours = scratch.filePath(QStringLiteral("import_ours.db"));
    const QString cli = scratch.filePath(QStringLiteral("import_cli.db"));
    return {sideBySide(operation, size, goal, 1.0, [&](double& oursMs, double& cliMs) {
        // Ours: the file read and imported on an open connection, as the menu command does.
        bool ok = freshCopy(QStringLiteral(TILLORA_EMPTY_DB), ours);
        ScriptedMessages messages;
        ScriptedProgress progress;
        Database db(messages);
        ok = ok && db.open(ours);
        QElapsedTimer timer;
        timer.start();
        QFile in(csv);
        ok = ok && in.open(QIODevice::ReadOnly);
        const ImportOutcome outcome = importProductsCsv(db, in.readAll(), QStringLiteral(";"), {}, &progress);
        oursMs = elapsedMs(timer);
        db.close();
        ok = ok && outcome.committed && outcome.inserted == importLines && messages.shown.isEmpty();

        // The command line: a process of its own, opening the file, importing, closing.
        ok = ok && freshCopy(cliMaster, cli);
        QProcess sqlite;
        sqlite.setStandardErrorFile(QProcess::nullDevice());
        sqlite.setStandardOutputFile(QProcess::nullDevice());
        timer.start();
        sqlite.start(QStringLiteral("sqlite3"),
                     {cli, QStringLiteral(".separator ;"), ".import " + csv + " urunler"});
        ok = ok && sqlite.waitForFinished(120000) && sqlite.exitStatus() == QProcess::NormalExit;
        cliMs = elapsedMs(timer);
        return ok && count(cli, "urunler") == importLines && count(ours, "urunler") == importLines;
    })};
}

// ---- export

bool makePaymentFile(const QString& path) {
    QFile::remove(path);
    return freshCopy(QStringLiteral(TILLORA_EMPTY_DB), path) &&
           exec(path,
                "BEGIN;"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
                    QByteArray::number(exportRows) +
                    ") INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) "
                    "SELECT printf('%013d', i*7919 % 10000000000000), 'Product ' || (i % 100000), 1 + i % 5, "
                    "0.5 + (i % 1000) * 0.25, "
                    "datetime('2024-01-01 08:00:00', '+' || (i * 37) || ' seconds') FROM n;"
                    "COMMIT;");
}

// The bare statement: every row stepped and every field read as text, as an export needs it.
qint64 stepPayments(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    qint64 bytes = 0;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_prepare_v2(db, "SELECT * FROM odemeler order by id;", -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            sqlite3_column_text(stmt, c);
            bytes += sqlite3_column_bytes(stmt, c);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return bytes;
}

// The same bytes written whole, the way the export writes them: in 1 MB pieces to a file put in
// place once it reached the disk.
bool writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (qsizetype at = 0; at < bytes.size(); at += 1 << 20) {
        const QByteArray piece = bytes.mid(at, 1 << 20);
        if (file.write(piece) != piece.size())
            return false;
    }
    return file.commit();
}

QList<Row> exportRowsOf() {
    const QString operation = QStringLiteral("export payments (vs bare statement + write)");
    const QString size = QStringLiteral("1,000,000 rows");
    const QString goal = QStringLiteral("ratio <= 1.5");
    const QDir scratch(scratchFolder());
    const QString data = scratch.filePath(QStringLiteral("payments.db"));
    if (!makePaymentFile(data))
        return {Row{operation, size, 0, -1, goal, false}};
    const QString oursCsv = scratch.filePath(QStringLiteral("payments.csv"));
    const QString bareCsv = scratch.filePath(QStringLiteral("payments-bare.csv"));

    QByteArray written;
    return {sideBySide(operation, size, goal, 1.5, [&](double& oursMs, double& bareMs) {
        ScriptedMessages messages;
        ScriptedProgress progress;
        Database db(messages);
        bool ok = db.open(data);
        QElapsedTimer timer;
        timer.start();
        const ExportOutcome outcome =
            writeCsvExport(db, ExchangeTable::Payments, oursCsv, QStringLiteral(";"), {}, &progress);
        oursMs = elapsedMs(timer);
        ok = ok && outcome.status == ExportOutcome::Status::Written && outcome.rows == exportRows;
        if (written.isEmpty()) {
            QFile file(oursCsv);
            ok = ok && file.open(QIODevice::ReadOnly);
            written = file.readAll();
        }
        timer.start();
        ok = ok && stepPayments(data) > 0 && writeBytes(bareCsv, written);
        bareMs = elapsedMs(timer);
        return ok;
    })};
}

} // namespace

TILLORA_BENCHMARK(exchangeImport) {
    return importRows();
}

TILLORA_BENCHMARK(exchangeExport) {
    return exportRowsOf();
}
