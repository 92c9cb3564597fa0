#pragma once
// Checks what the sellers of saleplan.h left in a data file: the file is sound, every recorded
// sale is whole (its marker line and every planned line, nothing else between), and the stock
// of every product is its starting stock less what the recorded sales took, never below 0.
#include <QHash>
#include <QList>
#include <QString>

namespace tillora::test {

struct RecordedSale {
    quint64 seed = 0;
    int index = 0;
};

class SaleChecker {
public:
    explicit SaleChecker(QString path);

    // Reads the payments recorded since the last call and checks them; false with the reason
    // in error(). The sales found are appended to sales().
    bool checkNewSales();
    // integrity_check of the file is "ok".
    bool fileIsSound();
    // The stock of every product equals the starting stock less the recorded sales, in the order
    // they were recorded, each product never below 0.
    bool stockMatches();

    const QList<RecordedSale>& sales() const { return sales_; }
    const QString& error() const { return error_; }

private:
    bool fail(const QString& reason);

    QString path_;
    qint64 lastId_ = 0;
    QList<RecordedSale> sales_;
    QHash<QString, qint64> stock_; // what the stock must be after the sales read so far
    QString error_;
};

} // namespace tillora::test
