// The products import: the field rule and the line checks, encodings and line ends, the count
// and the lines not imported, failing inserts, the values the bound statement stores, cancel.
#include "exchange/csvimport.h"
#include "exchange/exchange.h"
#include "store/sql.h"
#include "tests/exchange/exchangefixture.h"

#include <QFile>
#include <QStringEncoder>
#include <QtTest>

using namespace tillora;
using namespace tillora::test;

namespace {

const QString productRows = QStringLiteral("SELECT barkod, urunadi, fiyat, stok FROM urunler ORDER BY id");

QString oneSkipped(int line) {
    return QStringLiteral("Imported: 0 entries\nNot imported: 1 lines (line %1)").arg(line);
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ContextFixture> f;

    ImportOutcome import(const QByteArray& bytes, const QString& separator = QStringLiteral(";")) {
        return importProductsCsv(f->db, bytes, separator, Translate(), &f->fake.progress);
    }

private Q_SLOTS:
    void init() {
        f = semicolonContext();
        QVERIFY(f);
    }
    void cleanup() { f.reset(); }

    void splitRule_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("four fields") << "123;Tea;2.50;10" << QStringList{"123", "Tea", "2.50", "10"};
        QTest::newRow("three fields: the rest is the stock")
            << "123;Tea;2.50" << QStringList{"123", "Tea", "", "2.50"};
        QTest::newRow("two fields") << "123;Tea" << QStringList{"123", "", "", "Tea"};
        QTest::newRow("no separator") << "123Tea" << QStringList{"", "", "", "123Tea"};
        QTest::newRow("after a fourth separator ignored")
            << "1;A;2;3;2024-01-01;x" << QStringList{"1", "A", "2", "3"};
        QTest::newRow("empty fields") << ";;;" << QStringList{"", "", "", ""};
        QTest::newRow("blanks kept") << " 1 ; A ; 2 ; 3 " << QStringList{" 1 ", " A ", " 2 ", " 3 "};
    }
    void splitRule() {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const QByteArray bytes = line.toUtf8();
        const ImportFields got = splitImportLine(bytes, ";");
        QCOMPARE((QStringList{QString::fromUtf8(got.barcode), QString::fromUtf8(got.name),
                              QString::fromUtf8(got.price), QString::fromUtf8(got.stock)}),
                 fields);
    }

