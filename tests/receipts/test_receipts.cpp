#include "common/errors.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "platform/services.h"
#include "receipts/receipts.h"
#include "tests/support/receiptdoubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tillora;
using test::english;
using test::JammedPrinting;
using test::marked;
using test::readAll;

// The template, its rendering, receipt files and the receipt step of a completed sale.
class TestReceipts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void defaultTemplate();
    void saleOfTwoMilkAsReceiptSeven();
    void render_data();
    void render();
    void placeholderInsideAValueFollowsTheOrder();
    void generalTotalStyle_data();
    void generalTotalStyle();
    void timeFormatWithoutZone_data();
    void timeFormatWithoutZone();
    void fileBytes_data();
    void fileBytes();
    void fileReplacesAnExistingOne();
    void fileInMissingFolderIsReported();
    void loadSettings_data();
    void loadSettings();
    void loadKeepsOtherValuesWhenOneHasTheWrongKind();
    void askPrintOffDoesNothing();
    void answersThatPrintNothing_data();
    void answersThatPrintNothing();
    void printedReceiptIsSavedAndNumbered();
    void emptyFolderPrintsWithoutFile();
    void missingFolderStillAdvancesTheNumber();
    void printerNotFoundKeepsTheNumber_data();
    void printerNotFoundKeepsTheNumber();
    void failingNumberWriteIsIgnored();
    void askPrintToggleAndDialogValues();

private:
    ReceiptValues milkValues() const;

    QTemporaryDir dir;
    std::unique_ptr<ScriptedServices> fake;
    ReceiptSettings receipts;
};

void TestReceipts::init() {
    fake = std::make_unique<ScriptedServices>();
    receipts.load(fake->settings, english);
}

ReceiptValues TestReceipts::milkValues() const {
    ReceiptValues v;
    v.number = 7;
    v.lines = QList<ReceiptLine>{{QStringLiteral("MILK"), QStringLiteral("1.50"), QStringLiteral("2")}};
    v.total = 3.0;
    v.currencySymbol = QStringLiteral("$");
    v.moment = QDateTime(QDate(2026, 1, 15), QTime(14, 5, 9));
    return v;
}

void TestReceipts::defaultTemplate() {
    QCOMPARE(DefaultPrintTemplate(english), QStringLiteral("Welcome to Our Shop\r\n[DATETIME]\r\n\r\n"
                                                           "Receipt Number: [RECEIPTNO]\r\n\r\n[LIST]\r\n\r\n"
                                                           "Total: [TOTAL]\r\n\r\nThank you"));
    // Three pieces are translated; "Receipt Number:" stays English.
    QCOMPARE(DefaultPrintTemplate(marked).split(QStringLiteral("\r\n")),
             (QStringList{"<Welcome to Our Shop>", "[DATETIME]", "", "Receipt Number: [RECEIPTNO]", "",
                          "[LIST]", "", "<Total:> [TOTAL]", "", "<Thank you>"}));
}

void TestReceipts::saleOfTwoMilkAsReceiptSeven() {
    const ReceiptValues v = milkValues();
    const QString moment = receiptDateText(*v.moment) + QLatin1Char(' ') + receiptTimeText(*v.moment);
    QVERIFY(!moment.contains(QStringLiteral("UTC")));
    QVERIFY(receiptTimeText(*v.moment).contains(QStringLiteral("05")));
    QCOMPARE(RenderReceipt(DefaultPrintTemplate(english), v).split(QStringLiteral("\r\n")),
             (QStringList{"Welcome to Our Shop", moment, "", "Receipt Number: 7", "", "MILK (1.50) * 2", "",
                          "Total: $ 3.00", "", "Thank you"}));
}

