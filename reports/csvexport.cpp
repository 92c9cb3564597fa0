#include "reports/csvexport.h"

#include "common/atomicfile.h"
#include "common/errors.h"
#include "i18n/textcodec.h"
#include "store/context.h"

#include <QAbstractItemModel>

namespace tillora {

QByteArray encodeTextFile(const QString& text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        return encodeAnsi(text);
    case TextEncoding::Utf8:
        return QByteArray("\xef\xbb\xbf") + text.toUtf8();
    case TextEncoding::Unicode: {
        QByteArray bytes("\xff\xfe");
        bytes.reserve(2 + text.size() * 2);
        for (QChar c : text) {
            bytes.append(static_cast<char>(c.unicode() & 0xff));
            bytes.append(static_cast<char>(c.unicode() >> 8));
        }
        return bytes;
    }
    }
    return text.toUtf8();
}

QString csvText(const QStringList& header, const QAbstractItemModel& model, const QString& separator) {
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = header.join(separator) + lineEnd;
    const int columns = model.columnCount();
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                text += separator;
            text += model.data(model.index(row, column)).toString();
        }
        text += lineEnd;
    }
    return text;
}

bool exportCsv(const ProgramContext& context, const QString& filter, const QStringList& header,
               const QAbstractItemModel& model) {
    SaveChoice choice;
    choice.encoding = TextEncoding::Ansi;
    if (!context.services.files->saveFileWithEncoding(context.tr(QStringLiteral("Save As")), filter,
                                                      QStringLiteral("csv"), QString(), choice))
        return false;
    QString error;
    if (!writeFileAtomically(choice.path,
                             encodeTextFile(csvText(header, model, context.csvSeparator), choice.encoding),
                             error))
        throw AppError(context.tr(QStringLiteral("Cannot create file")) + QStringLiteral(" \"") +
                       choice.path + QStringLiteral("\". ") + error);
    return true;
}

} // namespace tillora
