#include "barcode/code39.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace tillora {

namespace {

constexpr std::array<Code39Char, 44> table{{
    {u'0', "bwbWBwBwb"}, {u'1', "BwbWbwbwB"}, {u'2', "bwBWbwbwB"}, {u'3', "BwBWbwbwb"}, {u'4', "bwbWBwbwB"},
    {u'5', "BwbWBwbwb"}, {u'6', "bwBWBwbwb"}, {u'7', "bwbWbwBwB"}, {u'8', "BwbWbwBwb"}, {u'9', "bwBWbwBwb"},
    {u'A', "BwbwbWbwB"}, {u'B', "bwBwbWbwB"}, {u'C', "BwBwbWbwb"}, {u'D', "bwbwBWbwB"}, {u'E', "BwbwBWbwb"},
    {u'F', "bwBwBWbwb"}, {u'G', "bwbwbWBwB"}, {u'H', "BwbwbWBwb"}, {u'I', "bwBwbWBwb"}, {u'J', "bwbwBWBwb"},
    {u'K', "BwbwbwbWB"}, {u'L', "bwBwbwbWB"}, {u'M', "BwBwbwbWb"}, {u'N', "bwbwBwbWB"}, {u'O', "BwbwBwbWb"},
    {u'P', "bwBwBwbWb"}, {u'Q', "bwbwbwBWB"}, {u'R', "BwbwbwBWb"}, {u'S', "bwBwbwBWb"}, {u'T', "bwbwBwBWb"},
    {u'U', "BWbwbwbwB"}, {u'V', "bWBwbwbwB"}, {u'W', "BWBwbwbwb"}, {u'X', "bWbwBwbwB"}, {u'Y', "BWbwBwbwb"},
    {u'Z', "bWBwBwbwb"}, {u'-', "bWbwbwBwB"}, {u'.', "BWbwbwBwb"}, {u' ', "bWBwbwBwb"}, {u'$', "bWbWbWbwb"},
    {u'/', "bWbWbwbWb"}, {u'+', "bWbwbWbWb"}, {u'%', "bwbWbWbWb"}, {u'*', "bWbwBwBwb"},
}};

// The width of one element in pixels.
int elementWidth(char element, int narrow, int wide) {
    return (element == 'b' || element == 'w') ? narrow : wide;
}

void putLe16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putLe32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

const std::array<Code39Char, 44>& code39Table() {
    return table;
}

const char* code39Pattern(QChar c) {
    for (const Code39Char& entry : table) {
        if (entry.character == c)
            return entry.pattern;
    }
    return nullptr;
}

QString code39Text(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return upper;
}

// ---- MonoBitmap

MonoBitmap::MonoBitmap(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), stride_((width_ + 31) / 32 * 4),
      bits_(static_cast<qsizetype>(stride_) * height_, '\0') {}

bool MonoBitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return false;
    return (static_cast<uchar>(bits_[static_cast<qsizetype>(y) * stride_ + x / 8]) >> (7 - x % 8)) & 1;
}

void MonoBitmap::setBlack(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    line(y)[x / 8] |= static_cast<uchar>(0x80 >> (x % 8));
}

const uchar* MonoBitmap::line(int y) const {
    return reinterpret_cast<const uchar*>(bits_.constData()) + static_cast<qsizetype>(y) * stride_;
}

uchar* MonoBitmap::line(int y) {
    return reinterpret_cast<uchar*>(bits_.data()) + static_cast<qsizetype>(y) * stride_;
}

// ---- Layout and drawing

qint64 Code39Layout::textColumn() const {
    return width / 2 - 4 * static_cast<qint64>(text.size());
}

QString Code39Layout::unencodableCharacter() const {
    if (unencodableAt < 0 || unencodableAt >= symbol.size())
        return {};
    const bool pair = symbol[unencodableAt].isHighSurrogate() && unencodableAt + 1 < symbol.size() &&
                      symbol[unencodableAt + 1].isLowSurrogate();
    return symbol.mid(unencodableAt, pair ? 2 : 1);
}

