#pragma once
// The receipt template and its placeholders: the built-in template and the filling of a
// template with the values of one sale. No side effects, no failures.
#include "common/translate.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace tillora {

// One entry of "[LIST]": printed as name + " (" + price + ") * " + quantity.
struct ReceiptLine {
    QString name;
    QString price;    // the unit price text as charged, e.g. "1.50"
    QString quantity; // a whole number in decimal
    bool operator==(const ReceiptLine&) const = default;
};

// How "[TOTAL]" writes its amount.
enum class TotalStyle {
    Fixed,   // FormatMoney, two decimals: the receipt of a completed sale
    General, // shortest form, up to 15 significant digits, no trailing zeros: a reprint
};

// The values of one receipt. A value not given leaves its placeholder replaced by the empty
// text, so no bracketed code is ever printed.
struct ReceiptValues {
    std::optional<qint64> number;
    std::optional<QList<ReceiptLine>> lines;
    std::optional<double> total;
    TotalStyle totalStyle = TotalStyle::Fixed;
    QString currencySymbol = QStringLiteral("$");
    std::optional<QDateTime> moment;
};

// The built-in template: ten lines joined by CR LF, no break after the last.
QString DefaultPrintTemplate(const Translate& translate);

// One list line: "MILK (1.50) * 2".
QString receiptLineText(const ReceiptLine& line);

// The template with every placeholder filled, in the fixed order [RECEIPTNO], [LIST], [TOTAL],
// [DATETIME], [DATE], [TIME], each step over the whole text of the step before and ignoring
// letter case. Everything else is copied unchanged.
QString RenderReceipt(const QString& templateText, const ReceiptValues& values);

// The amount of "[TOTAL]" in the given style, without currency symbol.
QString receiptAmount(double total, TotalStyle style);

// The locale's short date format, and its long time format without a time-zone name.
QString receiptDateFormat();
QString receiptTimeFormat();
QString receiptDateText(const QDateTime& moment);
QString receiptTimeText(const QDateTime& moment);
// Removes the time-zone field ('t' outside quotes) from a time format, with the blanks and
// empty brackets it leaves behind.
QString withoutTimeZone(const QString& timeFormat);

} // namespace tillora
