// Backup and restore of the data file: whole copies while the program runs, the data file
// refused as target and source, files that are no backup refused untouched, the replaced file
// kept, the connection reopened, the restart question and its answers, failures said.
#include "app/backup.h"
#include "store/backupfile.h"
#include "tests/support/contextfixture.h"

#include <QFile>
#include <QtTest>

#include <sqlite3.h>

using namespace tillora;
using namespace tillora::test;

namespace {

const QString sales =
    QStringLiteral("SELECT id, barkod, urunadi, adet, fiyat, odemetarihi FROM odemeler ORDER BY id");

QString sale(const QString& name) {
    return QStringLiteral("INSERT INTO odemeler (barkod, urunadi, adet, fiyat) VALUES ('1', '%1', 1, 2.5);")
        .arg(name);
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ContextFixture> f;
    int startups = 0;
    int restarts = 0;

    RestoreHooks hooks() {
        return {[this]() {
                    ++startups;
                    QVERIFY(f->db.open(f->path));
                },
                [this]() { ++restarts; }};
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<ContextFixture>();
        QVERIFY(f->open());
        f->context.csvSeparator = QStringLiteral(";");
        QVERIFY(f->db.command(sale(QStringLiteral("MILK"))));
        startups = 0;
        restarts = 0;
    }
    void cleanup() { f.reset(); }

    // The copy is a whole database of the committed data, also while another connection holds
    // a write half done; a file of that name is replaced without a question.
    void backupWhileWriting() {
        const QString target = f->file(QStringLiteral("copy.db"));
        QVERIFY(writeAll(target, "an older file"));
        sqlite3* writer = nullptr;
        QCOMPARE(sqlite3_open(f->path.toUtf8().constData(), &writer), SQLITE_OK);
        QCOMPARE(sqlite3_exec(writer, "BEGIN IMMEDIATE; INSERT INTO odemeler (urunadi) VALUES ('half');",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);

        f->fake.files.answers << target;
        backupDataFile(f->context);
        sqlite3_exec(writer, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(writer);

        QVERIFY(f->fake.messages.shown.isEmpty());
        QCOMPARE(f->fake.files.requests[0].kind, QStringLiteral("save"));
        QCOMPARE(f->fake.files.requests[0].filter, QStringLiteral("DB (*.db)"));
        QCOMPARE(f->fake.files.requests[0].defaultExt, QStringLiteral("db"));
        QCOMPARE(rowsOf(target, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
        QCOMPARE(rowsOf(target, sales), rowsOf(f->path, sales));
        QCOMPARE(rowsOf(target, QStringLiteral("SELECT urunadi FROM odemeler")), QStringList{"MILK"});
        const QStringList left = QDir(f->dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, (QStringList{"copy.db", "data.db"}));
        QVERIFY(f->db.command(sale(QStringLiteral("after"))));
    }

    void backupCancelledWritesNothing() {
        backupDataFile(f->context);
        QCOMPARE(QDir(f->dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.db"});
        QVERIFY(f->fake.messages.shown.isEmpty());
    }

    // The data file as target, by its name or through a link: refused, the file untouched.
    void backupOntoTheDataFileRefused_data() {
        QTest::addColumn<bool>("link");
        QTest::newRow("by name") << false;
        QTest::newRow("through a link") << true;
    }
    void backupOntoTheDataFileRefused() {
        QFETCH(bool, link);
        QString target = f->path;
        if (link) {
            target = f->file(QStringLiteral("link.db"));
            QVERIFY(QFile::link(f->path, target));
        }
        const QByteArray before = readAll(f->path);
        f->fake.files.answers << target;
        backupDataFile(f->context);
        QCOMPARE(f->fake.messages.shown.size(), 1);
        QCOMPARE(f->fake.messages.shown[0].icon, MsgIcon::Warning);
        QCOMPARE(f->fake.messages.shown[0].text,
                 QStringLiteral("\"%1\" is the data file in use. Choose another file for the backup.")
                     .arg(target));
        QCOMPARE(readAll(f->path), before);
        QVERIFY(f->db.command(sale(QStringLiteral("still open"))));
    }

    void backupFailureNamesTheFile() {
        const QString target = f->file(QStringLiteral("no-such-folder/copy.db"));
        f->fake.files.answers << target;
        try {
            backupDataFile(f->context);
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(target)),
                     qPrintable(error.message()));
        }
        QVERIFY(!QFile::exists(target));
    }

    // Backup, a sale, restore: the data file holds the backup's sales again, the replaced file
    // is kept, the connection works on the restored file; then the question and its answer.
    void restore_data() {
        QTest::addColumn<MsgButton>("answer");
        QTest::addColumn<int>("restartsExpected");
        QTest::newRow("No: the program goes on") << MsgButton::No << 0;
        QTest::newRow("Yes: restart") << MsgButton::Yes << 1;
    }
    void restore() {
        QFETCH(MsgButton, answer);
        QFETCH(int, restartsExpected);
        const QString backup = f->file(QStringLiteral("backup.db"));
        f->fake.files.answers << backup;
        backupDataFile(f->context);
        const QStringList backedUp = rowsOf(backup, sales);
        QVERIFY(f->db.command(sale(QStringLiteral("AFTER BACKUP"))));
        const QByteArray replaced = readAll(f->path);

        f->fake.files.answers << backup;
        f->fake.messages.answers << answer;
        restoreFromBackup(f->context, hooks());
        QCOMPARE(f->fake.files.requests.last().kind, QStringLiteral("open"));
        QCOMPARE(f->fake.files.requests.last().filter, QStringLiteral("DB (*.db)"));
        QCOMPARE(f->fake.messages.shown.size(), 1);
        QCOMPARE(f->fake.messages.shown[0].caption, QStringLiteral("Confirm"));
        QCOMPARE(f->fake.messages.shown[0].text, QStringLiteral("Restart Application?"));
        QCOMPARE(restarts, restartsExpected);
        QCOMPARE(startups, 1);

        QCOMPARE(rowsOf(f->path, sales), backedUp);
        QCOMPARE(rowsOf(f->path, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
        QCOMPARE(readAll(f->path + QStringLiteral(".bak")), replaced);
        QCOMPARE(QDir(f->dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"backup.db", "data.db", "data.db.bak"}));
        // The connection works on the restored file.
        QVERIFY(f->db.command(sale(QStringLiteral("AGAIN"))));
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT urunadi FROM odemeler ORDER BY id")),
                 (QStringList{"MILK", "AGAIN"}));
        QCOMPARE(rowsOf(backup, sales), backedUp);
    }

    // A restore undone by restoring data.db.bak: the file before the first restore is back and
    // the restored one is kept in its turn.
    void restoreTheKeptFile() {
        const QString backup = f->file(QStringLiteral("backup.db"));
        f->fake.files.answers << backup;
        backupDataFile(f->context);
        QVERIFY(f->db.command(sale(QStringLiteral("AFTER BACKUP"))));
        const QStringList before = rowsOf(f->path, sales);
        f->fake.files.answers << backup << f->path + QStringLiteral(".bak");
        f->fake.messages.answers << MsgButton::No << MsgButton::No;
        restoreFromBackup(f->context, hooks());
        const QStringList restored = rowsOf(f->path, sales);
        restoreFromBackup(f->context, hooks());
        QCOMPARE(rowsOf(f->path, sales), before);
        QCOMPARE(rowsOf(f->path + QStringLiteral(".bak"), sales), restored);
        QCOMPARE(startups, 2);
    }

    // Without the main window's start-up hook the command opens the file itself.
    void restoreReopensWithoutHook() {
        const QString backup = f->file(QStringLiteral("backup.db"));
        f->fake.files.answers << backup << backup;
        backupDataFile(f->context);
        QVERIFY(f->db.command(sale(QStringLiteral("AFTER BACKUP"))));
        f->fake.messages.answers << MsgButton::No;
        restoreFromBackup(f->context, RestoreHooks());
        QVERIFY(f->db.isOpen());
        QCOMPARE(f->db.query(QStringLiteral("SELECT count(*) AS n FROM odemeler;")).integer(0, "n"),
                 qint64(1));
    }

    void restoreCancelledDoesNothing() {
        restoreFromBackup(f->context, hooks());
        QVERIFY(f->fake.messages.shown.isEmpty());
        QCOMPARE(startups, 0);
        QVERIFY(f->db.isOpen());
    }

    // Refused sources: nothing is touched, the connection stays open, no question.
    void restoreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("the data file itself")
            << "live"
            << "\"%1\" is the data file in use. Choose a backup to restore.";
        QTest::newRow("a text file") << "text"
                                     << "\"%1\" is not a backup of the data file. file is not a database.";
        QTest::newRow("an empty file")
            << "empty"
            << "\"%1\" is not a backup of the data file. The table urunler is missing.";
        QTest::newRow("a database without credits")
            << "tables"
            << "\"%1\" is not a backup of the data file. The table veresiyeler is missing.";
        QTest::newRow("a damaged database")
            << "damaged"
            << "\"%1\" is not a backup of the data file. The file is damaged: On tree page ";
        QTest::newRow("a missing file")
            << "missing"
            << "\"%1\" is not a backup of the data file. unable to open database file.";
    }
    void restoreRefused() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QString source = f->file(QStringLiteral("source.db"));
        if (kind == QLatin1String("live")) {
            source = f->path;
        } else if (kind == QLatin1String("text")) {
            QVERIFY(writeAll(source, QByteArray("Barcode;Product\r\n").repeated(200)));
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(writeAll(source, QByteArray()));
        } else if (kind == QLatin1String("tables")) {
            QVERIFY(makeDataFile(source, QStringLiteral("DROP TABLE veresiyeler;")));
        } else if (kind == QLatin1String("damaged")) {
            QVERIFY(makeDataFile(
                source, QStringLiteral("INSERT INTO odemeler (urunadi) SELECT hex(zeroblob(500)) || i "
                                       "FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                                       "i+1 FROM n WHERE i<200) SELECT i FROM n);")));
            QByteArray bytes = readAll(source);
            // Scribble over the pages after the schema: the file opens, its tables are broken.
            for (qsizetype i = 8192; i < bytes.size(); i += 7)
                bytes[i] = static_cast<char>(0xA5);
            QVERIFY(writeAll(source, bytes));
        }
        const QByteArray before = readAll(f->path);
        f->fake.files.answers << source;
        restoreFromBackup(f->context, hooks());
        QCOMPARE(f->fake.messages.shown.size(), 1);
        QCOMPARE(f->fake.messages.shown[0].icon, MsgIcon::Warning);
        QVERIFY2(f->fake.messages.shown[0].text.startsWith(text.arg(source)),
                 qPrintable(f->fake.messages.shown[0].text));
        QCOMPARE(readAll(f->path), before);
        QVERIFY(!QFile::exists(f->path + QStringLiteral(".bak")));
        QCOMPARE(startups, 0);
        QCOMPARE(restarts, 0);
        QVERIFY(f->db.command(sale(QStringLiteral("still open"))));
    }

    // The copy fails (here: the replaced file cannot be kept): the old file is opened again,
    // the failure said, no question asked.
    void restoreFailureReopensTheOldFile() {
        const QString backup = f->file(QStringLiteral("backup.db"));
        f->fake.files.answers << backup;
        backupDataFile(f->context);
        QVERIFY(f->db.command(sale(QStringLiteral("AFTER BACKUP"))));
        QVERIFY(QDir(f->dir.path()).mkdir(QStringLiteral("data.db.bak")));
        const QByteArray before = readAll(f->path);

        f->fake.files.answers << backup;
        try {
            restoreFromBackup(f->context, hooks());
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(
                         QStringLiteral("The backup \"%1\" could not be restored: ").arg(backup)),
                     qPrintable(error.message()));
            QVERIFY(error.message().endsWith(QStringLiteral(" The data file was not changed.")));
        }
        QVERIFY(f->fake.messages.shown.isEmpty());
        QCOMPARE(startups, 1);
        QCOMPARE(restarts, 0);
        QCOMPARE(readAll(f->path), before);
        QVERIFY(f->db.command(sale(QStringLiteral("still works"))));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "test_backup.moc"
