#pragma once
// The carts the fault tests sell, the same in the selling process and in the checking one: sale
// `index` of the seller with seed `seed` is a cart of 1 to 50 lines. Its first line, entered by
// hand, names the sale ("sale <seed>-<index>", price 1, quantity 1) so that every recorded sale
// can be told apart; the others are distinct products of the test data file with 1 to 20 units.
#include <QList>
#include <QString>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace tillora::test {

struct PlannedLine {
    QString barcode; // empty for the line entered by hand
    QString name;
    int quantity = 1;
};

// The products of the test data file: barcodes P000 to P199, a few of them with little stock
// so that sales run into the floor of 0.
constexpr int plannedProductCount = 200;

inline QString plannedBarcode(int product) {
    return QStringLiteral("P%1").arg(product, 3, 10, QLatin1Char('0'));
}

inline int plannedStartStock(int product) {
    return product % 10 == 0 ? 15 : 1000000;
}

// The products table of the test data file.
inline QString plannedProductsSql() {
    QString sql;
    for (int p = 0; p < plannedProductCount; ++p)
        sql += QStringLiteral(
                   "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('%1', 'ITEM %1', '%2', %3);")
                   .arg(plannedBarcode(p))
                   .arg(1 + p % 7 * 0.25)
                   .arg(plannedStartStock(p));
    return sql;
}

inline QString saleMarker(quint64 seed, int index) {
    return QStringLiteral("sale %1-%2").arg(seed).arg(index);
}

inline QList<PlannedLine> plannedSale(quint64 seed, int index) {
    std::mt19937_64 random(seed * 1000003ULL + static_cast<quint64>(index));
    const int lines = std::uniform_int_distribution<int>(1, 50)(random);
    QList<PlannedLine> sale{{QString(), saleMarker(seed, index), 1}};
    std::vector<int> products(plannedProductCount);
    std::iota(products.begin(), products.end(), 0);
    std::shuffle(products.begin(), products.end(), random);
    std::uniform_int_distribution<int> quantity(1, 20);
    for (int i = 1; i < lines; ++i) {
        const QString barcode = plannedBarcode(products[static_cast<size_t>(i)]);
        sale.append({barcode, QStringLiteral("ITEM ") + barcode, quantity(random)});
    }
    return sale;
}

} // namespace tillora::test
