#pragma once
#include <QString>

namespace tillora {

// The stored form of a password: Base64 of its UTF-8 bytes with CR LF after every 76th
// Base64 character (also after the last one). It can be decoded back; nothing is hashed.
QString encodeSecret(const QString& password);
// Reads the stored form back: characters outside the Base64 alphabet (line breaks included)
// are skipped, the bytes are read as UTF-8.
QString decodeSecret(const QString& stored);

} // namespace tillora
