// The catalogue screens' rules without widgets: statements with their quoting, the entry
// check, the price and stock as the products screen shows them, the open credit list and the
// settlement written whole or not at all.
#include "catalogue/columnlist.h"
#include "catalogue/customerrecords.h"
#include "catalogue/productrecords.h"
#include "common/errors.h"
#include "common/formats.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tillora;

class TestCatalogueRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void statements_data();
    void statements();
    void entryCheck_data();
    void entryCheck();
    void shownPrice_data();
    void shownPrice();
    void stockFromText_data();
    void stockFromText();
    void lookupTakesTheLastRow();
    void columnList();
    void openCreditList();
    void openCreditListRefusesUnreadableAmounts();
    void openCreditTotalAgreesWithTheCreditBox();
    void settlement_data();
    void settlement();

private:
    // A data file of ANNA's three open credit lines, opened; only the tests that read or write
    // data make one.
    bool openDataFile();
    QString path() const { return dir_->filePath(QStringLiteral("data.db")); }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedMessages messages_;
    std::unique_ptr<Database> db_;
};

void TestCatalogueRecords::cleanup() {
    messages_.clear();
    db_.reset();
    dir_.reset();
}

bool TestCatalogueRecords::openDataFile() {
    dir_ = std::make_unique<QTemporaryDir>();
    if (!test::makeDataFile(
            path(),
            QStringLiteral(
                "INSERT INTO veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi) VALUES"
                " ('ANNA', '111', 'MILK', 2, 1.5, '2021-10-25 14:05:09'),"
                " ('ANNA', '222', 'O''Brien tea', 3, '0.1', '2021-10-26 08:00:00'),"
                " ('ANNA', '333', 'JAM', 1, 2.25, '2021-10-27 09:30:00');")))
        return false;
    db_ = std::make_unique<Database>(messages_);
    return db_->open(path());
}

void TestCatalogueRecords::statements_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("expected");
    const QString q = QStringLiteral("O'B");
    QTest::newRow("product list") << productListStatement() << "SELECT * FROM urunler order by barkod;";
    QTest::newRow("product lookup") << productLookupStatement(q)
                                    << "SELECT * FROM urunler where barkod='O''B';";
    QTest::newRow("product add") << productAddStatement(q, q, QStringLiteral("2.5"), 7)
                                 << "insert into urunler (barkod, urunadi, fiyat, stok) values "
                                    "('O''B','O''B','2.5','7');";
    QTest::newRow("product update")
        << productUpdateStatement(q, q, QStringLiteral("-1"), 0)
        << "update urunler set urunadi='O''B', fiyat='-1', stok='0' where barkod='O''B';";
    QTest::newRow("product delete") << productDeleteStatement(q)
                                    << "delete from urunler where barkod='O''B';";
    QTest::newRow("customer list") << customerListStatement()
                                   << "SELECT * FROM musteriler order by musteriadi;";
    QTest::newRow("customer lookup") << customerLookupStatement(q)
                                     << "SELECT * FROM musteriler where musteriadi='O''B';";
    QTest::newRow("credit total") << creditTotalStatement(q)
                                  << "SELECT * FROM veresiyeler where odendimi='0' and musteriadi='O''B';";
    QTest::newRow("open lines") << openLinesStatement(q)
                                << "SELECT * FROM veresiyeler where odendimi=0 and musteriadi='O''B';";
    QTest::newRow("customer add") << customerAddStatement(q)
                                  << "insert into musteriler (musteriadi) values ('O''B');";
    QTest::newRow("customer delete") << customerDeleteStatement(q)
                                     << "delete from musteriler where musteriadi='O''B';";
    QTest::newRow("settle") << settleStatement({QStringLiteral("3"), QStringLiteral("17")})
                            << "update veresiyeler set odendimi=1, odemetarihi=datetime('now','localtime') "
                               "where id in (3,17);";
    QTest::newRow("payment")
        << paymentStatement(q, q, QStringLiteral("2"), QStringLiteral("1.5"))
        << "insert into odemeler (barkod,urunadi,adet,fiyat) values ('O''B', 'O''B','2','1.5');";
}

