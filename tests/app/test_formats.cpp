#include "common/errors.h"
#include "common/formats.h"

#include <QLocale>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>

using namespace tillora;

class TestFormats : public QObject {
    Q_OBJECT

private slots:
    void formatMoney_data();
    void formatMoney();
    void formatMoneyIgnoresLocale();
    void isNumber_data();
    void isNumber();
    void readAmount_data();
    void readAmount();
    void readAmountError();
    void readQuantity_data();
    void readQuantity();
    void readQuantityError();
    void formatQuantityAndCurrency();
};

void TestFormats::formatMoney_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* tag;
        double amount;
        const char* text;
    } rows[] = {
        {"zero", 0.0, "0.00"},
        {"negative zero", -0.0, "0.00"},
        {"half cent up", 0.125, "0.13"},
        {"binary below half 1.005", 1.005, "1.01"},
        {"binary below half 2.675", 2.675, "2.68"},
        {"sum noise", 11.829999999999998, "11.83"},
        {"negative", -2.5, "-2.50"},
        {"nine digits lose a decimal", 123456789.126, "123456789.10"},
        {"ten digits lose both decimals", 1234567890.5, "1234567891.00"},
        {"tiny negative has no sign", -0.001, "0.00"},
        {"half of a cent", 0.005, "0.01"},
        {"negative half of a cent", -0.005, "-0.01"},
        {"carry into ten digits", 999999999.995, "1000000000.00"},
        {"carry into eleven digits", 9999999999.5, "1E10"},
        {"far below a cent", 1e-9, "0.00"},
        {"eleven digits", 12345678901.5, "1.23456789E10"},
        {"eleven digits negative", -12345678901.5, "-1.23456789E10"},
        {"large", 1e300, "1E300"},
        {"largest double", std::numeric_limits<double>::max(), "1.797693135E308"},
        {"smallest double", std::numeric_limits<double>::denorm_min(), "0.00"},
        {"ten nines", 9999999999.0, "9999999999.00"},
        {"whole", 12.0, "12.00"},
        {"plain", 12.5, "12.50"},
        {"infinite", inf, "INF"},
        {"negative infinite", -inf, "-INF"},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.tag) << row.amount << QString::fromLatin1(row.text);
}

void TestFormats::formatMoney() {
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(FormatMoney(amount), text);
}

void TestFormats::formatMoneyIgnoresLocale() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const QString money = FormatMoney(1234.5);
    const double amount = tillora::readAmount(QStringLiteral("1234.5"));
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(previous);
    QCOMPARE(money, QStringLiteral("1234.50"));
    QCOMPARE(amount, 1234.5);
}

void TestFormats::isNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    const struct {
        const char* text;
        bool valid;
    } rows[] = {
        {"12", true},     {" 12", true},     {"   -3.25", true}, {"+1.", true},    {".5", true},
        {"-.5", true},    {"1e5", true},     {"1E-5", true},     {"2.5e+3", true}, {"1e-400", true},
        {"1e", false},    {"1 ", false},     {"", false},        {" ", false},     {"1,5", false},
        {"--1", false},   {"+-1", false},    {".", false},       {"1.2.3", false}, {"e5", false},
        {"1e400", false}, {"-1e400", false}, {"1e5.5", false},   {"\t1", false},   {"12a", false},
        {"1_000", false},
    };
    for (const auto& row : rows)
        QTest::newRow(row.text[0] ? row.text : "empty") << QString::fromLatin1(row.text) << row.valid;
    QTest::newRow("arabic digits") << QStringLiteral("\u0661\u0662") << false;
}

void TestFormats::isNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(tillora::isNumber(text), valid);
}

void TestFormats::readAmount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("blanks") << QStringLiteral(" 12") << 12.0;
    QTest::newRow("trailing point") << QStringLiteral("+1.") << 1.0;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("exponent") << QStringLiteral("1e5") << 1e5;
    QTest::newRow("negative exponent") << QStringLiteral("-2.5E-2") << -0.025;
    QTest::newRow("underflow reads as zero") << QStringLiteral("1e-400") << 0.0;
    QTest::newRow("shown amount") << QStringLiteral("11.83") << 11.83;
}

void TestFormats::readAmount() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(tillora::readAmount(text), value);
}

void TestFormats::readAmountError() {
    for (const QString& text :
         {QStringLiteral("1,5"), QStringLiteral("1e400"), QString(), QStringLiteral("'%s' 1")}) {
        try {
            tillora::readAmount(text);
            QFAIL(qPrintable(QStringLiteral("no error for ") + text));
        } catch (const AppError& error) {
            QCOMPARE(error.message(),
                     QLatin1Char('\'') + text + QStringLiteral("' is not a valid floating point value"));
        }
    }
}

void TestFormats::readQuantity_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QStringLiteral("7") << true << 7;
    QTest::newRow("blanks and sign") << QStringLiteral("  +12") << true << 12;
    QTest::newRow("negative") << QStringLiteral("-3") << true << -3;
    QTest::newRow("largest") << QStringLiteral("2147483647") << true << 2147483647;
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << true << int(-2147483648LL);
    QTest::newRow("leading zeros") << QStringLiteral("0000000000000000000012") << true << 12;
    QTest::newRow("above range") << QStringLiteral("2147483648") << false << 0;
    QTest::newRow("below range") << QStringLiteral("-2147483649") << false << 0;
    QTest::newRow("far above range") << QStringLiteral("99999999999999999999999") << false << 0;
    QTest::newRow("trailing blank") << QStringLiteral("1 ") << false << 0;
    QTest::newRow("decimal") << QStringLiteral("1.5") << false << 0;
    QTest::newRow("exponent") << QStringLiteral("1e5") << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("sign only") << QStringLiteral("-") << false << 0;
    QTest::newRow("double sign") << QStringLiteral("--1") << false << 0;
}

void TestFormats::readQuantity() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    try {
        QCOMPARE(tillora::readQuantity(text), qint32(value));
        QVERIFY(valid);
    } catch (const AppError&) {
        QVERIFY(!valid);
    }
}

void TestFormats::readQuantityError() {
    try {
        tillora::readQuantity(QStringLiteral("12x"));
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("'12x' is not a valid integer value"));
    }
}

void TestFormats::formatQuantityAndCurrency() {
    QCOMPARE(formatQuantity(-2147483647 - 1), QStringLiteral("-2147483648"));
    QCOMPARE(formatQuantity(12), QStringLiteral("12"));
    QCOMPARE(withCurrency(QStringLiteral("$"), QStringLiteral("12.50")), QStringLiteral("$ 12.50"));
    QCOMPARE(withCurrency(QString(), QStringLiteral("0.00")), QStringLiteral(" 0.00"));
    QCOMPARE(withCurrency(QStringLiteral("EUR "), FormatMoney(3)), QStringLiteral("EUR  3.00"));
}

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