void TestReceipts::render_data() {
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("expected");
    QTest::newRow("any letter case") << "[Total]|[total]|[TOTAL]|[ReceiptNo]"
                                     << "$ 3.00|$ 3.00|$ 3.00|7";
    QTest::newRow("no list") << "No.[receiptno] [TOTAL]"
                             << "No.7 $ 3.00";
    QTest::newRow("list lines joined by CR LF") << "[LIST]"
                                                << "MILK (1.50) * 2\r\nBREAD (2.00) * 1";
    QTest::newRow("other text unchanged") << "[LIST ] [] [TOTAL"
                                          << "[LIST ] [] [TOTAL";
    QTest::newRow("empty template") << ""
                                    << "";
}

void TestReceipts::render() {
    QFETCH(QString, templ);
    QFETCH(QString, expected);
    ReceiptValues v = milkValues();
    v.lines->append({QStringLiteral("BREAD"), QStringLiteral("2.00"), QStringLiteral("1")});
    QCOMPARE(RenderReceipt(templ, v), expected);
}

void TestReceipts::placeholderInsideAValueFollowsTheOrder() {
    ReceiptValues v = milkValues();
    v.lines = QList<ReceiptLine>{
        {QStringLiteral("GIFT [total] [RECEIPTNO]"), QStringLiteral("1.50"), QStringLiteral("2")}};
    // [TOTAL] is filled after [LIST], [RECEIPTNO] before it.
    QCOMPARE(RenderReceipt(QStringLiteral("[LIST]"), v),
             QStringLiteral("GIFT $ 3.00 [RECEIPTNO] (1.50) * 2"));
    // Values not given leave their placeholders empty.
    QCOMPARE(RenderReceipt(QStringLiteral("a[RECEIPTNO]b[LIST]c[TOTAL]d[DATETIME]e[DATE]f[TIME]g"),
                           ReceiptValues{}),
             QStringLiteral("abcdefg"));
}

void TestReceipts::generalTotalStyle_data() {
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 3.0 << "3";
    QTest::newRow("one decimal") << 2.5 << "2.5";
    QTest::newRow("binary noise") << 0.1 * 3 << "0.3";
    QTest::newRow("negative") << -1.25 << "-1.25";
    QTest::newRow("large") << 1e20 << "1E20";
}

void TestReceipts::generalTotalStyle() {
    QFETCH(double, total);
    QFETCH(QString, expected);
    ReceiptValues v;
    v.total = total;
    v.totalStyle = TotalStyle::General;
    v.currencySymbol = QStringLiteral("EUR");
    QCOMPARE(RenderReceipt(QStringLiteral("[TOTAL]"), v), QStringLiteral("EUR ") + expected);
}

void TestReceipts::timeFormatWithoutZone_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone after") << "HH:mm:ss t"
                                << "HH:mm:ss";
    QTest::newRow("zone before") << "t HH:mm:ss"
                                 << "HH:mm:ss";
    QTest::newRow("zone in brackets") << "h:mm:ss AP (t)"
                                      << "h:mm:ss AP";
    QTest::newRow("quoted t stays") << "HH 'time' mm"
                                    << "HH 'time' mm";
    QTest::newRow("no zone") << "HH:mm:ss"
                             << "HH:mm:ss";
}

void TestReceipts::timeFormatWithoutZone() {
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(withoutTimeZone(format), expected);
}

void TestReceipts::fileBytes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << "" << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("one line") << "Thank you" << QByteArray("\xEF\xBB\xBFThank you\r\n");
    QTest::newRow("lone CR and LF") << "a\rb\nc\r\nd"
                                    << QByteArray("\xEF\xBB\xBF"
                                                  "a\r\nb\r\nc\r\nd\r\n");
    QTest::newRow("empty lines kept") << "a\r\n\r\nb\r\n"
                                      << QByteArray("\xEF\xBB\xBF"
                                                    "a\r\n\r\nb\r\n");
    QTest::newRow("UTF-8") << QStringLiteral("Süt 1,50 €")
                           << QByteArray("\xEF\xBB\xBFS\xC3\xBCt 1,50 \xE2\x82\xAC\r\n");
}

