#include "catalogue/productrecords.h"

#include "common/formats.h"
#include "store/database.h"
#include "store/sql.h"

#include <algorithm>

namespace tillora {

QString productListStatement() {
    return QStringLiteral("SELECT * FROM urunler order by barkod;");
}

QString productLookupStatement(const QString& barcode) {
    return QStringLiteral("SELECT * FROM urunler where barkod=") + quote(barcode) + QLatin1Char(';');
}

QString productAddStatement(const QString& barcode, const QString& name, const QString& price, qint32 stock) {
    return QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok) values (") + quote(barcode) +
           QLatin1Char(',') + quote(name) + QLatin1Char(',') + quote(price) + QLatin1Char(',') +
           quote(QString::number(stock)) + QStringLiteral(");");
}

QString productUpdateStatement(const QString& barcode, const QString& name, const QString& price,
                               qint32 stock) {
    return QStringLiteral("update urunler set urunadi=") + quote(name) + QStringLiteral(", fiyat=") +
           quote(price) + QStringLiteral(", stok=") + quote(QString::number(stock)) +
           QStringLiteral(" where barkod=") + quote(barcode) + QLatin1Char(';');
}

QString productDeleteStatement(const QString& barcode) {
    return QStringLiteral("delete from urunler where barkod=") + quote(barcode) + QLatin1Char(';');
}

std::optional<ShownProduct> lookUpProduct(Database& db, const QString& barcode) {
    const QueryResult rows = db.query(productLookupStatement(barcode));
    if (rows.isEmpty())
        return std::nullopt;
    const int last = rows.rowCount() - 1;
    ShownProduct product;
    product.barcode = rows.text(last, "barkod");
    product.name = rows.text(last, "urunadi");
    product.price = shownPrice(rows.text(last, "fiyat"));
    product.stock = stockInRange(rows.integer(last, "stok"));
    product.recordDate = rows.text(last, "kayittarihi");
    return product;
}

ProductEntry checkProductEntry(const QString& name, const QString& price) {
    ProductEntry entry;
    entry.name = name.trimmed();
    entry.price = price.trimmed();
    entry.price.replace(QLatin1Char(','), QLatin1Char('.'));
    entry.valid = !entry.name.isEmpty() && !entry.price.isEmpty() && isNumber(entry.price);
    return entry;
}

QString shortestPrice(double value) {
    QString text = QString::number(value, 'g', 15);
    // 'g' writes an exponent as e+20 or e-05; the program writes 1E20 and 1E-5.
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString exponent = text.mid(e + 1);
    const bool negative = exponent.startsWith(QLatin1Char('-'));
    if (exponent.startsWith(QLatin1Char('+')) || negative)
        exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return text.left(e) + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
}

QString shownPrice(const QString& stored) {
    return isNumber(stored) ? shortestPrice(readAmount(stored)) : stored;
}

bool isStockCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
           c == QLatin1Char('-') || c == QLatin1Char('.');
}

bool isStockText(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), isStockCharacter);
}

qint32 stockFromText(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return 0;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        // Past the upper bound the exact value no longer matters: it is pulled to a bound.
        value = std::min<qint64>(value * 10 + (c.unicode() - '0'), qint64(maximumStock) + 1);
    }
    return stockInRange(negative ? -value : value);
}

qint32 stockInRange(qint64 stock) {
    return static_cast<qint32>(std::clamp<qint64>(stock, minimumStock, maximumStock));
}

} // namespace tillora
