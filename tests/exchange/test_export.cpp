// The four exports: exact bytes of each layout, empty tables, failures and cancel that leave an
// older file whole, the progress window; the round trip through the import; the bulk deletes.
#include "exchange/csvexport.h"
#include "exchange/csvimport.h"
#include "exchange/exchange.h"
#include "tests/exchange/exchangefixture.h"

#include <QFile>
#include <QtTest>

using namespace tillora;
using namespace tillora::test;

Q_DECLARE_METATYPE(tillora::ExchangeTable)

namespace {

// Rows given out of id order, so the files show the order by id.
const QString seed = QStringLiteral(
    "INSERT INTO urunler (id, barkod, urunadi, fiyat, stok, kayittarihi) VALUES"
    " (5, '0042', 'O''Brien; tea', 3, 0, '2024-01-03 11:00:00'),"
    " (2, '4001', 'MILK', 2.5, 10, '2024-01-02 10:00:00'),"
    " (7, 'ÇAY', 'Çay', '0.1', 1, '2024-01-04 12:00:00');"
    "INSERT INTO musteriler (id, musteriadi, kayittarihi) VALUES"
    " (2, 'ANNA', '2024-01-01 09:00:00'), (1, 'ZOE', '2024-01-01 08:00:00');"
    "INSERT INTO odemeler (id, barkod, urunadi, adet, fiyat, odemetarihi) VALUES"
    " (3, '', 'By hand', 1, '12.50', '2024-02-02 12:00:00'),"
    " (1, '4001', 'MILK', 2, 2.5, '2024-02-01 12:00:00');"
    "INSERT INTO veresiyeler (id, musteriid, musteriadi, barkod, urunadi, adet, fiyat, kayittarihi, odendimi,"
    " odemetarihi) VALUES"
    " (1, 2, 'ANNA', '4001', 'MILK', 3, 2.5, '2024-03-01 10:00:00', 0, NULL),"
    " (2, 2, 'ANNA', '', 'By hand', 1, 0.1, '2024-03-02 10:00:00', 1, '2024-03-05 10:00:00'),"
    " (4, 1, 'ZOE', '0042', 'Gum', 4, 0.125, '2024-03-03 10:00:00', 2, NULL);");

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ContextFixture> f;

    ExportOutcome exportTo(ExchangeTable table, const QString& path, const Translate& translate = Translate(),
                           const QString& separator = QStringLiteral(";")) {
        return writeCsvExport(f->db, table, path, separator, translate, &f->fake.progress);
    }

private Q_SLOTS:
    void init() {
        f = semicolonContext();
        QVERIFY(f);
    }
    void cleanup() { f.reset(); }

    void layouts_data() {
        QTest::addColumn<ExchangeTable>("table");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("products") << ExchangeTable::Products << ";"
                                  << QByteArray("Barcode;Product;Price;Stock;Date\r\n"
                                                "4001;MILK;2.5;10;2024-01-02 10:00:00\r\n"
                                                "0042;O'Brien; tea;3;0;2024-01-03 11:00:00\r\n") +
                                         QString::fromUtf8("ÇAY;Çay;0.1;1;2024-01-04 12:00:00\r\n").toUtf8();
        QTest::newRow("products, comma")
            << ExchangeTable::Products << ","
            << QByteArray("Barcode,Product,Price,Stock,Date\r\n"
                          "4001,MILK,2.5,10,2024-01-02 10:00:00\r\n"
                          "0042,O'Brien; tea,3,0,2024-01-03 11:00:00\r\n") +
                   QString::fromUtf8("ÇAY,Çay,0.1,1,2024-01-04 12:00:00\r\n").toUtf8();
        QTest::newRow("customers") << ExchangeTable::Customers << ";"
                                   << QByteArray(
                                          "1;ZOE;2024-01-01 08:00:00\r\n2;ANNA;2024-01-01 09:00:00\r\n");
        QTest::newRow("payments: price before quantity, as stored")
            << ExchangeTable::Payments << ";"
            << QByteArray(
                   "1;4001;MILK;2.5;2;2024-02-01 12:00:00\r\n3;;By hand;12.5;1;2024-02-02 12:00:00\r\n");
        QTest::newRow("credits: money format, total, paid mark, no settlement date")
            << ExchangeTable::Credits << ";"
            << QByteArray("1;ANNA;4001;MILK;2.50;3;7.50;-;2024-03-01 10:00:00\r\n"
                          "2;ANNA;;By hand;0.10;1;0.10;~PAID;2024-03-02 10:00:00\r\n"
                          "4;ZOE;0042;Gum;0.13;4;0.50;~PAID;2024-03-03 10:00:00\r\n");
    }
    void layouts() {
        QFETCH(ExchangeTable, table);
        QFETCH(QString, separator);
        QFETCH(QByteArray, bytes);
        QVERIFY(execOn(f->path, seed));
        const QString path = f->file(QStringLiteral("out.csv"));
        const ExportOutcome outcome = exportTo(table, path, marked, separator);
        QCOMPARE(outcome.status, ExportOutcome::Status::Written);
        QCOMPARE(readAll(path), bytes);
        QVERIFY(f->fake.messages.shown.isEmpty());
        QVERIFY(f->fake.progress.started.isEmpty());
    }

