#include "common/errors.h"
#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "reports/salesrecords.h"
#include "store/database.h"
#include "tests/support/datafile.h"
#include "tests/support/receiptdoubles.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace tillora;
using test::english;
using test::JammedPrinting;
using test::marked;
using test::readAll;

namespace {

const QString period = QStringLiteral("2026-01-01 00:00:00' and '2026-01-31 23:59:59' order by ");

} // namespace

// The statements, the lists with their cells and totals, the export and the reprint of the
// sales records, on a data file of their own.
class TestSalesRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rangeBoundAlwaysUsesColons_data();
    void rangeBoundAlwaysUsesColons();
    void statements_data();
    void statements();
    void paymentCellsAndTotal();
    void creditCellsAndSums_data();
    void creditCellsAndSums();
    void filtersWithQuotes();
    void amountsThatAreNoNumbersListNothing_data();
    void amountsThatAreNoNumbersListNothing();
    void failedQueryListsNothing();
    void exportFollowsTheListLoadedLast();
    void exportFailureSaysWhy();
    void reprint_data();
    void reprint();
    void reprintWithoutPrinter_data();
    void reprintWithoutPrinter();
    void reprintOfAnUnreadableDatePrintsNothing();

private:
    RecordFilter january() const;
    bool seed(const QString& sql) { return test::execOn(path, sql); }

    QTemporaryDir dir;
    QString path;
    int fileNumber = 0;
    std::unique_ptr<ScriptedServices> fake;
    std::unique_ptr<Database> db;
};

void TestSalesRecords::init() {
    path = dir.filePath(QStringLiteral("data%1.db").arg(++fileNumber));
    QVERIFY(test::makeDataFile(path));
    fake = std::make_unique<ScriptedServices>();
    db = std::make_unique<Database>(fake->messages);
    QVERIFY(db->open(path));
}

void TestSalesRecords::cleanup() {
    db.reset();
    fake.reset();
}

RecordFilter TestSalesRecords::january() const {
    RecordFilter filter;
    filter.begin = rangeBound(QDate(2026, 1, 1), QTime(0, 0));
    filter.end = rangeBound(QDate(2026, 1, 31), QTime(23, 59, 59));
    return filter;
}

void TestSalesRecords::rangeBoundAlwaysUsesColons_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
    // Finnish writes times as 14.05.09; the stamps in the data file never do.
    QTest::newRow("Finnish") << QLocale(QLocale::Finnish, QLocale::Finland);
    QTest::newRow("Arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt);
}

void TestSalesRecords::rangeBoundAlwaysUsesColons() {
    QFETCH(QLocale, locale);
    const QLocale previous;
    QLocale::setDefault(locale);
    const QString bound = rangeBound(QDate(2026, 3, 7), QTime(9, 5, 1));
    QLocale::setDefault(previous);
    QCOMPARE(bound, QStringLiteral("2026-03-07 09:05:01"));
    QCOMPARE(rangeBound(QDate(2026, 12, 31), QTime(23, 59, 59)), QStringLiteral("2026-12-31 23:59:59"));
}

