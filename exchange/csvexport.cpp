#include "exchange/csvexport.h"

#include "common/atomicfile.h"
#include "common/errors.h"
#include "common/formats.h"
#include "exchange/progressmeter.h"
#include "exchange/translated.h"
#include "store/database.h"
#include "store/statement.h"

#include <QList>

#include <array>
#include <string>

namespace tillora {

namespace {

// Bytes collected before they go to the file.
constexpr std::size_t writeChunk = 1 << 20;

const std::array<const char*, 4> tableNames{"urunler", "musteriler", "odemeler", "veresiyeler"};

// The columns each export writes unchanged, in order; the credits export computes three more.
QList<const char*> plainColumns(ExchangeTable table) {
    switch (table) {
    case ExchangeTable::Products:
        return {"barkod", "urunadi", "fiyat", "stok", "kayittarihi"};
    case ExchangeTable::Customers:
        return {"id", "musteriadi", "kayittarihi"};
    case ExchangeTable::Payments:
        return {"id", "barkod", "urunadi", "fiyat", "adet", "odemetarihi"};
    case ExchangeTable::Credits:
        return {"id", "musteriadi", "barkod", "urunadi", "fiyat", "adet", "odendimi", "kayittarihi"};
    }
    return {};
}

int requireColumn(const RowView& row, const char* name) {
    const int index = row.columnIndex(QLatin1StringView(name));
    if (index < 0)
        throw AppError(QStringLiteral("Field '%1' not found").arg(QLatin1StringView(name)));
    return index;
}

// Turns rows into the lines of one export. The files are written in the system's 8-bit
// encoding, which Qt takes to be UTF-8 on this system (encodeAnsi): the stored UTF-8 bytes go
// to the file as they are.
class LineWriter {
public:
    LineWriter(ExchangeTable table, const QString& separator, const Translate& translate)
        : table_(table), separator_(separator.toStdString()),
          paid_(translated(translate, "PAID").toStdString()) {}

    void append(const RowView& row, std::string& out) {
        if (columns_.isEmpty()) {
            for (const char* name : plainColumns(table_))
                columns_.append(requireColumn(row, name));
        }
        if (table_ == ExchangeTable::Credits) {
            appendCredit(row, out);
        } else {
            for (qsizetype i = 0; i < columns_.size(); ++i) {
                if (i > 0)
                    out += separator_;
                row.appendUtf8(columns_[i], out);
            }
        }
        out += "\r\n";
    }

private:
    // id, customer, barcode, product, price, quantity, total, paid mark, date.
    void appendCredit(const RowView& row, std::string& out) {
        const double price = readAmount(row.text(columns_[4]));
        const qint32 quantity = readQuantity(row.text(columns_[5]));
        for (int i = 0; i < 4; ++i) {
            row.appendUtf8(columns_[i], out);
            out += separator_;
        }
        out += FormatMoney(price).toStdString() + separator_;
        row.appendUtf8(columns_[5], out);
        out += separator_ + FormatMoney(price * quantity).toStdString() + separator_;
        out += row.text(columns_[6]) == QLatin1String("0") ? std::string("-") : paid_;
        out += separator_;
        row.appendUtf8(columns_[7], out);
    }

    ExchangeTable table_;
    std::string separator_;
    std::string paid_;
    QList<int> columns_; // positions of plainColumns in the result, found at the first row
};

} // namespace

QString tableName(ExchangeTable table) {
    return QString::fromLatin1(tableNames[static_cast<std::size_t>(table)]);
}

ExportOutcome writeCsvExport(Database& db, ExchangeTable table, const QString& path, const QString& separator,
                             const Translate& translate, IProgress* progress) {
    using Status = ExportOutcome::Status;
    ExportOutcome outcome;
    const QString name = tableName(table);

    // The number of rows, for the bar of the progress window; only asked when one may show.
    qint64 total = 0;
    if (progress) {
        const QueryResult count =
            db.query(QStringLiteral("SELECT count(*) FROM ") + name + QStringLiteral(";"));
        if (count.failed())
            return {Status::StatementFailed, 0, count.error()};
        total = count.integer(0, 0);
    }

    AtomicFile file(path);
    if (!file.open())
        return {Status::WriteFailed, 0, file.error()};

    std::string out;
    out.reserve(writeChunk + 4096);
    const auto writeOut = [&]() {
        const bool written =
            file.write(QByteArray::fromRawData(out.data(), static_cast<qsizetype>(out.size())));
        out.clear(); // keeps the buffer for the next piece
        return written;
    };
    if (table == ExchangeTable::Products) {
        const QString header =
            QStringList{QStringLiteral("Barcode"), QStringLiteral("Product"), QStringLiteral("Price"),
                        QStringLiteral("Stock"), QStringLiteral("Date")}
                .join(separator);
        out += header.toStdString() + "\r\n";
    }

    ProgressMeter meter(progress, translated(translate, "Export"), translated(translate, "Exporting..."),
                        translated(translate, "Cancel"), total);
    LineWriter lines(table, separator, translate);
    bool writeFailed = false;
    bool cancelled = false;
    const bool read =
        forEachRow(db, QStringLiteral("SELECT * FROM ") + name + QStringLiteral(" order by id;"),
                   [&](const RowView& row) {
                       lines.append(row, out);
                       ++outcome.rows;
                       if (out.size() >= writeChunk)
                           writeFailed = !writeOut();
                       cancelled = !meter.advance();
                       return !writeFailed && !cancelled;
                   });
    if (!read) {
        file.cancel();
        return {Status::StatementFailed, outcome.rows, db.lastError()};
    }
    if (!cancelled && !writeFailed)
        cancelled = !meter.complete();
    if (cancelled) {
        file.cancel();
        return {Status::Cancelled, outcome.rows, {}};
    }
    if (writeFailed || !writeOut() || !file.commit())
        return {Status::WriteFailed, outcome.rows, file.error()};
    return outcome;
}

} // namespace tillora
