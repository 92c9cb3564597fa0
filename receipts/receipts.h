#pragma once
// Receipt numbering, receipt files and the printing of the receipt of a completed sale.
#include "receipts/receipttemplate.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace tillora {

class IMessages;
class ISettingsStore;
struct Services;

// The setting names these values are stored under.
inline const QString ReceiptNumberSetting = QStringLiteral("ReceiptNumber");
inline const QString ReceiptFolderSetting = QStringLiteral("ReceiptFolder");
inline const QString PrintSetting = QStringLiteral("Print");
inline const QString PrintTemplateSetting = QStringLiteral("PrintTemplate");

// The receipt values in use, held by the main window for the whole run.
struct ReceiptSettings {
    qint64 NextReceiptNumber = 1;
    QString ReceiptFolderInUse; // empty: no receipt files
    bool askPrint = false;      // the tick of "Ask Print"
    QString printTemplate;      // the current template (CR LF between lines)
    QString defaultTemplate;    // DefaultPrintTemplate in the language loaded at start

    // Reads the values as the program starts with them: ReceiptNumber (1 when absent),
    // ReceiptFolder (empty when absent), Print (ticked only when it exists and is 1),
    // PrintTemplate (the default when absent, empty or unreadable). Every value is read; one of
    // the wrong kind keeps its default, and the store's first such error is raised as AppError
    // once all the others are in place.
    void load(ISettingsStore& settings, const Translate& translate);
};

enum class SaleKind { Cash, Credit };

// The caption of a sale's boxes: "Sell by Cash" or "Sell by Credit", translated.
QString saleCaption(SaleKind kind, const Translate& translate);

// The receipt file of a number: the folder as typed, "/", the number, ".txt".
QString receiptFilePath(const QString& folder, qint64 number);

// Saves text as a receipt file: UTF-8 with byte-order mark, the text split at CR LF, lone CR
// and lone LF, every line ending in CR LF (the last one too), written whole or not at all. A
// failure is shown ("ERROR", "Cannot create file", two CR, the file name); never raises.
// Returns true when the file was written.
bool TXTkaydet(const QString& str, const QString& filename, IMessages& messages, const Translate& translate);

// The receipt step after a sale was recorded: when "Ask Print" is ticked and "Print?" is
// answered Yes, renders the current template with the next number, the lines, the total (fixed
// style) and the moment of the answer, prints it, saves it in the receipt folder when one is
// set, and advances the number (writing it to ReceiptNumber; a failing write is ignored).
// No printer, a failing print dialog or a failing job raise AppError "Printer not found!" and
// leave the number as it was; a cancelled dialog just ends the step. Uses services.messages,
// .printing, .clock and .settings.
void IssueSaleReceipt(SaleKind kind, const QList<ReceiptLine>& lines, double total, ReceiptSettings& receipts,
                      const QString& currencySymbol, Services& services, const Translate& translate);

// The sales records list a reprint comes from.
enum class RecordList { Payments, Credits };

// The cells of a recorded sale that its reprint reads, as the list shows them.
struct RecordRow {
    QString date;     // the stored time stamp, YYYY-MM-DD HH:MM:SS
    QString product;  // the product name
    QString price;    // the unit price as shown (FormatMoney)
    QString quantity; // the quantity as stored
};

// The moment of a stored time stamp (YYYY-MM-DD HH:MM:SS, local time); raises AppError
// "'<text>' is not a valid date and time" when the text is not one.
QDateTime recordMoment(const QString& stamp);

// The values of the reprint of one recorded sale: one line with the row's product, price text
// and quantity text; the total price x quantity read from those texts, in the general style;
// the moment of the row's date (a credit's record date, as a payment's); no receipt number,
// since none is stored with a sale. Raises the reading errors of the amounts and the date.
ReceiptValues reprintValues(const RecordRow& row, const QString& currencySymbol);

// "Print" on the payments or credits list of the sales records: prints the selected row again
// with the current template. Without a selection, only the beep. The values are built (and a
// row that cannot be read raises its error) before the print dialog; a cancelled dialog ends
// the reprint. No question is asked, "Ask Print" plays no part, no file is saved and the
// receipt number is neither used nor changed. No printer, a failing dialog or a failing job
// raise AppError "Printer not found!", translated for the credits list only.
void ReprintRecord(RecordList list, const std::optional<RecordRow>& selected, const ReceiptSettings& receipts,
                   const QString& currencySymbol, Services& services, const Translate& translate);

// The "Ask Print" menu item was clicked: turns the tick over and writes Print 1 or 0.
// A failing write raises the store's AppError; the tick has changed already.
void toggleAskPrint(ReceiptSettings& receipts, ISettingsStore& settings);

// The Receipts dialog's OK: the number and folder go into use at once and are written to
// ReceiptNumber and ReceiptFolder (no check of the folder). A failing write raises AppError.
void applyReceiptsDialog(ReceiptSettings& receipts, ISettingsStore& settings, qint64 number,
                         const QString& folder);

// The template editor's OK: the text becomes the current template and is written to
// PrintTemplate. A failing write raises AppError; the template is in use already.
void applyPrintTemplate(ReceiptSettings& receipts, ISettingsStore& settings, const QString& text);

} // namespace tillora
