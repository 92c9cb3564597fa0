#include "app/appform.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "receipts/receipttemplate.h"
#include "reports/salesrecords.h"
#include "tests/support/datafile.h"
#include "tests/support/mainwindow.h"
#include "tests/support/receiptdoubles.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>

using namespace tillora;
using test::readAll;

namespace {

// The shop the tests run in: three products, three customers, and the day of the scripted
// clock (2026-01-15 14:05:09), so that "SALES" opens on 2026-01-14 00:00:00 to 2026-01-16 00:00:00.
const QString shop =
    QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('111', 'MILK', 1.5, 5), "
                   "('42', 'GUM', 0.25, 9),"
                   " ('7', 'Kid''s tea', 2, 1);"
                   "INSERT INTO musteriler (musteriadi) VALUES ('ZOE'), ('ANNA'), ('O''Brien');");

} // namespace

// The sales records screen in the real main window, driven through its buttons, lists and
// context menus, with the dialogs scripted.
class TestSellingsScreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openingSetsOnlyTheDates();
    void boundsAreInclusive_data();
    void boundsAreInclusive();
    void beginAfterEndListsNothing();
    void paidColumnAndSums();
    void customerFilterLimitsOnlyCredits();
    void exportBeforeAnyLoadWritesAnEmptyFile();
    void exportFollowsTheListLoadedLast();
    void exportFailureIsShown();
    void deleteWithoutFullAccessWarnsFirst_data();
    void deleteWithoutFullAccessWarnsFirst();
    void deleteAnsweredNoStillReloads();
    void deletedPaymentLeavesStockAlone();
    void deletedCredit();
    void reprintFromBothLists();
    void unreadableRowsListNothing();
    void failedQueryShowsTheErrorAndAnEmptyList();
    void columnWidthsKeptAcrossRestart();

private:
    // A main window on a new data file of the shop plus sql, its start-up work done.
    void start(const QString& sql = QString());
    // The program started again on the same data file and settings.
    void restart();
    void openSales() { clickOn("BitBtn17"); }
    void clickOn(const char* name) { test::control<QPushButton>(*form, name)->click(); }
    QTableView* list(const char* name) const { return test::control<QTableView>(*form, name); }
    QString totalText() const { return test::control<QLabel>(*form, "SellingsTotal")->text(); }
    // Column c of every row of a list.
    QStringList column(const char* name, int c) const;
    void trigger(const char* action) { test::control<QAction>(*form, action)->trigger(); }
    bool seed(const QString& sql) { return test::execOn(dataPath, sql); }

    QTemporaryDir dir;
    QString dataPath;
    int fileNumber = 0;
    std::unique_ptr<ScriptedServices> fake;
    std::unique_ptr<TAppForm> form;
};

void TestSellingsScreen::init() {
    fake = std::make_unique<ScriptedServices>();
}

void TestSellingsScreen::cleanup() {
    form.reset();
    fake.reset();
}

void TestSellingsScreen::start(const QString& sql) {
    dataPath = dir.filePath(QStringLiteral("data%1.db").arg(++fileNumber));
    QVERIFY(test::makeDataFile(dataPath, shop + sql));
    restart();
}

void TestSellingsScreen::restart() {
    form.reset();
    form = std::make_unique<TAppForm>(fake->services);
    form->setDataFile(dataPath);
    form->show();
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    if (!form->startupDone())
        QVERIFY(started.wait(5000));
    const auto* password = test::control<QTimer>(*form, "TimerPassword");
    QVERIFY(QTest::qWaitFor([password]() { return !password->isActive(); }, 5000));
    fake->messages.clear();
}

QStringList TestSellingsScreen::column(const char* name, int c) const {
    const QAbstractItemModel* model = list(name)->model();
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row)
        cells << model->index(row, c).data().toString();
    return cells;
}

