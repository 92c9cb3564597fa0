#pragma once
// Receipt numbering, receipt files and the printing of the receipt of a completed sale.
#include "receipts/receipttemplate.h"

#include <QList>
#include <QString>
#include <QtGlobal>

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