void TestSalesRecords::statements_data() {
    QTest::addColumn<bool>("credits");
    QTest::addColumn<QString>("customer"); // "*": no filter
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("statement");
    const QString none = QStringLiteral("*");
    QTest::newRow("payments") << false << none << none
                              << QStringLiteral("SELECT * FROM odemeler where  odemetarihi between '") +
                                     period + QStringLiteral("odemetarihi;");
    QTest::newRow("payments of a product, the customer ignored")
        << false << QStringLiteral("ANNA") << QStringLiteral("MILK")
        << QStringLiteral("SELECT * FROM odemeler where urunadi='MILK' and odemetarihi between '") + period +
               QStringLiteral("odemetarihi;");
    QTest::newRow("credits") << true << none << none
                             << QStringLiteral("SELECT * FROM veresiyeler where   kayittarihi between '") +
                                    period + QStringLiteral("kayittarihi;");
    QTest::newRow("credits of a customer and a product")
        << true << QStringLiteral("ANNA") << QStringLiteral("MILK")
        << QStringLiteral("SELECT * FROM veresiyeler where musteriadi='ANNA' and urunadi='MILK' and "
                          "kayittarihi between '") +
               period + QStringLiteral("kayittarihi;");
    QTest::newRow("an empty product name is a filter too")
        << true << none << QString()
        << QStringLiteral("SELECT * FROM veresiyeler where  urunadi='' and kayittarihi between '") + period +
               QStringLiteral("kayittarihi;");
    QTest::newRow("quotes are doubled")
        << true << QStringLiteral("O'Brien") << QStringLiteral("x' or '1'='1")
        << QStringLiteral(
               "SELECT * FROM veresiyeler where musteriadi='O''Brien' and urunadi='x'' or ''1''=''1' "
               "and kayittarihi between '") +
               period + QStringLiteral("kayittarihi;");
}

void TestSalesRecords::statements() {
    QFETCH(bool, credits);
    QFETCH(QString, customer);
    QFETCH(QString, product);
    QFETCH(QString, statement);
    RecordFilter filter = january();
    if (customer != QLatin1String("*"))
        filter.customer = customer;
    if (product != QLatin1String("*"))
        filter.product = product;
    QCOMPARE(credits ? creditsStatement(filter) : paymentsStatement(filter), statement);
    QCOMPARE(deleteRecordStatement(RecordKind::Payments, QStringLiteral("12")),
             QStringLiteral("DELETE FROM odemeler where id='12';"));
    QCOMPARE(deleteRecordStatement(RecordKind::Credits, QStringLiteral("7")),
             QStringLiteral("DELETE FROM veresiyeler where id='7';"));
}

void TestSalesRecords::paymentCellsAndTotal() {
    QVERIFY(seed(QStringLiteral("INSERT INTO odemeler (id, barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
                                "(4, '111', 'MILK', 2, 1.5, '2026-01-10 09:00:00'),"
                                "(2, '', 'By hand', 1, 0.1, '2026-01-09 18:30:00'),"
                                "(9, '222', 'Tea', -1, 3.333, '2026-01-11 07:15:00'),"
                                "(5, '333', 'Late', 1, 99, '2026-02-01 00:00:00');")));
    SalesRecordsModel model(RecordKind::Payments, marked);
    QCOMPARE(model.totalText(), QStringLiteral("0.00"));
    QCOMPARE(model.columnCount(), 7);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("<Date>"));
    QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), QStringLiteral("<Total>"));
    QCOMPARE(model.headerData(6, Qt::Horizontal).toString(), QStringLiteral("ID"));
    model.load(*db, january());

    QCOMPARE(model.count(), 3);
    const QStringList first{QStringLiteral("2026-01-09 18:30:00"),
                            QString(),
                            QStringLiteral("By hand"),
                            QStringLiteral("0.10"),
                            QStringLiteral("1"),
                            QStringLiteral("0.10"),
                            QStringLiteral("2")};
    for (int column = 0; column < 7; ++column)
        QCOMPARE(model.data(model.index(0, column)).toString(), first[column]);
    QCOMPARE(model.cell(1, PayPrice), QStringLiteral("1.50"));
    QCOMPARE(model.cell(1, PayTotal), QStringLiteral("3.00"));
    QCOMPARE(model.cell(2, PayQuantity), QStringLiteral("-1"));
    QCOMPARE(model.cell(2, PayTotal), QStringLiteral("-3.33"));
    QCOMPARE(model.id(2), QStringLiteral("9"));
    QCOMPARE(model.totalText(), QStringLiteral("-0.23"));
    QCOMPARE(model.exportText(QStringLiteral(";"), 1, 1),
             QStringLiteral("2026-01-10 09:00:00;111;MILK;1.50;2;3.00\r\n"));
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestSalesRecords::creditCellsAndSums_data() {
    QTest::addColumn<QString>("odendimi");    // SQL value
    QTest::addColumn<QString>("odemetarihi"); // SQL value
    QTest::addColumn<QString>("paidCell");
    QTest::addColumn<bool>("unpaid");
    QTest::newRow("unpaid") << QStringLiteral("0") << QStringLiteral("NULL") << QStringLiteral("-") << true;
    QTest::newRow("unpaid, text 0") << QStringLiteral("'0'") << QStringLiteral("NULL") << QStringLiteral("-")
                                    << true;
    QTest::newRow("paid with its date") << QStringLiteral("1") << QStringLiteral("'2026-01-20 10:00:00'")
                                        << QStringLiteral("2026-01-20 10:00:00") << false;
    QTest::newRow("paid without a date")
        << QStringLiteral("1") << QStringLiteral("NULL") << QStringLiteral("<PAID>") << false;
    QTest::newRow("empty mark counts as paid")
        << QStringLiteral("''") << QStringLiteral("''") << QStringLiteral("<PAID>") << false;
    QTest::newRow("NULL mark counts as paid")
        << QStringLiteral("NULL") << QStringLiteral("NULL") << QStringLiteral("<PAID>") << false;
    QTest::newRow("other text counts as paid")
        << QStringLiteral("'zero'") << QStringLiteral("NULL") << QStringLiteral("<PAID>") << false;
}

