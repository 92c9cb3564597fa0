#include "platform/scripted/scripted.h"
#include "register/cart.h"
#include "register/veresiye.h"
#include "store/database.h"
#include "tests/sale/salefixture.h"
#include "tests/support/datafile.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tillora;

namespace {

QString marked(const QString& text) {
    return QStringLiteral("<") + text + QStringLiteral(">");
}

const char* fixture = "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('5901', 'MILK', '1.5', 5);"
                      "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('777', 'SOAP', '2', 1);"
                      "INSERT INTO musteriler (id, musteriadi) VALUES (7, 'ANNA');"
                      "INSERT INTO musteriler (id, musteriadi) VALUES (3, 'ZOE');"
                      "INSERT INTO musteriler (id, musteriadi) VALUES (12, 'BOB');"
                      "INSERT INTO musteriler (id, musteriadi) VALUES (15, 'BOB');"
                      "INSERT INTO musteriler (id, musteriadi) VALUES (20, 'O''NEIL');";

} // namespace

// The credit customer chooser and the credit sale it completes.
class TestCreditSale : public QObject, private test::SaleFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void chooserShowsCustomersByName();
    void saleOnAnnasAccount();
    void okWithoutChoiceDoesNothing();
    void cancelRecordsNothing();
    void customersOfTheSameNameKeepTheirIds_data();
    void customersOfTheSameNameKeepTheirIds();
    void discountAndPrintQuestion();
    void failingInsertKeepsChooserAndCart();
    void printerNotFoundClosesTheChooser();
    void sellByCreditShowsTheChooserModally();

private:
    SaleContext context();
    void fillCart();

    int focused = 0;
};

void TestCreditSale::initTestCase() {
    QVERIFY(makeMaster(QString::fromLatin1(fixture)));
}

void TestCreditSale::init() {
    QVERIFY(fresh(marked));
    focused = 0;
}

void TestCreditSale::cleanup() {
    close();
}

SaleContext TestCreditSale::context() {
    return SaleContext{*db, *reg, fake->services, receipts, marked, [this]() { ++focused; }, {}};
}

void TestCreditSale::fillCart() {
    reg->ScanBuffer = QStringLiteral("5901");
    QVERIFY(reg->lookUpScanBuffer());
    QVERIFY(reg->lookUpScanBuffer());
    reg->ScanBuffer = QStringLiteral("777");
    QVERIFY(reg->lookUpScanBuffer());
    QVERIFY(reg->lookUpScanBuffer());
}

void TestCreditSale::chooserShowsCustomersByName() {
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    QCOMPARE(form.windowTitle(), QStringLiteral("<Sell by Credit>"));
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("<Which Customer?>"));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->text(), QStringLiteral("<OK>"));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->text(), QStringLiteral("<Cancel>"));
    QVERIFY(form.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->isDefault());
    QVERIFY(form.findChild<QLabel*>(QStringLiteral("Image1")));
    QComboBox* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    QVERIFY(!list->isEditable());
    QCOMPARE(list->currentIndex(), -1);
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    QCOMPARE(names, (QStringList{"ANNA", "BOB", "BOB", "O'NEIL", "ZOE"}));
    QCOMPARE(form.customerIds().size(), 5);
    QCOMPARE(form.customerIds().first(), QStringLiteral("7"));
}

void TestCreditSale::saleOnAnnasAccount() {
    fillCart();
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.ComboBox1->setCurrentIndex(0);
    form.BitBtn1->click();
    QCOMPARE(form.saleResult(), SaleResult::Completed);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(test::rowsOf(
                 path, QStringLiteral("SELECT musteriid, musteriadi, barkod, urunadi, adet, fiyat, odendimi, "
                                      "odemetarihi, kayittarihi IS NOT NULL FROM veresiyeler ORDER BY id")),
             (QStringList{"7|ANNA|5901|MILK|2|1.5|0|NULL|1", "7|ANNA|777|SOAP|2|2.0|0|NULL|1"}));
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT stok FROM urunler ORDER BY id")),
             (QStringList{"3", "0"}));
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"0"});
    QVERIFY(reg->cart().isEmpty());
    QVERIFY(fake->messages.shown.isEmpty()); // no question besides the choice
}

void TestCreditSale::okWithoutChoiceDoesNothing() {
    fillCart();
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.show();
    form.BitBtn1->click();
    QVERIFY(form.isVisible());
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM veresiyeler")), QStringList{"0"});
    QCOMPARE(reg->cart().size(), 2);
}

