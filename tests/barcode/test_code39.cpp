// Code 39 symbols as bitmaps: the character table, the geometry, where drawing stops, the
// readable text, the size limit, the BMP file and, with a real decoder, that the images read
// back as their text.
#include "barcode/code39.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace tillora;

namespace {

// Reads the symbol back from row 1 of the bars: runs of black and white from column 1, each
// run n or w pixels, nine elements and a narrow gap per character. Returns the characters read,
// or "?" for a run or pattern that is no element or character.
QString readBars(const MonoBitmap& bitmap, int narrow, int wide) {
    QList<int> runs;
    int x = 1;
    while (x < bitmap.width()) {
        const bool black = bitmap.pixel(x, 1);
        int end = x;
        while (end < bitmap.width() && bitmap.pixel(end, 1) == black)
            ++end;
        runs.append(end - x);
        x = end;
    }
    QString text;
    for (qsizetype start = 0; start + 9 <= runs.size(); start += 10) {
        QByteArray pattern;
        for (int i = 0; i < 9; ++i) {
            const int run = runs[start + i];
            const bool bar = i % 2 == 0;
            if (run == narrow)
                pattern += bar ? 'b' : 'w';
            else if (run == wide)
                pattern += bar ? 'B' : 'W';
            else
                return text + QLatin1Char('?');
        }
        QChar found = u'?';
        for (const Code39Char& entry : code39Table()) {
            if (pattern == entry.pattern)
                found = entry.character;
        }
        text += found;
        if (start + 9 < runs.size() && runs[start + 9] != narrow)
            return text + QLatin1Char('?'); // the gap after a character is one narrow module
    }
    return text;
}

MonoBitmap draw(const QString& text, int narrow = 1, int wide = 2, bool readable = false,
                const GlyphSource& glyphs = {}) {
    return drawCode39(layoutCode39(text, narrow, wide, readable), glyphs);
}

Glyph solidGlyph(QChar) {
    Glyph glyph;
    glyph.fill(0xff);
    return glyph;
}

quint32 le32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace

class TestCode39 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tableHoldsTheSymbology() {
        const auto& table = code39Table();
        QString characters;
        for (const Code39Char& entry : table) {
            characters += entry.character;
            const QByteArray pattern(entry.pattern);
            QCOMPARE(pattern.size(), 9);
            int wide = 0;
            for (int i = 0; i < 9; ++i) {
                const char element = pattern[i];
                QVERIFY2(QByteArray(i % 2 == 0 ? "bB" : "wW").contains(element), entry.pattern);
                wide += element == 'B' || element == 'W';
            }
            QCOMPARE(wide, 3);
            QCOMPARE(code39Pattern(entry.character), entry.pattern);
        }
        QString sorted = characters;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, QStringLiteral(" $%*+-./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        QCOMPARE(code39Pattern(u'a'), nullptr);
        QCOMPARE(code39Pattern(u'é'), nullptr);
        QCOMPARE(code39Text(QStringLiteral("abz-é ÿq")), QStringLiteral("ABZ-é ÿQ"));
    }

    void geometry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QSize>("size");
        QTest::newRow("13 digits") << "5901234123457" << 1 << 2 << false << QSize(196, 21);
        QTest::newRow("13 digits with text") << "5901234123457" << 1 << 2 << true << QSize(196, 35);
        QTest::newRow("empty") << "" << 1 << 2 << false << QSize(1 + 2 * 13, 21);
        QTest::newRow("narrow 2 wide 4") << "5901234123457" << 2 << 4 << false << QSize(1 + 15 * 26, 41);
        QTest::newRow("narrow 3 wide 7 with text") << "AB" << 3 << 7 << true << QSize(1 + 4 * 42, 85);
    }

    void geometry() {
        QFETCH(QString, text);
        QFETCH(int, narrow);
        QFETCH(int, wide);
        QFETCH(bool, readable);
        QFETCH(QSize, size);
        const Code39Layout layout = layoutCode39(text, narrow, wide, readable);
        QCOMPARE(QSize(layout.width, layout.height), size);
        const MonoBitmap bitmap = drawCode39(layout, solidGlyph);
        QCOMPARE(QSize(bitmap.width(), bitmap.height()), size);
        const int h = 10 * wide;
        QCOMPARE(readBars(bitmap, narrow, wide), QLatin1Char('*') + text + QLatin1Char('*'));
        for (int x = 0; x < bitmap.width(); ++x) {
            QVERIFY(!bitmap.pixel(x, 0));
            QVERIFY(readable || !bitmap.pixel(x, h)); // the readable text starts on row h
            for (int y = 2; y < h; ++y)
                QCOMPARE(bitmap.pixel(x, y), bitmap.pixel(x, 1));
        }
        for (int y = 0; y < h; ++y)
            QVERIFY(!bitmap.pixel(0, y));
        // The right margin is one narrow module; the stop character ends in a bar.
        for (int x = bitmap.width() - narrow; x < bitmap.width(); ++x)
            QVERIFY(!bitmap.pixel(x, 1));
        QVERIFY(bitmap.pixel(bitmap.width() - narrow - 1, 1));
        // The first bar starts right after the white column 0.
        QVERIFY(bitmap.pixel(1, 1));
    }

