// A full disk loses nothing: every writer of the program on a small file system that is full.
// Each write fails with a clear message, what was stored before stays byte for byte, and the
// program goes on; once space is free again the same write succeeds.
//
// Every writer of files is a row of writers(): a writer that lands later (exports, backups)
// adds its row there and is checked the same way.
#include "common/atomicfile.h"
#include "common/errors.h"
#include "platform/qt/settingsfile.h"
#include "platform/scripted/scripted.h"
#include "platform/settingstable.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "register/cashsale.h"
#include "store/database.h"
#include "tests/support/datafile.h"
#include "tests/support/smallfs.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>

using namespace tillora;

namespace {

// One writer of the program: writes content to the file at path through the program's own
// code and returns the failure the user was shown, or an empty text when the write succeeded.
struct Writer {
    const char* name;
    std::function<QString(const QString& path, const QString& content)> write;
    // What the file holds after a successful write of content.
    std::function<QByteArray(const QString& content)> expected;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray receiptBytes(const QString& content) {
    return QByteArray("\xEF\xBB\xBF") + content.toUtf8() + "\r\n";
}

const QList<Writer>& writers() {
    static const QList<Writer> list{
        {"settings file",
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
         [](const QString& path, const QString& content) {
             ScriptedMessages messages;
             TXTkaydet(content, path, messages, [](const QString& text) { return text; });
             return messages.texts().join(QLatin1Char('|'));
         },
         receiptBytes},
        // The shared writer behind the restart script and every export and backup.
        {"atomic writer",
         [](const QString& path, const QString& content) {
             QString error;
             if (!writeFileAtomically(path, content.toUtf8(), error))
                 return error.isEmpty() ? QStringLiteral("failed without a reason") : error;
             return QString();
         },
         [](const QString& content) { return content.toUtf8(); }},
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
};

void TestFullDisk::writerKeepsOldFile_data() {
    QTest::addColumn<int>("writer");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expectedError"); // a part of the text the user is shown
    for (int i = 0; i < writers().size(); ++i) {
        const QString name = QString::fromLatin1(writers()[i].name);
        const QString file = i == 0 ? FileSettingsStore::fileName() : QStringLiteral("41.txt");
        const QString error = i == 0   ? QStringLiteral("Failed to set data for 'ReceiptFolder'")
                              : i == 1 ? QStringLiteral("Cannot create file\r\r")
                                       : QStringLiteral("No space left on device");
        QTest::newRow(qPrintable(name)) << i << file << error;
    }
}

void TestFullDisk::writerKeepsOldFile() {
    QFETCH(int, writer);
    QFETCH(QString, fileName);
    QFETCH(QString, expectedError);
    const Writer& w = writers()[writer];
    test::SmallFileSystem fs(256 * 1024);
    TILLORA_REQUIRE_SMALL_FS(fs);
    const QString path = fs.filePath(fileName);

    // What is stored before the disk fills up.
    const QString old = QStringLiteral("/shop/receipts/old");
    QCOMPARE(w.write(path, old), QString());
    const QByteArray before = readAll(path);
    QCOMPARE(before, w.expected(old));

    QVERIFY(fs.fill());
    // Larger than anything a page left over could take.
    const QString next = QStringLiteral("/shop/receipts/") + QString(20000, QLatin1Char('n'));
    const QString shown = w.write(path, next);
    QVERIFY2(shown.contains(expectedError), qPrintable(shown));
    QCOMPARE(readAll(path), before);
    // No half-written temporary file is left behind.
    QStringList left = QDir(fs.path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(QStringLiteral(".filler"));
    left.removeAll(QStringLiteral("settings.lock"));
    QCOMPARE(left, QStringList{fileName});

    fs.release();
    QCOMPARE(w.write(path, next), QString());
    QCOMPARE(readAll(path), w.expected(next));
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

QTEST_GUILESS_MAIN(TestFullDisk)
#include "test_fulldisk.moc"
