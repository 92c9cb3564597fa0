#include "bench/bench.h"

#include "common/formats.h"
#include "platform/qt/settingsfile.h"

#include <QStringList>

using namespace tillora;
using namespace tillora::bench;

namespace {

// Amounts as a shop sees them: cents up to a few thousand, some negative, some large.
QList<double> sampleAmounts(int count) {
    QList<double> amounts;
    amounts.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double base = (i * 7919 % 500000) / 100.0;
        amounts << (i % 17 == 0 ? -base : base) * (i % 101 == 0 ? 1e6 : 1.0);
    }
    return amounts;
}

Row ratioRow(const QString& operation, const QString& size, double ours, double reference, double limit) {
    return Row{operation,
               size,
               ours,
               reference,
               QStringLiteral("ratio <= %1").arg(limit),
               ours <= reference * limit};
}

Row absoluteRow(const QString& operation, const QString& size, double ours, double limitMs) {
    return Row{operation, size, ours, -1, QStringLiteral("< %1 ms").arg(limitMs), ours < limitMs};
}

} // namespace

TILLORA_BENCHMARK(benchFormats) {
    const int count = 10000;
    const QList<double> amounts = sampleAmounts(count);
    QStringList texts;
    for (double amount : amounts)
        texts << FormatMoney(amount);

    qsizetype sink = 0;
    const double format = medianMs(
        [&] {
            for (double amount : amounts)
                sink += FormatMoney(amount).size();
        },
        21);
    const double formatReference = medianMs(
        [&] {
            for (double amount : amounts)
                sink += QString::number(amount, 'f', 2).size();
        },
        21);
    double total = 0;
    const double read = medianMs(
        [&] {
            for (const QString& text : texts)
                total += readAmount(text);
        },
        21);
    const double readReference = medianMs(
        [&] {
            for (const QString& text : texts)
                total += text.toDouble();
        },
        21);
    const QString size = QStringLiteral("%1 amounts").arg(count);
    QList<Row> rows{ratioRow(QStringLiteral("FormatMoney"), size, format, formatReference, 2),
                    ratioRow(QStringLiteral("readAmount"), size, read, readReference, 2)};
    if (sink == 0 || total == 0)
        rows.first().met = false; // keeps the work from being optimised away
    return rows;
}

// The settings the main window reads at start and the column widths the periodic saver writes
// every second: both must cost next to nothing; a changed value is one atomic file write.
TILLORA_BENCHMARK(benchSettingsStore) {
    FileSettingsStore store(scratchFolder() + QStringLiteral("/settings"));
    QStringList columns;
    for (int i = 1; i <= 5; ++i)
        columns << QStringLiteral("MainColumn%1").arg(i);
    for (int i = 1; i <= 6; ++i)
        columns << QStringLiteral("PaymentColumn%1").arg(i);
    for (int i = 1; i <= 8; ++i)
        columns << QStringLiteral("CreditColumn%1").arg(i);
    for (const QString& name : columns)
        store.writeInteger(name, 120);
    store.writeString(QStringLiteral("PrintTemplate"), QString(2000, QLatin1Char('x')));
    store.writeString(QStringLiteral("CurrencySymbol"), QStringLiteral("$"));

    qint64 sink = 0;
    const double startReads = medianMs(
        [&] {
            for (const char* name :
                 {"LanguageFile", "VCL", "CurrencySymbol", "ReceiptFolder", "PrintTemplate", "SecretAdmin64"})
                sink += store.readString(QString::fromLatin1(name)).size();
            for (const QString& name : columns)
                sink += store.readInteger(name);
        },
        51);
    const double unchanged = medianMs(
        [&] {
            for (const QString& name : columns)
                store.writeInteger(name, 120);
        },
        51);
    int receipt = 1;
    const double changed =
        medianMs([&] { store.writeInteger(QStringLiteral("ReceiptNumber"), ++receipt); }, 21);
    QList<Row> rows{
        absoluteRow(QStringLiteral("settings: start-up reads"), QStringLiteral("25 values"), startReads, 1),
        absoluteRow(QStringLiteral("settings: unchanged column widths"), QStringLiteral("19 values"),
                    unchanged, 1),
        absoluteRow(QStringLiteral("settings: one changed value"), QStringLiteral("1 write"), changed, 50)};
    if (sink == 0)
        rows.first().met = false;
    return rows;
}
