#include "register/cart.h"

#include "common/errors.h"
#include "common/formats.h"
#include "store/database.h"
#include "store/sql.h"

namespace tillora {

namespace {

// The largest unit price FormatMoney shows in fixed notation (ten digits before the point).
constexpr double largestPlainPrice = 9999999999.99;

} // namespace

int CartModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int CartModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CartModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= lines_.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return listCellAlignment(index.column() != Barcode && index.column() != Product);
    if (role != Qt::DisplayRole)
        return {};
    const CartLine& l = lines_[index.row()];
    switch (index.column()) {
    case Barcode:
        return l.barcode;
    case Product:
        return l.name;
    case Price:
        return l.price;
    case Quantity:
        return l.quantity;
    case Total:
        return l.total;
    case DiscountedPrice:
        return l.discountedPrice;
    case DiscountedTotal:
        return l.discountedTotal;
    default:
        return {};
    }
}

QVariant CartModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headers_.size())
        return {};
    return headers_[section];
}

void CartModel::setHeaders(const QStringList& headers) {
    headers_ = headers;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void CartModel::append(const CartLine& line) {
    const int row = size();
    beginInsertRows({}, row, row);
    lines_.append(line);
    endInsertRows();
}

void CartModel::replace(int row, const CartLine& line) {
    lines_[row] = line;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void CartModel::remove(int row) {
    beginRemoveRows({}, row, row);
    lines_.removeAt(row);
    endRemoveRows();
}

void CartModel::clear() {
    beginResetModel();
    lines_.clear();
    endResetModel();
}

qint64 SaleRegister::quantityOf(const CartLine& line) {
    try {
        return readQuantity(line.quantity);
    } catch (const AppError&) {
        return 1;
    }
}

void SaleRegister::setDiscountFields(CartLine& line, double price, qint64 quantity) const {
    if (DiscountPercent == 0) {
        line.discountedPrice.clear();
        line.discountedTotal.clear();
        return;
    }
    const double discounted = price - price * DiscountPercent / 100;
    line.discountedPrice = FormatMoney(discounted);
    line.discountedTotal = FormatMoney(static_cast<double>(quantity) * discounted);
}

void SaleRegister::checkTotals(const CartLine& line) {
    readAmount(line.total);
    if (!line.discountedTotal.isEmpty())
        readAmount(line.discountedTotal);
}

CartLine SaleRegister::makeLine(const QString& barcode, const QString& name, double price,
                                qint64 quantity) const {
    CartLine line{barcode,
                  name,
                  FormatMoney(price),
                  QString::number(quantity),
                  FormatMoney(price * static_cast<double>(quantity)),
                  {},
                  {}};
    setDiscountFields(line, price, quantity);
    checkTotals(line);
    return line;
}

bool SaleRegister::lookUpScanBuffer() {
    const QueryResult rows = db_.query(QStringLiteral("SELECT * FROM urunler where barkod=") +
                                       quote(ScanBuffer) + QStringLiteral(";"));
    bool found = false;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString barcode = rows.text(r, "barkod");
        int existing = -1;
        for (int i = 0; i < cart_.size(); ++i) {
            if (cart_.line(i).barcode == barcode) {
                existing = i;
                break;
            }
        }
        if (existing >= 0) {
            setQuantity(existing, quantityOf(cart_.line(existing)) + QuantityToAdd);
        } else {
            const double price = readAmount(rows.text(r, "fiyat"));
            cart_.append(makeLine(barcode, rows.text(r, "urunadi"), price, QuantityToAdd));
            computeTotals();
        }
        found = true;
    }
    return found;
}

void SaleRegister::addByHand(const QString& name, double price, qint64 quantity) {
    cart_.append(makeLine(QString(), name, price, quantity));
    computeTotals();
}

void SaleRegister::setQuantity(int row, qint64 quantity) {
    CartLine line = cart_.line(row);
    const double price = readAmount(line.price);
    line.quantity = QString::number(quantity);
    line.total = FormatMoney(price * static_cast<double>(quantity));
    if (DiscountPercent != 0)
        setDiscountFields(line, price, quantity);
    checkTotals(line);
    cart_.replace(row, line);
    computeTotals();
}

void SaleRegister::removeLine(int row) {
    if (row < 0 || row >= cart_.size())
        return;
    cart_.remove(row);
    computeTotals();
}

void SaleRegister::computeTotals() {
    GrandTotal = 0;
    for (const CartLine& line : cart_.lines())
        GrandTotal += readAmount(DiscountPercent != 0 ? line.discountedTotal : line.total);
    Q_EMIT totalsChanged();
}

bool SaleRegister::applyDiscount(const QString& text) {
    if (!isNumber(text))
        return false;
    // Every line is worked out before anything changes: a discount that makes a total that is
    // no amount is refused like a text that is no number, and the old discount stays.
    const double previous = DiscountPercent;
    DiscountPercent = readAmount(text);
    QList<CartLine> lines = cart_.lines();
    try {
        // The discount must also leave room for the lines still to come, or an empty cart
        // would hold a discount that fails every later line: it is tried on a line at the
        // largest price shown without an exponent.
        const QString price = FormatMoney(largestPlainPrice);
        CartLine probe{{}, {}, price, QStringLiteral("1"), price, {}, {}};
        setDiscountFields(probe, largestPlainPrice, 1);
        checkTotals(probe);
        for (CartLine& line : lines) {
            setDiscountFields(line, readAmount(line.price), quantityOf(line));
            checkTotals(line);
        }
    } catch (const AppError&) {
        DiscountPercent = previous;
        return false;
    }
    DiscountLabel = text + QStringLiteral("%");
    for (int i = 0; i < lines.size(); ++i)
        cart_.replace(i, lines[i]);
    computeTotals();
    return true;
}

void SaleRegister::clearSale() {
    cart_.clear();
    DiscountPercent = 0;
    DiscountLabel = QStringLiteral("0%");
    computeTotals();
}

QString SaleRegister::grandTotalText() const {
    return withCurrency(CurrencySymbol, FormatMoney(GrandTotal));
}

QStringList SaleRegister::changeSuggestions(const Translate& translate) const {
    struct Note {
        int value;
        const char* caption;
    };
    static constexpr Note notes[] = {{200, "For 200"}, {100, "For 100"}, {50, "For 50"}, {20, "For 20"},
                                     {10, "For 10"},   {5, "For 5"},     {1, "For 1"}};
    QStringList lines;
    for (const Note& note : notes) {
        const bool shown =
            note.value == 200 ? (GrandTotal > 100 && GrandTotal < 200) : GrandTotal < note.value;
        if (!shown)
            continue;
        lines << QString() << translate(QString::fromLatin1(note.caption))
              << FormatMoney(note.value - GrandTotal);
    }
    return lines;
}

QString SaleRegister::changeFor(const QString& cashText, double grandTotal) {
    if (!isNumber(cashText))
        return QStringLiteral("0.00");
    return FormatMoney(readAmount(cashText) - grandTotal);
}

} // namespace tillora