void TestReceipts::fileBytes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QString path = dir.filePath(QStringLiteral("bytes.txt"));
    QVERIFY(TXTkaydet(text, path, fake->messages, english));
    QCOMPARE(readAll(path), bytes);
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestReceipts::fileReplacesAnExistingOne() {
    const QString path = dir.filePath(QStringLiteral("41.txt"));
    QVERIFY(TXTkaydet(QStringLiteral("a much longer first receipt text"), path, fake->messages, english));
    QVERIFY(TXTkaydet(QStringLiteral("b"), path, fake->messages, english));
    QCOMPARE(readAll(path), QByteArray("\xEF\xBB\xBF"
                                       "b\r\n"));
    // Written through a temporary file: nothing else is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("41*")}, QDir::Files | QDir::Hidden),
             QStringList{"41.txt"});
}

void TestReceipts::fileInMissingFolderIsReported() {
    const QString path = dir.filePath(QStringLiteral("no/such/folder/1.txt"));
    QVERIFY(!TXTkaydet(QStringLiteral("x"), path, fake->messages, marked));
    QCOMPARE(fake->messages.shown.size(), 1);
    const ShownMessage& box = fake->messages.shown.first();
    QCOMPARE(box.caption, QStringLiteral("<ERROR>"));
    QCOMPARE(box.text, QStringLiteral("<Cannot create file>\r\r") + path);
    QCOMPARE(box.icon, MsgIcon::Error);
    QCOMPARE(box.buttons, MsgButtons{MsgButton::Ok});
    QVERIFY(!QFile::exists(path));
}

void TestReceipts::loadSettings_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("askPrint");
    QTest::addColumn<bool>("defaultTemplate");
    QTest::newRow("first start") << "" << qint64(1) << "" << false << true;
    QTest::newRow("stored values") << "n41;fC:/Shop;p1;tMy [LIST]" << qint64(41) << "C:/Shop" << true
                                   << false;
    QTest::newRow("Print 2 is off") << "p2" << qint64(1) << "" << false << true;
    QTest::newRow("empty template is the default") << "t" << qint64(1) << "" << false << true;
}

void TestReceipts::loadSettings() {
    QFETCH(QString, setup);
    QFETCH(qint64, number);
    QFETCH(QString, folder);
    QFETCH(bool, askPrint);
    QFETCH(bool, defaultTemplate);
    MemorySettingsStore store;
    for (const QString& item : setup.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString value = item.mid(1);
        switch (item[0].toLatin1()) {
        case 'n':
            store.writeInteger(ReceiptNumberSetting, value.toInt());
            break;
        case 'f':
            store.writeString(ReceiptFolderSetting, value);
            break;
        case 'p':
            store.writeInteger(PrintSetting, value.toInt());
            break;
        case 't':
            store.writeString(PrintTemplateSetting, value);
            break;
        }
    }
    ReceiptSettings r;
    r.load(store, marked);
    QCOMPARE(r.NextReceiptNumber, number);
    QCOMPARE(r.ReceiptFolderInUse, folder);
    QCOMPARE(r.askPrint, askPrint);
    QCOMPARE(r.defaultTemplate, DefaultPrintTemplate(marked));
    QCOMPARE(r.printTemplate, defaultTemplate ? DefaultPrintTemplate(marked) : QStringLiteral("My [LIST]"));
}

void TestReceipts::loadKeepsOtherValuesWhenOneHasTheWrongKind() {
    MemorySettingsStore store;
    store.writeString(ReceiptNumberSetting, QStringLiteral("twelve"));
    store.writeInteger(PrintTemplateSetting, 5); // unreadable template: silently the default
    store.writeInteger(PrintSetting, 1);
    store.writeString(ReceiptFolderSetting, QStringLiteral("/shop"));
    ReceiptSettings r;
    r.NextReceiptNumber = 99;
    try {
        r.load(store, english);
        QFAIL("the store's error is raised");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("Invalid data type for 'ReceiptNumber'"));
    }
    QCOMPARE(r.NextReceiptNumber, 1);
    QVERIFY(r.askPrint);
    QCOMPARE(r.ReceiptFolderInUse, QStringLiteral("/shop"));
    QCOMPARE(r.printTemplate, DefaultPrintTemplate(english));
}

