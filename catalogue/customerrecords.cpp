#include "catalogue/customerrecords.h"

#include "common/errors.h"
#include "common/formats.h"
#include "store/sql.h"

#include <QSize>

#include <charconv>

namespace tillora {

QString customerListStatement() {
    return QStringLiteral("SELECT * FROM musteriler order by musteriadi;");
}

QString customerLookupStatement(const QString& name) {
    return QStringLiteral("SELECT * FROM musteriler where musteriadi=") + quote(name) + QLatin1Char(';');
}

QString creditTotalStatement(const QString& name) {
    return QStringLiteral("SELECT * FROM veresiyeler where odendimi='0' and musteriadi=") + quote(name) +
           QLatin1Char(';');
}

QString openLinesStatement(const QString& name) {
    return QStringLiteral("SELECT * FROM veresiyeler where odendimi=0 and musteriadi=") + quote(name) +
           QLatin1Char(';');
}

QStringList openLineColumns() {
    return {QStringLiteral("id"),   QStringLiteral("barkod"), QStringLiteral("urunadi"),
            QStringLiteral("adet"), QStringLiteral("fiyat"),  QStringLiteral("kayittarihi")};
}

QString customerAddStatement(const QString& name) {
    return QStringLiteral("insert into musteriler (musteriadi) values (") + quote(name) +
           QStringLiteral(");");
}

QString customerDeleteStatement(const QString& name) {
    return QStringLiteral("delete from musteriler where musteriadi=") + quote(name) + QLatin1Char(';');
}

QString settleStatement(const QStringList& ids) {
    return QStringLiteral(
               "update veresiyeler set odendimi=1, odemetarihi=datetime('now','localtime') where id in (") +
           ids.join(QLatin1Char(',')) + QStringLiteral(");");
}

QString paymentStatement(const QString& barcode, const QString& name, const QString& quantity,
                         const QString& price) {
    return QStringLiteral("insert into odemeler (barkod,urunadi,adet,fiyat) values (") + quote(barcode) +
           QStringLiteral(", ") + quote(name) + QLatin1Char(',') + quote(quantity) + QLatin1Char(',') +
           quote(price) + QStringLiteral(");");
}

std::optional<ShownCustomer> lookUpCustomer(Database& db, const QString& name) {
    const QueryResult rows = db.query(customerLookupStatement(name));
    if (rows.isEmpty())
        return std::nullopt;
    const int last = rows.rowCount() - 1;
    return ShownCustomer{rows.text(last, "musteriadi"), rows.text(last, "kayittarihi")};
}

double creditLineTotal(const QString& price, const QString& quantity) {
    return readAmount(price) * static_cast<double>(readQuantity(quantity));
}

double creditTotal(Database& db, const QString& storedName) {
    const QueryResult rows = db.query(creditTotalStatement(storedName));
    double sum = 0;
    for (int r = 0; r < rows.rowCount(); ++r)
        sum += creditLineTotal(rows.text(r, "fiyat"), rows.text(r, "adet"));
    return sum;
}

QString creditLineCaption(const QString& recordDate, const QString& quantity, const QString& name,
                          double lineTotal) {
    return recordDate + QLatin1Char(' ') + quantity + QStringLiteral(" * ") + name + QStringLiteral(" = ") +
           FormatMoney(lineTotal);
}

// ---- OpenCreditModel

namespace {

// A row's price read as a number from its text, as creditLineTotal reads it. A real, as the
// database keeps prices, is written with 15 significant digits and read back without the
// detour through a QString: one entry of a long list costs little more than its row.
double priceOf(const QueryResult& rows, int row, int column) {
    switch (rows.type(row, column)) {
    case QueryResult::Type::Real: {
        char text[32];
        const char* end =
            std::to_chars(text, text + sizeof text, rows.number(row, column), std::chars_format::general, 15)
                .ptr;
        double value = 0;
        std::from_chars(text, end, value);
        return value;
    }
    case QueryResult::Type::Integer:
        return static_cast<double>(rows.integer(row, column));
    default:
        return readAmount(rows.text(row, column));
    }
}

int requiredColumn(const QueryResult& rows, const char* name) {
    const int index = rows.columnIndex(QLatin1StringView(name));
    if (index < 0)
        throw AppError(QStringLiteral("Field '%1' not found").arg(QLatin1StringView(name)));
    return index;
}

} // namespace

OpenCreditModel::OpenCreditModel(QObject* parent) : QAbstractListModel(parent) {}

void OpenCreditModel::load(QueryResult rows) {
    beginResetModel();
    rows_ = QueryResult();
    entries_.clear();
    total_ = 0;
    try {
        if (rows.rowCount() > 0) {
            Columns columns;
            columns.id = requiredColumn(rows, "id");
            columns.barcode = requiredColumn(rows, "barkod");
            columns.name = requiredColumn(rows, "urunadi");
            columns.quantity = requiredColumn(rows, "adet");
            columns.price = requiredColumn(rows, "fiyat");
            columns.recordDate = requiredColumn(rows, "kayittarihi");
            QList<Entry> entries;
            entries.reserve(rows.rowCount());
            double total = 0;
            for (int r = 0; r < rows.rowCount(); ++r) {
                const double lineTotal = priceOf(rows, r, columns.price) *
                                         static_cast<double>(readQuantity(rows.text(r, columns.quantity)));
                total += lineTotal;
                entries.append(Entry{lineTotal, false});
            }
            rows_ = std::move(rows);
            columns_ = columns;
            entries_ = std::move(entries);
            total_ = total;
        }
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void OpenCreditModel::clear() {
    beginResetModel();
    rows_ = QueryResult();
    entries_.clear();
    total_ = 0;
    endResetModel();
}

OpenCreditLine OpenCreditModel::line(int row) const {
    if (row < 0 || row >= count())
        return {};
    return OpenCreditLine{rows_.text(row, columns_.id), rows_.text(row, columns_.barcode),
                          rows_.text(row, columns_.name), rows_.text(row, columns_.quantity),
                          rows_.text(row, columns_.price)};
}

QString OpenCreditModel::caption(int row) const {
    if (row < 0 || row >= count())
        return QString();
    return creditLineCaption(rows_.text(row, columns_.recordDate), rows_.text(row, columns_.quantity),
                             rows_.text(row, columns_.name), entries_[row].lineTotal);
}

bool OpenCreditModel::isTicked(int row) const {
    return row >= 0 && row < count() && entries_[row].ticked;
}

void OpenCreditModel::setTicked(int row, bool ticked) {
    if (row < 0 || row >= count() || entries_[row].ticked == ticked)
        return;
    entries_[row].ticked = ticked;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void OpenCreditModel::tickAll() {
    if (entries_.isEmpty())
        return;
    for (Entry& entry : entries_)
        entry.ticked = true;
    Q_EMIT dataChanged(index(0), index(count() - 1), {Qt::CheckStateRole});
}

QList<OpenCreditLine> OpenCreditModel::tickedLines() const {
    QList<OpenCreditLine> lines;
    for (int r = 0; r < count(); ++r) {
        if (entries_[r].ticked)
            lines.append(line(r));
    }
    return lines;
}

int OpenCreditModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant OpenCreditModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return caption(index.row());
    case Qt::CheckStateRole:
        return entries_[index.row()].ticked ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: // each entry ends with its amount
        return listCellAlignment(true);
    case Qt::SizeHintRole:
        return itemHeight_ > 0 ? QVariant(QSize(1, itemHeight_)) : QVariant();
    default:
        return QVariant();
    }
}

bool OpenCreditModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= count() || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags OpenCreditModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

// ---- settlement

bool settleCreditLines(Database& db, const QList<OpenCreditLine>& lines) {
    if (lines.isEmpty())
        return true;
    QStringList ids;
    ids.reserve(lines.size());
    for (const OpenCreditLine& line : lines)
        ids.append(line.id);
    Transaction transaction(db);
    if (!transaction.isActive())
        return false;
    if (!db.command(settleStatement(ids)))
        return false;
    for (const OpenCreditLine& line : lines) {
        if (!db.command(paymentStatement(line.barcode, line.name, line.quantity, line.price)))
            return false;
    }
    return transaction.commit();
}

} // namespace tillora