    // One line in a file of its own: the row it adds (none when skipped) and the summary.
    void lines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("row");
        const QString semi = QStringLiteral(";");
        QTest::newRow("123;Tea;2.50;10") << "123;Tea;2.50;10" << semi << "123|Tea|2.5|10";
        QTest::newRow("empty price and stock are 0") << "123;Tea;;" << semi << "123|Tea|0.0|0";
        QTest::newRow("blank price and stock are 0") << "123;Tea; \t; " << semi << "123|Tea|0.0|0";
        QTest::newRow("three fields: stock 2.50 is no whole number") << "123;Tea;2.50" << semi << "";
        QTest::newRow("no separator") << "123Tea2.5010" << semi << "";
        QTest::newRow("empty name") << "123;;2.50;10" << semi << "";
        QTest::newRow("blank name") << "123; ;2.50;10" << semi << "";
        QTest::newRow("blank barcode") << "  ;Tea;2.50;10" << semi << "";
        QTest::newRow("comma line in a semicolon locale") << "123,Tea,2.50,10" << semi << "";
        QTest::newRow("comma line in a comma locale") << "123,Tea,2.50,10"
                                                      << ","
                                                      << "123|Tea|2.5|10";
        QTest::newRow("a separator beyond ASCII") << "123،Tea،2.50،10"
                                                  << "،"
                                                  << "123|Tea|2.5|10";
        QTest::newRow("decimal comma in the price") << "123;Tea;2,75;4" << semi << "123|Tea|2.75|4";
        QTest::newRow("single quotes stored as typed")
            << "O'Neil;Tea 'Earl' Grey;1.5;2" << semi << "O'Neil|Tea 'Earl' Grey|1.5|2";
        QTest::newRow("double quotes are no quoting") << "\"123\";\"Tea; hot\";2.50;10" << semi << "";
        QTest::newRow("double quotes kept") << "\"123\";\"Tea\";2.50;10" << semi << "\"123\"|\"Tea\"|2.5|10";
        QTest::newRow("export line: date ignored, zeros kept")
            << "0042;Gum;0.25;7;2021-01-01 10:00:00" << semi << "0042|Gum|0.25|7";
        QTest::newRow("header line of the products export")
            << "Barcode;Product;Price;Stock;Date" << semi << "";
        QTest::newRow("price no number") << "123;Tea;abc;1" << semi << "";
        QTest::newRow("price not finite") << "123;Tea;1e400;1" << semi << "";
        QTest::newRow("stock with decimals") << "123;Tea;1;1.5" << semi << "";
        QTest::newRow("stock beyond 32 bits") << "123;Tea;1;2147483648" << semi << "";
        QTest::newRow("barcode and name keep their blanks")
            << " 123 ; Tea ; 2.50 ; 10 " << semi << " 123 | Tea |2.5|10";
        QTest::newRow("signs, exponent, leading zeros") << "1;A;1e3;+5" << semi << "1|A|1000.0|5";
        QTest::newRow("negative") << "1;A;-1.5;-3" << semi << "1|A|-1.5|-3";
        QTest::newRow("point at either end") << "1;A;.5;007" << semi << "1|A|0.5|7";
        QTest::newRow("letters beyond Latin-1")
            << "ÇAY-1;Çay İçecek €;3;1" << semi << "ÇAY-1|Çay İçecek €|3.0|1";
    }
    void lines() {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        QFETCH(QString, row);
        const ImportOutcome outcome = import((line + QStringLiteral("\r\n")).toUtf8(), separator);
        QVERIFY(outcome.committed);
        QCOMPARE(rowsOf(f->path, productRows), row.isEmpty() ? QStringList() : QStringList{row});
        QCOMPARE(importSummary(outcome, Translate()),
                 row.isEmpty() ? oneSkipped(1) : QStringLiteral("Imported: 1 entries"));
        QVERIFY(f->fake.messages.shown.isEmpty());
    }

    // Every accepted price and stock is stored as a number, so a scan can sell the product.
    void numbersStoredAsNumbers() {
        QVERIFY(import("1;A;2.50;10\n2;B; 3 ; 4 \n3;C;2,5;-0\n4;D;;\n5;E;5.;+7\n").committed);
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT DISTINCT typeof(fiyat), typeof(stok) FROM urunler")),
                 QStringList{"real|integer"});
    }

    // The bound statement stores exactly what the same texts written as quoted literals store.
    void boundValuesMatchQuotedTexts() {
        const QList<QStringList> awkward{
            {"0042", "O'Brien, \"the\" tea", "2.50", "10"},
            {"  7 ", "  padded  ", "0", "0"},
            {"x", "Ünïcödé € ✓", "1e3", "+5"},
            {"y", "tab\tinside", "-0", "-0"},
            {"z", "back\\slash %_", ".5", "007"},
            {"big", "n", "123456789012.345", "2147483647"},
            {"small", "n", "0.000001", "-2147483648"},
            {"'')--", "'", "5.", "1"},
            {"e", "n", "1E-2", "00"},
        };
        // Enough copies that most go in by the batches of many rows, the rest one by one.
        QList<QStringList> rows;
        for (int copy = 0; copy < 12; ++copy)
            rows += awkward;
        QByteArray file;
        for (const QStringList& r : rows)
            file += r.join(QLatin1Char(';')).toUtf8() + "\r\n";
        const ImportOutcome outcome = import(file);
        QCOMPARE(outcome.inserted, qint64(rows.size()));

        const QString quotedPath = f->file(QStringLiteral("quoted.db"));
        QVERIFY(makeDataFile(quotedPath));
        ScriptedMessages messages;
        Database quoted(messages);
        QVERIFY(quoted.open(quotedPath));
        for (const QStringList& r : rows)
            QVERIFY(
                quoted.command(QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok) values (") +
                               quote(r[0]) + QLatin1Char(',') + quote(r[1]) + QLatin1Char(',') + quote(r[2]) +
                               QLatin1Char(',') + quote(r[3]) + QStringLiteral(");")));
        const QString typed = QStringLiteral("SELECT barkod, hex(urunadi), quote(fiyat), typeof(fiyat), "
                                             "quote(stok), typeof(stok) FROM urunler "
                                             "ORDER BY id");
        QCOMPARE(rowsOf(f->path, typed), rowsOf(quotedPath, typed));
        QCOMPARE(rowsOf(f->path, typed).size(), rows.size());
    }

    void encodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        const QString text = QStringLiteral("1;Café € ş;1;1\r\n");
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << "Café € ş";
        QTest::newRow("UTF-8 without mark") << text.toUtf8() << "Café € ş";
        auto le = QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("UTF-16 LE with mark") << QByteArray(le(text)) << "Café € ş";
        auto be = QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("UTF-16 BE with mark") << QByteArray(be(text)) << "Café € ş";
        QTest::newRow("Windows-1252 without mark") << QByteArray("1;Caf\xE9 \x80 \x9E;1;1\r\n") << "Café € ž";
    }
    void encodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QCOMPARE(import(bytes).inserted, qint64(1));
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT urunadi FROM urunler")), QStringList{name});
    }

    // CR LF, LF and CR end lines; the break at the end makes no extra line; blank lines are
    // passed over without counting; line numbers count every line of the file.
    void lineEndsAndNumbers() {
        const ImportOutcome outcome = import(
            "Barcode;Product;Price;Stock;Date\r\n1;A;1;1\n2;B;2;2\r3;C;3;3\r\n\r\n  \nbad\n4;D;4;4\r\n");
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT barkod FROM urunler ORDER BY id")),
                 (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(importSummary(outcome, Translate()),
                 QStringLiteral("Imported: 4 entries\nNot imported: 2 lines (line 1, 7)"));
        QCOMPARE(importSummary(outcome, marked),
                 QStringLiteral("~Imported: 4 ~entries\n~Not imported: 2 ~lines (~line 1, 7)"));
    }

    void manyMissedLinesShowTheFirst() {
        QByteArray file;
        for (int i = 1; i <= 30; ++i)
            file += i % 2 ? QByteArray("bad\n") : QByteArray::number(i) + ";N;1;1\n";
        const ImportOutcome outcome = import(file);
        QCOMPARE(importSummary(outcome, Translate()),
                 QStringLiteral(
                     "Imported: 15 entries\nNot imported: 15 lines (line 1, 3, 5, 7, 9, 11, 13, 15, 17, "
                     "19, ...)"));
    }

    // A refused insert is reported at once; the other lines still go in and are committed; the
    // refused line is not counted as imported.
    void failingInsertReportedAndNotCounted() {
        QVERIFY(
            execOn(f->path, QStringLiteral("CREATE TRIGGER no_bad BEFORE INSERT ON urunler WHEN "
                                           "NEW.barkod='BAD' BEGIN SELECT RAISE(ABORT, 'refused'); END;")));
        const ImportOutcome outcome = import("1;A;1;1\nBAD;B;2;2\n3;C;3;3\n");
        QVERIFY(outcome.committed);
        QCOMPARE(f->fake.messages.texts(), QStringList{"Exception raised with message: refused"});
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT barkod FROM urunler ORDER BY id")),
                 (QStringList{"1", "3"}));
        QCOMPARE(importSummary(outcome, Translate()),
                 QStringLiteral("Imported: 2 entries\nNot imported: 1 lines (line 2)"));
    }

    // A row refused inside a batch of many: only that row is missing and reported, the rows
    // around it go in, in the file's order; its line number takes its place among the others.
    void refusedRowInsideABatch() {
        QVERIFY(
            execOn(f->path, QStringLiteral("CREATE TRIGGER no_bad BEFORE INSERT ON urunler WHEN "
                                           "NEW.urunadi='BAD' BEGIN SELECT RAISE(ABORT, 'refused'); END;")));
        QByteArray file;
        QStringList expected;
        for (int line = 1; line <= 130; ++line) {
            if (line == 75) {
                file += "75;BAD;1;1\n";
            } else if (line == 20 || line == 120) {
                file += "no product\n";
            } else {
                file += QByteArray::number(line) + ";P;1;1\n";
                expected << QString::number(line);
            }
        }
        const ImportOutcome outcome = import(file);
        QCOMPARE(f->fake.messages.texts(), QStringList{"Exception raised with message: refused"});
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT barkod FROM urunler ORDER BY id")), expected);
        QCOMPARE(importSummary(outcome, Translate()),
                 QStringLiteral("Imported: 127 entries\nNot imported: 3 lines (line 20, 75, 120)"));
    }

    // A long import shows the progress window; Cancel there leaves the table as it was.
    void cancelCommitsNothing() {
        QVERIFY(
            execOn(f->path, QStringLiteral("INSERT INTO urunler (barkod, urunadi) VALUES ('old', 'Old');")));
        QByteArray file;
        for (int i = 0; i < 6000; ++i)
            file += QByteArray::number(i) + ";Product " + QByteArray::number(i) + ";1.25;3\r\n";
        f->fake.progress.cancelAt = 3000;
        const ImportOutcome outcome = import(file);
        QVERIFY(outcome.cancelled);
        QVERIFY(!outcome.committed);
        QCOMPARE(rowsOf(f->path, QStringLiteral("SELECT barkod FROM urunler")), QStringList{"old"});
        QCOMPARE(f->fake.progress.started.size(), 1);
        QCOMPARE(f->fake.progress.started[0].caption, QStringLiteral("Import"));
        QCOMPARE(f->fake.progress.started[0].total, qint64(6000));
        QCOMPARE(f->fake.progress.finished, 1);
        QVERIFY(!f->db.inTransaction());

        f->fake.progress.cancelAt = -1;
        QCOMPARE(import(file).inserted, qint64(6000));
        QCOMPARE(f->fake.progress.finished, 2);
    }

    void shortImportShowsNoProgress() {
        QCOMPARE(import("1;A;1;1\n").inserted, qint64(1));
        QVERIFY(f->fake.progress.started.isEmpty());
    }

    // The menu command: the open dialog, then the box "Import".
    void command() {
        const QString csv = f->file(QStringLiteral("in.csv"));
        QVERIFY(writeAll(csv, "1;A;1;1\nx\n"));
        f->fake.files.answers << QString() << csv;
        importProducts(f->context); // cancelled: nothing
        QVERIFY(f->fake.messages.shown.isEmpty());
        importProducts(f->context);
        QCOMPARE(f->fake.files.requests.size(), 2);
        QCOMPARE(f->fake.files.requests[1].kind, QStringLiteral("open"));
        QCOMPARE(f->fake.files.requests[1].filter, QStringLiteral("CSV File (*.csv)"));
        QCOMPARE(f->fake.files.requests[1].defaultExt, QStringLiteral("csv"));
        QCOMPARE(f->fake.messages.shown.size(), 1);
        const ShownMessage& box = f->fake.messages.shown[0];
        QCOMPARE(box.caption, QStringLiteral("Import"));
        QCOMPARE(box.icon, MsgIcon::Information);
        QCOMPARE(box.text, QStringLiteral("Imported: 1 entries\nNot imported: 1 lines (line 2)"));
    }

    void unreadableFileIsSaid() {
        f->fake.files.answers << f->file(QStringLiteral("missing.csv"));
        QVERIFY_THROWS_EXCEPTION(AppError, importProducts(f->context));
        QCOMPARE(rowsOf(f->path, productRows), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
