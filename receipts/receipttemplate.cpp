#include "receipts/receipttemplate.h"

#include "common/formats.h"

#include <QLocale>

#include <cmath>

namespace tillora {

namespace {

const QString crlf = QStringLiteral("\r\n");

// Replaces every occurrence of placeholder, ignoring letter case. Text put in is not searched
// again in the same step.
void fill(QString& text, const QString& placeholder, const QString& value) {
    if (text.contains(placeholder, Qt::CaseInsensitive))
        text.replace(placeholder, value, Qt::CaseInsensitive);
}

} // namespace

QString DefaultPrintTemplate(const Translate& translate) {
    const QStringList lines{translate(QStringLiteral("Welcome to Our Shop")),
                            QStringLiteral("[DATETIME]"),
                            QString(),
                            QStringLiteral("Receipt Number: [RECEIPTNO]"),
                            QString(),
                            QStringLiteral("[LIST]"),
                            QString(),
                            translate(QStringLiteral("Total:")) + QStringLiteral(" [TOTAL]"),
                            QString(),
                            translate(QStringLiteral("Thank you"))};
    return lines.join(crlf);
}

QString receiptLineText(const ReceiptLine& line) {
    return line.name + QStringLiteral(" (") + line.price + QStringLiteral(") * ") + line.quantity;
}

QString receiptAmount(double total, TotalStyle style) {
    if (style == TotalStyle::Fixed || !std::isfinite(total))
        return FormatMoney(total);
    // Shortest form with up to 15 significant digits; an exponent is written as 1E20, 1E-5.
    QString text = QString::number(total, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        QString sign;
        if (exponent.startsWith(QLatin1Char('+')) || exponent.startsWith(QLatin1Char('-'))) {
            if (exponent.front() == QLatin1Char('-'))
                sign = QStringLiteral("-");
            exponent.remove(0, 1);
        }
        while (exponent.size() > 1 && exponent.front() == QLatin1Char('0'))
            exponent.remove(0, 1);
        text = mantissa + QLatin1Char('E') + sign + exponent;
    }
    return text;
}

QString RenderReceipt(const QString& templateText, const ReceiptValues& values) {
    QString text = templateText;
    fill(text, QStringLiteral("[RECEIPTNO]"), values.number ? QString::number(*values.number) : QString());

    QString list;
    if (values.lines) {
        qsizetype size = 0;
        for (const ReceiptLine& line : *values.lines)
            size += line.name.size() + line.price.size() + line.quantity.size() + 8;
        list.reserve(size);
        for (qsizetype i = 0; i < values.lines->size(); ++i) {
            if (i > 0)
                list += crlf;
            list += receiptLineText(values.lines->at(i));
        }
    }
    fill(text, QStringLiteral("[LIST]"), list);

    fill(text, QStringLiteral("[TOTAL]"),
         values.total ? withCurrency(values.currencySymbol, receiptAmount(*values.total, values.totalStyle))
                      : QString());

    const QString date = values.moment ? receiptDateText(*values.moment) : QString();
    const QString time = values.moment ? receiptTimeText(*values.moment) : QString();
    fill(text, QStringLiteral("[DATETIME]"), values.moment ? date + QLatin1Char(' ') + time : QString());
    fill(text, QStringLiteral("[DATE]"), date);
    fill(text, QStringLiteral("[TIME]"), time);
    return text;
}

QString withoutTimeZone(const QString& timeFormat) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < timeFormat.size(); ++i) {
        const QChar c = timeFormat[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == QLatin1Char('t')) {
            // Drop the field and the blank that separated it from its neighbour.
            if (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            else if (i + 1 < timeFormat.size() && timeFormat[i + 1] == QLatin1Char(' '))
                ++i;
        } else {
            out += c;
        }
    }
    out.remove(QStringLiteral("()"));
    out.remove(QStringLiteral("[]"));
    return out.trimmed();
}

QString receiptDateFormat() {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString receiptTimeFormat() {
    return withoutTimeZone(QLocale::system().timeFormat(QLocale::LongFormat));
}

QString receiptDateText(const QDateTime& moment) {
    return QLocale::system().toString(moment.date(), receiptDateFormat());
}

QString receiptTimeText(const QDateTime& moment) {
    return QLocale::system().toString(moment.time(), receiptTimeFormat());
}

} // namespace tillora
