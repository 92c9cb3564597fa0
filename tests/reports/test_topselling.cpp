// The top selling products window: the ranking by units and by money over the half-open date
// range, the deferred reload, the export with its encodings, failures, and that a sale just
// made shows at the next opening. The ranking is read in the background: each check waits for
// the window to show what it asked for.
#include "reports/csvexport.h"
#include "reports/topselling.h"
#include "reports/topsellingform.h"
#include "store/sql.h"
#include "tests/support/contextfixture.h"

#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tillora;

namespace {

// One cash sale line: barcode, name, units, unit price, time stamp.
QString payment(const QString& barcode, const QString& name, int units, const QString& price,
                const QString& stamp) {
    return QStringLiteral(
               "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES (%1, %2, %3, "
               "%4, %5);")
        .arg(quote(barcode), quote(name))
        .arg(units)
        .arg(price, quote(stamp));
}

// The shop's history. Today is 2026-01-15 (the scripted clock), so the first range is
// 2000-01-01 .. 2026-01-16.
const QString history =
    payment("4001", "MILK", 3, "1.5", "2025-03-01 09:00:00") +
    payment("4001", "MILK", 4, "1.5", "2025-06-02 18:30:00") +    // 7 units, 10.50
    payment("5002", "COFFEE", 5, "12", "2026-01-15 08:00:00") +   // 5 units, 60.00
    payment("6003", "Éclair", 6, "0.25", "2000-01-01 00:00:00") + // 6 units, 1.50
    payment("7004", "OLD", 50, "1", "1999-12-31 23:59:59") +      // before the range
    payment("8005", "TOMORROW", 80, "1", "2026-01-16 00:00:00") + // on the end date
    QStringLiteral("INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, "
                   "fiyat) VALUES (1, 'Ann', '4001', 'MILK', 100, 1.5);"); // credit: not counted

QStringList rowTexts(QTableView* list) {
    QStringList rows;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class TestTopSelling : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::ContextFixture> fx;
    std::unique_ptr<TFormTopSelling> form;

    template <typename T> T* child(const char* name) const { return test::child<T>(form.get(), name); }
    QTableView* list() const { return child<QTableView>("ListView1"); }
    // Opens a new window and waits for its first list.
    bool open() {
        form = std::make_unique<TFormTopSelling>(fx->context);
        form->show();
        return settle();
    }
    // Waits until the window shows the list last asked for.
    bool settle() {
        return QTest::qWaitFor([this]() { return !form->loading(); }, 10000);
    }
    QStringList barcodes() const {
        QStringList codes;
        for (const QString& row : rowTexts(list()))
            codes << row.section(QLatin1Char('|'), 0, 0);
        return codes;
    }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<test::ContextFixture>();
        QVERIFY(fx->open(history));
    }

    void cleanup() {
        form.reset();
        fx.reset();
    }

