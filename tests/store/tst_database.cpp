#include "tests/support/datafile.h"

#include "common/errors.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "store/sql.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tillora;
using namespace tillora::test;

class TestDatabase : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    ScriptedMessages messages;
    std::unique_ptr<Database> db;
    QString path;

    // Opens a fresh data file made from the schema.
    void openSchemaFile() {
        QVERIFY(makeDataFile(path));
        QVERIFY(db->open(path));
    }

    QString single(const QString& sql) {
        const QueryResult r = db->query(sql);
        return r.rowCount() == 1 && r.columnCount() >= 1 ? r.text(0, 0) : QStringLiteral("<no single value>");
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        path = dir->filePath(QStringLiteral("data.db"));
        messages.clear();
        db = std::make_unique<Database>(messages);
    }

    void cleanup() {
        db.reset();
        dir.reset();
    }

    void quoteDoublesSingleQuotes() {
        QCOMPARE(quote(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
        QCOMPARE(quote(QString()), QStringLiteral("''"));
        QCOMPARE(quote(QStringLiteral("''")), QStringLiteral("''''''"));
    }

    void quotedValueRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
        QTest::newRow("two quotes") << QStringLiteral("''");
        QTest::newRow("semicolon") << QStringLiteral("a;b");
        QTest::newRow("injection") << QStringLiteral("x'); DELETE FROM urunler; --");
        QTest::newRow("empty") << QString();
        QTest::newRow("non-latin") << QStringLiteral("Çiğköfte Ürün");
    }

    void quotedValueRoundTrip() {
        QFETCH(QString, value);
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES (") +
                            quote(value) + QStringLiteral(", ") + quote(value) + QStringLiteral(", '1');")));
        const QueryResult r = db->query(QStringLiteral("SELECT * FROM urunler WHERE barkod=") + quote(value) +
                                        QStringLiteral(";"));
        QCOMPARE(r.rowCount(), 1);
        QCOMPARE(r.text(0, "urunadi"), value);
        QCOMPARE(single(QStringLiteral("SELECT count(*) FROM urunler;")), QStringLiteral("1"));
        QVERIFY(messages.shown.isEmpty());
    }

    void barcodeKeepsLeadingZeros() {
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES "
                                           "('0042', 'Tea', '12.50', '3');")));
        const QueryResult r = db->query(QStringLiteral("SELECT * FROM urunler WHERE barkod='0042';"));
        QCOMPARE(r.rowCount(), 1);
        QCOMPARE(r.text(0, "barkod"), QStringLiteral("0042"));
        QCOMPARE(r.text(0, "fiyat"), QStringLiteral("12.5"));
        QCOMPARE(r.integer(0, "stok"), 3);
        QCOMPARE(r.text(0, "stok"), QStringLiteral("3"));
        QCOMPARE(db->query(QStringLiteral("SELECT * FROM urunler WHERE barkod='42';")).rowCount(), 0);
    }

    void unpaidFlagSelects_data() {
        QTest::addColumn<QString>("condition");
        QTest::newRow("number") << QStringLiteral("odendimi=0");
        QTest::newRow("quoted") << QStringLiteral("odendimi='0'");
    }

    void unpaidFlagSelects() {
        QFETCH(QString, condition);
        openSchemaFile();
        QVERIFY(db->command(
            QStringLiteral("INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, "
                           "fiyat) VALUES ('1', 'Ann', '1', 'Tea', '2', '1.25');")));
        const QueryResult r = db->query(QStringLiteral("SELECT * FROM veresiyeler WHERE ") + condition + ";");
        QCOMPARE(r.rowCount(), 1);
        QCOMPARE(r.text(0, "odendimi"), QStringLiteral("0"));
        QVERIFY(r.isNull(0, "odemetarihi"));
        QCOMPARE(r.text(0, "odemetarihi"), QString());
    }

    void sumsAreNumbers() {
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral(
            "INSERT INTO odemeler (barkod, urunadi, adet, fiyat) VALUES ('1', 'A', '2', '1.50');")));
        QVERIFY(db->command(QStringLiteral(
            "INSERT INTO odemeler (barkod, urunadi, adet, fiyat) VALUES ('2', 'B', '10', '0.25');")));
        const QueryResult r = db->query(
            QStringLiteral("SELECT SUM(adet) AS units, sum(adet*fiyat) AS total, typeof(SUM(adet)) AS "
                           "kind FROM odemeler;"));
        QCOMPARE(r.text(0, "kind"), QStringLiteral("integer"));
        QCOMPARE(r.integer(0, "units"), 12);
        QCOMPARE(r.number(0, "total"), 5.5);
        QCOMPARE(r.text(0, "total"), QStringLiteral("5.5"));
    }

    void defaultTimeStamps() {
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral("INSERT INTO urunler (barkod) VALUES ('1');")));
        QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');")));
        QVERIFY(db->command(QStringLiteral("INSERT INTO odemeler (barkod) VALUES ('1');")));
        QVERIFY(db->command(QStringLiteral("INSERT INTO veresiyeler (barkod) VALUES ('1');")));
        const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
        const QStringList stamps{single(QStringLiteral("SELECT kayittarihi FROM urunler;")),
                                 single(QStringLiteral("SELECT kayittarihi FROM musteriler;")),
                                 single(QStringLiteral("SELECT odemetarihi FROM odemeler;")),
                                 single(QStringLiteral("SELECT kayittarihi FROM veresiyeler;"))};
        for (const QString& stamp : stamps)
            QVERIFY2(form.match(stamp).hasMatch(), qPrintable(stamp));
        // Local time, not UTC.
        const QDateTime stamped =
            QDateTime::fromString(stamps.first(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY(qAbs(stamped.secsTo(QDateTime::currentDateTime())) < 120);
    }

    void idsNeverReused() {
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');")));
        QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Bob');")));
        const qint64 last = db->lastInsertId();
        QVERIFY(db->command(QStringLiteral("DELETE FROM musteriler WHERE id=") +
                            quote(QString::number(last)) + ";"));
        QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Cem');")));
        QCOMPARE(db->lastInsertId(), last + 1);
    }

    void readingFields() {
        openSchemaFile();
        const QueryResult r = db->query(QStringLiteral(
            "SELECT NULL AS n, 7 AS i, 0.1 + 0.2 AS r, 2.0 AS w, ' 12 ' AS t, 'x' AS bad, 1e20 AS big;"));
        QCOMPARE(r.columns(), (QStringList{"n", "i", "r", "w", "t", "bad", "big"}));
        QCOMPARE(r.text(0, "n"), QString());
        QCOMPARE(r.integer(0, "n"), 0);
        QCOMPARE(r.text(0, "i"), QStringLiteral("7"));
        QCOMPARE(r.number(0, "i"), 7.0);
        QCOMPARE(r.text(0, "r"), QStringLiteral("0.3"));
        QCOMPARE(r.text(0, "w"), QStringLiteral("2"));
        QCOMPARE(r.integer(0, "w"), 2);
        QCOMPARE(r.integer(0, "t"), 12);
        QCOMPARE(r.number(0, "T"), 12.0); // names match regardless of letter case
        QCOMPARE(r.number(0, "bad"), 0.0);
        QCOMPARE(r.text(0, "big"), QStringLiteral("1e+20"));
        QVERIFY_THROWS_EXCEPTION(AppError, r.text(0, "missing"));
        QVERIFY_THROWS_EXCEPTION(AppError, r.text(1, "i"));
    }

    void rowsInResultOrder() {
        openSchemaFile();
        for (const char* name : {"Cem", "Ann", "Bob"})
            QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES (") +
                                quote(QString::fromUtf8(name)) + ");"));
        const QueryResult r = db->query(QStringLiteral("SELECT * FROM musteriler order by musteriadi;"));
        QCOMPARE(r.rowCount(), 3);
        QStringList names;
        for (int row = 0; row < r.rowCount(); ++row)
            names << r.text(row, "musteriadi");
        QCOMPARE(names, (QStringList{"Ann", "Bob", "Cem"}));
    }

    // A query that keeps some columns: only those, in the statement's order, found by name as
    // fields are; a name the statement lacks is left out.
    void queryKeepingColumns() {
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES "
                                           "('0042', 'GUM', 0.25, 3), ('7', 'TEA', 2, 1);")));
        const QueryResult r =
            db->query(QStringLiteral("SELECT * FROM urunler order by barkod;"),
                      {QStringLiteral("STOK"), QStringLiteral("barkod"), QStringLiteral("none")});
        QCOMPARE(r.columns(), (QStringList{"barkod", "stok"}));
        QCOMPARE(r.rowCount(), 2);
        QCOMPARE(r.text(0, "barkod"), QStringLiteral("0042"));
        QCOMPARE(r.integer(1, "stok"), 1);
        QVERIFY(!r.hasColumn("urunadi"));
        QVERIFY(messages.shown.isEmpty());
    }

    void failedQueryCountsAsNoRows() {
        openSchemaFile();
        const QueryResult r = db->query(QStringLiteral("SELECT * FROM nothere;"));
        QVERIFY(r.failed());
        QVERIFY(r.isEmpty());
        QCOMPARE(messages.shown.size(), 1);
        const ShownMessage& box = messages.shown.first();
        QCOMPARE(box.caption, QStringLiteral("Tillora"));
        QCOMPARE(box.text, QStringLiteral("Exception raised with message: no such table: nothere"));
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(box.buttons, MsgButtons{MsgButton::Ok});
        QCOMPARE(db->lastError(), QStringLiteral("no such table: nothere"));
    }

    void failedCommandReportedAndCallerGoesOn() {
        openSchemaFile();
        QVERIFY(!db->command(QStringLiteral("UPDATE nothere SET a='1';")));
        QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');")));
        QCOMPARE(messages.texts(), QStringList{"Exception raised with message: no such table: nothere"});
    }

    void failureHalfWayGivesNoRows() {
        openSchemaFile();
        // abs() of the smallest integer overflows on the second row, after one row was read.
        const QueryResult r = db->query(QStringLiteral(
            "SELECT abs(v) AS a FROM (SELECT 1 AS v UNION ALL SELECT -9223372036854775807-1);"));
        QVERIFY(r.failed());
        QCOMPARE(r.rowCount(), 0);
        QCOMPARE(messages.shown.size(), 1);
    }

    void onlyOneStatementPerText() {
        openSchemaFile();
        QVERIFY(!db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann'); INSERT INTO "
                                            "musteriler (musteriadi) VALUES ('Bob');")));
        QCOMPARE(single(QStringLiteral("SELECT count(*) FROM musteriler;")), QStringLiteral("0"));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');  ;\n")));
    }

    void statementsFailWhenNotOpen() {
        QVERIFY(!db->isOpen());
        QVERIFY(db->query(QStringLiteral("SELECT 1;")).failed());
        QVERIFY(!db->command(QStringLiteral("DELETE FROM urunler;")));
        Transaction t(*db);
        QVERIFY(!t.isActive());
        QVERIFY(!t.commit());
        const QString expected = QStringLiteral("Exception raised with message: the data file is not open");
        QCOMPARE(messages.texts(), (QStringList{expected, expected, expected}));
    }

    void openNeverCreates() {
        QVERIFY(!db->open(path));
        QVERIFY(!db->isOpen());
        QCOMPARE(db->lastError(), QStringLiteral("unable to open database file"));
        QVERIFY(!QFile::exists(path));
        QVERIFY(messages.shown.isEmpty()); // the caller decides how to report it
        QVERIFY(!db->open(QString()));     // no temporary database for an empty name
    }

    void dataFileBesideProgram() {
        QCOMPARE(dataFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/data.db"));
    }

    void openRefusesFileThatIsNoDatabase() {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        QVERIFY(!db->open(path));
        QCOMPARE(db->lastError(), QStringLiteral("file is not a database"));
    }

    void observerSeesEveryStatement() {
        openSchemaFile();
        StatementLog log;
        log.attach(*db);
        db->query(QStringLiteral("SELECT * FROM urunler;"));
        db->command(QStringLiteral("DELETE FROM nothere;"));
        QCOMPARE(log.entries.size(), 2);
        QCOMPARE(log.entries[0].kind, Database::StatementKind::Query);
        QVERIFY(log.entries[0].succeeded);
        QCOMPARE(log.commands(), QStringList{"DELETE FROM nothere;"});
        QVERIFY(!log.entries[1].succeeded);
    }

    void transactionCommits() {
        openSchemaFile();
        {
            Transaction t(*db);
            QVERIFY(t.isActive());
            QVERIFY(db->inTransaction());
            QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');")));
            QVERIFY(!t.hadFailures());
            QVERIFY(t.commit());
            QVERIFY(!t.isActive());
        }
        QVERIFY(!db->inTransaction());
        QCOMPARE(single(QStringLiteral("SELECT count(*) FROM musteriler;")), QStringLiteral("1"));
        QVERIFY(messages.shown.isEmpty());
    }

    void transactionRollsBackWhenNotCommitted() {
        openSchemaFile();
        try {
            Transaction t(*db);
            QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');")));
            QVERIFY(!db->command(QStringLiteral("INSERT INTO nothere VALUES ('1');")));
            QVERIFY(t.hadFailures());
            throw AppError(QStringLiteral("abandoned"));
        } catch (const AppError&) {
        }
        QVERIFY(!db->inTransaction());
        QCOMPARE(single(QStringLiteral("SELECT count(*) FROM musteriler;")), QStringLiteral("0"));
        QCOMPARE(messages.shown.size(), 1); // the failed insert only; the rollback itself succeeded
    }

    void commitFailureIsVisible() {
        openSchemaFile();
        QVERIFY(db->command(QStringLiteral("PRAGMA foreign_keys=ON;")));
        QVERIFY(db->command(QStringLiteral("CREATE TABLE child (p INTEGER REFERENCES musteriler(id) "
                                           "DEFERRABLE INITIALLY DEFERRED);")));
        {
            Transaction t(*db);
            QVERIFY(db->command(QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Ann');")));
            QVERIFY(db->command(QStringLiteral("INSERT INTO child VALUES ('999');")));
            QVERIFY(!t.commit());
            QVERIFY(!db->inTransaction());
        }
        QCOMPARE(single(QStringLiteral("SELECT count(*) FROM musteriler;")), QStringLiteral("0"));
        QCOMPARE(messages.texts(),
                 QStringList{"Exception raised with message: FOREIGN KEY constraint failed"});
    }

    void nestedTransactionRefused() {
        openSchemaFile();
        Transaction outer(*db);
        {
            Transaction inner(*db);
            QVERIFY(!inner.isActive());
        }
        QVERIFY(db->inTransaction()); // the inner guard did not end the outer transaction
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(outer.commit());
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
