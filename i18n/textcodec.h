#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tillora {

// Reads text whose encoding is not declared anywhere but in the bytes themselves. A byte-order
// mark (UTF-8, UTF-16 LE, UTF-16 BE) names the encoding and is dropped. Without one the bytes
// are read as UTF-8 when they are valid UTF-8, else as Windows-1252, so that files made with
// the ANSI code page of western Windows systems read correctly.
QString decodeText(const QByteArray& bytes);

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(const QByteArray& bytes);

// Windows-1252 bytes to text. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same number, as Windows converts them.
QString fromWindows1252(const QByteArray& bytes);

// Text in the locale's own 8-bit encoding, without a byte-order mark: what is written where a
// file is meant for the system's ANSI code page. Qt uses UTF-8 as that encoding on Unix systems.
QByteArray encodeAnsi(const QString& text);

// Splits text into lines at CR LF, LF or a lone CR. A break at the very end does not start
// another, empty line; empty text has no lines.
QStringList splitTextLines(const QString& text);

// Removes blanks and control characters (everything up to U+0020) at both ends.
QString trimBlanksAndControls(const QString& text);

} // namespace tillora
