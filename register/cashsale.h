#pragma once
// Completing the sale in progress: every cart line recorded with the stock of its product
// lowered (never below 0), all in one transaction, then the receipt step, then the register
// cleared for the next customer. A sale is recorded whole or not at all: at the first failing
// statement the failure is reported, the transaction is rolled back and the cart and discount
// stay as they were, so the cashier can try again.
#include "receipts/receipts.h"

#include <QList>
#include <QString>

#include <functional>

namespace tillora {

class Database;
class SaleRegister;
struct Services;
struct CartLine;

// What completing a sale works on; the main window owns all of it.
struct SaleContext {
    Database& db;
    SaleRegister& reg;
    Services& services;
    ReceiptSettings& receipts;
    Translate translate;
    // Puts the focus back on the cart list (a declined confirmation). May be empty.
    std::function<void()> focusCartList;
    // Brings the sale screen back to entry mode after the register was cleared
    // (EkleDuzeltSifirla; the totals are redrawn by the register's onTotalsChanged). May be empty.
    std::function<void()> resetScreen;
};

enum class SaleResult {
    Declined,    // not confirmed, or nothing to sell: nothing happened
    NotRecorded, // a statement failed: rolled back, the cart stays
    Completed,   // recorded; the register is cleared (also after "Printer not found!")
};

// The price charged for a line: its discounted unit price while a discount is set.
QString priceCharged(const CartLine& line, double discountPercent);
// A line's quantity as the sale records it: its text as an integer, 0 when it is none.
qint64 quantitySold(const CartLine& line);

// The statements of one sale, as the sale runs them.
QString cashInsertStatement(const CartLine& line, double discountPercent);
QString creditInsertStatement(const QString& customerId, const QString& customerName, const CartLine& line,
                              double discountPercent);
QString stockQueryStatement(const QString& barcode);
QString stockUpdateStatement(const QString& barcode, qint64 newStock);

// "SELL BY CASH": asks "Confirm?" (caption "Sell by Cash"), then records the sale in odemeler.
SaleResult SellByCash(SaleContext& sale);

// The credit sale of the chooser's OK for the chosen customer, recorded in veresiyeler; no
// question of its own.
SaleResult SellOnCredit(SaleContext& sale, const QString& customerId, const QString& customerName);

} // namespace tillora
