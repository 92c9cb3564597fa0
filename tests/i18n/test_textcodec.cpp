#include "i18n/textcodec.h"

#include <QTest>

using namespace tillora;

class TestTextCodec : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void splitLines_data();
    void splitLines();
    void trimsBlanksAndControls();
    void encodesAnsiWithoutMark();
};

void TestTextCodec::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const QString accented = QString::fromUtf8("Añé€");
    QTest::newRow("ascii") << QByteArray("1031,German") << QStringLiteral("1031,German");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("utf-8 without mark") << accented.toUtf8() << accented;
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF") + accented.toUtf8() << accented;
    QByteArray le("\xFF\xFE");
    QByteArray be("\xFE\xFF");
    for (QChar c : accented) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    QTest::newRow("utf-16 le") << le << accented;
    QTest::newRow("utf-16 be") << be << accented;
    QTest::newRow("1252 euro and e acute") << QByteArray("\x80 caf\xE9") << QString::fromUtf8("€ café");
    QTest::newRow("1252 quotes and dash")
        << QByteArray("\x93x\x94 \x96 \x85 \x9F") << QString::fromUtf8("\u201Cx\u201D \u2013 \u2026 \u0178");
    QTest::newRow("1252 undefined byte") << QByteArray("a\x81z") << QStringLiteral("a\u0081z");
    QTest::newRow("truncated sequence") << QByteArray("caf\xC3") << QString::fromUtf8("cafÃ");
    QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << QString::fromUtf8("À¯");
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << QString::fromUtf8("í\u00A0€");
    QTest::newRow("four-byte utf-8") << QByteArray("\xF0\x9F\x98\x80")
                                     << QString::fromUtf8("\xF0\x9F\x98\x80");
}

void TestTextCodec::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(decodeText(bytes), expected);
}

void TestTextCodec::splitLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("crlf") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf without last break") << QStringLiteral("a\nb") << QStringList{"a", "b"};
    QTest::newRow("cr only") << QStringLiteral("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed with empty lines")
        << QStringLiteral("a\r\n\rb\n\nc") << QStringList{"a", "", "b", "", "c"};
    QTest::newRow("lf cr is two breaks") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("only a break") << QStringLiteral("\r\n") << QStringList{""};
}

void TestTextCodec::splitLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitTextLines(text), lines);
}

void TestTextCodec::trimsBlanksAndControls() {
    QCOMPARE(trimBlanksAndControls(QStringLiteral(" \t\x01 a b\r\n")), QStringLiteral("a b"));
    QCOMPARE(trimBlanksAndControls(QStringLiteral(" \t ")), QString());
    // Only blanks and control characters go; a no-break space is text.
    QCOMPARE(trimBlanksAndControls(QStringLiteral("\u00A0x ")), QStringLiteral("\u00A0x"));
}

void TestTextCodec::encodesAnsiWithoutMark() {
    const QString text = QString::fromUtf8("Grüße € 12.50");
    const QByteArray bytes = encodeAnsi(text);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromLocal8Bit(bytes), text);
    QCOMPARE(decodeText(bytes), text);
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "test_textcodec.moc"
