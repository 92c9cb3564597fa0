#include "i18n/textcodec.h"

#include <QStringDecoder>

namespace tillora {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

bool startsWith(const QByteArray& bytes, const char* mark, qsizetype length) {
    return bytes.size() >= length && bytes.first(length) == QByteArrayView(mark, length);
}

QString decodeUtf16(QByteArrayView bytes, QStringDecoder::Encoding encoding) {
    // The mark has already been removed; a second one is kept as the character it is.
    QStringDecoder decoder(encoding, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

bool isValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int follow = 0;
        unsigned char low = 0x80; // allowed range of the second byte
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (n - i <= follow)
            return false;
        if (p[i + 1] < low || p[i + 1] > high)
            return false;
        for (int k = 2; k <= follow; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += follow + 1;
    }
    return true;
}

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        out[i] = (c >= 0x80 && c <= 0x9F) ? QChar(windows1252High[c - 0x80]) : QChar(c);
    }
    return text;
}

QString decodeText(const QByteArray& bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF", 3))
        return QString::fromUtf8(QByteArrayView(bytes).sliced(3));
    if (startsWith(bytes, "\xFF\xFE", 2))
        return decodeUtf16(QByteArrayView(bytes).sliced(2), QStringDecoder::Utf16LE);
    if (startsWith(bytes, "\xFE\xFF", 2))
        return decodeUtf16(QByteArrayView(bytes).sliced(2), QStringDecoder::Utf16BE);
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return fromWindows1252(bytes);
}

QByteArray encodeAnsi(const QString& text) {
    return text.toLocal8Bit();
}

QStringList splitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

QString trimBlanksAndControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace tillora
