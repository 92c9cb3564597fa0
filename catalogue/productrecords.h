#pragma once
// The products screen's rules apart from its widgets: its five statements, the lookup of a
// barcode, the check of a typed name and price, the price as the screen shows it and the
// whole-number stock box with its range.
#include <QString>

#include <optional>

namespace tillora {

class Database;

// Every product, in barcode order, for the barcode box's list.
QString productListStatement();
QString productLookupStatement(const QString& barcode);
QString productAddStatement(const QString& barcode, const QString& name, const QString& price, qint32 stock);
QString productUpdateStatement(const QString& barcode, const QString& name, const QString& price,
                               qint32 stock);
QString productDeleteStatement(const QString& barcode);

// A stored product as the screen shows it.
struct ShownProduct {
    QString barcode;
    QString name;
    QString price; // shownPrice() of the stored price
    qint32 stock = 0;
    QString recordDate;
};

// Runs the lookup statement for the barcode as typed (blanks kept). When several products
// share the barcode the last row read wins. Nothing when none is stored or the query failed
// (the failure is reported).
std::optional<ShownProduct> lookUpProduct(Database& db, const QString& barcode);

// What ADD and UPDATE write: the name and the price with their outer blanks removed and every
// "," of the price turned into ".". Valid when neither is empty and the price reads as a
// number with "." as decimal point (sign and exponent allowed; zero and negative prices too).
struct ProductEntry {
    QString name;
    QString price;
    bool valid = false;
};
ProductEntry checkProductEntry(const QString& name, const QString& price);

// A price in its shortest decimal form: up to 15 significant digits, "." as decimal point,
// no trailing zeros (1.5, 12, 0.3), exponent notation written as 1E20 or 1E-5.
QString shortestPrice(double value);
// The stored price text as the price box shows it: a number in its shortest form, any other
// text as stored.
QString shownPrice(const QString& stored);

// The stock box holds a whole number from 0 to 999999.
inline constexpr qint32 minimumStock = 0;
inline constexpr qint32 maximumStock = 999999;
// The characters the stock box accepts: digits, "+", "-" and ".".
bool isStockCharacter(QChar c);
bool isStockText(const QString& text);
// The stock box's value for its text: a whole number pulled to the nearer bound when outside
// the range (also one too long for any integer); 0 for any other text.
qint32 stockFromText(const QString& text);
qint32 stockInRange(qint64 stock);

} // namespace tillora