void TestSellingsScreen::openingSetsOnlyTheDates() {
    start(QStringLiteral("INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
                         "('ANNA', 'MILK', 1, 1.5, '2026-01-15 09:00:00');"));
    const test::MainWindowControls ui(*form);
    auto* beginDate = test::control<QDateEdit>(*form, "DateTimePicker1");
    auto* endDate = test::control<QDateEdit>(*form, "DateTimePicker2");
    auto* beginTime = test::control<QTimeEdit>(*form, "DateTimePicker3");
    auto* endTime = test::control<QTimeEdit>(*form, "DateTimePicker4");
    auto* totalBar = test::control<QWidget>(*form, "SellingsTotalBar");
    QCOMPARE(ui.ComboBox3->count(), 4);
    QCOMPARE(ui.ComboBox3->itemText(0), QStringLiteral("All Customers"));
    QCOMPARE(ui.ComboBox3->itemText(1), QStringLiteral("ANNA"));
    QCOMPARE(ui.ComboBox4->itemText(0), QStringLiteral("All Products"));
    QCOMPARE(ui.ComboBox4->currentIndex(), 0);

    openSales();
    QVERIFY(ui.PanelSellings->isVisible() && !ui.PanelMain->isVisible());
    QCOMPARE(beginDate->date(), QDate(2026, 1, 14));
    QCOMPARE(endDate->date(), QDate(2026, 1, 16));
    QCOMPARE(beginTime->time(), QTime(0, 0));
    QCOMPARE(endTime->time(), QTime(0, 0));
    QVERIFY(!totalBar->isVisible());
    QVERIFY(list("ListView2")->isVisible());
    QCOMPARE(totalText(), QStringLiteral("0.00"));

    clickOn("BitBtn19");
    QVERIFY(totalBar->isVisible());
    QVERIFY(list("ListView3")->isVisible() && !list("ListView2")->isVisible());
    QCOMPARE(list("ListView3")->model()->rowCount(), 1);
    beginTime->setTime(QTime(8, 0));
    endTime->setTime(QTime(23, 30, 15));
    ui.ComboBox3->setCurrentIndex(1);
    ui.ComboBox4->setCurrentIndex(2);

    // Leaving and coming back a month later: only the dates follow the clock.
    ui.BitBtn20->click();
    QVERIFY(ui.PanelMain->isVisible());
    fake->clock.time = QDateTime(QDate(2026, 2, 10), QTime(23, 59, 59));
    openSales();
    QCOMPARE(beginDate->date(), QDate(2026, 2, 9));
    QCOMPARE(endDate->date(), QDate(2026, 2, 11));
    QCOMPARE(beginTime->time(), QTime(8, 0));
    QCOMPARE(endTime->time(), QTime(23, 30, 15));
    QCOMPARE(ui.ComboBox3->currentIndex(), 1);
    QCOMPARE(ui.ComboBox4->currentIndex(), 2);
    QVERIFY(!totalBar->isVisible());
    QVERIFY(list("ListView2")->isVisible());
    QCOMPARE(list("ListView3")->model()->rowCount(), 1);
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestSellingsScreen::boundsAreInclusive_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("listName");
    QTest::newRow("payments") << QStringLiteral("odemeler") << QStringLiteral("odemetarihi")
                              << QStringLiteral("BitBtn18") << QStringLiteral("ListView2");
    QTest::newRow("credits") << QStringLiteral("veresiyeler") << QStringLiteral("kayittarihi")
                             << QStringLiteral("BitBtn19") << QStringLiteral("ListView3");
}

// The period runs from the begin bound to the end bound, both included, to the second.
void TestSellingsScreen::boundsAreInclusive() {
    QFETCH(QString, table);
    QFETCH(QString, stamp);
    QFETCH(QString, button);
    QFETCH(QString, listName);
    start(QStringLiteral("INSERT INTO %1 (urunadi, adet, fiyat, %2) VALUES "
                         "('AT END', 1, 1, '2026-01-16 00:00:00'), ('BEFORE', 1, 1, '2026-01-13 23:59:59'),"
                         "('AFTER', 1, 1, '2026-01-16 00:00:01'), ('AT BEGIN', 1, 1, '2026-01-14 00:00:00'),"
                         "('MIDDLE', 1, 1, '2026-01-15 12:00:00');")
              .arg(table, stamp));
    const int product = listName == QLatin1String("ListView2") ? int(PayProduct) : int(CreditProduct);
    openSales();
    clickOn(button.toLatin1().constData());
    QCOMPARE(column(listName.toLatin1().constData(), product),
             (QStringList{QStringLiteral("AT BEGIN"), QStringLiteral("MIDDLE"), QStringLiteral("AT END")}));
    QCOMPARE(form->focusWidget(), list(listName.toLatin1().constData()));

    // One second later the end bound takes the sale stamped then.
    test::control<QTimeEdit>(*form, "DateTimePicker4")->setTime(QTime(0, 0, 1));
    clickOn(button.toLatin1().constData());
    QCOMPARE(column(listName.toLatin1().constData(), product).last(), QStringLiteral("AFTER"));
    QCOMPARE(column(listName.toLatin1().constData(), product).size(), 4);
}

