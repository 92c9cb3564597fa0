// A full disk loses nothing: every writer of the program on a small file system that is full.
// Each write fails with a clear message, what was stored before stays byte for byte, and the
// program goes on; once space is free again the same write succeeds.
//
// Every writer of files is a row of writers(): a writer that lands later adds its row there and
// is checked the same way.
#include "app/backup.h"
#include "barcode/generatebarcode.h"
#include "common/atomicfile.h"
#include "common/errors.h"
#include "exchange/exchange.h"
#include "platform/qt/settingsfile.h"
#include "platform/scripted/scripted.h"
#include "platform/settingstable.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "register/cashsale.h"
#include "reports/sellingsscreen.h"
#include "reports/stocksheet.h"
#include "reports/topsellingform.h"
#include "store/database.h"
#include "store/sql.h"
#include "tests/support/contextfixture.h"
#include "tests/support/datafile.h"
#include "tests/support/smallfs.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

using namespace tillora;
using test::readAll;

namespace {

// One writer of the program: writes content to the file at path through the program's own
// code and returns the failure the user was shown, or an empty text when the write succeeded.
struct Writer {
    const char* name;
    QString fileName;
    // Parts of the text the user is shown when the disk is full: what failed and why.
    QStringList failure;
    std::function<QString(const QString& path, const QString& content)> write;
    // What the file holds after a successful write of content, as read().
    std::function<QByteArray(const QString& content)> expected;
    // How the file is read back for expected (its bytes unless said otherwise).
    std::function<QByteArray(const QString& path)> read = readAll;
};

QByteArray receiptBytes(const QString& content) {
    return QByteArray("\xEF\xBB\xBF") + content.toUtf8() + "\r\n";
}

QString shown(const ScriptedMessages& messages) {
    return messages.texts().join(QLatin1Char('|'));
}

// A program context on a data file of its own (on the ordinary disk) whose statements are sql
// with "%1" standing for content as a quoted value.
std::unique_ptr<test::ContextFixture> contextHolding(const char* sql, const QString& content) {
    auto fx = std::make_unique<test::ContextFixture>();
    if (!fx->open(QString::fromLatin1(sql).arg(quote(content))))
        qWarning("the data file of the writer could not be made");
    return fx;
}

const QStringList exportFailure{QStringLiteral("Cannot create file"),
                                QStringLiteral("No space left on device")};

// "Export" of one table from the Operations menu, with the table holding one row named content.
Writer tableExport(const char* name, ExchangeTable table, const char* sql,
                   std::function<QString(const QString& content)> lines) {
    return {name, QStringLiteral("export.csv"), exportFailure,
            [table, sql](const QString& path, const QString& content) {
                auto fx = contextHolding(sql, content);
                fx->fake.files.answers << path;
                fx->context.guard.run([&]() { exportTable(fx->context, table); });
                return shown(fx->fake.messages);
            },
            [lines](const QString& content) { return lines(content).toUtf8(); }};
}

// A report window's "Export to File..." in ANSI, after its list has loaded.
template <typename Form> QString reportExport(const QString& path, const QString& content, const char* sql) {
    auto fx = contextHolding(sql, content);
    Form form(fx->context);
    QSignalSpy loaded(&form, &Form::loaded);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form) || !(loaded.size() > 0 || loaded.wait(10000)))
        return QStringLiteral("the list did not load");
    fx->fake.files.answers << path;
    fx->fake.files.encodings << TextEncoding::Ansi;
    test::child<QPushButton>(&form, "BitBtn1")->click();
    return shown(fx->fake.messages);
}

// The barcode image of content's length (a text Code 39 can draw), with its readable text.
QString barcodeText(const QString& content) {
    return QString::number(content.size());
}

