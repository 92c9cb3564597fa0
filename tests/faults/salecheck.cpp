#include "tests/faults/salecheck.h"

#include "tests/faults/saleplan.h"
#include "tests/support/datafile.h"

#include <QRegularExpression>

#include <algorithm>

namespace tillora::test {

SaleChecker::SaleChecker(QString path) : path_(std::move(path)) {
    for (int p = 0; p < plannedProductCount; ++p)
        stock_.insert(plannedBarcode(p), plannedStartStock(p));
}

bool SaleChecker::fail(const QString& reason) {
    error_ = reason;
    return false;
}

bool SaleChecker::fileIsSound() {
    // Opening for writing rolls back what a killed writer left half done, as the next start of
    // the program does; a connection that only reads would refuse the file instead.
    if (!execOn(path_, QStringLiteral("SELECT count(*) FROM sqlite_master;")))
        return fail(QStringLiteral("the file cannot be opened after the kill"));
    const QStringList result = rowsOf(path_, QStringLiteral("PRAGMA integrity_check;"));
    return result == QStringList{QStringLiteral("ok")} ||
           fail(QStringLiteral("integrity_check: ") + result.join(QLatin1Char(' ')));
}

bool SaleChecker::checkNewSales() {
    const QStringList rows = rowsOf(
        path_, QStringLiteral("SELECT id, barkod, urunadi, adet FROM odemeler WHERE id > %1 ORDER BY id;")
                   .arg(lastId_));
    static const QRegularExpression marker(QStringLiteral("^sale (\\d+)-(\\d+)$"));
    qsizetype at = 0;
    while (at < rows.size()) {
        const QStringList first = rows[at].split(QLatin1Char('|'));
        const QRegularExpressionMatch match = marker.match(first.value(2));
        if (first.value(1) != QString() || !match.hasMatch())
            return fail(QStringLiteral("a line outside any sale: ") + rows[at]);
        const RecordedSale sale{match.captured(1).toULongLong(), match.captured(2).toInt()};
        const QList<PlannedLine> plan = plannedSale(sale.seed, sale.index);
        if (at + plan.size() > rows.size())
            return fail(QStringLiteral("%1 is cut short: %2 of %3 lines")
                            .arg(first.value(2))
                            .arg(rows.size() - at)
                            .arg(plan.size()));
        for (const PlannedLine& line : plan) {
            const QStringList row = rows[at].split(QLatin1Char('|'));
            if (row.value(1) != line.barcode || row.value(2) != line.name ||
                row.value(3) != QString::number(line.quantity))
                return fail(QStringLiteral("%1 differs from its cart at %2").arg(first.value(2), rows[at]));
            lastId_ = row.value(0).toLongLong();
            if (!line.barcode.isEmpty())
                stock_[line.barcode] = std::max<qint64>(0, stock_.value(line.barcode) - line.quantity);
            ++at;
        }
        sales_.append(sale);
    }
    return true;
}

bool SaleChecker::stockMatches() {
    for (const QString& row : rowsOf(path_, QStringLiteral("SELECT barkod, stok FROM urunler;"))) {
        const QStringList fields = row.split(QLatin1Char('|'));
        const qint64 stock = fields.value(1).toLongLong();
        if (stock < 0)
            return fail(QStringLiteral("stock below 0: ") + row);
        if (stock != stock_.value(fields.value(0), -1))
            return fail(QStringLiteral("stock of %1 is %2, the recorded sales leave %3")
                            .arg(fields.value(0))
                            .arg(stock)
                            .arg(stock_.value(fields.value(0), -1)));
    }
    return true;
}

} // namespace tillora::test