void TestSellingsScreen::beginAfterEndListsNothing() {
    start(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                         "('MILK', 1, 1.5, '2026-01-15 09:00:00');"
                         "INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
                         "('ANNA', 'MILK', 1, 1.5, '2026-01-15 09:00:00');"));
    openSales();
    test::control<QDateEdit>(*form, "DateTimePicker1")->setDate(QDate(2026, 1, 17));
    clickOn("BitBtn18");
    QCOMPARE(list("ListView2")->model()->rowCount(), 0);
    QCOMPARE(totalText(), QStringLiteral("0.00"));
    clickOn("BitBtn19");
    QCOMPARE(list("ListView3")->model()->rowCount(), 0);
    QCOMPARE(totalText(), QStringLiteral("Paid: 0.00 Not Paid: 0.00"));
    QCOMPARE(test::control<QLabel>(*form, "SellingsTotalCaption")->text(), QStringLiteral("GRAND TOTAL:"));
}

void TestSellingsScreen::paidColumnAndSums() {
    start(
        QStringLiteral("INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi, odendimi, "
                       "odemetarihi) VALUES "
                       "('ANNA', 'MILK', 2, 1.5, '2026-01-15 09:00:00', 0, NULL),"
                       "('ZOE', 'GUM', 4, 0.25, '2026-01-15 10:00:00', 1, '2026-01-15 11:30:00'),"
                       "('ANNA', 'Kid''s tea', 1, 2, '2026-01-15 11:00:00', 1, NULL);"
                       "INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                       "('MILK', 3, 1.5, '2026-01-15 09:00:00'), ('GUM', 1, 0.25, '2026-01-15 09:30:00');"));
    openSales();
    clickOn("BitBtn19");
    QCOMPARE(
        column("ListView3", CreditPaid),
        (QStringList{QStringLiteral("-"), QStringLiteral("2026-01-15 11:30:00"), QStringLiteral("PAID")}));
    QCOMPARE(column("ListView3", CreditTotal),
             (QStringList{QStringLiteral("3.00"), QStringLiteral("1.00"), QStringLiteral("2.00")}));
    QCOMPARE(totalText(), QStringLiteral("Paid: 3.00 Not Paid: 3.00"));
    clickOn("BitBtn18");
    QCOMPARE(column("ListView2", PayTotal), (QStringList{QStringLiteral("4.50"), QStringLiteral("0.25")}));
    QCOMPARE(totalText(), QStringLiteral("4.75"));
}

void TestSellingsScreen::customerFilterLimitsOnlyCredits() {
    start(QStringLiteral(
        "INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
        "('ANNA', 'MILK', 1, 1.5, '2026-01-15 09:00:00'), ('ZOE', 'MILK', 1, 1.5, '2026-01-15 "
        "09:10:00'), ('O''Brien', 'Kid''s tea', 1, 2, '2026-01-15 09:20:00'),"
        " ('O''Brien', 'MILK', 1, 1.5, '2026-01-15 09:30:00');"
        "INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
        "('MILK', 1, 1.5, '2026-01-15 09:00:00'), ('Kid''s tea', 1, 2, '2026-01-15 09:05:00');"));
    const test::MainWindowControls ui(*form);
    openSales();
    ui.ComboBox3->setCurrentText(QStringLiteral("O'Brien"));
    clickOn("BitBtn18");
    QCOMPARE(list("ListView2")->model()->rowCount(), 2);
    clickOn("BitBtn19");
    QCOMPARE(column("ListView3", CreditCustomer),
             (QStringList{QStringLiteral("O'Brien"), QStringLiteral("O'Brien")}));

    ui.ComboBox4->setCurrentText(QStringLiteral("Kid's tea"));
    clickOn("BitBtn19");
    QCOMPARE(column("ListView3", CreditProduct), QStringList{QStringLiteral("Kid's tea")});
    clickOn("BitBtn18");
    QCOMPARE(column("ListView2", PayProduct), QStringList{QStringLiteral("Kid's tea")});
    QCOMPARE(totalText(), QStringLiteral("2.00"));

    ui.ComboBox3->setCurrentIndex(0);
    ui.ComboBox4->setCurrentIndex(0);
    clickOn("BitBtn19");
    QCOMPARE(list("ListView3")->model()->rowCount(), 4);
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestSellingsScreen::exportBeforeAnyLoadWritesAnEmptyFile() {
    start();
    const QString file = dir.filePath(QStringLiteral("before.csv"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older export\r\n") > 0);
    old.close();
    openSales();
    fake->files.answers << QString(); // cancelled: nothing is written
    clickOn("BitBtn21");
    QCOMPARE(readAll(file), QByteArray("an older export\r\n"));
    fake->files.answers << dir.filePath(QStringLiteral("before")); // the dialog adds ".csv"
    clickOn("BitBtn21");
    QCOMPARE(fake->files.requests.size(), 2);
    QCOMPARE(fake->files.requests[1].kind, QStringLiteral("save"));
    QCOMPARE(fake->files.requests[1].filter, QStringLiteral("CSV File (*.csv)"));
    QCOMPARE(fake->files.requests[1].defaultExt, QStringLiteral("csv"));
    QVERIFY(QFile::exists(file));
    QCOMPARE(readAll(file), QByteArray());
    QVERIFY(fake->messages.shown.isEmpty());
}

// "Export" writes the list loaded last, not the one in front: after credits, leaving the screen
// and opening it again (the payments list in front), the credit rows are written.
void TestSellingsScreen::exportFollowsTheListLoadedLast() {
    start(QStringLiteral(
        "INSERT INTO veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi, odendimi) "
        "VALUES ('ANNA', '111', 'MILK', 3, 1.5, '2026-01-15 09:00:00', 0),"
        " ('ZOE', '42', 'GUM', 1, 0.1, '2026-01-15 09:10:00', 1);"
        "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
        "('7', 'Kid''s tea', 1, 2, '2026-01-15 09:00:00');"));
    const QString sep = TAppForm::localeCsvSeparator();
    const QString file = dir.filePath(QStringLiteral("records.csv"));
    openSales();
    clickOn("BitBtn18");
    clickOn("BitBtn19");
    clickOn("BitBtn20");
    openSales();
    QVERIFY(list("ListView2")->isVisible());
    QCOMPARE(list("ListView2")->model()->rowCount(), 1);
    fake->files.answers << file;
    clickOn("BitBtn21");
    const QStringList lines{QStringList{QStringLiteral("2026-01-15 09:00:00"), QStringLiteral("ANNA"),
                                        QStringLiteral("111"), QStringLiteral("MILK"), QStringLiteral("1.50"),
                                        QStringLiteral("3"), QStringLiteral("4.50"), QStringLiteral("-")}
                                .join(sep),
                            QStringList{QStringLiteral("2026-01-15 09:10:00"), QStringLiteral("ZOE"),
                                        QStringLiteral("42"), QStringLiteral("GUM"), QStringLiteral("0.10"),
                                        QStringLiteral("1"), QStringLiteral("0.10"), QStringLiteral("PAID")}
                                .join(sep)};
    QCOMPARE(readAll(file), (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLocal8Bit());

    clickOn("BitBtn18");
    fake->files.answers << file;
    clickOn("BitBtn21");
    QCOMPARE(readAll(file), (QStringList{QStringLiteral("2026-01-15 09:00:00"), QStringLiteral("7"),
                                         QStringLiteral("Kid's tea"), QStringLiteral("2.00"),
                                         QStringLiteral("1"), QStringLiteral("2.00")}
                                 .join(sep) +
                             QStringLiteral("\r\n"))
                                .toLocal8Bit());
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestSellingsScreen::exportFailureIsShown() {
    start();
    openSales();
    const QString file = dir.filePath(QStringLiteral("no such folder/records.csv"));
    fake->files.answers << file;
    clickOn("BitBtn21");
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("Tillora"));
    QCOMPARE(fake->messages.shown[0].icon, MsgIcon::Error);
    QVERIFY2(fake->messages.shown[0].text.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(file)),
             qPrintable(fake->messages.shown[0].text));
    QVERIFY(!QFile::exists(file));
    QVERIFY(test::control<QWidget>(*form, "PanelSellings")->isVisible());
}

void TestSellingsScreen::deleteWithoutFullAccessWarnsFirst_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("table");
    QTest::newRow("payments") << QStringLiteral("BitBtn18") << QStringLiteral("ListView2")
                              << QStringLiteral("Delete2") << QStringLiteral("odemeler");
    QTest::newRow("credits") << QStringLiteral("BitBtn19") << QStringLiteral("ListView3")
                             << QStringLiteral("Delete3") << QStringLiteral("veresiyeler");
}

// Without full access "Delete" warns, with or without a selection, and deletes nothing; with
// it and no selection there is only the beep.
void TestSellingsScreen::deleteWithoutFullAccessWarnsFirst() {
    QFETCH(QString, button);
    QFETCH(QString, listName);
    QFETCH(QString, action);
    QFETCH(QString, table);
    start(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                         "('MILK', 1, 1.5, '2026-01-15 09:00:00');"
                         "INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
                         "('ANNA', 'MILK', 1, 1.5, '2026-01-15 09:00:00');"));
    const test::MainWindowControls ui(*form);
    openSales();
    clickOn(button.toLatin1().constData());
    ui.Logout1->trigger();
    QVERIFY(!form->fullAccess());
    trigger(action.toLatin1().constData());
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("WARNING"));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("You are not logged as admin!"));
    QCOMPARE(fake->messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(fake->messages.beeps, 0);
    list(listName.toLatin1().constData())->selectRow(0);
    trigger(action.toLatin1().constData());
    QCOMPARE(fake->messages.shown.size(), 2);
    QCOMPARE(fake->messages.shown[1].text, QStringLiteral("You are not logged as admin!"));
    QCOMPARE(test::rowsOf(dataPath, QStringLiteral("SELECT count(*) FROM ") + table),
             QStringList{QStringLiteral("1")});

    // With full access and nothing selected: the beep and nothing else.
    ui.Login1->trigger(); // no admin password: granted at once
    QTRY_VERIFY(form->fullAccess());
    list(listName.toLatin1().constData())->clearSelection();
    fake->messages.clear();
    trigger(action.toLatin1().constData());
    QCOMPARE(fake->messages.beeps, 1);
    QVERIFY(fake->messages.shown.isEmpty());
}

void TestSellingsScreen::deleteAnsweredNoStillReloads() {
    start(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                         "('MILK', 1, 1.5, '2026-01-15 09:00:00');"));
    openSales();
    clickOn("BitBtn18");
    list("ListView2")->selectRow(0);
    // A sale recorded meanwhile shows after the reload.
    QVERIFY(seed(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                                "('GUM', 2, 0.25, '2026-01-15 10:00:00');")));
    fake->messages.answers << MsgButton::No;
    trigger("Delete2");
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].caption, QStringLiteral("Confirm"));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("Are you sure you want to delete the payment?"));
    QCOMPARE(fake->messages.shown[0].buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
    QCOMPARE(column("ListView2", PayProduct), (QStringList{QStringLiteral("MILK"), QStringLiteral("GUM")}));
    QCOMPARE(totalText(), QStringLiteral("2.00"));
    QCOMPARE(test::rowsOf(dataPath, QStringLiteral("SELECT count(*) FROM odemeler")),
             QStringList{QStringLiteral("2")});
}

