#pragma once
// The sale in progress: the cart lines as the cart list shows them, and the register's
// arithmetic. Amounts live as their displayed two-decimal texts and every computation reads
// them back from those texts, so the totals are always the sums of what the cashier sees.
#include "common/translate.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

namespace tillora {

class Database;

struct CartLine {
    QString barcode; // empty for a line entered by hand
    QString name;
    QString price;           // FormatMoney of the unit price
    QString quantity;        // decimal integer
    QString total;           // FormatMoney of price x quantity
    QString discountedPrice; // empty while the discount is 0
    QString discountedTotal; // empty while the discount is 0
    bool operator==(const CartLine&) const = default;
};

// The rows of the cart list: seven text columns, appended at the end, never reordered.
class CartModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Barcode, Product, Price, Quantity, Total, DiscountedPrice, DiscountedTotal, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setHeaders(const QStringList& headers);
    int size() const { return static_cast<int>(lines_.size()); }
    bool isEmpty() const { return lines_.isEmpty(); }
    const CartLine& line(int row) const { return lines_[row]; }
    const QList<CartLine>& lines() const { return lines_; }
    void append(const CartLine& line);
    void replace(int row, const CartLine& line);
    void remove(int row);
    void clear();

private:
    QList<CartLine> lines_;
    QStringList headers_;
};

// The values of the sale register and the operations on the cart. Every change of the
// totals is announced with totalsChanged(); what the screens show then is theirs to decide.
class SaleRegister : public QObject {
    Q_OBJECT

public:
    explicit SaleRegister(Database& db) : db_(db) {}

    CartModel& cart() { return cart_; }
    const CartModel& cart() const { return cart_; }

    QString ScanBuffer;       // the code waiting to be looked up
    qint64 QuantityToAdd = 1; // units a lookup adds
    double GrandTotal = 0;    // sum of the displayed (discounted) line totals
    double DiscountPercent = 0;
    QString DiscountLabel = QStringLiteral("0%");
    QString CurrencySymbol = QStringLiteral("$");

    // Looks ScanBuffer up in the products, untrimmed, and adds QuantityToAdd units of each
    // matching row: to the line that already holds that barcode, else as a new line. Returns
    // true when a product was found. A product whose price is no number, or a line whose
    // total would not be a finite amount, raises AppError and leaves the cart as it was.
    bool lookUpScanBuffer();
    // A line entered by hand (no barcode); never merged with another. A line whose total
    // would not be a finite amount raises AppError and is not added.
    void addByHand(const QString& name, double price, qint64 quantity);
    // Sets (does not add to) the quantity of a line, from its displayed unit price; a total
    // that would not be a finite amount raises AppError and leaves the line as it was.
    void setQuantity(int row, qint64 quantity);
    void removeLine(int row);
    // Recomputes GrandTotal from the displayed line totals, then emits totalsChanged().
    void computeTotals();
    // The discount prompt's answer: false when the text fails the number test (nothing changes).
    bool applyDiscount(const QString& text);
    // After a completed sale: empty cart, discount 0.
    void clearSale();

    QString grandTotalText() const;
    // The change panel's suggestion lines for the usual banknotes above the grand total.
    QStringList changeSuggestions(const Translate& translate) const;
    // The change for the cash typed: FormatMoney(cash - total), "0.00" when the cash is no number.
    static QString changeFor(const QString& cashText, double grandTotal);
    // A line's quantity text as an integer, 1 when it is none.
    static qint64 quantityOf(const CartLine& line);

Q_SIGNALS:
    void totalsChanged();

private:
    CartLine makeLine(const QString& barcode, const QString& name, double price, qint64 quantity) const;
    void setDiscountFields(CartLine& line, double price, qint64 quantity) const;
    // Raises the amount reader's error when a total of line does not read back as an amount
    // (a product of price and quantity beyond the largest number gives "INF").
    static void checkTotals(const CartLine& line);

    Database& db_;
    CartModel cart_;
};

} // namespace tillora