void TestSalesRecords::creditCellsAndSums() {
    QFETCH(QString, odendimi);
    QFETCH(QString, odemetarihi);
    QFETCH(QString, paidCell);
    QFETCH(bool, unpaid);
    // One line of the case under test, and one unpaid line of 0.25 beside it.
    QVERIFY(seed(
        QStringLiteral("INSERT INTO veresiyeler (id, musteriid, musteriadi, barkod, urunadi, adet, fiyat, "
                       "kayittarihi, odendimi, odemetarihi) VALUES "
                       "(3, 1, 'ANNA', '111', 'MILK', 2, 1.5, '2026-01-05 08:00:00', %1, %2),"
                       "(8, 2, 'ZOE', '42', 'GUM', 1, 0.25, '2026-01-06 08:00:00', 0, NULL);")
            .arg(odendimi, odemetarihi)));
    SalesRecordsModel model(RecordKind::Credits, marked);
    QCOMPARE(model.totalText(), QStringLiteral("<Paid:> 0.00 <Not Paid:> 0.00"));
    model.load(*db, january());
    QCOMPARE(model.count(), 2);
    QCOMPARE(model.columnCount(), 9);
    const QStringList cells{QStringLiteral("2026-01-05 08:00:00"),
                            QStringLiteral("ANNA"),
                            QStringLiteral("111"),
                            QStringLiteral("MILK"),
                            QStringLiteral("1.50"),
                            QStringLiteral("2"),
                            QStringLiteral("3.00"),
                            paidCell,
                            QStringLiteral("3")};
    for (int column = 0; column < 9; ++column)
        QCOMPARE(model.cell(0, column), cells[column]);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("<Customer>"));
    QCOMPARE(model.headerData(7, Qt::Horizontal).toString(), QStringLiteral("<Paid>"));
    QCOMPARE(model.headerData(8, Qt::Horizontal).toString(), QStringLiteral("ID"));
    QCOMPARE(model.totalText(), unpaid ? QStringLiteral("<Paid:> 0.00 <Not Paid:> 3.25")
                                       : QStringLiteral("<Paid:> 3.00 <Not Paid:> 0.25"));
    QCOMPARE(model.exportText(QStringLiteral(","), 0, 5),
             QStringLiteral("2026-01-05 08:00:00,ANNA,111,MILK,1.50,2,3.00,") + paidCell +
                 QStringLiteral("\r\n2026-01-06 08:00:00,ZOE,42,GUM,0.25,1,0.25,-\r\n"));
    const RecordRow row = model.reprintRow(0);
    QCOMPARE(row.date, QStringLiteral("2026-01-05 08:00:00"));
    QCOMPARE(row.product, QStringLiteral("MILK"));
    QCOMPARE(row.price, QStringLiteral("1.50"));
    QCOMPARE(row.quantity, QStringLiteral("2"));
}