void TestSellingsScreen::deletedPaymentLeavesStockAlone() {
    start(QStringLiteral(
        "INSERT INTO odemeler (id, barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
        "(10, '111', 'MILK', 2, 1.5, '2026-01-15 09:00:00'), (11, '42', 'GUM', 1, 0.25, "
        "'2026-01-15 09:10:00');"
        "INSERT INTO veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, kayittarihi) VALUES "
        "('ANNA', '111', 'MILK', 1, 1.5, '2026-01-15 09:00:00');"));
    const QString others =
        QStringLiteral("SELECT * FROM urunler UNION ALL SELECT id, musteriadi, kayittarihi, "
                       "NULL, NULL, NULL FROM musteriler");
    const QStringList before = test::rowsOf(dataPath, others);
    const QStringList credits = test::rowsOf(dataPath, QStringLiteral("SELECT * FROM veresiyeler"));
    openSales();
    clickOn("BitBtn18");
    list("ListView2")->selectRow(0);
    fake->messages.answers << MsgButton::Yes;
    trigger("Delete2");
    QCOMPARE(test::rowsOf(dataPath, QStringLiteral("SELECT id FROM odemeler")),
             QStringList{QStringLiteral("11")});
    QCOMPARE(test::rowsOf(dataPath, others), before);
    QCOMPARE(test::rowsOf(dataPath, QStringLiteral("SELECT * FROM veresiyeler")), credits);
    QCOMPARE(test::rowsOf(dataPath, QStringLiteral("SELECT stok FROM urunler WHERE barkod='111'")),
             QStringList{QStringLiteral("5")});
    QCOMPARE(column("ListView2", PayId), QStringList{QStringLiteral("11")});
    QCOMPARE(totalText(), QStringLiteral("0.25"));
    QCOMPARE(fake->messages.shown.size(), 1);
}

