#include "store/startup.h"

#include "store/database.h"
#include "store/sql.h"

namespace tillora {

namespace {

QString translated(const Translate& translate, const QString& text) {
    return translate ? translate(text) : text;
}

// Adds a column unless the table has it already. SQLite compares column names without
// regard to letter case, so "STOK" counts as "stok": adding it again could only fail.
void addColumnIfMissing(Database& db, const QString& table, const QString& column, const QString& alter) {
    const QueryResult info = db.query(QStringLiteral("PRAGMA table_info(") + table + QStringLiteral(");"));
    if (info.failed())
        return; // reported; the table cannot be examined, so it is left as it is
    if (info.isEmpty()) {
        // table_info gives no rows for a table that does not exist; the ALTER TABLE could
        // only fail with this same message.
        db.reportError(QStringLiteral("no such table: ") + table);
        return;
    }
    for (int row = 0; row < info.rowCount(); ++row) {
        if (info.text(row, "name").compare(column, Qt::CaseInsensitive) == 0)
            return;
    }
    db.command(alter);
}

// Creates an index unless the file has it. A file without the table is left alone: the index
// only speeds up reading it.
void addIndexIfMissing(Database& db, const QString& table, const QString& index, const QString& create) {
    const QueryResult found =
        db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE lower(name) IN (") + quote(table) +
                 QStringLiteral(", ") + quote(index) + QStringLiteral(");"));
    if (found.failed())
        return;
    bool hasTable = false;
    for (int row = 0; row < found.rowCount(); ++row) {
        const QString name = found.text(row, "name");
        if (name.compare(index, Qt::CaseInsensitive) == 0)
            return;
        hasTable = hasTable || name.compare(table, Qt::CaseInsensitive) == 0;
    }
    if (hasTable)
        db.command(create);
}

QStringList filterList(Database& db, const QString& first, const QString& sql, const char* column) {
    QStringList list{first};
    const QueryResult rows = db.query(sql);
    if (!rows.failed() && !rows.hasColumn(column)) {
        db.reportError(QStringLiteral("Field '%1' not found").arg(QLatin1String(column)));
        return list;
    }
    for (int row = 0; row < rows.rowCount(); ++row)
        list.append(rows.text(row, column));
    return list;
}

} // namespace

void upgradeDataFile(Database& db) {
    addColumnIfMissing(db, QStringLiteral("urunler"), QStringLiteral("stok"),
                       QStringLiteral("ALTER TABLE urunler ADD COLUMN stok INTEGER DEFAULT 0;"));
    addColumnIfMissing(db, QStringLiteral("veresiyeler"), QStringLiteral("odemetarihi"),
                       QStringLiteral("ALTER TABLE veresiyeler ADD COLUMN odemetarihi DATETIME;"));
    addIndexIfMissing(
        db, QStringLiteral("odemeler"), QStringLiteral("odemeler_barkod_toplam"),
        QStringLiteral("CREATE INDEX odemeler_barkod_toplam ON odemeler(barkod, odemetarihi, adet, "
                       "fiyat, urunadi);"));
}

QStringList customerFilterList(Database& db, const Translate& translate) {
    return filterList(db, translated(translate, QStringLiteral("All Customers")),
                      QStringLiteral("SELECT * FROM musteriler order by musteriadi;"), "musteriadi");
}

QStringList productFilterList(Database& db, const Translate& translate) {
    return filterList(db, translated(translate, QStringLiteral("All Products")),
                      QStringLiteral("SELECT * FROM urunler order by urunadi;"), "urunadi");
}

StartupLists runStartupWork(Database& db, const QString& path, const Translate& translate,
                            LaterLists laterLists) {
    const bool opened = db.open(path);
    if (opened)
        upgradeDataFile(db);
    else
        db.reportError(db.lastError());
    StartupLists lists;
    lists.customers = customerFilterList(db, translate);
    lists.products = productFilterList(db, translate);
    // Armed after the lists, so that start-up does not wait for the file once more for each.
    if (!opened) {
        db.openLater(path, [&db, translate, laterLists = std::move(laterLists)]() {
            upgradeDataFile(db);
            const StartupLists later{customerFilterList(db, translate), productFilterList(db, translate)};
            if (laterLists)
                laterLists(later);
        });
    }
    return lists;
}

} // namespace tillora