void TestSalesRecords::filtersWithQuotes() {
    QVERIFY(seed(QStringLiteral(
        "INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
        "('O''Brien', 'Kid''s tea', 1, 2, '2026-01-05 08:00:00'),"
        "('O''Brien', 'MILK', 1, 1, '2026-01-05 09:00:00'),"
        "('ANNA', 'Kid''s tea', 1, 4, '2026-01-05 10:00:00');"
        "INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
        "('Kid''s tea', 3, 1, '2026-01-05 08:00:00'), ('MILK', 1, 1, '2026-01-05 09:00:00');")));
    RecordFilter filter = january();
    filter.customer = QStringLiteral("O'Brien");
    filter.product = QStringLiteral("Kid's tea");
    SalesRecordsModel credits(RecordKind::Credits, {});
    credits.load(*db, filter);
    QCOMPARE(credits.count(), 1);
    QCOMPARE(credits.totalText(), QStringLiteral("Paid: 0.00 Not Paid: 2.00"));
    SalesRecordsModel payments(RecordKind::Payments, {});
    payments.load(*db, filter);
    QCOMPARE(payments.count(), 1);
    QCOMPARE(payments.totalText(), QStringLiteral("3.00"));
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestSalesRecords::amountsThatAreNoNumbersListNothing_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("error");
    QTest::newRow("price text") << QStringLiteral("'abc'") << QStringLiteral("1")
                                << QStringLiteral("'abc' is not a valid floating point value");
    QTest::newRow("price NULL") << QStringLiteral("NULL") << QStringLiteral("1")
                                << QStringLiteral("'' is not a valid floating point value");
    QTest::newRow("decimal comma") << QStringLiteral("'1,5'") << QStringLiteral("1")
                                   << QStringLiteral("'1,5' is not a valid floating point value");
    QTest::newRow("quantity with decimals") << QStringLiteral("1") << QStringLiteral("2.5")
                                            << QStringLiteral("'2.5' is not a valid integer value");
    QTest::newRow("quantity text") << QStringLiteral("1") << QStringLiteral("'two'")
                                   << QStringLiteral("'two' is not a valid integer value");
    QTest::newRow("quantity beyond 32 bits") << QStringLiteral("1") << QStringLiteral("3000000000")
                                             << QStringLiteral("'3000000000' is not a valid integer value");
}

// A damaged row raises the reading error and the list stays empty with zero totals: never a
// list that shows only the rows before the damaged one.
void TestSalesRecords::amountsThatAreNoNumbersListNothing() {
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, error);
    QVERIFY(
        seed(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                            "('MILK', 1, 1, '2026-01-05 08:00:00'), ('BAD', %2, %1, '2026-01-06 08:00:00');")
                 .arg(price, quantity)));
    SalesRecordsModel model(RecordKind::Payments, {});
    try {
        model.load(*db, january());
        QFAIL("the damaged row was read");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), error);
    }
    QCOMPARE(model.count(), 0);
    QCOMPARE(model.totalText(), QStringLiteral("0.00"));
    // A zero price and a zero quantity are numbers like any other.
    QVERIFY(seed(QStringLiteral(
        "DELETE FROM odemeler where urunadi='BAD';"
        "INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
        "('FREE', 0, 0, '2026-01-07 08:00:00'), ('TEXT', '3', '0.5', '2026-01-07 09:00:00');")));
    model.load(*db, january());
    QCOMPARE(model.count(), 3);
    QCOMPARE(model.cell(1, PayTotal), QStringLiteral("0.00"));
    QCOMPARE(model.totalText(), QStringLiteral("2.50"));
}