void TestCatalogueRecords::statements() {
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    QCOMPARE(statement, expected);
}

void TestCatalogueRecords::entryCheck_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("cleanedName");
    QTest::addColumn<QString>("cleanedPrice");
    QTest::addColumn<bool>("valid");
    QTest::newRow("comma decimal") << " TEA "
                                   << " 2,50 "
                                   << "TEA"
                                   << "2.50" << true;
    QTest::newRow("zero") << "TEA"
                          << "0"
                          << "TEA"
                          << "0" << true;
    QTest::newRow("negative") << "TEA"
                              << "-1.5"
                              << "TEA"
                              << "-1.5" << true;
    QTest::newRow("exponent") << "TEA"
                              << "1e3"
                              << "TEA"
                              << "1e3" << true;
    QTest::newRow("name of blanks") << "   "
                                    << "2"
                                    << ""
                                    << "2" << false;
    QTest::newRow("no price") << "TEA"
                              << " "
                              << "TEA"
                              << "" << false;
    QTest::newRow("letters") << "TEA"
                             << "abc"
                             << "TEA"
                             << "abc" << false;
    QTest::newRow("thousands grouping") << "TEA"
                                        << "1,000.50"
                                        << "TEA"
                                        << "1.000.50" << false;
    QTest::newRow("too large") << "TEA"
                               << "1e400"
                               << "TEA"
                               << "1e400" << false;
}

void TestCatalogueRecords::entryCheck() {
    QFETCH(QString, name);
    QFETCH(QString, price);
    QFETCH(QString, cleanedName);
    QFETCH(QString, cleanedPrice);
    QFETCH(bool, valid);
    const ProductEntry entry = checkProductEntry(name, price);
    QCOMPARE(entry.name, cleanedName);
    QCOMPARE(entry.price, cleanedPrice);
    QCOMPARE(entry.valid, valid);
}

void TestCatalogueRecords::shownPrice_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("trailing zero dropped") << "2.50"
                                           << "2.5";
    QTest::newRow("whole") << "12.0"
                           << "12";
    QTest::newRow("15 significant digits") << "0.30000000000000004"
                                           << "0.3";
    QTest::newRow("negative") << "-1.25"
                              << "-1.25";
    QTest::newRow("large") << "1e20"
                           << "1E20";
    QTest::newRow("small") << "0.00001"
                           << "1E-5";
    QTest::newRow("not a number") << "abc"
                                  << "abc";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCatalogueRecords::shownPrice() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(tillora::shownPrice(stored), shown);
}

void TestCatalogueRecords::stockFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stock");
    QTest::newRow("inside") << "42" << 42;
    QTest::newRow("above") << "1234567" << 999999;
    QTest::newRow("far above") << "99999999999999999999999" << 999999;
    QTest::newRow("below") << "-5" << 0;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("decimal") << "1.5" << 0;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestCatalogueRecords::stockFromText() {
    QFETCH(QString, text);
    QFETCH(int, stock);
    QCOMPARE(tillora::stockFromText(text), stock);
}

// Products may share a barcode and customers a name: the last row read is shown.
void TestCatalogueRecords::lookupTakesTheLastRow() {
    QVERIFY(openDataFile());
    QVERIFY(test::execOn(
        path(), QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES"
                               " ('7', 'FIRST', 1, 1), ('7', 'SECOND', 2, -3);"
                               "INSERT INTO musteriler (musteriadi, kayittarihi) VALUES"
                               " ('ANNA', '2020-01-01 00:00:00'), ('ANNA', '2021-01-01 00:00:00');")));
    const auto product = lookUpProduct(*db_, QStringLiteral("7"));
    QVERIFY(product.has_value());
    QCOMPARE(product->name, QStringLiteral("SECOND"));
    QCOMPARE(product->price, QStringLiteral("2"));
    QCOMPARE(product->stock, 0);
    QVERIFY(!lookUpProduct(*db_, QStringLiteral("7 ")).has_value());
    const auto customer = lookUpCustomer(*db_, QStringLiteral("ANNA"));
    QVERIFY(customer.has_value());
    QCOMPARE(customer->recordDate, QStringLiteral("2021-01-01 00:00:00"));
    QCOMPARE(FormatMoney(creditTotal(*db_, QStringLiteral("ANNA"))), QStringLiteral("5.55"));
    QVERIFY(messages_.shown.isEmpty());
}

