#pragma once
// The list of the stock count sheet: every product with its price, stock and record date,
// most stock first as the statement returns them, re-sorted by any column as text.
//
// The rows stay in the query result; cell texts are made when shown, and the sort keys of a
// column once, at its first sort, so that a catalogue of 100,000 products opens and sorts at
// once.
#include "store/database.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace tillora {

// "SELECT * FROM urunler order by stok desc;"
QString stockSheetStatement();

// The sheet's text comparison: only the letters a to z are folded to upper case, every other
// character compares by its UTF-16 code unit, and a text sorts after its own prefixes.
// Negative, zero or positive.
int compareStockTexts(const QString& a, const QString& b);

class StockListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int columns = 5; // Barcode, Product, Price, Stock, Date

    // captions: the five column captions as shown.
    explicit StockListModel(QStringList captions, QObject* parent = nullptr);

    // Replaces every row by those of result, in result order (the views are reset once). A
    // result without one of the columns barkod, urunadi, fiyat, stok, kayittarihi raises
    // AppError "Field '...' not found" and leaves the list empty.
    void setRows(QueryResult result);

    // The text of a cell: the barcode, the name, the price (FormatMoney, "0" when it cannot be
    // read as a number), the stock and the record date as stored.
    QString cellText(int row, int column) const;

    // The header click: the sorted column clicked again reverses the order, another column
    // sorts ascending. The sort starts at column 0 ascending while the rows arrive in stock
    // order, so the first click on column 0 sorts it descending.
    void columnClick(int column);
    // Sorts every row by column (ties keep their order); selections follow their rows.
    void sortBy(int column, bool descending);
    int sortedColumn() const { return SortedColumn1; }
    bool descending() const { return Descending1; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // The cell of the result row record (not the shown row).
    QString recordText(int record, int column) const;
    const std::vector<QString>& sortKeys(int column);

    QStringList captions_;
    QueryResult result_;
    int fields_[columns] = {-1, -1, -1, -1, -1}; // result column of each list column
    std::vector<int> order_;                     // shown row -> result row
    std::vector<QString> keys_[columns];         // per column, the folded texts by result row
    int SortedColumn1 = 0;
    bool Descending1 = false;
};

} // namespace tillora
