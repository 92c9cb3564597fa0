#include "platform/scripted/scripted.h"
#include "register/cart.h"
#include "register/cashsale.h"
#include "store/database.h"
#include "store/sql.h"
#include "tests/sale/salefixture.h"
#include "tests/support/datafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tillora;

namespace {

QString english(const QString& text) {
    return text;
}

const char* products =
    "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('5901', 'MILK', '1.5', 5);"
    "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('777', 'SOAP', '1.99', 10);"
    "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('111', 'ONE LEFT', '4', 1);"
    "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('666', 'POISON', '1', 9);"
    "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('888', 'STUCK', '1', 9);"
    // Statements the tests make fail.
    "CREATE TRIGGER refuse_poison BEFORE INSERT ON odemeler WHEN NEW.urunadi = 'POISON' "
    "BEGIN SELECT RAISE(ABORT, 'refused'); END;"
    "CREATE TRIGGER refuse_stuck BEFORE UPDATE ON urunler WHEN NEW.barkod = '888' "
    "BEGIN SELECT RAISE(ABORT, 'stock locked'); END;";

} // namespace

// The cash sale: recorded whole or not at all, stock never below 0, then the receipt step and
// a cleared register.
class TestCashSale : public QObject, private test::SaleFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void twoMilkAsReceiptSeven();
    void discountedSaleRecordsDiscountedPrice();
    void stock_data();
    void stock();
    void declinedRecordsNothing();
    void failingStatementRollsBack_data();
    void failingStatementRollsBack();
    void printerNotFoundClearsTheRegister();
    void askPrintOffClearsAtOnce();

private:
    void scan(const QString& code, int times = 1);
    QStringList cartTexts() const;
    SaleContext context();

    test::StatementLog log;
    int focused = 0;
    int resets = 0;
};

void TestCashSale::initTestCase() {
    QVERIFY(makeMaster(QString::fromLatin1(products)));
}

void TestCashSale::init() {
    QVERIFY(fresh(english));
    log = {};
    log.attach(*db);
    focused = resets = 0;
}

void TestCashSale::cleanup() {
    close();
}

SaleContext TestCashSale::context() {
    return SaleContext{
        *db, *reg, fake->services, receipts, english, [this]() { ++focused; }, [this]() { ++resets; }};
}

void TestCashSale::scan(const QString& code, int times) {
    for (int i = 0; i < times; ++i) {
        reg->ScanBuffer = code;
        QVERIFY(reg->lookUpScanBuffer());
    }
}

QStringList TestCashSale::cartTexts() const {
    QStringList texts;
    for (const CartLine& l : reg->cart().lines())
        texts << QStringList{l.barcode,         l.name,           l.price, l.quantity, l.total,
                             l.discountedPrice, l.discountedTotal}
                     .join(QLatin1Char('|'));
    return texts;
}

void TestCashSale::twoMilkAsReceiptSeven() {
    receipts.askPrint = true;
    receipts.NextReceiptNumber = 7;
    scan(QStringLiteral("5901"), 2);
    log.entries.clear();
    fake->messages.answers << MsgButton::Yes << MsgButton::Yes;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::Completed);

    QCOMPARE(fake->messages.shown.size(), 2);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("Sell by Cash"));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("Confirm?"));
    QCOMPARE(fake->messages.shown[0].icon, MsgIcon::None);
    QCOMPARE(fake->messages.shown[0].buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
    QCOMPARE(fake->messages.shown[1].text, QStringLiteral("Print?"));

    QStringList statements;
    for (const auto& e : log.entries)
        statements << e.sql;
    QCOMPARE(
        statements,
        (QStringList{"BEGIN IMMEDIATE;",
                     "insert into odemeler (barkod,urunadi,adet,fiyat) values ('5901', 'MILK','2','1.50');",
                     "SELECT stok FROM urunler where barkod='5901';",
                     "update urunler set stok='3' where barkod='5901';", "COMMIT;"}));
    QCOMPARE(
        test::rowsOf(path, QStringLiteral(
                               "SELECT barkod, urunadi, adet, fiyat, odemetarihi IS NOT NULL FROM odemeler")),
        QStringList{"5901|MILK|2|1.5|1"});

    QCOMPARE(fake->printing.jobs.size(), 1);
    const QStringList printed = fake->printing.jobs[0].text.split(QStringLiteral("\r\n"));
    QCOMPARE(printed.mid(2), (QStringList{"", "Receipt Number: 7", "", "MILK (1.50) * 2", "", "Total: $ 3.00",
                                          "", "Thank you", ""}));
    QCOMPARE(receipts.NextReceiptNumber, 8);
    QCOMPARE(fake->settings.readInteger(ReceiptNumberSetting), 8);

    QVERIFY(reg->cart().isEmpty());
    QCOMPARE(reg->grandTotalText(), QStringLiteral("$ 0.00"));
    QCOMPARE(resets, 1);
    QCOMPARE(focused, 1);
}

void TestCashSale::discountedSaleRecordsDiscountedPrice() {
    receipts.askPrint = true;
    receipts.printTemplate = QStringLiteral("[LIST]|[TOTAL]");
    scan(QStringLiteral("777"), 7);
    QVERIFY(reg->applyDiscount(QStringLiteral("15")));
    QCOMPARE(reg->grandTotalText(), QStringLiteral("$ 11.84"));
    fake->messages.answers << MsgButton::Yes << MsgButton::Yes;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::Completed);
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT adet, fiyat FROM odemeler")), QStringList{"7|1.69"});
    QCOMPARE(fake->printing.jobs.value(0).text, QStringLiteral("SOAP (1.69) * 7|$ 11.83\r\n"));
    QCOMPARE(reg->DiscountPercent, 0.0);
    QCOMPARE(reg->DiscountLabel, QStringLiteral("0%"));
}