void TestCatalogueRecords::columnList() {
    QVERIFY(openDataFile());
    ColumnListModel model;
    model.setRows(db_->query(QStringLiteral("SELECT * FROM veresiyeler order by barkod desc;")),
                  QStringLiteral("urunadi"));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(1)).toString(), QStringLiteral("O'Brien tea"));
    QCOMPARE(model.text(3), QString());
    // A failed query, or one without the column, gives no entries.
    model.setRows(db_->query(QStringLiteral("SELECT * FROM nowhere;")), QStringLiteral("urunadi"));
    QCOMPARE(model.rowCount(), 0);
    model.setRows(db_->query(QStringLiteral("SELECT id FROM veresiyeler;")), QStringLiteral("urunadi"));
    QCOMPARE(model.rowCount(), 0);
}

void TestCatalogueRecords::openCreditList() {
    QVERIFY(openDataFile());
    OpenCreditModel model;
    model.load(db_->query(openLinesStatement(QStringLiteral("ANNA"))));
    QCOMPARE(model.count(), 3);
    QCOMPARE(FormatMoney(model.total()), QStringLiteral("5.55"));
    QCOMPARE(model.caption(1), QStringLiteral("2021-10-26 08:00:00 3 * O'Brien tea = 0.30"));
    QCOMPARE(model.data(model.index(0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(model.setData(model.index(2), Qt::Checked, Qt::CheckStateRole));
    model.setTicked(0, true);
    const QList<OpenCreditLine> ticked = model.tickedLines();
    QCOMPARE(ticked.size(), 2);
    // The hidden values of each entry are its own row's, as read.
    QCOMPARE(ticked[0].barcode, QStringLiteral("111"));
    QCOMPARE(ticked[1].barcode, QStringLiteral("333"));
    QCOMPARE(ticked[1].name, QStringLiteral("JAM"));
    QCOMPARE(ticked[1].quantity, QStringLiteral("1"));
    QCOMPARE(ticked[1].price, QStringLiteral("2.25"));
    QCOMPARE(ticked[1].id,
             test::rowsOf(path(), QStringLiteral("SELECT id FROM veresiyeler WHERE barkod='333'")).value(0));
    model.tickAll();
    QCOMPARE(model.tickedLines().size(), 3);
    // Loading again starts unticked.
    model.load(db_->query(openLinesStatement(QStringLiteral("ANNA"))));
    QVERIFY(model.tickedLines().isEmpty());
}

void TestCatalogueRecords::openCreditListRefusesUnreadableAmounts() {
    QVERIFY(openDataFile());
    QVERIFY(test::execOn(
        path(),
        QStringLiteral("INSERT INTO veresiyeler (musteriadi, adet, fiyat) VALUES ('ANNA', 'x', 1);")));
    OpenCreditModel model;
    model.load(db_->query(openLinesStatement(QStringLiteral("BOB"))));
    QCOMPARE(model.count(), 0);
    QVERIFY_THROWS_EXCEPTION(AppError, model.load(db_->query(openLinesStatement(QStringLiteral("ANNA")))));
    QCOMPARE(model.count(), 0);
    QCOMPARE(model.total(), 0.0);
    QVERIFY_THROWS_EXCEPTION(AppError, creditTotal(*db_, QStringLiteral("ANNA")));
}

// DETAILS and the credit box read the prices alike, to the last bit, whatever the database
// keeps them as.
void TestCatalogueRecords::openCreditTotalAgreesWithTheCreditBox() {
    QVERIFY(openDataFile());
    QVERIFY(test::execOn(path(),
                         QStringLiteral("INSERT INTO veresiyeler (musteriadi, adet, fiyat) VALUES"
                                        " ('ANNA', 10, 0.1 + 0.2), ('ANNA', 3, 1.0 / 3), ('ANNA', 7, 3e-7),"
                                        " ('ANNA', 1, 123456.78901234567), ('ANNA', 2, 5),"
                                        " ('ANNA', -4, ' 2.675'), ('ANNA', 1, '1e3');")));
    OpenCreditModel model;
    model.load(db_->query(openLinesStatement(QStringLiteral("ANNA"))));
    QCOMPARE(model.count(), 10);
    const double total = creditTotal(*db_, QStringLiteral("ANNA"));
    QVERIFY2(model.total() == total, qPrintable(QString::number(model.total(), 'g', 17) +
                                                QStringLiteral(" != ") + QString::number(total, 'g', 17)));
    double sum = 0;
    for (int row = 0; row < model.count(); ++row)
        sum += creditLineTotal(model.line(row).price, model.line(row).quantity);
    QVERIFY(model.total() == sum);
}

void TestCatalogueRecords::settlement_data() {
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("recorded");
    QTest::newRow("all recorded") << QString() << true;
    QTest::newRow("settle statement fails")
        << "CREATE TRIGGER refuse BEFORE UPDATE ON veresiyeler BEGIN SELECT RAISE(ABORT, 'locked'); END;"
        << false;
    QTest::newRow("first payment fails")
        << "CREATE TRIGGER refuse BEFORE INSERT ON odemeler BEGIN SELECT RAISE(ABORT, 'locked'); END;"
        << false;
    QTest::newRow("last payment fails")
        << "CREATE TRIGGER refuse BEFORE INSERT ON odemeler WHEN NEW.barkod = '333' "
           "BEGIN SELECT RAISE(ABORT, 'locked'); END;"
        << false;
}

// The settlement is recorded whole or not at all: at the first failure (reported once) the
// rows stay open and no payment is left behind.
void TestCatalogueRecords::settlement() {
    QVERIFY(openDataFile());
    QFETCH(QString, refusal);
    QFETCH(bool, recorded);
    if (!refusal.isEmpty())
        QVERIFY(test::execOn(path(), refusal));
    OpenCreditModel model;
    model.load(db_->query(openLinesStatement(QStringLiteral("ANNA"))));
    model.setTicked(0, true);
    model.setTicked(2, true);
    test::StatementLog log;
    log.attach(*db_);
    QCOMPARE(settleCreditLines(*db_, model.tickedLines()), recorded);
    QCOMPARE(messages_.texts(),
             recorded ? QStringList() : QStringList{"Exception raised with message: locked"});
    QVERIFY(!db_->inTransaction());
    const QStringList credits = recorded ? QStringList{"111|1|1", "222|0|0", "333|1|1"}
                                         : QStringList{"111|0|0", "222|0|0", "333|0|0"};
    QCOMPARE(test::rowsOf(path(),
                          QStringLiteral("SELECT barkod, odendimi, odemetarihi IS NOT NULL FROM veresiyeler "
                                         "ORDER BY id")),
             credits);
    const QStringList payments = recorded ? QStringList{"111|MILK|2|1.5", "333|JAM|1|2.25"} : QStringList();
    QCOMPARE(
        test::rowsOf(path(), QStringLiteral("SELECT barkod, urunadi, adet, fiyat FROM odemeler ORDER BY id")),
        payments);
    // Nothing ticked: no statement at all.
    log.entries.clear();
    QVERIFY(settleCreditLines(*db_, {}));
    QVERIFY(log.entries.isEmpty());
}

QTEST_GUILESS_MAIN(TestCatalogueRecords)
#include "test_catalogue_records.moc"
