// The CSV products import as it reads a file: the encoding taken from the bytes, the lines,
// and each line's fields for the usual list separators (and a longer one). The text is always
// UTF-8; UTF-8 comes through unchanged, Windows-1252 one character per byte, UTF-16 whole. The
// fields are those a plain split at the separator gives, and a line gives a product exactly
// when its barcode and name are not blank, its price reads as a finite number and its stock
// as a whole number.
#include "common/errors.h"
#include "common/formats.h"
#include "exchange/csvimport.h"
#include "i18n/textcodec.h"
#include "tests/fuzz/fuzztarget.h"

#include <QList>
#include <QString>

#include <array>
#include <cmath>

using namespace tillora;

namespace {

bool hasUtf16Mark(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// The code units of UTF-16 bytes (an even number of them); false when a surrogate is unpaired.
bool utf16Units(QByteArrayView bytes, bool littleEndian, QList<char16_t>& units) {
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.append(static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second));
    }
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (QChar::isHighSurrogate(units[i]) && i + 1 < units.size() && QChar::isLowSurrogate(units[i + 1]))
            ++i;
        else if (QChar::isSurrogate(units[i]))
            return false;
    }
    return true;
}

// The lines of the text: CR LF, LF and CR end one.
QList<QByteArrayView> linesOf(QByteArrayView text) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

// The line cut at every separator.
QList<QByteArrayView> partsOf(QByteArrayView line, QByteArrayView separator) {
    QList<QByteArrayView> parts;
    if (separator.isEmpty())
        return {line};
    qsizetype start = 0;
    for (qsizetype at = line.indexOf(separator); at >= 0; at = line.indexOf(separator, start)) {
        parts.append(line.sliced(start, at - start));
        start = at + separator.size();
    }
    parts.append(line.sliced(start));
    return parts;
}

bool isBlank(QByteArrayView text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) > 0x20)
            return false;
    }
    return true;
}

// A number field as the import takes it: without blanks and controls at either end, "0" when
// nothing is left.
QString numberField(QByteArrayView field) {
    const QString text = trimBlanksAndControls(QString::fromLatin1(field));
    return text.isEmpty() ? QStringLiteral("0") : text;
}

bool readsAsQuantity(const QString& text) {
    try {
        readQuantity(text);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

void checkLine(QByteArrayView line, QByteArrayView separator) {
    const ImportFields fields = splitImportLine(line, separator);
    const QList<QByteArrayView> parts = partsOf(line, separator);
    // With fewer than four parts the last one is the stock and the fields between stay empty.
    const auto part = [&](qsizetype index) {
        return index < parts.size() - 1 ? parts[index] : QByteArrayView();
    };
    fuzz::require(fields.barcode == part(0) && fields.name == part(1) && fields.price == part(2),
                  "the first fields are the parts before the separators");
    fuzz::require(fields.stock == (parts.size() > 3 ? parts[3] : parts.last()),
                  "the stock is the fourth part");
    for (const QByteArrayView field : {fields.barcode, fields.name, fields.price, fields.stock}) {
        fuzz::require(field.isEmpty() || (field.data() >= line.data() &&
                                          field.data() + field.size() <= line.data() + line.size()),
                      "the fields lie within the line");
    }

    QString price = numberField(fields.price);
    price.replace(QLatin1Char(','), QLatin1Char('.'));
    const QString stock = numberField(fields.stock);
    const bool storable =
        !isBlank(fields.barcode) && !isBlank(fields.name) && isNumber(price) && readsAsQuantity(stock);
    const std::optional<ImportProduct> product = productFromLine(line, separator);
    fuzz::require(product.has_value() == storable, "a line gives a product exactly when it can be stored");
    if (!product)
        return;
    fuzz::require(product->barcode == fields.barcode && product->name == fields.name,
                  "barcode and name are kept as they are");
    fuzz::require(QString::fromLatin1(product->price) == price && std::isfinite(readAmount(price)),
                  "the price is the number's text");
    fuzz::require(QString::fromLatin1(product->stock) == stock, "the stock is the number's text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QByteArray text = importText(bytes);
    fuzz::require(isValidUtf8(text), "the text is UTF-8");
    if (!hasUtf16Mark(bytes)) {
        const bool utf8Mark = bytes.startsWith("\xEF\xBB\xBF");
        const QByteArray body = utf8Mark ? bytes.sliced(3) : bytes;
        if (isValidUtf8(body))
            fuzz::require(text == body, "UTF-8 comes through unchanged");
        else if (!utf8Mark)
            fuzz::require(QString::fromUtf8(text).size() == bytes.size(),
                          "Windows-1252 reads a byte a character");
    } else if (bytes.size() % 2 == 0) {
        QList<char16_t> units;
        if (utf16Units(QByteArrayView(bytes).sliced(2), bytes.startsWith("\xFF\xFE"), units)) {
            const QString expected(reinterpret_cast<const QChar*>(units.constData()), units.size());
            fuzz::require(QString::fromUtf8(text) == expected, "UTF-16 reads whole");
        }
    }

    static const std::array<QByteArrayView, 5> separators{",", ";", "\t", "\xC2\xA6", ""};
    int checked = 0;
    for (const QByteArrayView line : linesOf(text)) {
        // A long file adds nothing the first lines do not try.
        if (++checked > 256)
            break;
        for (const QByteArrayView separator : separators)
            checkLine(line, separator);
    }
    return 0;
}
