// The barcode lookup of every scan: the statement text built with quote(), run through
// Database::query, the row's fields read by name; against the bare sqlite3 calls on the
// same text and file.
#include "bench/bench.h"
#include "bench/products.h"

#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "store/sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int lookupsPerRun = 2000;
constexpr int repeats = 7;

QList<Row> lookupRows(int count) {
    const QString size = QString::number(count) + QStringLiteral(" products");
    const QString operation = QStringLiteral("barcode lookup (per scan)");
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("store_%1.db").arg(count));
    if (!makeProductFile(path, count))
        return {Row{operation, size, 0, -1, QStringLiteral("ratio <= 2"), false}};

    QStringList codes;
    QList<QByteArray> texts;
    for (int i = 0; i < lookupsPerRun; ++i) {
        const qint64 product = (static_cast<qint64>(i) * 104729) % count;
        codes << QString::fromLatin1(benchBarcode(product));
        texts << "SELECT * FROM urunler WHERE barkod=" + quote(codes.last()).toUtf8() + ";";
    }

    ScriptedMessages messages;
    Database db(messages);
    if (!db.open(path))
        return {Row{operation, size, 0, -1, QStringLiteral("ratio <= 2"), false}};
    qint64 checksum = 0;
    const double ours =
        medianMs(
            [&] {
                for (const QString& code : codes) {
                    const QueryResult r = db.query(QStringLiteral("SELECT * FROM urunler WHERE barkod=") +
                                                   quote(code) + QStringLiteral(";"));
                    for (int row = 0; row < r.rowCount(); ++row) {
                        checksum += r.integer(row, "id") + r.text(row, "barkod").size() +
                                    r.text(row, "urunadi").size() + r.text(row, "fiyat").size() +
                                    r.integer(row, "stok") + r.text(row, "kayittarihi").size();
                    }
                }
            },
            repeats) /
        lookupsPerRun;
    const qint64 oursChecksum = checksum;

    sqlite3* bare = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE, nullptr);
    checksum = 0;
    const double reference =
        medianMs(
            [&] {
                for (const QByteArray& text : texts) {
                    sqlite3_stmt* stmt = nullptr;
                    sqlite3_prepare_v2(bare, text.constData(), static_cast<int>(text.size()) + 1, &stmt,
                                       nullptr);
                    while (sqlite3_step(stmt) == SQLITE_ROW) {
                        checksum += sqlite3_column_int64(stmt, 0) + sqlite3_column_bytes(stmt, 1) +
                                    sqlite3_column_bytes(stmt, 2) +
                                    static_cast<qint64>(sqlite3_column_double(stmt, 3) > 0) +
                                    sqlite3_column_int64(stmt, 4) + sqlite3_column_bytes(stmt, 5);
                    }
                    sqlite3_finalize(stmt);
                }
            },
            repeats) /
        lookupsPerRun;
    sqlite3_close(bare);

    const bool found = oursChecksum != 0 && checksum != 0 && messages.shown.isEmpty();
    return {
        Row{operation, size, ours, reference, QStringLiteral("ratio <= 2"), found && ours <= 2 * reference}};
}

} // namespace

TILLORA_BENCHMARK(storeBarcodeLookup) {
    return lookupRows(100000) + lookupRows(1000000);
}
