#include "exchange/csvimport.h"

#include "common/errors.h"
#include "common/formats.h"
#include "exchange/progressmeter.h"
#include "exchange/translated.h"
#include "i18n/textcodec.h"
#include "store/database.h"
#include "store/statement.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace tillora {

namespace {

// Blanks and control characters: every byte up to 0x20, which in UTF-8 are exactly the
// characters up to U+0020.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

QByteArrayView trimmed(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Cuts the text before the first separator off rest; the empty text when rest holds none.
QByteArrayView takeField(QByteArrayView& rest, QByteArrayView separator) {
    const qsizetype at = separator.isEmpty() ? -1 : rest.indexOf(separator);
    if (at < 0)
        return {};
    const QByteArrayView field = rest.first(at);
    rest = rest.sliced(at + separator.size());
    return field;
}

// An empty amount reads as "0"; otherwise the text without surrounding blanks and controls.
QByteArrayView numberText(QByteArrayView field) {
    const QByteArrayView text = trimmed(field);
    return text.isEmpty() ? QByteArrayView("0") : text;
}

// The checks take the program's own rules; a text with other than ASCII bytes fails them
// however those bytes are read.
bool isWholeNumber(QByteArrayView text) {
    try {
        readQuantity(QString::fromLatin1(text));
        return true;
    } catch (const AppError&) {
        return false;
    }
}

// The lines of a text: CR LF, LF and CR end a line; a break at the very end starts no other.
QList<QByteArrayView> textLines(QByteArrayView text) {
    QList<QByteArrayView> lines;
    lines.reserve(text.size() / 32 + 1);
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

} // namespace

ImportFields splitImportLine(QByteArrayView line, QByteArrayView separator) {
    QByteArrayView rest = line;
    ImportFields fields;
    fields.barcode = takeField(rest, separator);
    fields.name = takeField(rest, separator);
    fields.price = takeField(rest, separator);
    const qsizetype at = separator.isEmpty() ? -1 : rest.indexOf(separator);
    fields.stock = at < 0 ? rest : rest.first(at);
    return fields;
}

std::optional<ImportProduct> productFromLine(QByteArrayView line, QByteArrayView separator) {
    const ImportFields fields = splitImportLine(line, separator);
    if (trimmed(fields.barcode).isEmpty() || trimmed(fields.name).isEmpty())
        return std::nullopt;
    ImportProduct product{fields.barcode, fields.name, numberText(fields.price).toByteArray(),
                          numberText(fields.stock)};
    product.price.replace(',', '.');
    // A product whose price or stock is no number would fail at every scan.
    if (!isNumber(QString::fromLatin1(product.price)) || !isWholeNumber(product.stock))
        return std::nullopt;
    return product;
}

QByteArray importText(const QByteArray& bytes) {
    // The bytes themselves when they are UTF-8 already, the common case and the fast one.
    const bool utf8Mark = bytes.startsWith("\xEF\xBB\xBF");
    const bool otherMark = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!otherMark) {
        QByteArray text = utf8Mark ? bytes.sliced(3) : bytes;
        if (isValidUtf8(text))
            return text;
    }
    return decodeText(bytes).toUtf8();
}

namespace {

// A line not imported: counted, and its number kept when it is among the first.
void noteMissed(ImportOutcome& outcome, qint64 line) {
    ++outcome.notImported;
    QList<qint64>& first = outcome.firstMissed;
    first.insert(std::lower_bound(first.begin(), first.end(), line), line);
    if (first.size() > ImportOutcome::missedShown)
        first.removeLast();
}

QString insertText(int rows) {
    QStringList values;
    for (int i = 0; i < rows; ++i)
        values << QStringLiteral("(?, ?, ?, ?)");
    return QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok) values ") +
           values.join(QStringLiteral(", ")) + QLatin1Char(';');
}

// Inserts the products of an import. A full batch goes in with one statement of many rows,
// which stores the same per row with far less work per statement. A batch the database
// refuses (nothing of it is kept: "or abort") and the short last one go in row by row, so
// each refused row is reported and counted on its own, as if every row had gone in alone.
class ProductInserter {
public:
    static constexpr int batchRows = 50;

