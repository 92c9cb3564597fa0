#include "receipts/receipts.h"

#include "common/atomicfile.h"
#include "common/errors.h"
#include "common/formats.h"
#include "i18n/textcodec.h"
#include "platform/services.h"
#include "platform/settingsstore.h"

#include <optional>

namespace tillora {

void ReceiptSettings::load(ISettingsStore& settings, const Translate& translate) {
    *this = ReceiptSettings();
    std::optional<AppError> firstError;
    auto guarded = [&](auto&& read) {
        try {
            read();
        } catch (const AppError& error) {
            if (!firstError)
                firstError = error;
        }
    };

    defaultTemplate = DefaultPrintTemplate(translate);
    guarded([&] {
        if (settings.valueExists(ReceiptNumberSetting))
            NextReceiptNumber = settings.readInteger(ReceiptNumberSetting);
    });
    guarded([&] { ReceiptFolderInUse = settings.readString(ReceiptFolderSetting); });
    guarded(
        [&] { askPrint = settings.valueExists(PrintSetting) && settings.readInteger(PrintSetting) == 1; });
    // A stored template that cannot be read counts as missing, without a message.
    try {
        printTemplate = settings.readString(PrintTemplateSetting);
    } catch (const AppError&) {
        printTemplate.clear();
    }
    if (printTemplate.isEmpty())
        printTemplate = defaultTemplate;
    if (firstError)
        throw *firstError;
}

QString saleCaption(SaleKind kind, const Translate& translate) {
    return translate(kind == SaleKind::Cash ? QStringLiteral("Sell by Cash")
                                            : QStringLiteral("Sell by Credit"));
}

QString receiptFilePath(const QString& folder, qint64 number) {
    return folder + QLatin1Char('/') + QString::number(number) + QStringLiteral(".txt");
}

bool TXTkaydet(const QString& str, const QString& filename, IMessages& messages, const Translate& translate) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : splitTextLines(str)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    // Written whole or not at all: on a full disk a receipt of the same number stays as it was.
    QString error;
    const bool written = !filename.isEmpty() && writeFileAtomically(filename, bytes, error);
    if (!written) {
        messages.show(translate(QStringLiteral("ERROR")),
                      translate(QStringLiteral("Cannot create file")) + QStringLiteral("\r\r") + filename,
                      MsgIcon::Error, {MsgButton::Ok}, MsgButton::Ok);
    }
    return written;
}

void IssueSaleReceipt(SaleKind kind, const QList<ReceiptLine>& lines, double total, ReceiptSettings& receipts,
                      const QString& currencySymbol, Services& services, const Translate& translate) {
    if (!receipts.askPrint)
        return;
    if (services.messages->show(saleCaption(kind, translate), translate(QStringLiteral("Print?")),
                                MsgIcon::None, {MsgButton::Yes, MsgButton::No},
                                MsgButton::Yes) != MsgButton::Yes)
        return;
    const QDateTime moment = services.clock->now();

    // A dialog closed without a reason was cancelled by the user; a reason means it failed.
    QString error;
    if (!services.printing->choosePrinter(error)) {
        if (error.isEmpty())
            return;
        throw AppError(QStringLiteral("Printer not found!"));
    }
    const qint64 number = receipts.NextReceiptNumber;
    ReceiptValues values;
    values.number = number;
    values.lines = lines;
    values.total = total;
    values.totalStyle = TotalStyle::Fixed;
    values.currencySymbol = currencySymbol;
    values.moment = moment;
    const QString text = RenderReceipt(receipts.printTemplate, values);
    const QString title = translate(QStringLiteral("Receipt")) + QLatin1Char(' ') + QString::number(number);
    if (!services.printing->printText(title, text + QStringLiteral("\r\n"), error))
        throw AppError(QStringLiteral("Printer not found!"));

    if (!receipts.ReceiptFolderInUse.isEmpty())
        TXTkaydet(text, receiptFilePath(receipts.ReceiptFolderInUse, number), *services.messages, translate);

    receipts.NextReceiptNumber = number + 1;
    try {
        services.settings->writeInteger(ReceiptNumberSetting,
                                        static_cast<qint32>(receipts.NextReceiptNumber));
    } catch (const AppError&) {
        // The number in use has gone up already; the stored one catches up at the next receipt.
    }
}

QDateTime recordMoment(const QString& stamp) {
    QDateTime moment = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!moment.isValid())
        throw AppError(QLatin1Char('\'') + stamp + QStringLiteral("' is not a valid date and time"));
    return moment;
}

ReceiptValues reprintValues(const RecordRow& row, const QString& currencySymbol) {
    ReceiptValues values;
    values.lines = QList<ReceiptLine>{ReceiptLine{row.product, row.price, row.quantity}};
    values.total = readAmount(row.price) * readQuantity(row.quantity);
    values.totalStyle = TotalStyle::General;
    values.currencySymbol = currencySymbol;
    values.moment = recordMoment(row.date);
    return values;
}

void ReprintRecord(RecordList list, const std::optional<RecordRow>& selected, const ReceiptSettings& receipts,
                   const QString& currencySymbol, Services& services, const Translate& translate) {
    if (!selected) {
        services.messages->beep();
        return;
    }
    const ReceiptValues values = reprintValues(*selected, currencySymbol);
    // The credits list has always shown this message translated, the payments list in English.
    const auto printerNotFound = [&]() {
        return AppError(list == RecordList::Credits ? translate(QStringLiteral("Printer not found!"))
                                                    : QStringLiteral("Printer not found!"));
    };
    QString error;
    if (!services.printing->choosePrinter(error)) {
        if (error.isEmpty())
            return; // cancelled
        throw printerNotFound();
    }
    const QString text = RenderReceipt(receipts.printTemplate, values);
    if (!services.printing->printText(translate(QStringLiteral("Receipt")), text + QStringLiteral("\r\n"),
                                      error))
        throw printerNotFound();
}

void toggleAskPrint(ReceiptSettings& receipts, ISettingsStore& settings) {
    receipts.askPrint = !receipts.askPrint;
    settings.writeInteger(PrintSetting, receipts.askPrint ? 1 : 0);
}

void applyReceiptsDialog(ReceiptSettings& receipts, ISettingsStore& settings, qint64 number,
                         const QString& folder) {
    receipts.NextReceiptNumber = number;
    receipts.ReceiptFolderInUse = folder;
    settings.writeInteger(ReceiptNumberSetting, static_cast<qint32>(number));
    settings.writeString(ReceiptFolderSetting, folder);
}

void applyPrintTemplate(ReceiptSettings& receipts, ISettingsStore& settings, const QString& text) {
    receipts.printTemplate = text;
    settings.writeString(PrintTemplateSetting, text);
}

} // namespace tillora
