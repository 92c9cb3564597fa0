#include "common/errors.h"
#include "platform/scripted/scripted.h"
#include "register/cart.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tillora;

// The cart's arithmetic: amounts are worked with as they are displayed.
class TestCart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void scansOfOneProductShareALine();
    void displayedPriceDrivesQuantityChanges();
    void productsSharingABarcodeMakeOneLine();
    void lowerCaseBarcodeDoesNotMatchUpperCaseScan();
    void priceThatIsNoNumberLeavesCartAsItWas();
    void discount_data();
    void discount();
    void linesAddedAfterDiscountCarryIt();
    void overflowingDiscountIsRefused_data();
    void overflowingDiscountIsRefused();
    void removingLastLineEmptiesTotals();
    void changeSuggestions_data();
    void changeSuggestions();
    void change_data();
    void change();

private:
    QStringList texts(int row) const;

    QTemporaryDir dir;
    ScriptedMessages messages;
    std::unique_ptr<Database> db;
    std::unique_ptr<SaleRegister> reg;
    int totalsChanged = 0;
};

void TestCart::initTestCase() {
    const QString path = dir.filePath(QStringLiteral("data.db"));
    QVERIFY(test::makeDataFile(
        path,
        QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('111', 'BREAD', '2.5');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('333', 'NAILS', '0.333');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('777', 'SOAP', '1.99');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('222', 'TEA', '3');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('222', 'COFFEE', '9');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('abc1', 'LOWER', '1');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('999', 'BROKEN', 'n/a');")));
    db = std::make_unique<Database>(messages);
    QVERIFY(db->open(path));
}

void TestCart::init() {
    reg = std::make_unique<SaleRegister>(*db);
    QObject::connect(reg.get(), &SaleRegister::totalsChanged, [this]() { ++totalsChanged; });
    totalsChanged = 0;
    messages.clear();
}

QStringList TestCart::texts(int row) const {
    const CartLine& l = reg->cart().line(row);
    return {l.barcode, l.name, l.price, l.quantity, l.total, l.discountedPrice, l.discountedTotal};
}

void TestCart::scansOfOneProductShareALine() {
    for (int i = 0; i < 3; ++i) {
        reg->ScanBuffer = QStringLiteral("111");
        QVERIFY(reg->lookUpScanBuffer());
    }
    QCOMPARE(reg->cart().size(), 1);
    QCOMPARE(texts(0), (QStringList{"111", "BREAD", "2.50", "3", "7.50", "", ""}));
    QCOMPARE(reg->grandTotalText(), QStringLiteral("$ 7.50"));
    QVERIFY(totalsChanged >= 3);

    reg->ScanBuffer = QStringLiteral("404");
    QVERIFY(!reg->lookUpScanBuffer());
    QCOMPARE(reg->cart().size(), 1);
}

void TestCart::displayedPriceDrivesQuantityChanges() {
    // Three single scans compute from the displayed 0.33 ...
    for (int i = 0; i < 3; ++i) {
        reg->ScanBuffer = QStringLiteral("333");
        QVERIFY(reg->lookUpScanBuffer());
    }
    QCOMPARE(texts(0), (QStringList{"333", "NAILS", "0.33", "3", "0.99", "", ""}));
    // ... three at once from the stored 0.333.
    reg->cart().clear();
    reg->QuantityToAdd = 3;
    reg->ScanBuffer = QStringLiteral("333");
    QVERIFY(reg->lookUpScanBuffer());
    QCOMPARE(texts(0), (QStringList{"333", "NAILS", "0.33", "3", "1.00", "", ""}));
    // Five in the box and then a single scan: one line with six.
    reg->cart().clear();
    reg->QuantityToAdd = 5;
    reg->ScanBuffer = QStringLiteral("111");
    reg->lookUpScanBuffer();
    reg->QuantityToAdd = 1;
    reg->lookUpScanBuffer();
    QCOMPARE(texts(0)[3], QStringLiteral("6"));
}

void TestCart::productsSharingABarcodeMakeOneLine() {
    reg->ScanBuffer = QStringLiteral("222");
    QVERIFY(reg->lookUpScanBuffer());
    QCOMPARE(reg->cart().size(), 1);
    QCOMPARE(texts(0), (QStringList{"222", "TEA", "3.00", "2", "6.00", "", ""}));
}

void TestCart::lowerCaseBarcodeDoesNotMatchUpperCaseScan() {
    reg->ScanBuffer = QStringLiteral("ABC1");
    QVERIFY(!reg->lookUpScanBuffer());
    reg->ScanBuffer = QStringLiteral("abc1");
    QVERIFY(reg->lookUpScanBuffer());
}

void TestCart::priceThatIsNoNumberLeavesCartAsItWas() {
    reg->ScanBuffer = QStringLiteral("111");
    reg->lookUpScanBuffer();
    reg->ScanBuffer = QStringLiteral("999");
    try {
        reg->lookUpScanBuffer();
        QFAIL("no error raised");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("'n/a' is not a valid floating point value"));
    }
    QCOMPARE(reg->cart().size(), 1);
}

void TestCart::discount_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QString>("discount");
    QTest::addColumn<QStringList>("line");
    QTest::addColumn<QString>("grandTotal");
    QTest::newRow("15% on 1.99 x 7") << "777" << 7 << "15"
                                     << QStringList{"777", "SOAP", "1.99", "7", "13.93", "1.69", "11.84"}
                                     << "$ 11.84";
    QTest::newRow("10% on 2.50 x 3") << "111" << 3 << "10"
                                     << QStringList{"111", "BREAD", "2.50", "3", "7.50", "2.25", "6.75"}
                                     << "$ 6.75";
    QTest::newRow("100%") << "111" << 2 << "100"
                          << QStringList{"111", "BREAD", "2.50", "2", "5.00", "0.00", "0.00"} << "$ 0.00";
    QTest::newRow("above 100") << "111" << 1 << "150"
                               << QStringList{"111", "BREAD", "2.50", "1", "2.50", "-1.25", "-1.25"}
                               << "$ -1.25";
    QTest::newRow("negative raises") << "111" << 1 << "-10"
                                     << QStringList{"111", "BREAD", "2.50", "1", "2.50", "2.75", "2.75"}
                                     << "$ 2.75";
    QTest::newRow("0 clears") << "111" << 3 << "0" << QStringList{"111", "BREAD", "2.50", "3", "7.50", "", ""}
                              << "$ 7.50";
}

