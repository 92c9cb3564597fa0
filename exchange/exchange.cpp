#include "exchange/exchange.h"

#include "common/errors.h"
#include "exchange/csvimport.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "store/context.h"
#include "store/database.h"

#include <QDir>
#include <QFile>

#include <array>

namespace tillora {

namespace {

const QString csvFilter = QStringLiteral("CSV File (*.csv)");
const QString csvExtension = QStringLiteral("csv");

// The locale's list separator; a comma should the context hold none.
QString separatorOf(const ProgramContext& context) {
    return context.csvSeparator.isEmpty() ? QStringLiteral(",") : context.csvSeparator;
}

QString fileProblem(const ProgramContext& context, const char* english, const QString& path,
                    const QString& reason) {
    return context.tr(QString::fromLatin1(english)).arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

void exportTable(ProgramContext& context, ExchangeTable table) {
    const QString path = context.services.files->saveFile(context.tr(QStringLiteral("Save As")), csvFilter,
                                                          csvExtension, QString());
    if (path.isEmpty())
        return;
    const ExportOutcome outcome = writeCsvExport(context.db, table, path, separatorOf(context),
                                                 context.translate, context.services.progress);
    // A failed statement was reported as it failed; a cancel needs no word.
    if (outcome.status == ExportOutcome::Status::WriteFailed)
        throw AppError(fileProblem(context, "Cannot create file \"%1\". %2", path, outcome.error));
}

void importProducts(ProgramContext& context) {
    const QString path =
        context.services.files->openFile(context.tr(QStringLiteral("Open")), csvFilter, csvExtension);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(fileProblem(context, "Cannot open file \"%1\". %2", path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(fileProblem(context, "Cannot open file \"%1\". %2", path, file.errorString()));
    file.close();

    const ImportOutcome outcome = importProductsCsv(context.db, bytes, separatorOf(context),
                                                    context.translate, context.services.progress);
    // A cancel needs no word; a failed transaction was reported as it failed.
    if (!outcome.committed)
        return;
    context.messages().show(context.tr(QStringLiteral("Import")), importSummary(outcome, context.translate),
                            MsgIcon::Information, {MsgButton::Ok}, MsgButton::Ok);
}

void deleteAllRows(ProgramContext& context, ExchangeTable table) {
    static const std::array<const char*, 4> questions{
        "Are you sure you want to delete all products?", "Are you sure you want to delete all customers?",
        "Are you sure you want to delete all payments?", "Are you sure you want to delete all credits?"};
    if (!requireFullAccess(context))
        return;
    if (!confirm(context.messages(),
                 context.tr(QString::fromLatin1(questions[static_cast<std::size_t>(table)]))))
        return;
    context.db.command(QStringLiteral("DELETE FROM ") + tableName(table) + QStringLiteral(";"));
}

} // namespace tillora