Code39Layout layoutCode39(const QString& text, int narrow, int wide, bool readableText) {
    Code39Layout layout;
    layout.text = code39Text(text);
    layout.symbol = QLatin1Char('*') + layout.text + QLatin1Char('*');
    layout.narrow = std::max(narrow, 1);
    layout.wide = std::max(wide, 1);
    layout.readableText = readableText;
    const qint64 perCharacter = 7 * static_cast<qint64>(layout.narrow) + 3 * static_cast<qint64>(layout.wide);
    qint64 x = 1;
    for (QChar c : layout.symbol) {
        if (!code39Pattern(c)) {
            layout.unencodableAt = layout.drawnCharacters;
            break;
        }
        x += perCharacter;
        ++layout.drawnCharacters;
    }
    layout.width = x;
    layout.height = 10 * static_cast<qint64>(layout.wide) + (readableText ? glyphHeight : 1);
    return layout;
}

MonoBitmap drawCode39(const Code39Layout& layout, const GlyphSource& glyphs) {
    if (layout.tooLarge())
        return {};
    const int width = static_cast<int>(layout.width);
    const int h = layout.barHeight();
    MonoBitmap bitmap(width, static_cast<int>(layout.height));

    // Every row of the bars is the same: paint row 1 column by column, then copy it down.
    int x = 1;
    for (int i = 0; i < layout.drawnCharacters; ++i) {
        for (const char* element = code39Pattern(layout.symbol[i]); *element; ++element) {
            const int size = elementWidth(*element, layout.narrow, layout.wide);
            if (*element == 'b' || *element == 'B') {
                for (int column = x; column < x + size; ++column)
                    bitmap.setBlack(column, 1);
            }
            x += size;
        }
        x += layout.narrow;
    }
    for (int y = 2; y < h; ++y)
        std::memcpy(bitmap.line(y), bitmap.line(1), static_cast<size_t>(bitmap.bytesPerLine()));

    if (layout.readableText && glyphs) {
        const qint64 left = layout.textColumn();
        for (qsizetype i = 0; i < layout.text.size(); ++i) {
            const qint64 cell = left + glyphWidth * static_cast<qint64>(i);
            if (cell + glyphWidth <= 0 || cell >= width)
                continue;
            const Glyph glyph = glyphs(layout.text[i]);
            for (int row = 0; row < glyphHeight; ++row) {
                for (int bit = 0; bit < glyphWidth; ++bit) {
                    if ((glyph[static_cast<size_t>(row)] >> (7 - bit)) & 1)
                        bitmap.setBlack(static_cast<int>(cell) + bit, h + row);
                }
            }
        }
    }
    return bitmap;
}

int dotsPerPixel(int printerDotsPerInch, int screenPixelsPerInch) {
    if (screenPixelsPerInch <= 0)
        return 1;
    return std::max(1, printerDotsPerInch / screenPixelsPerInch);
}

QByteArray bmpFile(const MonoBitmap& bitmap) {
    if (bitmap.isNull())
        return {};
    constexpr quint32 headersSize = 14 + 40 + 8; // file header, info header, two palette entries
    constexpr quint32 pixelsPerMetre = 3780;     // 96 dots per inch
    const quint32 imageSize =
        static_cast<quint32>(bitmap.bytesPerLine()) * static_cast<quint32>(bitmap.height());
    QByteArray out;
    out.reserve(static_cast<qsizetype>(headersSize) + static_cast<qsizetype>(imageSize));
    out.append("BM", 2);
    putLe32(out, headersSize + imageSize);
    putLe32(out, 0); // reserved
    putLe32(out, headersSize);
    putLe32(out, 40);
    putLe32(out, static_cast<quint32>(bitmap.width()));
    putLe32(out, static_cast<quint32>(bitmap.height())); // positive: the rows run bottom up
    putLe16(out, 1);                                     // planes
    putLe16(out, 1);                                     // bits per pixel
    putLe32(out, 0);                                     // no compression
    putLe32(out, imageSize);
    putLe32(out, pixelsPerMetre);
    putLe32(out, pixelsPerMetre);
    putLe32(out, 2);                   // colours used
    putLe32(out, 2);                   // colours important
    out.append("\xff\xff\xff\x00", 4); // 0: white
    out.append("\x00\x00\x00\x00", 4); // 1: black
    for (int y = bitmap.height() - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(bitmap.line(y)), bitmap.bytesPerLine());
    return out;
}

} // namespace tillora