    void emptyTables_data() {
        QTest::addColumn<ExchangeTable>("table");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("products: header only")
            << ExchangeTable::Products << QByteArray("Barcode;Product;Price;Stock;Date\r\n");
        QTest::newRow("customers") << ExchangeTable::Customers << QByteArray("");
        QTest::newRow("payments") << ExchangeTable::Payments << QByteArray("");
        QTest::newRow("credits") << ExchangeTable::Credits << QByteArray("");
    }
    void emptyTables() {
        QFETCH(ExchangeTable, table);
        QFETCH(QByteArray, bytes);
        const QString path = f->file(QStringLiteral("out.csv"));
        QVERIFY(writeAll(path, "an older export"));
        QCOMPARE(exportTo(table, path).status, ExportOutcome::Status::Written);
        QCOMPARE(readAll(path), bytes);
    }

    // A failing statement is reported; no file is written and an older one stays whole.
    void failingStatementWritesNothing() {
        QVERIFY(execOn(f->path, QStringLiteral("DROP TABLE odemeler;")));
        const QString path = f->file(QStringLiteral("out.csv"));
        QVERIFY(writeAll(path, "an older export"));
        f->fake.files.answers << path;
        exportTable(f->context, ExchangeTable::Payments);
        QCOMPARE(f->fake.messages.texts(),
                 QStringList{"Exception raised with message: no such table: odemeler"});
        QCOMPARE(readAll(path), QByteArray("an older export"));
    }