const QList<Writer>& writers() {
    static const QList<Writer> list{
        {"settings file",
         FileSettingsStore::fileName(),
         {QStringLiteral("Failed to set data for 'ReceiptFolder'")},
         [](const QString& path, const QString& content) {
             FileSettingsStore store(QFileInfo(path).path());
             try {
                 store.writeString(QStringLiteral("ReceiptFolder"), content);
             } catch (const AppError& error) {
                 return error.message();
             }
             return QString();
         },
         [](const QString& content) {
             SettingsTable table;
             table.setString(QStringLiteral("ReceiptFolder"), content);
             return table.toText();
         }},
        {"receipt file",
         QStringLiteral("41.txt"),
         {QStringLiteral("Cannot create file\r\r")},
         [](const QString& path, const QString& content) {
             ScriptedMessages messages;
             TXTkaydet(content, path, messages, [](const QString& text) { return text; });
             return shown(messages);
         },
         receiptBytes},
        // The shared writer behind the restart script and every export and backup.
        {"atomic writer",
         QStringLiteral("41.txt"),
         {QStringLiteral("No space left on device")},
         [](const QString& path, const QString& content) {
             QString error;
             if (!writeFileAtomically(path, content.toUtf8(), error))
                 return error.isEmpty() ? QStringLiteral("failed without a reason") : error;
             return QString();
         },
         [](const QString& content) { return content.toUtf8(); }},
        tableExport(
            "products export", ExchangeTable::Products,
            "INSERT INTO urunler (barkod, urunadi, fiyat, stok, kayittarihi) VALUES ('7', %1, '2.5', 3, "
            "'2026-01-15 09:00:00');",
            [](const QString& content) {
                return QStringLiteral("Barcode,Product,Price,Stock,Date\r\n7,") + content +
                       QStringLiteral(",2.5,3,2026-01-15 09:00:00\r\n");
            }),
        tableExport("customers export", ExchangeTable::Customers,
                    "INSERT INTO musteriler (musteriadi, kayittarihi) VALUES (%1, '2026-01-15 09:00:00');",
                    [](const QString& content) {
                        return QStringLiteral("1,") + content + QStringLiteral(",2026-01-15 09:00:00\r\n");
                    }),
        tableExport(
            "payments export", ExchangeTable::Payments,
            "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES ('7', %1, 2, '1.5', "
            "'2026-01-15 09:00:00');",
            [](const QString& content) {
                return QStringLiteral("1,7,") + content + QStringLiteral(",1.5,2,2026-01-15 09:00:00\r\n");
            }),
        tableExport(
            "credits export", ExchangeTable::Credits,
            "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, kayittarihi, "
            "odendimi) VALUES (1, 'ANNA', '7', %1, 2, '1.5', '2026-01-15 09:00:00', 0);",
            [](const QString& content) {
                return QStringLiteral("1,ANNA,7,") + content +
                       QStringLiteral(",1.50,2,3.00,-,2026-01-15 09:00:00\r\n");
            }),
        // "Export" of the sales records screen: the payments list of the day.
        {"sales records export", QStringLiteral("records.csv"), exportFailure,
         [](const QString& path, const QString& content) {
             auto fx =
                 contextHolding("INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
                                "('7', %1, 2, '1.5', '2026-01-15 09:00:00');",
                                content);
             PanelSellings screen(fx->context);
             screen.enter();
             test::child<QPushButton>(&screen, "BitBtn18")->click();
             fx->fake.files.answers << path;
             test::child<QPushButton>(&screen, "BitBtn21")->click();
             return shown(fx->fake.messages);
         },
         [](const QString& content) {
             return (QStringLiteral("2026-01-15 09:00:00,7,") + content + QStringLiteral(",1.50,2,3.00\r\n"))
                 .toUtf8();
         }},
        {"stock sheet export", QStringLiteral("sheet.csv"), exportFailure,
         [](const QString& path, const QString& content) {
             return reportExport<TStockSheetForm>(
                 path, content,
                 "INSERT INTO urunler (barkod, urunadi, fiyat, stok, kayittarihi) VALUES ('7', %1, '2.5', 3, "
                 "'2026-01-15 09:00:00');");
         },
         [](const QString& content) {
             return (QStringLiteral("Barcode,Product,Price,Stock,Date\r\n7,") + content +
                     QStringLiteral(",2.50,3,2026-01-15 09:00:00\r\n"))
                 .toUtf8();
         }},
        {"top selling export", QStringLiteral("top.csv"), exportFailure,
         [](const QString& path, const QString& content) {
             return reportExport<TFormTopSelling>(path, content,
                                                  "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, "
                                                  "odemetarihi) VALUES ('7', %1, 2, '1.5', "
                                                  "'2026-01-15 09:00:00');");
         },
         [](const QString& content) {
             return (QStringLiteral("Barcode,Product,Unit,Price\r\n7,") + content +
                     QStringLiteral(",2,3.00\r\n"))
                 .toUtf8();
         }},
        {"barcode image", QStringLiteral("code.bmp"), exportFailure,
         [](const QString& path, const QString& content) {
             test::ContextFixture fx;
             TGenerateBarcodeForm form(fx.context);
             form.setText(barcodeText(content));
             test::child<QCheckBox>(&form, "CheckBox1")->setChecked(true);
             test::child<QPushButton>(&form, "BitBtn1")->click();
             fx.fake.files.answers << path;
             test::child<QPushButton>(&form, "BitBtn2")->click();
             return shown(fx.fake.messages);
         },
         [](const QString& content) {
             return bmpFile(drawCode39(layoutCode39(barcodeText(content), 1, 2, true), fixedPitchGlyph));
         }},
        // "Backup...": a copy of the data file, compared by what it holds (SQLite writes its own
        // header); the old backup must stay byte for byte all the same.
        {"backup",
         QStringLiteral("backup.db"),
         {QStringLiteral("Cannot create file"), QStringLiteral("disk is full")},
         [](const QString& path, const QString& content) {
             auto fx = contextHolding(
                 "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('7', %1, 2.5, 3);", content);
             fx->fake.files.answers << path;
             fx->context.guard.run([&]() { backupDataFile(fx->context); });
             return shown(fx->fake.messages);
         },
         [](const QString& content) {
             return QStringList{QStringLiteral("ok"), content}.join(QLatin1Char('\n')).toUtf8();
         },
         [](const QString& path) {
             return (test::rowsOf(path, QStringLiteral("PRAGMA integrity_check;")) +
                     test::rowsOf(path, QStringLiteral("SELECT urunadi FROM urunler;")))
                 .join(QLatin1Char('\n'))
                 .toUtf8();
         }},
    };
    return list;
}

} // namespace