    ProductInserter(Database& db, ImportOutcome& outcome)
        : outcome_(outcome), one_(db, insertText(1)),
          batch_(db, QStringLiteral("insert or abort") + insertText(batchRows).sliced(6)) {
        pending_.reserve(batchRows);
        values_.reserve(4 * batchRows);
    }
    bool isValid() const { return one_.isValid() && batch_.isValid(); }

    void add(ImportProduct&& product, qint64 line) {
        pending_.push_back({std::move(product), line});
        if (pending_.size() == batchRows)
            flush();
    }

    void flush() {
        if (pending_.size() == batchRows) {
            values_.clear();
            for (const Pending& p : pending_)
                values_.insert(values_.end(),
                               {p.product.barcode, p.product.name, p.product.price, p.product.stock});
            if (batch_.run(values_, PreparedCommand::OnFailure::Quiet)) {
                outcome_.inserted += batchRows;
                pending_.clear();
                return;
            }
        }
        for (const Pending& p : pending_) {
            if (one_.run({p.product.barcode, p.product.name, p.product.price, p.product.stock}))
                ++outcome_.inserted;
            else
                noteMissed(outcome_, p.line);
        }
        pending_.clear();
    }

private:
    struct Pending {
        ImportProduct product;
        qint64 line;
    };
    ImportOutcome& outcome_;
    PreparedCommand one_;
    PreparedCommand batch_;
    std::vector<Pending> pending_;
    std::vector<QByteArrayView> values_;
};

} // namespace

ImportOutcome importProductsCsv(Database& db, const QByteArray& bytes, const QString& separator,
                                const Translate& translate, IProgress* progress) {
    ImportOutcome outcome;
    const QByteArray text = importText(bytes);
    const QList<QByteArrayView> lines = textLines(text);
    const QByteArray separatorBytes = separator.toUtf8();

    Transaction transaction(db);
    if (!transaction.isActive())
        return outcome;
    ProductInserter inserter(db, outcome);
    if (!inserter.isValid())
        return outcome;

    ProgressMeter meter(progress, translated(translate, "Import"), translated(translate, "Importing..."),
                        translated(translate, "Cancel"), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        if (!trimmed(line).isEmpty()) {
            std::optional<ImportProduct> product = productFromLine(line, separatorBytes);
            if (product)
                inserter.add(std::move(*product), i + 1);
            else
                noteMissed(outcome, i + 1);
        }
        if (!meter.advance()) {
            outcome.cancelled = true;
            break;
        }
    }
    if (!outcome.cancelled) {
        inserter.flush();
        outcome.cancelled = !meter.complete();
    }
    if (outcome.cancelled) {
        transaction.rollback();
        outcome.inserted = 0;
        return outcome;
    }
    outcome.committed = transaction.commit();
    if (!outcome.committed)
        outcome.inserted = 0;
    return outcome;
}

QString importSummary(const ImportOutcome& outcome, const Translate& translate) {
    QString text = translated(translate, "Imported:") + QLatin1Char(' ') + QString::number(outcome.inserted) +
                   QLatin1Char(' ') + translated(translate, "entries");
    if (outcome.notImported > 0) {
        QStringList numbers;
        for (const qint64 line : outcome.firstMissed)
            numbers << QString::number(line);
        if (outcome.notImported > outcome.firstMissed.size())
            numbers << QStringLiteral("...");
        text += QLatin1Char('\n') + translated(translate, "Not imported:") + QLatin1Char(' ') +
                QString::number(outcome.notImported) + QLatin1Char(' ') + translated(translate, "lines") +
                QStringLiteral(" (") + translated(translate, "line") + QLatin1Char(' ') +
                numbers.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

} // namespace tillora