void TestSellingsScreen::deletedCredit() {
    start(QStringLiteral("INSERT INTO veresiyeler (id, musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
                         "(3, 'ANNA', 'MILK', 1, 1.5, '2026-01-15 09:00:00'), (4, 'ZOE', 'GUM', 1, 0.25, "
                         "'2026-01-15 09:10:00');"));
    openSales();
    clickOn("BitBtn19");
    list("ListView3")->selectRow(1);
    fake->messages.answers << MsgButton::Yes;
    trigger("Delete3");
    QCOMPARE(fake->messages.shown.value(0).text,
             QStringLiteral("Are you sure you want to delete the credit?"));
    QCOMPARE(test::rowsOf(dataPath, QStringLiteral("SELECT id FROM veresiyeler")),
             QStringList{QStringLiteral("3")});
    QCOMPARE(column("ListView3", CreditId), QStringList{QStringLiteral("3")});
    QCOMPARE(totalText(), QStringLiteral("Paid: 0.00 Not Paid: 1.50"));
}

void TestSellingsScreen::reprintFromBothLists() {
    fake->settings.writeInteger(QStringLiteral("ReceiptNumber"), 41);
    fake->settings.writeInteger(QStringLiteral("Print"), 1);
    start(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                         "('MILK', 2, 1.5, '2026-01-15 09:00:01');"
                         "INSERT INTO veresiyeler (musteriadi, urunadi, adet, fiyat, kayittarihi) VALUES "
                         "('ANNA', 'GUM', 3, 0.25, '2026-01-14 18:30:00');"));
    openSales();
    clickOn("BitBtn18");
    trigger("Print1"); // nothing selected
    QCOMPARE(fake->messages.beeps, 1);
    QCOMPARE(fake->printing.dialogs, 0);
    list("ListView2")->selectRow(0);
    trigger("Print1");
    clickOn("BitBtn19");
    list("ListView3")->selectRow(0);
    trigger("Print2");
    QCOMPARE(fake->printing.jobs.size(), 2);
    const QString payment = fake->printing.jobs[0].text;
    const QString credit = fake->printing.jobs[1].text;
    const QDateTime paidAt(QDate(2026, 1, 15), QTime(9, 0, 1));
    const QDateTime creditAt(QDate(2026, 1, 14), QTime(18, 30));
    QVERIFY2(payment.contains(QStringLiteral("\r\nMILK (1.50) * 2\r\n")), qPrintable(payment));
    QVERIFY2(payment.contains(QStringLiteral("Total: $ 3\r\n")), qPrintable(payment));
    QVERIFY2(payment.contains(receiptDateText(paidAt) + QLatin1Char(' ') + receiptTimeText(paidAt)),
             qPrintable(payment));
    QVERIFY2(payment.contains(QStringLiteral("Receipt Number: \r\n")), qPrintable(payment));
    QVERIFY2(credit.contains(QStringLiteral("\r\nGUM (0.25) * 3\r\n")), qPrintable(credit));
    QVERIFY2(credit.contains(QStringLiteral("Total: $ 0.75\r\n")), qPrintable(credit));
    QVERIFY2(credit.contains(receiptDateText(creditAt) + QLatin1Char(' ') + receiptTimeText(creditAt)),
             qPrintable(credit));
    // No question, and the receipt number is neither used nor changed.
    QVERIFY(fake->messages.shown.isEmpty());
    QCOMPARE(fake->settings.readInteger(QStringLiteral("ReceiptNumber")), 41);
    QCOMPARE(form->receiptSettings().NextReceiptNumber, 41);
}