class TestFullDisk : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writerKeepsOldFile_data();
    void writerKeepsOldFile();
    void settingsFailureShowsOncePerValue();
    void receiptOnFullDiskStillAdvancesNumber();
    void dataFileOnFullDisk();
    void restoreOnFullDiskKeepsTheDataFile();
};

// Each writer with a small write, which a buffered writer only sends to the disk when the file
// is flushed or closed, and with one larger than any buffer, which fails at the write itself.
void TestFullDisk::writerKeepsOldFile_data() {
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("size");
    for (int i = 0; i < writers().size(); ++i) {
        QTest::addRow("%s, small", writers()[i].name) << i << 200;
        QTest::addRow("%s, large", writers()[i].name) << i << 20000;
    }
}

void TestFullDisk::writerKeepsOldFile() {
    QFETCH(int, writer);
    QFETCH(int, size);
    const Writer& w = writers()[writer];
    const QString& fileName = w.fileName;
    test::SmallFileSystem fs(256 * 1024);
    TILLORA_REQUIRE_SMALL_FS(fs);
    const QString path = fs.filePath(fileName);

    // What is stored before the disk fills up.
    const QString old = QStringLiteral("/shop/receipts/old");
    QCOMPARE(w.write(path, old), QString());
    QCOMPARE(w.read(path), w.expected(old));
    const QByteArray before = readAll(path);

    QVERIFY(fs.fill());
    const QString next = QStringLiteral("/shop/receipts/") + QString(size, QLatin1Char('n'));
    const QString failure = w.write(path, next);
    for (const QString& part : w.failure)
        QVERIFY2(failure.contains(part), qPrintable(failure));
    QCOMPARE(readAll(path), before);
    // No half-written temporary file is left behind.
    QStringList left = QDir(fs.path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(QStringLiteral(".filler"));
    left.removeAll(QStringLiteral("settings.lock"));
    QCOMPARE(left, QStringList{fileName});

    // The program goes on: with space again the same write succeeds.
    fs.release();
    QCOMPARE(w.write(path, next), QString());
    QCOMPARE(w.read(path), w.expected(next));
}

// A value written again and again (a column width each second) shows its failure once; the
// store keeps answering with what the file holds.
void TestFullDisk::settingsFailureShowsOncePerValue() {
    test::SmallFileSystem fs(256 * 1024);
    TILLORA_REQUIRE_SMALL_FS(fs);
    FileSettingsStore store(fs.path());
    store.writeInteger(QStringLiteral("MainColumn1"), 100);
    store.writeString(QStringLiteral("CurrencySymbol"), QStringLiteral("EUR"));
    QVERIFY(fs.fill());
    QStringList shown;
    for (int width = 101; width < 104; ++width) {
        try {
            store.writeInteger(QStringLiteral("MainColumn1"), width);
            QFAIL("a write on a full disk succeeded");
        } catch (const AppError& error) {
            if (!error.quiet())
                shown << error.message();
        }
    }
    QCOMPARE(shown, QStringList{QStringLiteral("Failed to set data for 'MainColumn1'")});
    QCOMPARE(store.readInteger(QStringLiteral("MainColumn1")), 100);
    FileSettingsStore again(fs.path());
    QCOMPARE(again.readInteger(QStringLiteral("MainColumn1")), 100);
    QCOMPARE(again.readString(QStringLiteral("CurrencySymbol")), QStringLiteral("EUR"));
}

// The receipt is printed; its file cannot be saved ("Cannot create file" with the full name),
// an earlier receipt of that number stays whole, and the number still goes up.
void TestFullDisk::receiptOnFullDiskStillAdvancesNumber() {
    test::SmallFileSystem fs(256 * 1024);
    TILLORA_REQUIRE_SMALL_FS(fs);
    ScriptedServices fake;
    const Translate translate = [](const QString& text) { return text; };
    ReceiptSettings receipts;
    receipts.load(fake.settings, translate);
    receipts.askPrint = true;
    receipts.ReceiptFolderInUse = fs.path();
    receipts.NextReceiptNumber = 41;
    const QString file = receiptFilePath(fs.path(), 41);
    QVERIFY(TXTkaydet(QStringLiteral("an earlier receipt 41"), file, fake.messages, translate));
    const QByteArray before = readAll(file);
    QVERIFY(fs.fill());

    fake.messages.answers << MsgButton::Yes;
    IssueSaleReceipt(SaleKind::Cash, {{QStringLiteral("BREAD"), QStringLiteral("2.50"), QStringLiteral("3")}},
                     7.5, receipts, QStringLiteral("$"), fake.services, translate);
    QCOMPARE(fake.printing.jobs.size(), 1);
    QCOMPARE(fake.messages.shown.last().caption, QStringLiteral("ERROR"));
    QCOMPARE(fake.messages.shown.last().text, QStringLiteral("Cannot create file\r\r") + file);
    QCOMPARE(readAll(file), before);
    QCOMPARE(receipts.NextReceiptNumber, 42);
    QCOMPARE(fake.settings.readInteger(ReceiptNumberSetting), 42);
}

// data.db on a full disk: the sale is refused with the database's message, rolled back
// whole, the cart stays for another try, and the file is intact. With space again it sells.
void TestFullDisk::dataFileOnFullDisk() {
    test::SmallFileSystem fs(1024 * 1024);
    TILLORA_REQUIRE_SMALL_FS(fs);
    const QString path = fs.filePath(QStringLiteral("data.db"));
    QString seed;
    for (int i = 0; i < 200; ++i)
        seed += QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('%1', 'ITEM %1', "
                               "'1.5', 100);")
                    .arg(1000 + i);
    seed +=
        QStringLiteral("INSERT INTO odemeler (barkod, urunadi, adet, fiyat) VALUES ('1000', 'ITEM 1000', 2, "
                       "'1.50');");
    QVERIFY(test::makeDataFile(path, seed));
    const QStringList paymentsBefore = test::rowsOf(path, QStringLiteral("SELECT * FROM odemeler;"));
    const QStringList stockBefore = test::rowsOf(path, QStringLiteral("SELECT barkod, stok FROM urunler;"));

    ScriptedServices fake;
    Database db(fake.messages);
    QVERIFY(db.open(path));
    SaleRegister reg(db);
    ReceiptSettings receipts;
    SaleContext sale{db, reg, fake.services, receipts, [](const QString& text) { return text; }, {}, {}};
    for (int i = 0; i < 50; ++i) {
        reg.ScanBuffer = QString::number(1000 + i);
        QVERIFY(reg.lookUpScanBuffer());
    }
    reg.addByHand(QString(5000, QLatin1Char('N')), 1, 1);
    QVERIFY(fs.fill());

    QCOMPARE(SellByCash(sale), SaleResult::NotRecorded);
    QVERIFY(!fake.messages.shown.isEmpty());
    const QString shown = fake.messages.shown.last().text;
    QVERIFY2(shown.startsWith(QStringLiteral("Exception raised with message: ")) &&
                 shown.contains(QStringLiteral("full")),
             qPrintable(shown));
    QCOMPARE(reg.cart().size(), 51);
    QCOMPARE(test::rowsOf(path, QStringLiteral("PRAGMA integrity_check;")), QStringList{"ok"});
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT * FROM odemeler;")), paymentsBefore);
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT barkod, stok FROM urunler;")), stockBefore);

    // The program goes on: a lookup still reads, and with space again the same cart sells.
    reg.ScanBuffer = QStringLiteral("1199");
    QVERIFY(reg.lookUpScanBuffer());
    fs.release();
    fake.messages.shown.clear();
    QCOMPARE(SellByCash(sale), SaleResult::Completed);
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Confirm?")});
    QCOMPARE(test::rowsOf(path, QStringLiteral("SELECT count(*) FROM odemeler;")), QStringList{"53"});
    QCOMPARE(test::rowsOf(path, QStringLiteral("PRAGMA integrity_check;")), QStringList{"ok"});
}

// "Restore from Backup..." with data.db on a full disk: the copy cannot be made, the user is
// told why, data.db stays byte for byte with no data.db.bak beside it, and the program goes on
// with its data. With space again the restore goes through and keeps the replaced file.
void TestFullDisk::restoreOnFullDiskKeepsTheDataFile() {
    test::SmallFileSystem fs(1024 * 1024);
    TILLORA_REQUIRE_SMALL_FS(fs);
    const QString live = fs.filePath(QStringLiteral("data.db"));
    QVERIFY(
        test::makeDataFile(live, QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES "
                                                "('1', 'LIVE', 1, 1);")));
    test::ContextFixture fx;
    const QString backup = fx.file(QStringLiteral("backup.db"));
    QVERIFY(
        test::makeDataFile(backup, QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES "
                                                  "('2', 'RESTORED', 1, 1);")));
    QVERIFY(fx.db.open(live));
    const QByteArray before = readAll(live);
    QVERIFY(fs.fill());

    fx.fake.files.answers << backup;
    fx.context.guard.run([&]() { restoreFromBackup(fx.context, {}); });
    const QString failure = shown(fx.fake.messages);
    QVERIFY2(failure.contains(QStringLiteral("could not be restored")) &&
                 failure.contains(QStringLiteral("disk is full")) &&
                 failure.contains(QStringLiteral("The data file was not changed.")),
             qPrintable(failure));
    QCOMPARE(readAll(live), before);
    QStringList left = QDir(fs.path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(QStringLiteral(".filler"));
    QCOMPARE(left, QStringList{QStringLiteral("data.db")});
    // The program reads its data on.
    QCOMPARE(fx.db.query(QStringLiteral("SELECT urunadi FROM urunler;")).text(0, "urunadi"),
             QStringLiteral("LIVE"));

    fs.release();
    fx.fake.messages.clear();
    fx.fake.messages.answers << MsgButton::No; // "Restart Application?"
    fx.fake.files.answers << backup;
    fx.context.guard.run([&]() { restoreFromBackup(fx.context, {}); });
    QCOMPARE(fx.fake.messages.texts(), QStringList{QStringLiteral("Restart Application?")});
    QCOMPARE(fx.db.query(QStringLiteral("SELECT urunadi FROM urunler;")).text(0, "urunadi"),
             QStringLiteral("RESTORED"));
    QCOMPARE(readAll(live + QStringLiteral(".bak")), before);
}

QTEST_MAIN(TestFullDisk)
#include "test_fulldisk.moc"