void TestSalesRecords::failedQueryListsNothing() {
    QVERIFY(seed(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                                "('MILK', 1, 1, '2026-01-05 08:00:00');")));
    SalesRecordsModel model(RecordKind::Payments, {});
    model.load(*db, january());
    QCOMPARE(model.count(), 1);
    QVERIFY(seed(QStringLiteral("DROP TABLE odemeler;")));
    model.load(*db, january());
    QCOMPARE(model.count(), 0);
    QCOMPARE(model.totalText(), QStringLiteral("0.00"));
    QCOMPARE(fake->messages.texts(),
             QStringList{QStringLiteral("Exception raised with message: no such table: odemeler")});
}

void TestSalesRecords::exportFollowsTheListLoadedLast() {
    QVERIFY(
        seed(QStringLiteral("INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
                            "('1', 'Çay, siyah', 2, 1.5, '2026-01-05 08:00:00');"
                            "INSERT INTO veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi) "
                            "VALUES ('ANNA', '2', 'GUM', 3, 0.25, '2026-01-05 09:00:00');")));
    SalesRecords records(*db, {});
    const QString file = dir.filePath(QStringLiteral("records.csv"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("older content") > 0);
    old.close();

    QCOMPARE(records.ShownSalesList(), QString());
    records.exportShownList(file, QStringLiteral(","));
    QCOMPARE(readAll(file), QByteArray()); // nothing loaded yet: an empty file

    records.beginLoad(RecordKind::Payments);
    QCOMPARE(records.ShownSalesList(), QStringLiteral("payments"));
    records.load(RecordKind::Payments, january());
    records.beginLoad(RecordKind::Credits);
    records.load(RecordKind::Credits, january());
    QCOMPARE(records.ShownSalesList(), QStringLiteral("credits"));
    records.exportShownList(file, QStringLiteral(","));
    QCOMPARE(readAll(file), QByteArray("2026-01-05 09:00:00,ANNA,2,GUM,0.25,3,0.75,-\r\n"));

    // No quoting: a separator inside a name is written as it is; no byte-order mark.
    records.beginLoad(RecordKind::Payments);
    records.load(RecordKind::Payments, january());
    records.exportShownList(file, QStringLiteral(","));
    QCOMPARE(readAll(file),
             QString::fromUtf8("2026-01-05 08:00:00,1,Çay, siyah,1.50,2,3.00\r\n").toLocal8Bit());
}

void TestSalesRecords::exportFailureSaysWhy() {
    SalesRecords records(*db, {});
    const QString file = dir.filePath(QStringLiteral("missing/records.csv"));
    try {
        records.exportShownList(file, QStringLiteral(","));
        QFAIL("the export reported success");
    } catch (const AppError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(file)),
                 qPrintable(e.message()));
        QVERIFY2(e.message().size() > file.size() + 24, "the reason is missing");
    }
    QVERIFY(!QFile::exists(file));
}

void TestSalesRecords::reprint_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("total");
    QTest::newRow("payment, 2 at 1.50") << int(RecordList::Payments) << QStringLiteral("1.50")
                                        << QStringLiteral("2") << QStringLiteral("$ 3");
    QTest::newRow("credit, 3 at 0.25") << int(RecordList::Credits) << QStringLiteral("0.25")
                                       << QStringLiteral("3") << QStringLiteral("$ 0.75");
    QTest::newRow("returned item") << int(RecordList::Payments) << QStringLiteral("2.50")
                                   << QStringLiteral("-1") << QStringLiteral("$ -2.5");
}

