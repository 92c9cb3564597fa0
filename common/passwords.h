#pragma once
// Passwords as the settings keep them: an Argon2id hash with a random salt of its own, which
// cannot be read back into the password. Values written by older versions (Base64 of the
// password) are still recognised, so that a shop keeps its passwords; the first right entry
// replaces such a value by its hash.
#include <QString>

namespace tillora {

// The stored form of a new password: libsodium's Argon2id string ("$argon2id$v=19$m=...").
// Raises AppError when the hash cannot be made (out of memory).
QString hashPassword(const QString& password);

// Whether stored is a hash made by hashPassword (rather than the old Base64 form).
bool isPasswordHash(const QString& stored);

enum class PasswordCheck {
    Wrong,
    Right,
    RightInOldForm, // right, and stored as Base64: the caller replaces it by hashPassword()
};

// Compares a typed entry (exactly, case-sensitive, nothing trimmed) with a stored password of
// either form. An empty stored value matches nothing.
PasswordCheck checkPassword(const QString& entry, const QString& stored);

// The old stored form: Base64 of the UTF-8 bytes with CR LF after every 76th character (also
// after the last one). Kept to read values written by older versions.
QString encodeSecret(const QString& password);
// Reads the old form back: characters outside the Base64 alphabet (line breaks included) are
// skipped, the bytes are read as UTF-8.
QString decodeSecret(const QString& stored);

} // namespace tillora
