// Statements over many rows: the text form of streamed fields matches the copied result's,
// stopping early, failures reported like every statement, an error raised while a row is
// handled leaves the connection usable; the prepared command runs again after a failure.
#include "common/errors.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "store/statement.h"
#include "tests/support/datafile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tillora;
using namespace tillora::test;

class TestStatement : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<Database> db;

private Q_SLOTS:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        const QString path = dir->filePath(QStringLiteral("t.db"));
        QVERIFY(execOn(path, QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, v);")));
        messages = std::make_unique<ScriptedMessages>();
        db = std::make_unique<Database>(*messages);
        QVERIFY(db->open(path));
    }
    void cleanup() {
        db.reset();
        dir.reset();
    }

    // Every kind of value reads the same streamed as copied.
    void textFormMatchesQueryResult() {
        const QStringList values{"NULL",
                                 "0",
                                 "-42",
                                 "9223372036854775807",
                                 "2.5",
                                 "3.0",
                                 "0.1 + 0.2",
                                 "1e20",
                                 "1e-5",
                                 "-0.0",
                                 "123456789.125",
                                 "1.0/3",
                                 "'text'",
                                 "'Çay €'",
                                 "''",
                                 "x'00ff'",
                                 "1e300*1e300",
                                 "-1e300*1e300",
                                 "1e15",
                                 "1e16",
                                 "123456789012345.6",
                                 "0.0001",
                                 "-2.5",
                                 "4.9e-324",
                                 "1.7976931348623157e308",
                                 "100.0",
                                 "0.5e-7",
                                 "12345678901234567890.0"};
        for (const QString& v : values)
            QVERIFY(db->command(QStringLiteral("INSERT INTO t (v) VALUES (") + v + QStringLiteral(");")));
        const QueryResult copied = db->query(QStringLiteral("SELECT v FROM t ORDER BY id;"));
        QStringList streamed;
        QVERIFY(forEachRow(*db, QStringLiteral("SELECT v FROM t ORDER BY id;"), [&](const RowView& row) {
            std::string bytes;
            row.appendUtf8(row.columnIndex("V"), bytes);
            streamed << QString::fromStdString(bytes);
            return true;
        }));
        QCOMPARE(streamed.size(), values.size());
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(streamed[i], copied.text(i, 0));
    }

    void stopsEarlyAndReportsFailures() {
        for (int i = 0; i < 5; ++i)
            QVERIFY(db->command(QStringLiteral("INSERT INTO t (v) VALUES (%1);").arg(i)));
        int seen = 0;
        QVERIFY(
            forEachRow(*db, QStringLiteral("SELECT * FROM t;"), [&](const RowView&) { return ++seen < 2; }));
        QCOMPARE(seen, 2);

        QVERIFY(
            !forEachRow(*db, QStringLiteral("SELECT * FROM missing;"), [](const RowView&) { return true; }));
        QCOMPARE(messages->texts(), QStringList{"Exception raised with message: no such table: missing"});
    }

    // An error raised while a row is handled finishes the statement: the table can be dropped.
    void errorInsideARowFinishesTheStatement() {
        QVERIFY(db->command(QStringLiteral("INSERT INTO t (v) VALUES (1), (2);")));
        QVERIFY_THROWS_EXCEPTION(AppError,
                                 forEachRow(*db, QStringLiteral("SELECT * FROM t;"),
                                            [](const RowView&) -> bool { throw AppError("stop"); }));
        QVERIFY(db->command(QStringLiteral("DROP TABLE t;")));
        QVERIFY(messages->shown.isEmpty());
    }

    void preparedCommandGoesOnAfterAFailure() {
        QVERIFY(db->command(QStringLiteral("CREATE TRIGGER no_bad BEFORE INSERT ON t WHEN NEW.v='bad' BEGIN "
                                           "SELECT RAISE(ABORT, 'refused'); END;")));
        PreparedCommand insert(*db, QStringLiteral("INSERT INTO t (v) VALUES (?);"));
        QVERIFY(insert.isValid());
        QVERIFY(insert.run({"one"}));
        QVERIFY(!insert.run({"bad"}));
        QVERIFY(insert.run({"two"}));
        QCOMPARE(messages->texts(), QStringList{"Exception raised with message: refused"});
        QCOMPARE(rowsOf(db->path(), QStringLiteral("SELECT v FROM t ORDER BY id")),
                 (QStringList{"one", "two"}));

        PreparedCommand broken(*db, QStringLiteral("INSERT INTO nowhere VALUES (?);"));
        QVERIFY(!broken.isValid());
        QVERIFY(!broken.run({"x"}));
        QCOMPARE(messages->texts().last(),
                 QStringLiteral("Exception raised with message: no such table: nowhere"));
    }
};

QTEST_GUILESS_MAIN(TestStatement)
#include "test_statement.moc"