void TestCreditSale::cancelRecordsNothing() {
    fillCart();
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.show();
    form.ComboBox1->setCurrentIndex(1);
    form.BitBtn2->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM veresiyeler")), QStringList{"0"});
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT stok FROM urunler ORDER BY id")),
             (QStringList{"5", "1"}));
    QCOMPARE(reg->cart().size(), 2);
}

void TestCreditSale::customersOfTheSameNameKeepTheirIds_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("row");
    QTest::newRow("first BOB") << 1 << "12|BOB";
    QTest::newRow("second BOB") << 2 << "15|BOB";
    QTest::newRow("name with a quote") << 3 << "20|O'NEIL";
}

void TestCreditSale::customersOfTheSameNameKeepTheirIds() {
    QFETCH(int, entry);
    QFETCH(QString, row);
    fillCart();
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.ComboBox1->setCurrentIndex(entry);
    form.BitBtn1->click();
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT DISTINCT musteriid, musteriadi FROM veresiyeler")),
             QStringList{row});
}

void TestCreditSale::discountAndPrintQuestion() {
    receipts.askPrint = true;
    receipts.printTemplate = QStringLiteral("[LIST]\r\n[TOTAL]");
    fillCart();
    QVERIFY(reg->applyDiscount(QStringLiteral("10")));
    fake->messages.answers << MsgButton::Yes;
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.ComboBox1->setCurrentIndex(0);
    form.BitBtn1->click();
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("<Sell by Credit>"));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("<Print?>"));
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT fiyat FROM veresiyeler ORDER BY id")),
             (QStringList{"1.35", "1.8"}));
    QCOMPARE(fake->printing.jobs.value(0).text,
             QStringLiteral("MILK (1.35) * 2\r\nSOAP (1.80) * 2\r\n$ 6.30\r\n"));
    QCOMPARE(receipts.NextReceiptNumber, 2);
    QCOMPARE(reg->DiscountLabel, QStringLiteral("0%"));
}

void TestCreditSale::failingInsertKeepsChooserAndCart() {
    QVERIFY(test::execOn(
        path, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON veresiyeler WHEN NEW.urunadi = "
                             "'SOAP' BEGIN SELECT RAISE(ABORT, 'refused'); END;")));
    fillCart();
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.show();
    form.ComboBox1->setCurrentIndex(0);
    form.BitBtn1->click();
    QCOMPARE(form.saleResult(), SaleResult::NotRecorded);
    QVERIFY(form.isVisible());
    QCOMPARE(fake->messages.texts(), QStringList{"Exception raised with message: refused"});
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM veresiyeler")), QStringList{"0"});
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT stok FROM urunler ORDER BY id")),
             (QStringList{"5", "1"}));
    QCOMPARE(reg->cart().size(), 2);
}

void TestCreditSale::printerNotFoundClosesTheChooser() {
    receipts.askPrint = true;
    receipts.NextReceiptNumber = 4;
    fake->printing.printerAvailable = false;
    fillCart();
    fake->messages.answers << MsgButton::Yes;
    SaleContext sale = context();
    TVeresiyeForm form(sale);
    form.show();
    form.ComboBox1->setCurrentIndex(0);
    form.BitBtn1->click();
    QCOMPARE(fake->messages.texts(), (QStringList{"<Print?>", "Printer not found!"}));
    QVERIFY(!form.isVisible());
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM veresiyeler")), QStringList{"2"});
    QVERIFY(reg->cart().isEmpty());
    QCOMPARE(receipts.NextReceiptNumber, 4);
}

void TestCreditSale::sellByCreditShowsTheChooserModally() {
    fillCart();
    SaleContext sale = context();
    bool wasModal = false;
    QTimer::singleShot(0, this, [&]() {
        auto* form = qobject_cast<TVeresiyeForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        wasModal = true;
        form->ComboBox1->setCurrentIndex(0);
        QTest::keyClick(form, Qt::Key_Return); // OK is the default button
    });
    QCOMPARE(SellByCredit(sale, nullptr), SaleResult::Completed);
    QVERIFY(wasModal);
    QCOMPARE(focused, 2); // before the chooser opened, and after the sale
    QVERIFY(reg->cart().isEmpty());
}

QTEST_MAIN(TestCreditSale)
#include "test_creditsale.moc"