void TestReceipts::askPrintOffDoesNothing() {
    receipts.ReceiptFolderInUse = dir.path();
    receipts.NextReceiptNumber = 5;
    IssueSaleReceipt(SaleKind::Cash, milkValues().lines.value(), 3.0, receipts, QStringLiteral("$"),
                     fake->services, english);
    QVERIFY(fake->messages.shown.isEmpty());
    QCOMPARE(fake->printing.dialogs, 0);
    QVERIFY(fake->printing.jobs.isEmpty());
    QVERIFY(!QFile::exists(receiptFilePath(dir.path(), 5)));
    QCOMPARE(receipts.NextReceiptNumber, 5);
    QVERIFY(!fake->settings.valueExists(ReceiptNumberSetting));
}

void TestReceipts::answersThatPrintNothing_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("dialogAccepts");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("answer No") << false << true << 0;
    QTest::newRow("print dialog cancelled") << true << false << 1;
}

void TestReceipts::answersThatPrintNothing() {
    QFETCH(bool, yes);
    QFETCH(bool, dialogAccepts);
    QFETCH(int, dialogs);
    receipts.askPrint = true;
    receipts.ReceiptFolderInUse = dir.path();
    receipts.NextReceiptNumber = 6;
    fake->messages.answers << (yes ? MsgButton::Yes : MsgButton::No);
    fake->printing.dialogAccepts = dialogAccepts;
    IssueSaleReceipt(SaleKind::Credit, {}, 0, receipts, QStringLiteral("$"), fake->services, marked);
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("<Sell by Credit>"));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("<Print?>"));
    QCOMPARE(fake->messages.shown[0].icon, MsgIcon::None);
    QCOMPARE(fake->messages.shown[0].buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
    QCOMPARE(fake->printing.dialogs, dialogs);
    QVERIFY(fake->printing.jobs.isEmpty());
    QVERIFY(!QFile::exists(receiptFilePath(dir.path(), 6)));
    QCOMPARE(receipts.NextReceiptNumber, 6);
}

void TestReceipts::printedReceiptIsSavedAndNumbered() {
    receipts.askPrint = true;
    receipts.ReceiptFolderInUse = dir.path();
    receipts.NextReceiptNumber = 41;
    receipts.printTemplate = QStringLiteral("No. [RECEIPTNO] at [TIME]\r\n[LIST]\r\n[TOTAL]");
    fake->messages.answers << MsgButton::Yes;
    fake->clock.time = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 15));
    IssueSaleReceipt(SaleKind::Cash, milkValues().lines.value(), 3.0, receipts, QStringLiteral("EUR"),
                     fake->services, english);
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("Sell by Cash"));
    const QString rendered = QStringLiteral("No. 41 at ") + receiptTimeText(fake->clock.time) +
                             QStringLiteral("\r\nMILK (1.50) * 2\r\nEUR 3.00");
    QCOMPARE(fake->printing.jobs.size(), 1);
    QCOMPARE(fake->printing.jobs[0].text, rendered + QStringLiteral("\r\n"));
    QCOMPARE(readAll(receiptFilePath(dir.path(), 41)), "\xEF\xBB\xBF" + rendered.toUtf8() + "\r\n");
    QCOMPARE(receipts.NextReceiptNumber, 42);
    QCOMPARE(fake->settings.readInteger(ReceiptNumberSetting), 42);
}