void TestSellingsScreen::unreadableRowsListNothing() {
    start(
        QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                       "('MILK', 2, 1.5, '2026-01-15 09:00:00'), ('BAD', 1, 'abc', '2026-01-15 10:00:00');"));
    openSales();
    clickOn("BitBtn18");
    QCOMPARE(list("ListView2")->model()->rowCount(), 0);
    QCOMPARE(totalText(), QStringLiteral("0.00"));
    QCOMPARE(fake->messages.shown.size(), 1);
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("'abc' is not a valid floating point value."));
    QCOMPARE(fake->messages.shown[0].icon, MsgIcon::Error);
}

void TestSellingsScreen::failedQueryShowsTheErrorAndAnEmptyList() {
    start(QStringLiteral("INSERT INTO odemeler (urunadi, adet, fiyat, odemetarihi) VALUES "
                         "('MILK', 2, 1.5, '2026-01-15 09:00:00');"));
    openSales();
    clickOn("BitBtn18");
    QCOMPARE(totalText(), QStringLiteral("3.00"));
    QVERIFY(seed(QStringLiteral("DROP TABLE odemeler;")));
    clickOn("BitBtn18");
    QCOMPARE(fake->messages.texts(),
             QStringList{QStringLiteral("Exception raised with message: no such table: odemeler")});
    QCOMPARE(list("ListView2")->model()->rowCount(), 0);
    QCOMPARE(totalText(), QStringLiteral("0.00"));
}