    void opensRankedByUnitsOverTheWholeHistory() {
        fx->context.translate = test::marked;
        QVERIFY(open());
        QCOMPARE(form->windowTitle(), QStringLiteral("~Top Selling Products"));
        QVERIFY(child<QRadioButton>("RadioButton1")->isChecked());
        QCOMPARE(child<QRadioButton>("RadioButton1")->text(), QStringLiteral("~Unit"));
        QCOMPARE(child<QRadioButton>("RadioButton2")->text(), QStringLiteral("~Price"));
        QCOMPARE(child<QDateEdit>("DateTimePicker1")->date(), QDate(2000, 1, 1));
        QCOMPARE(child<QDateEdit>("DateTimePicker2")->date(), QDate(2026, 1, 16));
        QCOMPARE(child<QPushButton>("BitBtn1")->text(), QStringLiteral("~Export to File..."));
        QVERIFY(child<QStatusBar>("StatusBar1")->currentMessage().isEmpty());
        QStringList captions;
        for (int column = 0; column < 4; ++column)
            captions << list()->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(captions, (QStringList{"~Barcode", "~Product", "~Unit", "~Price"}));
        QCOMPARE(rowTexts(list()),
                 (QStringList{"4001|MILK|7|10.50", "6003|Éclair|6|1.50", "5002|COFFEE|5|60.00"}));
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    void priceRanksByMoneyAndBack() {
        QVERIFY(open());
        child<QRadioButton>("RadioButton2")->click();
        QVERIFY(settle());
        QCOMPARE(barcodes(), (QStringList{"5002", "4001", "6003"}));
        child<QRadioButton>("RadioButton1")->click();
        QVERIFY(settle());
        QCOMPARE(barcodes(), (QStringList{"4001", "6003", "5002"}));
        // A date change keeps the ranking chosen.
        child<QRadioButton>("RadioButton2")->click();
        QVERIFY(settle());
        child<QDateEdit>("DateTimePicker1")->setDate(QDate(2025, 1, 1));
        QVERIFY(settle());
        QCOMPARE(barcodes(), (QStringList{"5002", "4001"}));
    }

    void theEndDateIsNotCounted_data() {
        QTest::addColumn<QDate>("begin");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("same date") << QDate(2026, 1, 15) << QDate(2026, 1, 15) << QStringList();
        QTest::newRow("sale on the end date") << QDate(2026, 1, 1) << QDate(2026, 1, 15) << QStringList();
        QTest::newRow("end date one day later")
            << QDate(2026, 1, 1) << QDate(2026, 1, 16) << QStringList{"5002"};
        QTest::newRow("sale on the begin date")
            << QDate(2025, 6, 2) << QDate(2025, 6, 3) << QStringList{"4001"};
        QTest::newRow("a sale at midnight of the end date")
            << QDate(2026, 1, 15) << QDate(2026, 1, 17) << QStringList{"8005", "5002"};
        QTest::newRow("before 2000") << QDate(1999, 12, 31) << QDate(2000, 1, 2)
                                     << QStringList{"7004", "6003"};
    }

    void theEndDateIsNotCounted() {
        QFETCH(QDate, begin);
        QFETCH(QDate, end);
        QFETCH(QStringList, listed);
        QVERIFY(open());
        child<QDateEdit>("DateTimePicker1")->setDate(begin);
        child<QDateEdit>("DateTimePicker2")->setDate(end);
        QVERIFY(settle());
        QCOMPARE(barcodes(), listed);
    }

    // Several changes in a row cause one reload, after the last of them.
    void changesInARowReloadOnce() {
        QVERIFY(open());
        QSignalSpy loads(form.get(), &TFormTopSelling::loaded);
        child<QDateEdit>("DateTimePicker1")->setDate(QDate(2025, 1, 1));
        child<QDateEdit>("DateTimePicker2")->setDate(QDate(2025, 12, 31));
        child<QDateEdit>("DateTimePicker1")->setDate(QDate(2025, 6, 1));
        QVERIFY(settle());
        QCOMPARE(loads.size(), 1);
        QCOMPARE(rowTexts(list()), QStringList{"4001|MILK|4|6.00"});
        // A ranking overtaken by a later one is not shown: the list ends with the last asked for.
        child<QRadioButton>("RadioButton2")->click();
        child<QDateEdit>("DateTimePicker2")->setDate(QDate(2026, 2, 1));
        QVERIFY(settle());
        QCOMPARE(barcodes(), (QStringList{"8005", "5002", "4001"}));
    }

    void sumsAndNamesAsStored() {
        QVERIFY(
            fx->exec(payment("9006", "Tea", 2, "3", "2025-01-01 10:00:00") +
                     payment("9006", "Green tea", 1, "3", "2025-02-01 10:00:00") +
                     payment("", "BY HAND", 1, "2", "2025-01-01 10:00:00") +
                     payment("", "ALSO BY HAND", 2, "2", "2025-01-02 10:00:00") +
                     QStringLiteral("INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
                                    "('9999', 'NO PRICE', 1, NULL, '2025-01-01 10:00:00');")));
        QVERIFY(open());
        QStringList rows = rowTexts(list());
        // One row per barcode, under the name stored on one of its rows.
        const QStringList tea = rows.filter(QRegularExpression(QStringLiteral("^9006\\|")));
        QCOMPARE(tea.size(), 1);
        QVERIFY2(tea[0] == "9006|Tea|3|9.00" || tea[0] == "9006|Green tea|3|9.00", qPrintable(tea[0]));
        const QStringList byHand = rows.filter(QRegularExpression(QStringLiteral("^\\|")));
        QCOMPARE(byHand.size(), 1);
        QVERIFY2(byHand[0] == "|BY HAND|3|6.00" || byHand[0] == "|ALSO BY HAND|3|6.00",
                 qPrintable(byHand[0]));
        // A money sum that is no number shows 0; the row is still listed.
        QVERIFY(rows.contains(QStringLiteral("9999|NO PRICE|1|0")));
    }

    void exportWritesTheListInTheChosenEncoding_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("bom");
        QTest::addColumn<QString>("separator");
        QTest::newRow("ANSI") << int(TextEncoding::Ansi) << QByteArray() << ",";
        QTest::newRow("UTF-8") << int(TextEncoding::Utf8) << QByteArray("\xef\xbb\xbf") << ";";
        QTest::newRow("Unicode") << int(TextEncoding::Unicode) << QByteArray("\xff\xfe") << ",";
    }

