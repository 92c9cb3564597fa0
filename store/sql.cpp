#include "store/sql.h"

namespace tillora {

QString quote(const QString& value) {
    QString quoted;
    quoted.reserve(value.size() + 2);
    quoted += QLatin1Char('\'');
    for (const QChar c : value) {
        if (c == QLatin1Char('\''))
            quoted += QLatin1Char('\'');
        quoted += c;
    }
    quoted += QLatin1Char('\'');
    return quoted;
}

} // namespace tillora
