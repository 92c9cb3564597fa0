#include "store/sql.h"

namespace tillora {

QString quote(const QString& value) {
    QString quoted;
    quoted.reserve(value.size() + 2);
    quoted += QLatin1Char('\'');
    for (const QChar c : value) {
        if (c == QChar(u'\0')) {
            // The statement text would end at a NUL character, so the character is joined in
            // as char(0) between two literals: 'a'||char(0)||'b'.
            quoted += QStringLiteral("'||char(0)||'");
            continue;
        }
        if (c == QLatin1Char('\''))
            quoted += QLatin1Char('\'');
        quoted += c;
    }
    quoted += QLatin1Char('\'');
    return quoted;
}

} // namespace tillora
