#include "register/cashsale.h"

#include "common/formats.h"
#include "platform/guard.h"
#include "platform/services.h"
#include "register/cart.h"
#include "store/database.h"
#include "store/sql.h"

#include <algorithm>

namespace tillora {

QString priceCharged(const CartLine& line, double discountPercent) {
    return discountPercent != 0 ? line.discountedPrice : line.price;
}

qint64 quantitySold(const CartLine& line) {
    try {
        return readQuantity(line.quantity);
    } catch (const AppError&) {
        return 0;
    }
}

QString cashInsertStatement(const CartLine& line, double discountPercent) {
    return QStringLiteral("insert into odemeler (barkod,urunadi,adet,fiyat) values (") + quote(line.barcode) +
           QStringLiteral(", ") + quote(line.name) + QLatin1Char(',') +
           quote(QString::number(quantitySold(line))) + QLatin1Char(',') +
           quote(priceCharged(line, discountPercent)) + QStringLiteral(");");
}

QString creditInsertStatement(const QString& customerId, const QString& customerName, const CartLine& line,
                              double discountPercent) {
    return QStringLiteral(
               "insert into veresiyeler (musteriid,musteriadi,barkod,urunadi,adet,fiyat) values (") +
           quote(customerId) + QLatin1Char(',') + quote(customerName) + QLatin1Char(',') +
           quote(line.barcode) + QStringLiteral(", ") + quote(line.name) + QLatin1Char(',') +
           quote(QString::number(quantitySold(line))) + QLatin1Char(',') +
           quote(priceCharged(line, discountPercent)) + QStringLiteral(");");
}

QString stockQueryStatement(const QString& barcode) {
    return QStringLiteral("SELECT stok FROM urunler where barkod=") + quote(barcode) + QLatin1Char(';');
}

QString stockUpdateStatement(const QString& barcode, qint64 newStock) {
    return QStringLiteral("update urunler set stok=") + quote(QString::number(newStock)) +
           QStringLiteral(" where barkod=") + quote(barcode) + QLatin1Char(';');
}

namespace {

// Runs the statements of the whole cart in one transaction. True when everything was
// committed; lines and total then hold the receipt values. On the first failure (reported by
// the database) the transaction is rolled back and false returned. An AppError (a price text
// that is no number) leaves the same way, rolled back by the guard.
bool recordSale(SaleContext& sale, const std::function<QString(const CartLine&)>& insertFor,
                QList<ReceiptLine>& lines, double& total) {
    Transaction transaction(sale.db);
    if (!transaction.isActive())
        return false;
    const double discount = sale.reg.DiscountPercent;
    for (const CartLine& line : sale.reg.cart().lines()) {
        const qint64 quantity = quantitySold(line);
        const QString price = priceCharged(line, discount);
        const double priceValue = readAmount(price);
        if (!sale.db.command(insertFor(line)))
            return false;
        const QueryResult stock = sale.db.query(stockQueryStatement(line.barcode));
        if (stock.failed())
            return false;
        const qint64 current = stock.isEmpty() ? 0 : stock.integer(stock.rowCount() - 1, "stok");
        const qint64 remaining = std::max<qint64>(0, current - quantity);
        if (!sale.db.command(stockUpdateStatement(line.barcode, remaining)))
            return false;
        total += priceValue * static_cast<double>(quantity);
        lines.append({line.name, price, QString::number(quantity)});
    }
    return transaction.commit();
}

SaleResult completeSale(SaleContext& sale, SaleKind kind,
                        const std::function<QString(const CartLine&)>& insertFor) {
    QList<ReceiptLine> lines;
    double total = 0;
    bool recorded = false;
    runGuarded(*sale.services.messages, [&]() { recorded = recordSale(sale, insertFor, lines, total); });
    if (!recorded)
        return SaleResult::NotRecorded;

    // The sale is committed: whatever the receipt step says, the register starts afresh.
    runGuarded(*sale.services.messages, [&]() {
        IssueSaleReceipt(kind, lines, total, sale.receipts, sale.reg.CurrencySymbol, sale.services,
                         sale.translate);
    });
    sale.reg.clearSale();
    if (sale.focusCartList)
        sale.focusCartList();
    if (sale.resetScreen)
        sale.resetScreen();
    return SaleResult::Completed;
}

} // namespace

SaleResult SellByCash(SaleContext& sale) {
    if (sale.reg.cart().isEmpty())
        return SaleResult::Declined;
    const MsgButton answer = sale.services.messages->show(
        saleCaption(SaleKind::Cash, sale.translate), sale.translate(QStringLiteral("Confirm?")),
        MsgIcon::None, {MsgButton::Yes, MsgButton::No}, MsgButton::Yes);
    if (answer != MsgButton::Yes) {
        if (sale.focusCartList)
            sale.focusCartList();
        return SaleResult::Declined;
    }
    const double discount = sale.reg.DiscountPercent;
    return completeSale(sale, SaleKind::Cash,
                        [discount](const CartLine& line) { return cashInsertStatement(line, discount); });
}

SaleResult SellOnCredit(SaleContext& sale, const QString& customerId, const QString& customerName) {
    if (sale.reg.cart().isEmpty())
        return SaleResult::Declined;
    const double discount = sale.reg.DiscountPercent;
    return completeSale(sale, SaleKind::Credit, [&](const CartLine& line) {
        return creditInsertStatement(customerId, customerName, line, discount);
    });
}

} // namespace tillora