    void exportWritesTheListInTheChosenEncoding() {
        QFETCH(int, encoding);
        QFETCH(QByteArray, bom);
        QFETCH(QString, separator);
        fx->context.csvSeparator = separator;
        fx->context.translate = test::marked;
        QVERIFY(open());
        const QString path = fx->dir.filePath(QStringLiteral("top"));
        fx->fake.files.answers << path;
        fx->fake.files.encodings << static_cast<TextEncoding>(encoding);
        child<QPushButton>("BitBtn1")->click();
        QCOMPARE(fx->fake.files.requests.size(), 1);
        QCOMPARE(fx->fake.files.requests[0].kind, QStringLiteral("saveEncoding"));
        QCOMPARE(fx->fake.files.requests[0].filter, QStringLiteral("CSV File (*.csv)"));
        QCOMPARE(fx->fake.files.requests[0].defaultExt, QStringLiteral("csv"));
        QFile file(path + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.left(bom.size()), bom);
        const QByteArray body = bytes.mid(bom.size());
        const QString text =
            encoding == int(TextEncoding::Unicode)
                ? QString::fromUtf16(reinterpret_cast<const char16_t*>(body.constData()), body.size() / 2)
                : QString::fromUtf8(body);
        const QString s = separator;
        // The header stays English; every line ends in CR LF, the last one too.
        QCOMPARE(text, "Barcode" + s + "Product" + s + "Unit" + s + "Price\r\n" + "4001" + s + "MILK" + s +
                           "7" + s + "10.50\r\n" + "6003" + s + "Éclair" + s + "6" + s + "1.50\r\n" + "5002" +
                           s + "COFFEE" + s + "5" + s + "60.00\r\n");
        if (encoding == int(TextEncoding::Ansi))
            QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    }

    void exportCancelledWritesNothing() {
        QVERIFY(open());
        child<QPushButton>("BitBtn1")->click();
        QCOMPARE(fx->fake.files.requests.size(), 1);
        QCOMPARE(QDir(fx->dir.path()).entryList({QStringLiteral("*.csv")}).size(), 0);
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    void exportReplacesAnExistingFileOrKeepsItOnFailure() {
        QVERIFY(open());
        const QString path = fx->dir.filePath(QStringLiteral("top.csv"));
        QVERIFY(fx->exec(QString())); // the data file is unchanged
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents that are longer than the new file will be, so a leftover would show\r\n"
                      "old contents that are longer than the new file will be, so a leftover would show\r\n"
                      "old contents that are longer than the new file will be, so a leftover would show\r\n");
        }
        fx->fake.files.answers << path;
        fx->fake.files.encodings << TextEncoding::Ansi;
        child<QPushButton>("BitBtn1")->click();
        QFile replaced(path);
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        QVERIFY(replaced.readAll().startsWith("Barcode,Product,Unit,Price\r\n4001,MILK,7,10.50\r\n"));

