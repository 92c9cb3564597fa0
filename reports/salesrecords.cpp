#include "reports/salesrecords.h"

#include "common/atomicfile.h"
#include "common/errors.h"
#include "common/formats.h"
#include "i18n/textcodec.h"
#include "store/sql.h"

#include <QDir>

#include <limits>

namespace tillora {

namespace {

// The export is encoded and written in slices of this many rows, so a month of sales never
// stands in memory twice over as text and bytes.
constexpr int exportSlice = 4096;

QString translated(const Translate& translate, const QString& text) {
    return translate ? translate(text) : text;
}

// "name='value' and", the piece of a filter that is set; empty when it is not.
QString equalsPiece(const QString& column, const std::optional<QString>& value) {
    if (!value)
        return QString();
    return column + QLatin1Char('=') + quote(*value) + QStringLiteral(" and");
}

QString rangePiece(const QString& column, const RecordFilter& filter) {
    return QLatin1Char(' ') + column + QStringLiteral(" between ") + quote(filter.begin) +
           QStringLiteral(" and ") + quote(filter.end) + QStringLiteral(" order by ") + column +
           QLatin1Char(';');
}

// The price of a row as a number. The data file holds a real, so the value is taken as it is;
// a cell that reads as 0 is checked as text, so that a text which is no number (or NULL) raises
// "'<text>' is not a valid floating point value" instead of counting as nothing.
double priceOf(const QueryResult& rows, int row, int column) {
    const double price = rows.number(row, column);
    if (price == 0)
        return readAmount(rows.text(row, column));
    return price;
}

// The quantity of a row as a whole number, checked as text ("'<text>' is not a valid integer
// value") whenever the cell is not plainly a whole number of 32 bits.
qint64 quantityOf(const QueryResult& rows, int row, int column) {
    const qint64 quantity = rows.integer(row, column);
    if (quantity == 0 || quantity < std::numeric_limits<qint32>::min() ||
        quantity > std::numeric_limits<qint32>::max() ||
        rows.number(row, column) != static_cast<double>(quantity))
        return readQuantity(rows.text(row, column));
    return quantity;
}

} // namespace

QString rangeBound(const QDate& date, const QTime& time) {
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss"));
}

QString paymentsStatement(const RecordFilter& filter) {
    return QStringLiteral("SELECT * FROM odemeler where ") +
           equalsPiece(QStringLiteral("urunadi"), filter.product) +
           rangePiece(QStringLiteral("odemetarihi"), filter);
}

QString creditsStatement(const RecordFilter& filter) {
    return QStringLiteral("SELECT * FROM veresiyeler where ") +
           equalsPiece(QStringLiteral("musteriadi"), filter.customer) + QLatin1Char(' ') +
           equalsPiece(QStringLiteral("urunadi"), filter.product) +
           rangePiece(QStringLiteral("kayittarihi"), filter);
}

QString deleteRecordStatement(RecordKind kind, const QString& id) {
    const QString table =
        kind == RecordKind::Payments ? QStringLiteral("odemeler") : QStringLiteral("veresiyeler");
    return QStringLiteral("DELETE FROM ") + table + QStringLiteral(" where id=") + quote(id) +
           QLatin1Char(';');
}

bool isUnpaidMark(const QString& odendimi) {
    return odendimi == QLatin1String("0");
}

// ---- SalesRecordsModel

SalesRecordsModel::SalesRecordsModel(RecordKind kind, const Translate& translate, QObject* parent)
    : QAbstractTableModel(parent), kind_(kind) {
    const QStringList payments{QStringLiteral("Date"),  QStringLiteral("Barcode"),  QStringLiteral("Product"),
                               QStringLiteral("Price"), QStringLiteral("Quantity"), QStringLiteral("Total")};
    const QStringList credits{QStringLiteral("Date"),    QStringLiteral("Customer"),
                              QStringLiteral("Barcode"), QStringLiteral("Product"),
                              QStringLiteral("Price"),   QStringLiteral("Quantity"),
                              QStringLiteral("Total"),   QStringLiteral("Paid")};
    for (const QString& caption : kind == RecordKind::Payments ? payments : credits)
        headers_.append(translated(translate, caption));
    headers_.append(QStringLiteral("ID")); // stays English
    paidWord_ = translated(translate, QStringLiteral("PAID"));
    paidLabel_ = translated(translate, QStringLiteral("Paid:"));
    notPaidLabel_ = translated(translate, QStringLiteral("Not Paid:"));
}

void SalesRecordsModel::clear() {
    beginResetModel();
    rows_ = QueryResult();
    columns_ = Columns();
    amounts_.clear();
    total_ = paid_ = unpaid_ = 0;
    endResetModel();
}

SalesRecordsModel::Columns SalesRecordsModel::findColumns(const QueryResult& rows) const {
    // A column the table lacks is a damaged data file: say which one.
    auto find = [&rows](const char* name) {
        const int column = rows.columnIndex(QLatin1String(name));
        if (column < 0)
            throw AppError(QStringLiteral("Field '%1' not found").arg(QLatin1String(name)));
        return column;
    };
    Columns c;
    c.id = find("id");
    c.barcode = find("barkod");
    c.product = find("urunadi");
    c.price = find("fiyat");
    c.quantity = find("adet");
    if (kind_ == RecordKind::Payments) {
        c.date = find("odemetarihi");
    } else {
        c.date = find("kayittarihi");
        c.customer = find("musteriadi");
        c.paidMark = find("odendimi");
        c.paidDate = find("odemetarihi");
    }
    return c;
}

void SalesRecordsModel::load(Database& db, const RecordFilter& filter) {
    QueryResult rows =
        db.query(kind_ == RecordKind::Payments ? paymentsStatement(filter) : creditsStatement(filter));
    if (rows.failed()) {
        clear();
        return;
    }
    // Everything is read before the rows go in, so an error leaves the list empty, not half filled.
    if (!amounts_.isEmpty())
        clear();
    const Columns c = findColumns(rows);
    const int count = rows.rowCount();
    QList<Amounts> amounts;
    amounts.reserve(count);
    double total = 0;
    double paid = 0;
    double unpaid = 0;
    for (int row = 0; row < count; ++row) {
        Amounts a;
        a.price = priceOf(rows, row, c.price);
        a.quantity = quantityOf(rows, row, c.quantity);
        const double lineTotal = a.price * static_cast<double>(a.quantity);
        total += lineTotal;
        if (kind_ == RecordKind::Credits) {
            // Only an integer 0 (or the text "0") can read as the unpaid mark.
            a.unpaid = rows.integer(row, c.paidMark) == 0 && isUnpaidMark(rows.text(row, c.paidMark));
            (a.unpaid ? unpaid : paid) += lineTotal;
        }
        amounts.append(a);
    }
    beginResetModel();
    rows_ = std::move(rows);
    columns_ = c;
    amounts_ = std::move(amounts);
    total_ = total;
    paid_ = paid;
    unpaid_ = unpaid;
    endResetModel();
}

int SalesRecordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int SalesRecordsModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return kind_ == RecordKind::Payments ? int(PaymentColumnCount) : int(CreditColumnCount);
}

