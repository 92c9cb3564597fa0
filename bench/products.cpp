#include "bench/products.h"

#include "bench/bench.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

namespace tillora::bench {

namespace {

QString schemaText() {
    QString path = qEnvironmentVariable("TILLORA_SCHEMA");
    if (path.isEmpty())
        path = QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath(QStringLiteral("../store/schema.sql"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

// The barcode of product i: 13 digits, spread over the range so the index is not filled in order.
QByteArray benchBarcode(qint64 i) {
    char text[16];
    std::snprintf(text, sizeof text, "%013lld",
                  static_cast<long long>((i * 7919 + 12345) % 10000000000000LL));
    return QByteArray(text);
}

// A data file from the schema with count products, made in one transaction with one
// prepared insert.
bool makeProductFile(const QString& path, int count, const ProductName& nameOf) {
    const QString schema = schemaText();
    if (schema.isEmpty())
        return false;
    QFile::remove(path);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, schema.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok &&
         sqlite3_prepare_v2(db, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?);", -1,
                            &insert, nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < count; ++i) {
        const QByteArray code = benchBarcode(i);
        const QByteArray name = nameOf ? nameOf(i) : "Product " + QByteArray::number(i);
        sqlite3_bind_text(insert, 1, code.constData(), static_cast<int>(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, 0.5 + (i % 1000) * 0.25);
        sqlite3_bind_int(insert, 4, i % 50);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "cannot make products: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

QString programFolder(const QString& name, int count) {
    const QString folder = scratchFolder() + QStringLiteral("/%1-%2").arg(name).arg(count);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QFile::copy(QStringLiteral(TILLORA_BINARY), folder + QStringLiteral("/tillora"));
    makeProductFile(folder + QStringLiteral("/data.db"), count);
    return folder;
}

double bareQueryMs(const QString& path, const QString& sql, int repeats) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray text = sql.toUtf8();
    qint64 checksum = 0;
    const double ms = medianMs(
        [&] {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()) + 1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                    checksum += sqlite3_column_bytes(stmt, i);
            }
            sqlite3_finalize(stmt);
        },
        repeats);
    sqlite3_close(db);
    return checksum > 0 ? ms : -1;
}

} // namespace tillora::bench
