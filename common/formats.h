#pragma once
// Amounts and quantities as the program shows, prints, exports and reads them back: "." as the
// decimal point always, no digit grouping, never the user's locale.
#include <QString>
#include <QVariant>
#include <QtGlobal>

namespace tillora {

// Fixed notation with two decimals, rounded half away from zero at the coarser of two decimals
// and ten significant digits; exponent notation ("1.23456789E10") above ten digits before the
// point; "INF", "-INF", "NAN" for values that are not finite.
QString FormatMoney(double amount);

// The number test: leading blanks, an optional sign, digits with at most one "." among them,
// an optional exponent, nothing after. A text whose value is not finite (1e400) fails too.
bool isNumber(const QString& text);

// The value of an amount text; raises AppError "'<text>' is not a valid floating point value".
double readAmount(const QString& text);

// A signed 32-bit decimal integer (leading blanks and a sign allowed); raises AppError
// "'<text>' is not a valid integer value" otherwise.
qint32 readQuantity(const QString& text);
QString formatQuantity(qint32 quantity);

// The currency symbol, one blank, the amount: "$ 12.50"; an empty symbol gives " 12.50".
QString withCurrency(const QString& symbol, const QString& amount);

// What a list model answers for Qt::TextAlignmentRole: amounts and quantities right-aligned,
// so that their decimals line up; other cells (an invalid value) as the view aligns them.
QVariant listCellAlignment(bool amount);

} // namespace tillora