// The widths of the first six payment and the first eight credit columns are stored within a
// second and applied at the next start; the ID columns are not remembered.
void TestSellingsScreen::columnWidthsKeptAcrossRestart() {
    start();
    form->TimerColumnWidthTimer();
    QCOMPARE(fake->settings.readInteger(QStringLiteral("PaymentColumn1")), 142);
    QCOMPARE(fake->settings.readInteger(QStringLiteral("PaymentColumn6")), 139);
    QCOMPARE(fake->settings.readInteger(QStringLiteral("CreditColumn1")), 109);
    QCOMPARE(fake->settings.readInteger(QStringLiteral("CreditColumn8")), 104);
    QVERIFY(!fake->settings.valueExists(QStringLiteral("PaymentColumn7")));
    QVERIFY(!fake->settings.valueExists(QStringLiteral("CreditColumn9")));

    list("ListView2")->setColumnWidth(1, 201);
    list("ListView2")->setColumnWidth(5, 77);
    list("ListView3")->setColumnWidth(0, 150);
    list("ListView3")->setColumnWidth(7, 66);
    QTRY_COMPARE_WITH_TIMEOUT(fake->settings.readInteger(QStringLiteral("CreditColumn8")), 66, 2500);
    QCOMPARE(fake->settings.readInteger(QStringLiteral("PaymentColumn2")), 201);
    QCOMPARE(fake->settings.readInteger(QStringLiteral("PaymentColumn6")), 77);
    QCOMPARE(fake->settings.readInteger(QStringLiteral("CreditColumn1")), 150);

    restart();
    QCOMPARE(list("ListView2")->columnWidth(1), 201);
    QCOMPARE(list("ListView2")->columnWidth(5), 77);
    QCOMPARE(list("ListView2")->columnWidth(0), 142);
    QCOMPARE(list("ListView3")->columnWidth(0), 150);
    QCOMPARE(list("ListView3")->columnWidth(7), 66);
    // A load does not undo them.
    openSales();
    clickOn("BitBtn18");
    clickOn("BitBtn19");
    QCOMPARE(list("ListView2")->columnWidth(1), 201);
    QCOMPARE(list("ListView3")->columnWidth(7), 66);
}

QTEST_MAIN(TestSellingsScreen)
#include "test_sellingsscreen.moc"
