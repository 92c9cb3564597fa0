#include "common/passwords.h"

#include "common/errors.h"

#include <QByteArray>

#include <sodium.h>

namespace tillora {

namespace {

const QString hashPrefix = QStringLiteral("$argon2id$");

// libsodium must be set up once before use; later calls return at once.
void initSodium() {
    if (sodium_init() < 0)
        throw AppError(QStringLiteral("The password library could not be started"));
}

} // namespace

QString hashPassword(const QString& password) {
    initSodium();
    const QByteArray bytes = password.toUtf8();
    char stored[crypto_pwhash_STRBYTES] = {};
    // The interactive limits (64 MiB, 2 passes) keep a login under a second on an ordinary
    // shop computer while every guess costs an attacker the same.
    if (crypto_pwhash_str_alg(stored, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                              crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw AppError(QStringLiteral("Not enough memory to store the password"));
    return QString::fromLatin1(stored);
}

bool isPasswordHash(const QString& stored) {
    return stored.startsWith(hashPrefix);
}

PasswordCheck checkPassword(const QString& entry, const QString& stored) {
    if (stored.isEmpty())
        return PasswordCheck::Wrong;
    if (!isPasswordHash(stored))
        return entry == decodeSecret(stored) ? PasswordCheck::RightInOldForm : PasswordCheck::Wrong;
    initSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray bytes = entry.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0
               ? PasswordCheck::Right
               : PasswordCheck::Wrong;
}

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
