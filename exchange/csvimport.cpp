#include "exchange/csvimport.h"

#include "common/errors.h"
#include "common/formats.h"
#include "exchange/progressmeter.h"
#include "i18n/textcodec.h"
#include "store/database.h"
#include "store/statement.h"

#include <QStringList>

namespace tillora {

namespace {

QString translated(const Translate& translate, const char* english) {
    const QString text = QString::fromLatin1(english);
    return translate ? translate(text) : text;
}

// Cuts the text before the first separator off rest; the empty text when rest holds none.
QStringView takeField(QStringView& rest, QStringView separator) {
    const qsizetype at = separator.isEmpty() ? -1 : rest.indexOf(separator);
    if (at < 0)
        return {};
    const QStringView field = rest.first(at);
    rest = rest.sliced(at + separator.size());
    return field;
}

bool isWholeNumber(const QString& text) {
    try {
        readQuantity(text);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

// An empty amount reads as "0"; otherwise the text without surrounding blanks and controls.
QString numberText(const QString& field) {
    const QString trimmed = trimBlanksAndControls(field);
    return trimmed.isEmpty() ? QStringLiteral("0") : trimmed;
}

} // namespace

ImportFields splitImportLine(QStringView line, QStringView separator) {
    QStringView rest = line;
    ImportFields fields;
    fields.barcode = takeField(rest, separator).toString();
    fields.name = takeField(rest, separator).toString();
    fields.price = takeField(rest, separator).toString();
    const qsizetype at = separator.isEmpty() ? -1 : rest.indexOf(separator);
    fields.stock = (at < 0 ? rest : rest.first(at)).toString();
    return fields;
}

std::optional<ImportFields> productFromLine(QStringView line, QStringView separator) {
    ImportFields fields = splitImportLine(line, separator);
    if (trimBlanksAndControls(fields.barcode).isEmpty() || trimBlanksAndControls(fields.name).isEmpty())
        return std::nullopt;
    fields.price = numberText(fields.price.replace(QLatin1Char(','), QLatin1Char('.')));
    fields.stock = numberText(fields.stock);
    // A product whose price or stock is no number would fail at every scan.
    if (!isNumber(fields.price) || !isWholeNumber(fields.stock))
        return std::nullopt;
    return fields;
}

ImportOutcome importProductsCsv(Database& db, const QByteArray& bytes, const QString& separator,
                                const Translate& translate, IProgress* progress) {
    ImportOutcome outcome;
    const QStringList lines = splitTextLines(decodeText(bytes));
    const auto missed = [&outcome](qint64 lineNumber) {
        ++outcome.notImported;
        if (outcome.firstMissed.size() < ImportOutcome::missedShown)
            outcome.firstMissed.append(lineNumber);
    };

    Transaction transaction(db);
    if (!transaction.isActive())
        return outcome;
    PreparedCommand insert(
        db, QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok) values (?, ?, ?, ?);"));
    if (!insert.isValid())
        return outcome;

    ProgressMeter meter(progress, translated(translate, "Import"), translated(translate, "Importing..."),
                        translated(translate, "Cancel"), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!trimBlanksAndControls(line).isEmpty()) {
            const std::optional<ImportFields> product = productFromLine(line, separator);
            if (!product)
                missed(i + 1);
            else if (insert.run({product->barcode, product->name, product->price, product->stock}))
                ++outcome.inserted;
            else
                missed(i + 1);
        }
        if (!meter.advance()) {
            outcome.cancelled = true;
            break;
        }
    }
    if (!outcome.cancelled && !meter.complete())
        outcome.cancelled = true;
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