    void lettersAndSymbolsAreEncoded_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("lower case") << "abc"
                                    << "*ABC*";
        QTest::newRow("blank") << "A B"
                               << "*A B*";
        QTest::newRow("symbols") << "-. $/+%"
                                 << "*-. $/+%*";
        QTest::newRow("all letters") << "abcdefghijklmnopqrstuvwxyz"
                                     << "*ABCDEFGHIJKLMNOPQRSTUVWXYZ*";
    }

    void lettersAndSymbolsAreEncoded() {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        const Code39Layout layout = layoutCode39(text, 1, 2, false);
        QCOMPARE(layout.symbol, encoded);
        QCOMPARE(layout.unencodableAt, -1);
        QCOMPARE(readBars(drawCode39(layout, {}), 1, 2), encoded);
    }

    void drawingStopsAtACharacterOutsideTheTable_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("accent") << "ABé9"
                                << "é"
                                << "*AB";
        QTest::newRow("first") << "éAB"
                               << "é"
                               << "*";
        QTest::newRow("asterisk inside is in the table") << "A*B"
                                                         << ""
                                                         << "*A*B*";
        QTest::newRow("beyond 16 bits")
            << QStringLiteral("A\U0001F600B") << QStringLiteral("\U0001F600") << "*A";
    }

    void drawingStopsAtACharacterOutsideTheTable() {
        QFETCH(QString, text);
        QFETCH(QString, character);
        QFETCH(QString, drawn);
        const Code39Layout layout = layoutCode39(text, 1, 2, true);
        QCOMPARE(layout.unencodableCharacter(), character);
        QCOMPARE(layout.drawnCharacters, drawn.size());
        // The image ends with the gap after the last character drawn; no stop character.
        QCOMPARE(layout.width, 1 + 13 * drawn.size());
        QStringList asked;
        const MonoBitmap bitmap = drawCode39(layout, [&](QChar c) {
            asked << QString(c);
            return solidGlyph(c);
        });
        QCOMPARE(readBars(bitmap, 1, 2), drawn);
        // The readable text is the whole text in upper case, cut at the image's edges.
        QCOMPARE(layout.text, code39Text(text));
        QVERIFY(asked.size() <= layout.text.size());
    }

    void readableTextIsCentredUnderTheBars_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::newRow("13 digits") << "5901234123457" << 1 << 2;
        QTest::newRow("abc") << "abc" << 1 << 2;
        QTest::newRow("wide modules") << "X1" << 4 << 9;
        QTest::newRow("starts left of the image") << "éABCDEFGH" << 1 << 2;
    }

    void readableTextIsCentredUnderTheBars() {
        QFETCH(QString, text);
        QFETCH(int, narrow);
        QFETCH(int, wide);
        const Code39Layout layout = layoutCode39(text, narrow, wide, true);
        QString asked;
        const MonoBitmap bitmap = drawCode39(layout, [&](QChar c) {
            asked += c;
            return solidGlyph(c);
        });
        const int h = 10 * wide;
        const qint64 left = layout.width / 2 - 4 * text.size();
        QCOMPARE(layout.textColumn(), left);
        for (int y = h; y < h + glyphHeight; ++y) {
            for (int x = 0; x < bitmap.width(); ++x) {
                const bool inText = x >= left && x < left + glyphWidth * text.size();
                QCOMPARE(bitmap.pixel(x, y), inText);
            }
        }
        QCOMPARE(bitmap.height(), h + glyphHeight);
        if (left >= 0)
            QCOMPARE(asked, code39Text(text));
    }

    void glyphBitsAreDrawnFromTheLeft() {
        // A glyph with only its leftmost column and its top row black.
        const Code39Layout layout = layoutCode39(QStringLiteral("1"), 1, 2, true);
        const MonoBitmap bitmap = drawCode39(layout, [](QChar) {
            Glyph glyph{};
            glyph.fill(0x80);
            glyph[0] = 0xff;
            return glyph;
        });
        const int left = static_cast<int>(layout.textColumn());
        QCOMPARE(left, static_cast<int>(layout.width / 2 - 4));
        for (int y = 20; y < 35; ++y) {
            QVERIFY(bitmap.pixel(left, y));
            QCOMPARE(bitmap.pixel(left + 7, y), y == 20);
            QVERIFY(!bitmap.pixel(left + 8, y));
        }
    }

    void largeImagesAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("refused");
        QTest::newRow("largest modules") << "5901234123457" << 999999 << 999999 << false << true;
        QTest::newRow("bars just fit") << "" << 1 << 3276 << false << false;
        QTest::newRow("bars one module too high") << "" << 1 << 3277 << false << true;
        QTest::newRow("text makes it too high") << "" << 1 << 3276 << true << true;
        QTest::newRow("too wide") << QString(2600, u'1') << 1 << 2 << false << true;
        QTest::newRow("wide enough") << QString(2518, u'1') << 1 << 2 << false << false;
    }

    void largeImagesAreRefused() {
        QFETCH(QString, text);
        QFETCH(int, narrow);
        QFETCH(int, wide);
        QFETCH(bool, readable);
        QFETCH(bool, refused);
        const Code39Layout layout = layoutCode39(text, narrow, wide, readable);
        QCOMPARE(layout.tooLarge(), refused);
        if (refused)
            QVERIFY(drawCode39(layout, solidGlyph).isNull());
        else
            QCOMPARE(drawCode39(layout, solidGlyph).width(), layout.width);
    }

    void printerDotsPerPixel_data() {
        QTest::addColumn<int>("printer");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("dots");
        QTest::newRow("600 on 96") << 600 << 96 << 6;
        QTest::newRow("300 on 96") << 300 << 96 << 3;
        QTest::newRow("1200 on 120") << 1200 << 120 << 10;
        QTest::newRow("same") << 96 << 96 << 1;
        QTest::newRow("coarser than the screen") << 72 << 96 << 1;
        QTest::newRow("no resolution") << 0 << 96 << 1;
        QTest::newRow("no screen resolution") << 600 << 0 << 1;
    }

    void printerDotsPerPixel() {
        QFETCH(int, printer);
        QFETCH(int, screen);
        QFETCH(int, dots);
        QCOMPARE(dotsPerPixel(printer, screen), dots);
    }

    void bmpFileHoldsOneBitPerPixel() {
        const MonoBitmap bitmap = draw(QStringLiteral("5901234123457"), 1, 2, true, solidGlyph);
        const QByteArray bytes = bmpFile(bitmap);
        const int stride = (196 + 31) / 32 * 4;
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(le32(bytes, 2), quint32(bytes.size()));
        QCOMPARE(bytes.size(), 62 + stride * 35);
        QCOMPARE(le32(bytes, 10), 62u);
        QCOMPARE(le32(bytes, 18), 196u);
        QCOMPARE(le32(bytes, 22), 35u);
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(1));
        const QImage image = QImage::fromData(bytes, "BMP");
        QCOMPARE(image.size(), QSize(196, 35));
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, y), bitmap.pixel(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
        QVERIFY(bmpFile(MonoBitmap()).isEmpty());
    }

    // The BMP files read back as their text with zbarimg (zbar-tools), as written: no margin is
    // added around them.
    void aRealDecoderReadsTheImages_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("13 digits") << "5901234123457" << 1 << 2 << "5901234123457";
        QTest::newRow("digits") << "0123456789" << 1 << 2 << "0123456789";
        QTest::newRow("letters A-M") << "ABCDEFGHIJKLM" << 1 << 2 << "ABCDEFGHIJKLM";
        QTest::newRow("letters n-z") << "nopqrstuvwxyz" << 1 << 2 << "NOPQRSTUVWXYZ";
        QTest::newRow("symbols") << "-. $/+%" << 1 << 2 << "-. $/+%";
        QTest::newRow("blank") << "A B" << 1 << 2 << "A B";
        QTest::newRow("narrow 2 wide 5") << "TILL-42" << 2 << 5 << "TILL-42";
        QTest::newRow("narrow 3 wide 7") << "5901234123457" << 3 << 7 << "5901234123457";
    }

    void aRealDecoderReadsTheImages() {
        QFETCH(QString, text);
        QFETCH(int, narrow);
        QFETCH(int, wide);
        QFETCH(QString, decoded);
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        QVERIFY2(!zbarimg.isEmpty(), "zbarimg is missing: the set-up script installs zbar-tools");
        const MonoBitmap bitmap = draw(text, narrow, wide);
        QTemporaryDir dir;
        const QString bmp = dir.filePath(QStringLiteral("code.bmp"));
        QFile file(bmp);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bmpFile(bitmap));
        file.close();
        QProcess process;
        process.start(zbarimg, {QStringLiteral("--raw"), QStringLiteral("-q"), bmp});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).trimmed(), decoded);
    }
};

QTEST_GUILESS_MAIN(TestCode39)
#include "test_code39.moc"
