#pragma once
// The CSV exports of the four tables: every row in id order, fields joined by the list
// separator without quoting, each line ended by CR LF, text in the system's 8-bit encoding
// without a byte-order mark. Products start with an English header line.
#include "common/translate.h"

#include <QString>
#include <QtGlobal>

namespace tillora {

class Database;
class IProgress;

enum class ExchangeTable { Products, Customers, Payments, Credits };

// The table's name in the data file (urunler, musteriler, odemeler, veresiyeler).
QString tableName(ExchangeTable table);

struct ExportOutcome {
    enum class Status {
        Written,         // the file holds the export
        StatementFailed, // the statement failed (reported); no file was written
        WriteFailed,     // the file could not be written; error says why
        Cancelled,       // the user cancelled; no file was written
    };
    Status status = Status::Written;
    qint64 rows = 0;
    QString error;
};

// Writes the export of table to path, whole or not at all: a statement that fails, a write
// that fails or a cancel leaves an existing file of that name as it was. The rows are
// streamed to the file as they are read, so any size fits in memory. A credits row whose
// price or quantity is no number raises AppError (nothing is written then).
ExportOutcome writeCsvExport(Database& db, ExchangeTable table, const QString& path, const QString& separator,
                             const Translate& translate, IProgress* progress);

} // namespace tillora
