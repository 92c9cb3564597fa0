#pragma once
// Writing a report's list to a CSV file in the encoding the user picks in the save dialog:
// "ANSI" (the system's 8-bit encoding, no byte-order mark), "UTF-8" (EF BB BF first) or
// "Unicode" (UTF-16 little-endian, FF FE first). A header line, then one line per list row in
// the order shown, the cells joined by the list separator without quoting, every line ending
// in CR LF. An existing file is replaced whole or, on failure, left as it was.
#include "platform/files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

namespace tillora {

struct ProgramContext;

// text in encoding, with that encoding's byte-order mark.
QByteArray encodeTextFile(const QString& text, TextEncoding encoding);

// The header line and the display texts of every row of model, in model order.
QString csvText(const QStringList& header, const QAbstractItemModel& model, const QString& separator);

// Asks for the file and its encoding (filter as "CSV File (*.csv)", "ANSI" preselected) and
// writes the list there; false when the user cancelled. A failed write raises AppError.
bool exportCsv(const ProgramContext& context, const QString& filter, const QStringList& header,
               const QAbstractItemModel& model);

} // namespace tillora