void TestReceipts::emptyFolderPrintsWithoutFile() {
    receipts.askPrint = true;
    receipts.NextReceiptNumber = 3;
    fake->messages.answers << MsgButton::Yes;
    IssueSaleReceipt(SaleKind::Cash, {}, 0, receipts, QStringLiteral("$"), fake->services, english);
    QCOMPARE(fake->printing.jobs.size(), 1);
    QVERIFY(QDir(dir.path()).entryList({QStringLiteral("3.txt")}).isEmpty());
    QCOMPARE(fake->messages.shown.size(), 1); // only "Print?"
    QCOMPARE(receipts.NextReceiptNumber, 4);
}

void TestReceipts::missingFolderStillAdvancesTheNumber() {
    receipts.askPrint = true;
    receipts.ReceiptFolderInUse = dir.filePath(QStringLiteral("gone"));
    receipts.NextReceiptNumber = 9;
    fake->messages.answers << MsgButton::Yes;
    IssueSaleReceipt(SaleKind::Cash, {}, 0, receipts, QStringLiteral("$"), fake->services, english);
    QCOMPARE(fake->printing.jobs.size(), 1);
    QCOMPARE(fake->messages.texts(), (QStringList{"Print?", QStringLiteral("Cannot create file\r\r") +
                                                                dir.filePath(QStringLiteral("gone/9.txt"))}));
    QCOMPARE(receipts.NextReceiptNumber, 10);
    QCOMPARE(fake->settings.readInteger(ReceiptNumberSetting), 10);
}

void TestReceipts::printerNotFoundKeepsTheNumber_data() {
    QTest::addColumn<bool>("jobFails");
    QTest::newRow("no printer") << false;
    QTest::newRow("print job fails") << true;
}

void TestReceipts::printerNotFoundKeepsTheNumber() {
    QFETCH(bool, jobFails);
    receipts.askPrint = true;
    receipts.ReceiptFolderInUse = dir.path();
    receipts.NextReceiptNumber = 12;
    JammedPrinting jammed;
    if (jobFails)
        fake->services.printing = &jammed;
    else
        fake->printing.printerAvailable = false;
    fake->messages.answers << MsgButton::Yes;
    try {
        IssueSaleReceipt(SaleKind::Cash, {}, 0, receipts, QStringLiteral("$"), fake->services, marked);
        QFAIL("AppError expected");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), QStringLiteral("Printer not found!")); // not translated
    }
    QVERIFY(fake->printing.jobs.isEmpty());
    QVERIFY(!QFile::exists(receiptFilePath(dir.path(), 12)));
    QCOMPARE(receipts.NextReceiptNumber, 12);
    QVERIFY(!fake->settings.valueExists(ReceiptNumberSetting));
}

void TestReceipts::failingNumberWriteIsIgnored() {
    receipts.askPrint = true;
    receipts.NextReceiptNumber = 20;
    fake->settings.setWritesFail(true);
    fake->messages.answers << MsgButton::Yes;
    IssueSaleReceipt(SaleKind::Cash, {}, 0, receipts, QStringLiteral("$"), fake->services, english);
    QCOMPARE(receipts.NextReceiptNumber, 21);
    QCOMPARE(fake->messages.shown.size(), 1);
}

void TestReceipts::askPrintToggleAndDialogValues() {
    MemorySettingsStore& store = fake->settings;
    toggleAskPrint(receipts, store);
    QVERIFY(receipts.askPrint);
    QCOMPARE(store.readInteger(PrintSetting), 1);
    toggleAskPrint(receipts, store);
    QVERIFY(!receipts.askPrint);
    QCOMPARE(store.readInteger(PrintSetting), 0);

    applyReceiptsDialog(receipts, store, 500, QStringLiteral("/r"));
    QCOMPARE(receipts.NextReceiptNumber, 500);
    QCOMPARE(receipts.ReceiptFolderInUse, QStringLiteral("/r"));
    QCOMPARE(store.readInteger(ReceiptNumberSetting), 500);
    QCOMPARE(store.readString(ReceiptFolderSetting), QStringLiteral("/r"));
}

QTEST_GUILESS_MAIN(TestReceipts)
#include "test_receipts.moc"
