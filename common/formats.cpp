#include "common/formats.h"

#include "common/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace tillora {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The position of the first nonzero digit as a power of ten, for a mantissa text without sign
// ("0.05" -> -2, "120" -> 2) plus its exponent; used only to tell overflow from underflow.
std::optional<long long> decimalMagnitude(const std::string& mantissa, long long exponent) {
    const auto point = mantissa.find('.');
    const long long integerDigits =
        static_cast<long long>(point == std::string::npos ? mantissa.size() : point);
    long long position = 0;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.')
            continue;
        if (mantissa[i] != '0')
            return exponent + integerDigits - 1 - position;
        ++position;
    }
    return std::nullopt;
}

// Where the digits of a number text start, past leading blanks and an optional sign, and
// whether that sign was "-".
std::pair<qsizetype, bool> skipBlanksAndSign(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    return {i, negative};
}

// The number test and the value of a text that passes it; nullopt when it fails or when the
// value is not finite.
std::optional<double> parseNumber(QStringView text) {
    const qsizetype n = text.size();
    auto [i, negative] = skipBlanksAndSign(text);
    const qsizetype start = i;
    int digits = 0;
    int points = 0;
    for (; i < n; ++i) {
        if (isDigit(text[i]))
            ++digits;
        else if (text[i] == QLatin1Char('.') && points == 0)
            ++points;
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    const qsizetype mantissaEnd = i;
    long long exponent = 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            negativeExponent = text[i] == QLatin1Char('-');
            ++i;
        }
        int exponentDigits = 0;
        for (; i < n && isDigit(text[i]); ++i, ++exponentDigits) {
            if (exponent < 1000000000LL)
                exponent = exponent * 10 + (text[i].unicode() - '0');
        }
        if (exponentDigits == 0)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;

    // Everything from start on is ASCII now; from_chars reads it without any locale.
    const std::string ascii = text.sliced(start).toLatin1().toStdString();
    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string mantissa = text.sliced(start, mantissaEnd - start).toLatin1().toStdString();
        const auto magnitude = decimalMagnitude(mantissa, exponent);
        if (magnitude && *magnitude > 0)
            return std::nullopt; // too large for a double
        value = 0;               // too small: it reads as zero
    } else if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

QString FormatMoney(double amount) {
    if (std::isnan(amount))
        return QStringLiteral("NAN");
    if (std::isinf(amount))
        return amount < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (amount == 0)
        return QStringLiteral("0.00");

    // The value at 15 significant digits: "d.dddddddddddddde+XX".
    char scientific[32];
    const char* end = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(amount),
                                    std::chars_format::scientific, 14)
                          .ptr;
    // digits[0] is kept free for a carry out of the first digit.
    char digits[17];
    digits[0] = '0';
    digits[1] = scientific[0];
    std::memcpy(digits + 2, scientific + 2, 14);
    const char* e = scientific + 16;
    int exponent = 0; // power of ten of digits[1]
    for (const char* p = e + 2; p < end; ++p)
        exponent = exponent * 10 + (*p - '0');
    if (e[1] == '-')
        exponent = -exponent;

    // Keep the digits down to the coarser of 10^-2 and ten significant digits, rounding half
    // away from zero on the decimal digits. keep is at most 10, so digits[1 + keep] exists.
    const int last = std::max(-2, exponent - 9);
    const int keep = exponent - last + 1;
    if (keep < 0 || (keep == 0 && digits[1] < '5'))
        return QStringLiteral("0.00");
    char* first = digits + 1; // the first significant digit after rounding
    int count = keep;         // the number of digits from first on that count
    if (digits[1 + keep] >= '5') {
        // Increment the digit at index keep (digits[0] when keep is 0); a carry stops at
        // digits[0] at the latest, which holds '0'.
        int i = keep;
        while (i > 0 && digits[i] == '9')
            digits[i--] = '0';
        ++digits[i];
        if (i == 0) {
            first = digits;
            ++count;
            ++exponent;
        }
    }

    char out[48];
    int length = 0;
    if (amount < 0)
        out[length++] = '-';
    if (exponent >= 10) {
        // Exponent notation, ten significant digits, trailing zeros dropped.
        int significant = std::min(count, 10);
        while (significant > 1 && first[significant - 1] == '0')
            --significant;
        out[length++] = first[0];
        if (significant > 1) {
            out[length++] = '.';
            std::memcpy(out + length, first + 1, static_cast<std::size_t>(significant - 1));
            length += significant - 1;
        }
        out[length++] = 'E';
        length = static_cast<int>(std::to_chars(out + length, out + sizeof out, exponent).ptr - out);
        return QString::fromLatin1(out, length);
    }
    // Fixed notation: every power of ten from the first digit (or 10^0) down to 10^-2.
    for (int power = std::max(exponent, 0); power >= -2; --power) {
        if (power == -1)
            out[length++] = '.';
        const int index = exponent - power;
        out[length++] = index >= 0 && index < count ? first[index] : '0';
    }
    return QString::fromLatin1(out, length);
}

bool isNumber(const QString& text) {
    return parseNumber(text).has_value();
}

double readAmount(const QString& text) {
    const auto value = parseNumber(text);
    if (!value)
        throw AppError(QLatin1Char('\'') + text + QStringLiteral("' is not a valid floating point value"));
    return *value;
}

qint32 readQuantity(const QString& text) {
    const qsizetype n = text.size();
    auto [i, negative] = skipBlanksAndSign(text);
    const qint64 limit = negative ? 2147483648LL : 2147483647LL;
    qint64 value = 0;
    const qsizetype start = i;
    for (; i < n && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > limit)
            break;
    }
    if (i == start || i != n)
        throw AppError(QLatin1Char('\'') + text + QStringLiteral("' is not a valid integer value"));
    return static_cast<qint32>(negative ? -value : value);
}

QString formatQuantity(qint32 quantity) {
    return QString::number(quantity);
}

QString withCurrency(const QString& symbol, const QString& amount) {
    return symbol + QLatin1Char(' ') + amount;
}

QVariant listCellAlignment(bool amount) {
    return amount ? QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
}

} // namespace tillora