void TestCashSale::stock_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QString>("stockAfter");
    QTest::newRow("stock 5, sold 2") << "5901" << 2 << "3";
    QTest::newRow("stock 1, sold 3: 0, not negative") << "111" << 3 << "0";
}

void TestCashSale::stock() {
    QFETCH(QString, code);
    QFETCH(int, quantity);
    QFETCH(QString, stockAfter);
    const QString others = QStringLiteral("SELECT sum(stok) FROM urunler WHERE barkod<>") + quote(code);
    const QStringList othersBefore = test::rowsOf(path, others);
    scan(code, quantity);
    reg->addByHand(QStringLiteral("JO'S GIFT WRAP"), 1.5, 1);
    fake->messages.answers << MsgButton::Yes;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::Completed);
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT stok FROM urunler WHERE barkod=") + quote(code)),
             QStringList{stockAfter});
    // The hand line is recorded as typed, with an empty barcode, and changes no stock.
    QCOMPARE(
        test::rowsOf(path, QStringLiteral("SELECT barkod, urunadi, adet, fiyat FROM odemeler ORDER BY id"))
            .value(1),
        QStringLiteral("|JO'S GIFT WRAP|1|1.5"));
    QCOMPARE(test::rowsOf(path, others), othersBefore);
    QCOMPARE(fake->messages.shown.size(), 1); // no stock warning
}

void TestCashSale::declinedRecordsNothing() {
    scan(QStringLiteral("5901"));
    const QStringList before = cartTexts();
    log.entries.clear();
    fake->messages.answers << MsgButton::No;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::Declined);
    QVERIFY(log.entries.isEmpty());
    QCOMPARE(cartTexts(), before);
    QCOMPARE(focused, 1);
    QCOMPARE(resets, 0);
}

void TestCashSale::failingStatementRollsBack_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("error");
    QTest::newRow("insert fails") << "666"
                                  << "refused";
    QTest::newRow("stock update fails") << "888"
                                        << "stock locked";
}

void TestCashSale::failingStatementRollsBack() {
    QFETCH(QString, failing);
    QFETCH(QString, error);
    receipts.askPrint = true;
    scan(QStringLiteral("5901"), 2);
    scan(failing);
    scan(QStringLiteral("777"));
    QVERIFY(reg->applyDiscount(QStringLiteral("10")));
    const QStringList before = cartTexts();
    const QStringList stockBefore =
        test::rowsOf(path, QStringLiteral("SELECT barkod, stok FROM urunler ORDER BY id"));
    fake->messages.answers << MsgButton::Yes << MsgButton::Yes;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::NotRecorded);

    QCOMPARE(fake->messages.texts(),
             (QStringList{"Confirm?", QStringLiteral("Exception raised with message: ") + error}));
    QCOMPARE(fake->messages.shown[1].caption, QStringLiteral("Tillora"));
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"0"});
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT barkod, stok FROM urunler ORDER BY id")), stockBefore);
    QVERIFY(!db->inTransaction());
    QVERIFY(fake->printing.jobs.isEmpty());
    QCOMPARE(receipts.NextReceiptNumber, 1);
    QCOMPARE(cartTexts(), before);
    QCOMPARE(reg->DiscountLabel, QStringLiteral("10%"));
    QCOMPARE(resets, 0);

    // The cashier can try again once the cause is gone.
    QVERIFY(test::execOn(path, QStringLiteral("DROP TRIGGER refuse_poison; DROP TRIGGER refuse_stuck;")));
    fake->messages.clear();
    fake->messages.answers << MsgButton::Yes << MsgButton::No;
    QCOMPARE(SellByCash(sale), SaleResult::Completed);
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"3"});
}

void TestCashSale::printerNotFoundClearsTheRegister() {
    receipts.askPrint = true;
    receipts.NextReceiptNumber = 30;
    fake->printing.printerAvailable = false;
    scan(QStringLiteral("5901"));
    QVERIFY(reg->applyDiscount(QStringLiteral("5")));
    fake->messages.answers << MsgButton::Yes << MsgButton::Yes;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::Completed);
    QCOMPARE(fake->messages.texts(), (QStringList{"Confirm?", "Print?", "Printer not found!"}));
    QCOMPARE(fake->messages.shown[2].icon, MsgIcon::Error);
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"1"});
    QCOMPARE(receipts.NextReceiptNumber, 30);
    QVERIFY(reg->cart().isEmpty());
    QCOMPARE(reg->DiscountLabel, QStringLiteral("0%"));
    QCOMPARE(resets, 1);
}

void TestCashSale::askPrintOffClearsAtOnce() {
    scan(QStringLiteral("5901"));
    fake->messages.answers << MsgButton::Yes;
    SaleContext sale = context();
    QCOMPARE(SellByCash(sale), SaleResult::Completed);
    QCOMPARE(fake->messages.texts(), QStringList{"Confirm?"});
    QCOMPARE(fake->printing.dialogs, 0);
    QVERIFY(reg->cart().isEmpty());
    QCOMPARE(reg->DiscountLabel, QStringLiteral("0%"));
    // An empty cart is not sold at all.
    fake->messages.clear();
    QCOMPARE(SellByCash(sale), SaleResult::Declined);
    QVERIFY(fake->messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestCashSale)
#include "test_cashsale.moc"