void TestCart::discount() {
    QFETCH(QString, code);
    QFETCH(int, quantity);
    QFETCH(QString, discount);
    QFETCH(QStringList, line);
    QFETCH(QString, grandTotal);
    reg->QuantityToAdd = quantity;
    reg->ScanBuffer = code;
    QVERIFY(reg->lookUpScanBuffer());
    QVERIFY(reg->applyDiscount(QStringLiteral("5"))); // an earlier discount is replaced
    QVERIFY(reg->applyDiscount(discount));
    QCOMPARE(texts(0), line);
    QCOMPARE(reg->grandTotalText(), grandTotal);
    QCOMPARE(reg->DiscountLabel, discount + QStringLiteral("%"));
}

void TestCart::linesAddedAfterDiscountCarryIt() {
    QVERIFY(reg->applyDiscount(QStringLiteral("10")));
    QVERIFY(!reg->applyDiscount(QStringLiteral("12,5")));
    QVERIFY(!reg->applyDiscount(QStringLiteral("")));
    QCOMPARE(reg->DiscountLabel, QStringLiteral("10%"));
    reg->ScanBuffer = QStringLiteral("111");
    reg->lookUpScanBuffer();
    reg->addByHand(QStringLiteral("MILK"), 1.2, 2);
    QCOMPARE(texts(0), (QStringList{"111", "BREAD", "2.50", "1", "2.50", "2.25", "2.25"}));
    QCOMPARE(texts(1), (QStringList{"", "MILK", "1.20", "2", "2.40", "1.08", "2.16"}));
    reg->setQuantity(0, 4);
    QCOMPARE(texts(0), (QStringList{"111", "BREAD", "2.50", "4", "10.00", "2.25", "9.00"}));
    QCOMPARE(reg->GrandTotal, 9.00 + 2.16);
}

