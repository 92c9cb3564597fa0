#pragma once
// Code 39 symbols as black-and-white bitmaps. The module widths are whole pixels: a narrow
// element is n pixels, a wide one w pixels, the bars are h = 10 × w pixels high. Column 0 and
// the top and bottom rows stay white; the gap after the stop character is the right margin.
// Under the bars an optional line of readable text in 8-pixel cells, centred.
//
// The drawing is plain arithmetic on a bitmap; the glyphs of the readable text come from the
// caller (the window renders them from a fixed-pitch font).
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

namespace tillora {

// One character of the symbology and its nine elements, read left to right, alternating bar
// and space starting with a bar: "b" narrow bar, "B" wide bar, "w" narrow space, "W" wide space.
struct Code39Char {
    QChar character;
    const char* pattern;
};

// The 44 characters: digits, A to Z, the symbols - . blank $ / + % and the start/stop "*".
const std::array<Code39Char, 44>& code39Table();

// The pattern of c, or nullptr when c is not in the table (exact match: "a" is not "A").
const char* code39Pattern(QChar c);

// The text a symbol encodes: the letters a to z turned into A to Z, nothing else changed.
QString code39Text(const QString& text);

// A white bitmap whose pixels can be set black: rows of bits, the leftmost pixel in the highest
// bit, 1 = black, each row padded with white to a multiple of four bytes. This is the layout of
// the rows of a 1-bit BMP file and of a 1-bit QImage, so both are made by copying.
class MonoBitmap {
public:
    MonoBitmap() = default;
    // A white bitmap; width and height at least 1.
    MonoBitmap(int width, int height);

    bool isNull() const { return width_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerLine() const { return stride_; }
    bool pixel(int x, int y) const;
    void setBlack(int x, int y);
    const uchar* line(int y) const;
    uchar* line(int y);
    const QByteArray& bits() const { return bits_; }

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    QByteArray bits_;
};

// The glyph of one character of the readable text: 15 rows of 8 pixels, the leftmost pixel in
// the highest bit, 1 = black.
using Glyph = std::array<quint8, 15>;
using GlyphSource = std::function<Glyph(QChar)>;
constexpr int glyphWidth = 8;
constexpr int glyphHeight = 15;

// The largest width or height of an image the window draws; larger ones are refused before
// anything is allocated (the module widths go up to 999,999 pixels).
constexpr qint64 maxImageSide = 32767;

// What drawing a text would produce, worked out before any pixel is set.
struct Code39Layout {
    QString text;   // the text as encoded: a..z in upper case, without the asterisks
    QString symbol; // "*" + text + "*"
    int narrow = 1;
    int wide = 2;
    bool readableText = false;
    // Characters of the symbol drawn: all of them, or those before the first one outside the
    // table.
    int drawnCharacters = 0;
    // Position in the symbol of the first character outside the table, -1 when there is none;
    // drawing stops there and the image has no stop character.
    qsizetype unencodableAt = -1;
    qint64 width = 0;  // 1 + (7n + 3w) for each character drawn
    qint64 height = 0; // h + 1, or h + 15 with readable text
    int barHeight() const { return 10 * wide; }
    // The character at unencodableAt (both halves of a character outside the 16-bit range).
    QString unencodableCharacter() const;
    bool tooLarge() const { return width > maxImageSide || height > maxImageSide; }
    // The column where the readable text starts: (width div 2) − 4 × its length (may be negative).
    qint64 textColumn() const;
};

// narrow and wide are at least 1.
Code39Layout layoutCode39(const QString& text, int narrow, int wide, bool readableText);

// Draws layout (which must not be tooLarge). glyphs is asked only with readable text.
MonoBitmap drawCode39(const Code39Layout& layout, const GlyphSource& glyphs);

// How many printer dots one image pixel becomes across (or down): the printer's dots per inch
// divided by the screen's pixels per inch, whole dots, at least 1 (a printer coarser than the
// screen would otherwise print nothing).
int dotsPerPixel(int printerDotsPerInch, int screenPixelsPerInch);

// The bitmap as a Windows BMP file of 1 bit per pixel (white, black palette), 96 dots per inch.
QByteArray bmpFile(const MonoBitmap& bitmap);

} // namespace tillora