        const QString unwritable = fx->dir.filePath(QStringLiteral("missing/top.csv"));
        fx->fake.files.answers << unwritable;
        child<QPushButton>("BitBtn1")->click();
        QVERIFY(!QFile::exists(unwritable));
        QCOMPARE(fx->fake.messages.shown.size(), 1);
        QCOMPARE(fx->fake.messages.shown[0].icon, MsgIcon::Error);
        QVERIFY(fx->fake.messages.shown[0].text.contains(unwritable));
    }

    // The window reads through a connection of its own: a sale the program has just recorded
    // on its connection is in the ranking at the next opening.
    void aSaleJustMadeShowsAtTheNextOpening() {
        QVERIFY(open());
        form.reset();
        QVERIFY(fx->db.command(payment("5002", "COFFEE", 9, "12", "2026-01-15 14:05:09")));
        QVERIFY(open());
        QCOMPARE(rowTexts(list()).value(0), QStringLiteral("5002|COFFEE|14|168.00"));
    }

    void aFailingQueryIsReportedAndLeavesTheListEmpty() {
        QVERIFY(fx->exec(QStringLiteral("DROP TABLE odemeler;")));
        QVERIFY(open());
        QVERIFY(rowTexts(list()).isEmpty());
        QCOMPARE(fx->fake.messages.texts(),
                 QStringList{QStringLiteral("Exception raised with message: no such table: odemeler")});
        QCOMPARE(fx->fake.messages.shown[0].caption, applicationTitle());
    }

    void withoutADataFileTheListIsEmpty() {
        fx->db.close();
        QVERIFY(open());
        QVERIFY(rowTexts(list()).isEmpty());
        QCOMPARE(fx->fake.messages.texts(),
                 QStringList{QStringLiteral("Exception raised with message: the data file is not open")});
    }

    // Closing while a ranking is read drops its result quietly.
    void closingWhileLoadingDropsTheResult() {
        form = std::make_unique<TFormTopSelling>(fx->context);
        form->show();
        QTRY_VERIFY(!form->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        form.reset();
        QTest::qWait(100);
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    void theStatementUsesTheCoveringIndex() {
        const QString sql =
            topSellingStatement(QDate(2000, 1, 1), QDate(2026, 1, 16), TopSellingOrder::Units);
        QCOMPARE(sql, QStringLiteral("SELECT barkod, urunadi, SUM(adet) AS toplamadet, sum(adet*fiyat) AS "
                                     "toplamfiyat FROM odemeler where +odemetarihi between '2000-01-01' and "
                                     "'2026-01-16' group by barkod order by toplamadet DESC;"));
        QVERIFY(topSellingStatement(QDate(2025, 2, 3), QDate(2025, 2, 4), TopSellingOrder::Money)
                    .endsWith(QStringLiteral("between '2025-02-03' and '2025-02-04' group by barkod order by "
                                             "toplamfiyat DESC;")));
        const QueryResult plan = fx->db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
        QStringList details;
        for (int row = 0; row < plan.rowCount(); ++row)
            details << plan.text(row, "detail");
        QVERIFY2(details.join('\n').contains(QStringLiteral("COVERING INDEX odemeler_barkod_toplam")),
                 qPrintable(details.join('\n')));
        QVERIFY2(!details.join('\n').contains(QStringLiteral("GROUP BY")), qPrintable(details.join('\n')));
    }

    void theMenuCommandOpensAModalWindowAndDestroysIt() {
        bool seen = false;
        QTimer::singleShot(0, [&]() {
            auto* window = qobject_cast<TFormTopSelling*>(QApplication::activeModalWidget());
            seen = window != nullptr;
            if (window)
                window->close();
        });
        openTopSelling(fx->context);
        QVERIFY(seen);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TFormTopSelling*>(window));
    }
};

QTEST_MAIN(TestTopSelling)
#include "test_topselling.moc"