    // A credits row whose price is no number abandons the export with the number error.
    void creditWithoutNumberAbandons() {
        QVERIFY(execOn(f->path, QStringLiteral("INSERT INTO veresiyeler (musteriadi, adet, fiyat) VALUES "
                                               "('ANNA', 1, 'abc');")));
        const QString path = f->file(QStringLiteral("out.csv"));
        QVERIFY(writeAll(path, "an older export"));
        try {
            exportTo(ExchangeTable::Credits, path);
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("'abc' is not a valid floating point value"));
        }
        QCOMPARE(readAll(path), QByteArray("an older export"));
    }

    void unwritableFileIsSaid() {
        const QString path = f->file(QStringLiteral("no-such-folder/out.csv"));
        f->fake.files.answers << path;
        try {
            exportTable(f->context, ExchangeTable::Products);
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Cannot create file \"") + path + "\". "),
                     qPrintable(error.message()));
        }
        QVERIFY(!QFile::exists(path));
    }

    // The menu command: the save dialog, then a silent export; a cancelled dialog writes nothing.
    void command() {
        QVERIFY(execOn(f->path, seed));
        const QString path = f->file(QStringLiteral("customers"));
        f->fake.files.answers << QString() << path;
        exportTable(f->context, ExchangeTable::Customers);
        QVERIFY(!QFile::exists(path + QStringLiteral(".csv")));
        exportTable(f->context, ExchangeTable::Customers);
        QCOMPARE(f->fake.files.requests.size(), 2);
        QCOMPARE(f->fake.files.requests[1].kind, QStringLiteral("save"));
        QCOMPARE(f->fake.files.requests[1].filter, QStringLiteral("CSV File (*.csv)"));
        QCOMPARE(f->fake.files.requests[1].defaultExt, QStringLiteral("csv"));
        QCOMPARE(readAll(path + QStringLiteral(".csv")),
                 QByteArray("1;ZOE;2024-01-01 08:00:00\r\n2;ANNA;2024-01-01 09:00:00\r\n"));
        QVERIFY(f->fake.messages.shown.isEmpty());
    }

    // A long export shows the progress window; Cancel writes no file and keeps the older one.
    void longExportAndCancel() {
        QVERIFY(execOn(
            f->path,
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<6000) "
                           "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) "
                           "SELECT i, 'P' || i, 1, 1.5, '2024-01-01 00:00:00' FROM n;")));
        const QString path = f->file(QStringLiteral("out.csv"));
        QVERIFY(writeAll(path, "an older export"));
        f->fake.progress.cancelAt = 2000;
        QCOMPARE(exportTo(ExchangeTable::Payments, path).status, ExportOutcome::Status::Cancelled);
        QCOMPARE(readAll(path), QByteArray("an older export"));
        QCOMPARE(f->fake.progress.started.size(), 1);
        QCOMPARE(f->fake.progress.started[0].caption, QStringLiteral("Export"));
        QCOMPARE(f->fake.progress.started[0].total, qint64(6000));
        QCOMPARE(f->fake.progress.finished, 1);

        f->fake.progress.cancelAt = -1;
        const ExportOutcome outcome = exportTo(ExchangeTable::Payments, path);
        QCOMPARE(outcome.status, ExportOutcome::Status::Written);
        QCOMPARE(outcome.rows, qint64(6000));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.count("\r\n"), 6000);
        QVERIFY(bytes.endsWith("6000;6000;P6000;1.5;1;2024-01-01 00:00:00\r\n"));
        QCOMPARE(f->fake.progress.finished, 2);
    }

    // Export, delete all products, import the file: the same catalogue; the header line is the
    // one line not imported.
    void roundTrip() {
        QVERIFY(
            execOn(f->path, QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES"
                                           " ('0042', 'Gum', 0.25, 7), ('4001', 'O''Brien \"tea\"', 2.5, 10),"
                                           " ('X-1', 'Çay €', 1234567.89, 0), ('9', ' padded ', 0.1, -2),"
                                           " ('10', 'Whole', 3, 2147483647);")));
        const QString catalogue =
            QStringLiteral("SELECT barkod, urunadi, quote(fiyat), stok FROM urunler ORDER BY id");
        const QStringList before = rowsOf(f->path, catalogue);
        const QString path = f->file(QStringLiteral("products.csv"));
        f->fake.files.answers << path << path;
        exportTable(f->context, ExchangeTable::Products);

        f->fake.messages.answers << MsgButton::Yes;
        deleteAllRows(f->context, ExchangeTable::Products);
        QCOMPARE(rowsOf(f->path, catalogue), QStringList());

        importProducts(f->context);
        QCOMPARE(rowsOf(f->path, catalogue), before);
        QCOMPARE(f->fake.messages.shown.last().text,
                 QStringLiteral("Imported: 5 entries\nNot imported: 1 lines (line 1)"));
    }

    void bulkDelete_data() {
        QTest::addColumn<ExchangeTable>("table");
        QTest::addColumn<QString>("question");
        QTest::newRow("products") << ExchangeTable::Products
                                  << "Are you sure you want to delete all products?";
        QTest::newRow("customers") << ExchangeTable::Customers
                                   << "Are you sure you want to delete all customers?";
        QTest::newRow("payments") << ExchangeTable::Payments
                                  << "Are you sure you want to delete all payments?";
        QTest::newRow("credits") << ExchangeTable::Credits << "Are you sure you want to delete all credits?";
    }
    // Without full access: the warning and no question. No: nothing. Yes: only that table is
    // emptied, by its one statement.
    void bulkDelete() {
        QFETCH(ExchangeTable, table);
        QFETCH(QString, question);
        QVERIFY(execOn(f->path, seed));
        const auto counts = [this]() {
            return rowsOf(f->path,
                          QStringLiteral("SELECT (SELECT count(*) FROM urunler), (SELECT count(*) FROM "
                                         "musteriler), (SELECT count(*) FROM odemeler), (SELECT "
                                         "count(*) FROM veresiyeler)"));
        };
        const QStringList full = counts();
        f->context.translate = marked;
        StatementLog log;
        log.attach(f->db);

        f->access.set(false);
        deleteAllRows(f->context, table);
        QCOMPARE(f->fake.messages.shown.size(), 1);
        QCOMPARE(f->fake.messages.shown[0].caption, QStringLiteral("~WARNING"));
        QCOMPARE(f->fake.messages.shown[0].text, QStringLiteral("~You are not logged as admin!"));
        QCOMPARE(f->fake.messages.shown[0].icon, MsgIcon::Warning);

        f->access.set(true);
        f->fake.messages.clear();
        f->fake.messages.answers << MsgButton::No << MsgButton::Yes;
        deleteAllRows(f->context, table);
        QCOMPARE(f->fake.messages.shown.size(), 1);
        QCOMPARE(f->fake.messages.shown[0].caption, QStringLiteral("Confirm"));
        QCOMPARE(f->fake.messages.shown[0].text, marked(question));
        QCOMPARE(counts(), full);
        QVERIFY(log.entries.isEmpty());

        deleteAllRows(f->context, table);
        QCOMPARE(log.commands(), QStringList{"DELETE FROM " + tableName(table) + ";"});
        QStringList expected = full.first().split(QLatin1Char('|'));
        expected[static_cast<int>(table)] = QStringLiteral("0");
        QCOMPARE(counts(), QStringList{expected.join(QLatin1Char('|'))});
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