QVariant SalesRecordsModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid()) {
        const int column = index.column();
        return listCellAlignment(kind_ == RecordKind::Payments
                                     ? column == PayPrice || column == PayQuantity || column == PayTotal
                                     : column == CreditPrice || column == CreditQuantity ||
                                           column == CreditTotal);
    }
    // The tooltip shows a cell in full where its column is too narrow for it.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid())
        return QVariant();
    return cell(index.row(), index.column());
}

QVariant SalesRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headers_.size())
        return QVariant();
    return headers_[section];
}

QString SalesRecordsModel::text(int row, int resultColumn) const {
    return rows_.text(row, resultColumn);
}

QString SalesRecordsModel::cell(int row, int column) const {
    if (row < 0 || row >= count())
        return QString();
    const Amounts& a = amounts_[row];
    // The credits list has the customer as its second column; from there on its columns are
    // those of the payments list one further, and then Paid.
    int shared = column;
    if (kind_ == RecordKind::Credits) {
        if (column == CreditCustomer)
            return text(row, columns_.customer);
        if (column == CreditPaid) {
            if (a.unpaid)
                return QStringLiteral("-");
            const QString paidOn = text(row, columns_.paidDate);
            return paidOn.isEmpty() ? paidWord_ : paidOn;
        }
        if (column == CreditId)
            return text(row, columns_.id);
        if (column > CreditCustomer)
            shared = column - 1;
    }
    switch (shared) {
    case PayDate:
        return text(row, columns_.date);
    case PayBarcode:
        return text(row, columns_.barcode);
    case PayProduct:
        return text(row, columns_.product);
    case PayPrice:
        return FormatMoney(a.price);
    case PayQuantity:
        return text(row, columns_.quantity);
    case PayTotal:
        return FormatMoney(a.price * static_cast<double>(a.quantity));
    case PayId:
        return kind_ == RecordKind::Payments ? text(row, columns_.id) : QString();
    default:
        return QString();
    }
}

