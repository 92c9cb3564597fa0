#include "common/passwords.h"

#include <QByteArray>

namespace tillora {

QString encodeSecret(const QString& password) {
    const QByteArray base64 = password.toUtf8().toBase64();
    QString stored;
    stored.reserve(base64.size() + base64.size() / 38 + 2);
    for (qsizetype i = 0; i < base64.size(); ++i) {
        stored += QLatin1Char(base64[i]);
        if ((i + 1) % 76 == 0)
            stored += QStringLiteral("\r\n");
    }
    return stored;
}

QString decodeSecret(const QString& stored) {
    QByteArray base64;
    base64.reserve(stored.size());
    for (QChar c : stored) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'+' ||
            u == u'/' || u == u'=')
            base64 += static_cast<char>(u);
    }
    return QString::fromUtf8(QByteArray::fromBase64(base64));
}

} // namespace tillora