// A discount whose arithmetic leaves the amounts is refused like a text that is no number:
// the register keeps the old discount, so the labels and every later line stay in step.
void TestCart::overflowingDiscountIsRefused_data() {
    QTest::addColumn<QString>("code"); // the product in the cart, none for an empty cart
    QTest::addColumn<QString>("discount");
    QTest::newRow("empty cart, 1e308") << ""
                                       << "1e308";
    QTest::newRow("empty cart, -1e308") << ""
                                        << "-1e308";
    QTest::newRow("empty cart, 1e300") << ""
                                       << "1e300";
    QTest::newRow("bread, 1e308") << "111"
                                  << "1e308";
    QTest::newRow("nails, 1e306") << "333"
                                  << "1e306";
}

void TestCart::overflowingDiscountIsRefused() {
    QFETCH(QString, code);
    QFETCH(QString, discount);
    if (!code.isEmpty()) {
        reg->ScanBuffer = code;
        QVERIFY(reg->lookUpScanBuffer());
    }
    QVERIFY(reg->applyDiscount(QStringLiteral("10")));
    const QList<CartLine> before = reg->cart().lines();
    QVERIFY(!reg->applyDiscount(discount));
    QCOMPARE(reg->DiscountPercent, 10.0);
    QCOMPARE(reg->DiscountLabel, QStringLiteral("10%"));
    QCOMPARE(reg->cart().lines(), before);

    // Every product can still be added and sold at the old discount.
    reg->ScanBuffer = QStringLiteral("777");
    QVERIFY(reg->lookUpScanBuffer());
    QCOMPARE(reg->cart().lines().last().discountedTotal, QStringLiteral("1.79"));
    QVERIFY(qIsFinite(reg->GrandTotal));
}

void TestCart::removingLastLineEmptiesTotals() {
    reg->ScanBuffer = QStringLiteral("111");
    reg->lookUpScanBuffer();
    reg->removeLine(0);
    QVERIFY(reg->cart().isEmpty());
    QCOMPARE(reg->grandTotalText(), QStringLiteral("$ 0.00"));
    reg->CurrencySymbol.clear();
    QCOMPARE(reg->grandTotalText(), QStringLiteral(" 0.00"));
}

void TestCart::changeSuggestions_data() {
    QTest::addColumn<double>("total");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("35.50") << 35.50 << QStringList{"", "For 100", "64.50", "", "For 50", "14.50"};
    QTest::newRow("150.00") << 150.0 << QStringList{"", "For 200", "50.00"};
    QTest::newRow("100.00") << 100.0 << QStringList{};
    QTest::newRow("250.00") << 250.0 << QStringList{};
    QTest::newRow("0.50") << 0.5
                          << QStringList{"", "For 100", "99.50", "", "For 50", "49.50", "", "For 20", "19.50",
                                         "", "For 10",  "9.50",  "", "For 5",  "4.50",  "", "For 1",  "0.50"};
}

void TestCart::changeSuggestions() {
    QFETCH(double, total);
    QFETCH(QStringList, lines);
    reg->GrandTotal = total;
    QCOMPARE(reg->changeSuggestions([](const QString& s) { return s; }), lines);
}

void TestCart::change_data() {
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("change");
    QTest::newRow("50") << "50"
                        << "14.50";
    QTest::newRow("20") << "20"
                        << "-15.50";
    QTest::newRow("empty") << ""
                           << "0.00";
    QTest::newRow("comma") << "50,5"
                           << "0.00";
    QTest::newRow("letters") << "abc"
                             << "0.00";
}

void TestCart::change() {
    QFETCH(QString, cash);
    QFETCH(QString, change);
    QCOMPARE(SaleRegister::changeFor(cash, 35.50), change);
}

QTEST_GUILESS_MAIN(TestCart)
#include "test_cart.moc"
