#include "tests/support/datafile.h"

#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "store/startup.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sqlite3.h>

using namespace tillora;
using namespace tillora::test;

namespace {

// Tables as files of an earlier version had them: no urunler.stok, no veresiyeler.odemetarihi.
const QString oldTables = QStringLiteral(
    "CREATE TABLE urunler (id INTEGER PRIMARY KEY AUTOINCREMENT, barkod TEXT, urunadi TEXT, fiyat REAL, "
    "kayittarihi TEXT DEFAULT (datetime('now','localtime')));"
    "CREATE TABLE musteriler (id INTEGER PRIMARY KEY AUTOINCREMENT, musteriadi TEXT, "
    "kayittarihi TEXT DEFAULT (datetime('now','localtime')));"
    "CREATE TABLE odemeler (id INTEGER PRIMARY KEY AUTOINCREMENT, barkod TEXT, urunadi TEXT, adet INTEGER, "
    "fiyat REAL, odemetarihi TEXT DEFAULT (datetime('now','localtime')));"
    "CREATE TABLE veresiyeler (id INTEGER PRIMARY KEY AUTOINCREMENT, musteriid INTEGER, musteriadi TEXT, "
    "barkod TEXT, urunadi TEXT, adet INTEGER, fiyat REAL, kayittarihi TEXT DEFAULT "
    "(datetime('now','localtime')), odendimi INTEGER DEFAULT 0);");

QString bracketed(const QString& text) {
    return QLatin1Char('[') + text + QLatin1Char(']');
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    ScriptedMessages messages;
    QString path;

    // One start of the program on the file at path: a new connection, as in a new run.
    StartupLists start(StatementLog* log = nullptr) {
        Database db(messages);
        if (log)
            log->attach(db);
        return runStartupWork(db, path, bracketed);
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        path = dir->filePath(QStringLiteral("data.db"));
        messages.clear();
    }

    void cleanup() { dir.reset(); }

    // Also the empty customer and product tables: each list holds only its first entry.
    void currentFileNeedsNothing() {
        QVERIFY(makeDataFile(path));
        StatementLog log;
        const StartupLists lists = start(&log);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(log.commands().isEmpty());
        QCOMPARE(lists.customers, QStringList{"[All Customers]"});
        QCOMPARE(lists.products, QStringList{"[All Products]"});
    }

    void missingDataFile() {
        const StartupLists lists = start();
        const QString prefix = QStringLiteral("Exception raised with message: ");
        QCOMPARE(messages.texts(),
                 (QStringList{prefix + "unable to open database file", prefix + "the data file is not open",
                              prefix + "the data file is not open"}));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(lists.customers, QStringList{"[All Customers]"});
        QCOMPARE(lists.products, QStringList{"[All Products]"});
    }

    // A data file that cannot be opened at start (locked by another program beyond the wait,
    // or not there yet) is opened by the next action that needs it: the rest of the start-up
    // work (upgrade, filter lists) runs then, once, before that action's statement.
    void fileOpenedByTheNextAction_data() {
        QTest::addColumn<bool>("locked"); // else missing at start
        QTest::newRow("missing at start") << false;
        QTest::newRow("locked at start") << true;
    }

    void fileOpenedByTheNextAction() {
        QFETCH(bool, locked);
        const QString products =
            QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('1', 'TEA', 3);");
        const QString prefix = QStringLiteral("Exception raised with message: ");
        sqlite3* holder = nullptr;
        if (locked) {
            QVERIFY(execOn(path, oldTables + products));
            QCOMPARE(sqlite3_open(path.toUtf8().constData(), &holder), SQLITE_OK);
            QCOMPARE(sqlite3_exec(holder, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        Database db(messages);
        StatementLog log;
        log.attach(db);
        QList<StartupLists> later;
        const StartupLists lists =
            runStartupWork(db, path, bracketed, [&](const StartupLists& made) { later.append(made); });
        QCOMPARE(messages.texts().value(0),
                 prefix + (locked ? "database is locked" : "unable to open database file"));
        QCOMPARE(lists.products, QStringList{"[All Products]"});
        QVERIFY(!db.isOpen() && db.opensLater());

        if (locked) {
            sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr);
            sqlite3_close(holder);
        } else {
            QVERIFY(execOn(path, oldTables + products));
        }
        messages.clear();
        log.entries.clear();
        const QueryResult rows = db.query(QStringLiteral("SELECT * FROM urunler where barkod='1';"));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(rows.rowCount(), 1);
        QCOMPARE(rows.text(0, "stok"), QStringLiteral("0")); // the upgrade ran first
        QCOMPARE(later.size(), 1);
        QCOMPARE(later[0].products, (QStringList{"[All Products]", "TEA"}));
        QCOMPARE(log.commands(), (QStringList{"ALTER TABLE urunler ADD COLUMN stok INTEGER DEFAULT 0;",
                                              "ALTER TABLE veresiyeler ADD COLUMN odemetarihi DATETIME;",
                                              "CREATE INDEX odemeler_barkod_toplam ON odemeler(barkod, "
                                              "odemetarihi, adet, fiyat, urunadi);"}));
        QVERIFY(!db.opensLater());
        db.query(QStringLiteral("SELECT * FROM urunler;"));
        QCOMPARE(later.size(), 1); // once only
    }

    // While the file still cannot be opened each action fails with the reason, and the
    // program keeps trying at the next one.
    void fileStillMissingFailsEachAction() {
        Database db(messages);
        runStartupWork(db, path, bracketed);
        messages.clear();
        QVERIFY(!db.command(QStringLiteral("DELETE FROM urunler;")));
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("Exception raised with message: unable to open database file")});
        QVERIFY(db.opensLater());
        QVERIFY(!QFile::exists(path));
        QVERIFY(makeDataFile(path));
        QVERIFY(db.command(QStringLiteral("DELETE FROM urunler;")));
        QVERIFY(db.isOpen());
    }

    void stockColumnAddedOnce() {
        QVERIFY(execOn(path, oldTables +
                                 "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('1', 'Tea', 2);"
                                 "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('2', 'Jam', 3);"));
        StatementLog first;
        start(&first);
        QCOMPARE(first.commands(), (QStringList{"ALTER TABLE urunler ADD COLUMN stok INTEGER DEFAULT 0;",
                                                "ALTER TABLE veresiyeler ADD COLUMN odemetarihi DATETIME;",
                                                "CREATE INDEX odemeler_barkod_toplam ON odemeler(barkod, "
                                                "odemetarihi, adet, fiyat, urunadi);"}));
        QVERIFY(messages.shown.isEmpty());

        StatementLog second;
        const StartupLists lists = start(&second);
        QVERIFY(second.commands().isEmpty());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(lists.products, (QStringList{"[All Products]", "Jam", "Tea"}));

        Database db(messages);
        QVERIFY(db.open(path));
        const QueryResult r = db.query(QStringLiteral("SELECT stok, typeof(stok) AS kind FROM urunler;"));
        QCOMPARE(r.rowCount(), 2);
        for (int row = 0; row < r.rowCount(); ++row) {
            QCOMPARE(r.text(row, "stok"), QStringLiteral("0"));
            QCOMPARE(r.text(row, "kind"), QStringLiteral("integer"));
        }
    }

    void stockInCapitalsIsSeen() {
        QString tables = oldTables;
        tables.replace(QStringLiteral("fiyat REAL, kayittarihi"),
                       QStringLiteral("fiyat REAL, STOK INTEGER, kayittarihi"));
        // The ranking index in capitals is seen too.
        QVERIFY(execOn(path, tables + "ALTER TABLE veresiyeler ADD COLUMN odemetarihi DATETIME;"
                                      "CREATE INDEX ODEMELER_BARKOD_TOPLAM ON odemeler(barkod);"));
        StatementLog log;
        start(&log);
        QVERIFY(log.commands().isEmpty());
        QVERIFY(messages.shown.isEmpty());
    }

    void oldCreditsReadNoPaymentDate() {
        QVERIFY(execOn(path, oldTables +
                                 "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, "
                                 "fiyat) VALUES (1, 'Ann', '1', 'Tea', 1, 2);"));
        start();
        QVERIFY(messages.shown.isEmpty());
        Database db(messages);
        QVERIFY(db.open(path));
        const QueryResult r = db.query(QStringLiteral("SELECT * FROM veresiyeler;"));
        QCOMPARE(r.rowCount(), 1);
        QVERIFY(r.hasColumn("odemetarihi"));
        QCOMPARE(r.text(0, "odemetarihi"), QString());
        QCOMPARE(r.text(0, "odendimi"), QStringLiteral("0"));
    }

    void unreadableTableSkipsItsUpgrade_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error");
        // urunler is fine; veresiyeler cannot be examined.
        const QString products =
            QStringLiteral("CREATE TABLE urunler (id INTEGER PRIMARY KEY, stok INTEGER);"
                           "CREATE TABLE musteriler (id INTEGER PRIMARY KEY, musteriadi TEXT);");
        QTest::newRow("missing table") << products << QStringLiteral("no such table: veresiyeler");
        QTest::newRow("query fails") << products +
                                            "CREATE TABLE gone (a); CREATE VIEW veresiyeler AS SELECT * FROM "
                                            "gone; DROP TABLE gone;"
                                     << QStringLiteral("no such table: main.gone");
    }

    void unreadableTableSkipsItsUpgrade() {
        QFETCH(QString, setup);
        QFETCH(QString, error);
        QVERIFY(execOn(path, setup));
        StatementLog log;
        start(&log);
        QVERIFY(log.commands().isEmpty());
        QCOMPARE(messages.texts().value(0), QStringLiteral("Exception raised with message: ") + error);
        // The products filter query fails too: urunler has no urunadi here.
        QCOMPARE(messages.shown.size(), 2);
    }

    void customerFilterListsEveryName() {
        QVERIFY(makeDataFile(
            path, QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Cem');"
                                 "INSERT INTO musteriler (musteriadi) VALUES ('Ann');"
                                 "INSERT INTO musteriler (musteriadi) VALUES ('Cem');"
                                 "INSERT INTO urunler (barkod, urunadi) VALUES ('1', 'O''Tea');")));
        const StartupLists lists = start();
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(lists.customers, (QStringList{"[All Customers]", "Ann", "Cem", "Cem"}));
        QCOMPARE(lists.products, (QStringList{"[All Products]", "O'Tea"}));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
