// The receipt template as the settings or the editor hold it: any text renders, and a text
// without "[" comes back unchanged.
#include "receipts/receipttemplate.h"
#include "tests/fuzz/fuzztarget.h"

using namespace tillora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    ReceiptValues values;
    values.number = 42;
    values.lines =
        QList<ReceiptLine>{{QStringLiteral("MILK [TOTAL]"), QStringLiteral("1.50"), QStringLiteral("2")},
                           {QStringLiteral("BREAD"), QStringLiteral("2.50"), QStringLiteral("1")}};
    values.total = 5.5;
    values.moment = QDateTime(QDate(2026, 1, 15), QTime(14, 5, 9));
    const QString rendered = RenderReceipt(text, values);
    if (!text.contains(QLatin1Char('[')))
        fuzz::require(rendered == text, "a text without placeholders is copied unchanged");
    RenderReceipt(text, ReceiptValues{});
    return 0;
}