QString SalesRecordsModel::id(int row) const {
    return cell(row, kind_ == RecordKind::Payments ? int(PayId) : int(CreditId));
}

RecordRow SalesRecordsModel::reprintRow(int row) const {
    if (kind_ == RecordKind::Payments)
        return RecordRow{cell(row, PayDate), cell(row, PayProduct), cell(row, PayPrice),
                         cell(row, PayQuantity)};
    return RecordRow{cell(row, CreditDate), cell(row, CreditProduct), cell(row, CreditPrice),
                     cell(row, CreditQuantity)};
}

QString SalesRecordsModel::totalText() const {
    if (kind_ == RecordKind::Payments)
        return FormatMoney(total_);
    return paidLabel_ + QLatin1Char(' ') + FormatMoney(paid_) + QLatin1Char(' ') + notPaidLabel_ +
           QLatin1Char(' ') + FormatMoney(unpaid_);
}

QString SalesRecordsModel::exportText(const QString& separator, int first, int count) const {
    const int last = std::min(this->count(), first + count);
    const int shown = columnCount() - 1; // every column but the ID
    QString out;
    out.reserve(static_cast<qsizetype>(std::max(0, last - first)) * 96);
    for (int row = std::max(0, first); row < last; ++row) {
        for (int column = 0; column < shown; ++column) {
            if (column > 0)
                out += separator;
            out += cell(row, column);
        }
        out += QLatin1String("\r\n");
    }
    return out;
}

// ---- SalesRecords

SalesRecords::SalesRecords(Database& db, const Translate& translate)
    : db_(db), payments_(RecordKind::Payments, translate), credits_(RecordKind::Credits, translate) {}

QString SalesRecords::ShownSalesList() const {
    if (!shown_)
        return QString();
    return *shown_ == RecordKind::Payments ? QStringLiteral("payments") : QStringLiteral("credits");
}

void SalesRecords::beginLoad(RecordKind kind) {
    shown_ = kind;
    list(kind).clear();
}

void SalesRecords::load(RecordKind kind, const RecordFilter& filter) {
    list(kind).load(db_, filter);
}

void SalesRecords::exportShownList(const QString& path, const QString& separator) const {
    AtomicFile file(path);
    bool written = file.open();
    if (shown_) {
        const SalesRecordsModel& model = list(*shown_);
        for (int first = 0; written && first < model.count(); first += exportSlice)
            written = file.write(encodeAnsi(model.exportText(separator, first, exportSlice)));
    }
    if (!written || !file.commit())
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(path), file.error()));
}

bool SalesRecords::deleteRecord(RecordKind kind, const QString& id) {
    return db_.command(deleteRecordStatement(kind, id));
}

} // namespace tillora