// A reprint prints one line, the total in the general style and the row's moment, with no
// receipt number; it asks nothing, saves nothing and leaves the receipt number alone.
void TestSalesRecords::reprint() {
    QFETCH(int, list);
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, total);
    ReceiptSettings receipts;
    receipts.load(fake->settings, english);
    receipts.askPrint = true;
    receipts.ReceiptFolderInUse = dir.filePath(QStringLiteral("receipts"));
    receipts.NextReceiptNumber = 41;
    const RecordRow row{QStringLiteral("2021-10-25 14:05:09"), QStringLiteral("MILK"), price, quantity};

    ReprintRecord(RecordList(list), row, receipts, QStringLiteral("$"), fake->services, marked);
    QCOMPARE(fake->printing.dialogs, 1);
    QCOMPARE(fake->printing.jobs.size(), 1);
    const QDateTime moment(QDate(2021, 10, 25), QTime(14, 5, 9));
    const QString expected = QStringLiteral("Welcome to Our Shop\r\n") + receiptDateText(moment) +
                             QLatin1Char(' ') + receiptTimeText(moment) +
                             QStringLiteral("\r\n\r\nReceipt Number: \r\n\r\nMILK (") + price +
                             QStringLiteral(") * ") + quantity + QStringLiteral("\r\n\r\nTotal: ") + total +
                             QStringLiteral("\r\n\r\nThank you\r\n");
    QCOMPARE(fake->printing.jobs[0].text, expected);
    QCOMPARE(fake->printing.jobs[0].title, QStringLiteral("<Receipt>"));
    QVERIFY(fake->messages.shown.isEmpty());
    QCOMPARE(receipts.NextReceiptNumber, 41);
    QVERIFY(!fake->settings.valueExists(ReceiptNumberSetting));
    QVERIFY(!QFile::exists(receipts.ReceiptFolderInUse));

    // No selection: only the beep. A cancelled dialog: nothing printed.
    ReprintRecord(RecordList(list), std::nullopt, receipts, QStringLiteral("$"), fake->services, marked);
    QCOMPARE(fake->messages.beeps, 1);
    QCOMPARE(fake->printing.dialogs, 1);
    fake->printing.dialogAccepts = false;
    ReprintRecord(RecordList(list), row, receipts, QStringLiteral("$"), fake->services, marked);
    QCOMPARE(fake->printing.dialogs, 2);
    QCOMPARE(fake->printing.jobs.size(), 1);
}

void TestSalesRecords::reprintWithoutPrinter_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<bool>("jammed");
    QTest::addColumn<QString>("error");
    QTest::newRow("payments, no printer")
        << int(RecordList::Payments) << false << QStringLiteral("Printer not found!");
    QTest::newRow("payments, failing job")
        << int(RecordList::Payments) << true << QStringLiteral("Printer not found!");
    QTest::newRow("credits, no printer")
        << int(RecordList::Credits) << false << QStringLiteral("<Printer not found!>");
    QTest::newRow("credits, failing job")
        << int(RecordList::Credits) << true << QStringLiteral("<Printer not found!>");
}

void TestSalesRecords::reprintWithoutPrinter() {
    QFETCH(int, list);
    QFETCH(bool, jammed);
    QFETCH(QString, error);
    JammedPrinting printing;
    printing.printerAvailable = jammed;
    fake->services.printing = &printing;
    ReceiptSettings receipts;
    receipts.load(fake->settings, english);
    const RecordRow row{QStringLiteral("2021-10-25 14:05:09"), QStringLiteral("MILK"), QStringLiteral("1.50"),
                        QStringLiteral("2")};
    try {
        ReprintRecord(RecordList(list), row, receipts, QStringLiteral("$"), fake->services, marked);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), error);
    }
    fake->services.printing = &fake->printing;
}

void TestSalesRecords::reprintOfAnUnreadableDatePrintsNothing() {
    ReceiptSettings receipts;
    receipts.load(fake->settings, english);
    const RecordRow row{QStringLiteral("25.10.2021 14:05"), QStringLiteral("MILK"), QStringLiteral("1.50"),
                        QStringLiteral("2")};
    try {
        ReprintRecord(RecordList::Payments, row, receipts, QStringLiteral("$"), fake->services, marked);
        QFAIL("no error");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), QStringLiteral("'25.10.2021 14:05' is not a valid date and time"));
    }
    QCOMPARE(fake->printing.dialogs, 0);
    QVERIFY(fake->printing.jobs.isEmpty());
}

QTEST_GUILESS_MAIN(TestSalesRecords)
#include "test_salesrecords.moc"
