#pragma once
// The CSV import of products: one product per line (barcode, name, price, stock separated by
// the list separator, anything after a fourth separator ignored), every line added as a new
// product inside one transaction.
#include "common/translate.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace tillora {

class Database;
class IProgress;

// The fields of one line, as UTF-8 bytes within the line.
struct ImportFields {
    QByteArrayView barcode;
    QByteArrayView name;
    QByteArrayView price;
    QByteArrayView stock;
};

// The four fields of a line. Each of the first three is the text before the first separator
// of what is left of the line (empty when none is left), and is then cut off up to and
// including that separator; the stock is the text before the next separator, or the whole
// rest when there is none. So "123;Tea;2.50" gives price "" and stock "2.50".
ImportFields splitImportLine(QByteArrayView line, QByteArrayView separator);

// The values a line adds as a product, UTF-8.
struct ImportProduct {
    QByteArrayView barcode;
    QByteArrayView name;
    QByteArray price;
    QByteArrayView stock;
};

// The product a line adds, or nothing when the line is skipped. In the price "," reads as
// "."; an empty price or stock (blanks and control characters aside) is "0". A line is skipped
// when its barcode or name is empty, its price does not read as a finite number or its stock
// not as a whole number. Barcode and name keep their blanks; price and stock are the numbers'
// texts without them.
std::optional<ImportProduct> productFromLine(QByteArrayView line, QByteArrayView separator);

// The text of an imported file as UTF-8: the encoding is taken from a byte-order mark, else
// UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QByteArray importText(const QByteArray& bytes);

struct ImportOutcome {
    bool committed = false; // false: cancelled, or the transaction failed (reported)
    bool cancelled = false;
    qint64 inserted = 0;       // rows added to the table
    qint64 notImported = 0;    // lines skipped or whose insert failed (reported)
    QList<qint64> firstMissed; // the first of those lines' numbers (from 1), at most missedShown
    static constexpr int missedShown = 10;
};

// Imports the products of a file's bytes: the encoding is taken from a byte-order mark, else
// UTF-8 when the bytes are valid UTF-8, else Windows-1252. Lines end at CR LF, LF or CR; blank
// lines are passed over. Each product is inserted with its values bound to one prepared
// statement, inside one transaction that is committed at the end, also when some inserts
// failed (each failure is reported at once). A cancel in the progress window rolls everything
// back.
ImportOutcome importProductsCsv(Database& db, const QByteArray& bytes, const QString& separator,
                                const Translate& translate, IProgress* progress);

// "Imported: N entries", and when lines were not imported a second line with how many and
// the first line numbers.
QString importSummary(const ImportOutcome& outcome, const Translate& translate);

} // namespace tillora
