// The customers screen on its own, with the dialogs scripted: the customer lookup with its
// open credit, ADD, DELETE CUSTOMER, DETAILS with the ticked list, Select All and PAID, the
// Enter key, database failures and the end of full access.
#include "catalogue/customerscreen.h"
#include "tests/catalogue/screenfixture.h"
#include "tests/support/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace tillora;
using test::control;
using test::ScreenFixture;

namespace {

// ANNA owes 3.00 and 4.50 and has paid a line before; BOB's open lines cost nothing; ZOE
// owes nothing.
const char* const customers =
    "INSERT INTO musteriler (musteriadi, kayittarihi) VALUES ('ZOE', '2021-01-03 10:00:00'),"
    " ('ANNA', '2021-01-02 09:15:00'), ('BOB', '2021-01-04 11:00:00');"
    "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, kayittarihi, odendimi)"
    " VALUES (2, 'ANNA', '111', 'MILK', 2, 1.5, '2021-10-25 14:05:09', 0),"
    " (2, 'ANNA', '333', 'OLD', 1, 9, '2021-09-01 10:00:00', 1),"
    " (2, 'ANNA', '222', 'BREAD', 3, 1.5, '2021-10-26 08:00:00', 0),"
    " (3, 'BOB', '444', 'SAMPLE', 2, 0, '2021-10-27 12:00:00', 0);";

} // namespace

class TestCustomerScreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opening();
    void lookup();
    void detailsListsTheOpenLines();
    void paidSettlesTheTickedLine();
    void paidAnswers_data();
    void paidAnswers();
    void selectAllThenPaidAllowsDeleting();
    void deleteCustomer_data();
    void deleteCustomer();
    void enterAddsACustomer();
    void lookupAndTheCreditArea();
    void paidActsOnTheCustomerListed();
    void paidFailureRecordsNothing();
    void unreadableAmounts();
    void failedQueries();
    void fullAccessEnding();
    void captionsAreTranslated();

private:
    void start(const QString& extraSql = QString::fromLatin1(customers), Translate translate = {});
    void typeName(const QString& text);
    QStringList entries() const;
    void tick(int row);
    QStringList openRows(const QString& name) const;

    std::unique_ptr<ScreenFixture> fx;
    std::unique_ptr<PanelCustomer> screen;
    QComboBox* customer = nullptr;
    QLabel* dateLabel = nullptr;
    QLineEdit* date = nullptr;
    QLabel* creditLabel = nullptr;
    QLineEdit* credit = nullptr;
    QPushButton* details = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QWidget* picture = nullptr;
    QWidget* area = nullptr;
    QListView* list = nullptr;
    QLabel* total = nullptr;
    QPushButton* selectAll = nullptr;
    QPushButton* paid = nullptr;
};

void TestCustomerScreen::init() {
    start();
}

void TestCustomerScreen::cleanup() {
    screen.reset();
    fx.reset();
}

void TestCustomerScreen::start(const QString& extraSql, Translate translate) {
    screen.reset();
    fx = std::make_unique<ScreenFixture>(std::move(translate));
    QVERIFY(fx->open(extraSql));
    screen = std::make_unique<PanelCustomer>(fx->context);
    customer = control<QComboBox>(*screen, "ComboBox2");
    dateLabel = control<QLabel>(*screen, "Label8");
    date = control<QLineEdit>(*screen, "Edit6");
    creditLabel = control<QLabel>(*screen, "Label9");
    credit = control<QLineEdit>(*screen, "Edit1");
    details = control<QPushButton>(*screen, "BitBtn13");
    add = control<QPushButton>(*screen, "BitBtn6");
    remove = control<QPushButton>(*screen, "BitBtn11");
    picture = control<QWidget>(*screen, "Image2");
    area = control<QWidget>(*screen, "Panel10");
    list = control<QListView>(*screen, "CheckListBox1");
    total = control<QLabel>(*screen, "Label10");
    selectAll = control<QPushButton>(*screen, "BitBtn14");
    paid = control<QPushButton>(*screen, "BitBtn7");
    QVERIFY(ScreenFixture::show(*screen));
    screen->enter();
    fx->log.entries.clear();
}

void TestCustomerScreen::typeName(const QString& text) {
    customer->setFocus();
    customer->lineEdit()->selectAll();
    QTest::keyClicks(customer, text);
}

QStringList TestCustomerScreen::entries() const {
    QStringList texts;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
        const QModelIndex index = list->model()->index(r, 0);
        const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        texts << (ticked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) + index.data().toString();
    }
    return texts;
}

// Ticks an entry as the mouse does: a click on its check box.
void TestCustomerScreen::tick(int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    const QRect item = list->visualRect(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(item.left() + item.height() / 2, item.center().y()));
    if (index.data(Qt::CheckStateRole).toInt() != Qt::Checked)
        QFAIL("the click did not tick the entry");
}

QStringList TestCustomerScreen::openRows(const QString& name) const {
    return fx->rows(
        QStringLiteral("SELECT barkod, odendimi FROM veresiyeler WHERE musteriadi='%1' ORDER BY id")
            .arg(name));
}

void TestCustomerScreen::opening() {
    QStringList names;
    for (int i = 0; i < customer->count(); ++i)
        names << customer->itemText(i);
    QCOMPARE(names, (QStringList{"ANNA", "BOB", "ZOE"}));
    QCOMPARE(customer->currentText(), QString());
    for (QWidget* hidden :
         {static_cast<QWidget*>(dateLabel), static_cast<QWidget*>(date), static_cast<QWidget*>(creditLabel),
          static_cast<QWidget*>(credit), static_cast<QWidget*>(details), area})
        QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    QVERIFY(picture->isVisible());
    QCOMPARE(credit->text(), QStringLiteral("0.00"));
    QVERIFY(!add->isEnabled() && !remove->isEnabled());
    QCOMPARE(screen->focusWidget(), customer);
    QVERIFY(fx->messages.shown.isEmpty());
}

void TestCustomerScreen::lookup() {
    typeName(QStringLiteral("ANNA"));
    QCOMPARE(fx->queries().mid(fx->queries().size() - 2),
             (QStringList{"SELECT * FROM musteriler where musteriadi='ANNA';",
                          "SELECT * FROM veresiyeler where odendimi='0' and musteriadi='ANNA';"}));
    QCOMPARE(date->text(), QStringLiteral("2021-01-02 09:15:00"));
    QCOMPARE(credit->text(), QStringLiteral("7.50"));
    QVERIFY(date->isVisible() && credit->isVisible() && details->isVisible() && creditLabel->isVisible());
    QVERIFY(!add->isEnabled() && remove->isEnabled());

    QTest::keyClicks(customer, QStringLiteral("X"));
    QVERIFY(add->isEnabled() && !remove->isEnabled());
    QVERIFY(date->isHidden() && credit->isHidden() && details->isHidden());

    customer->lineEdit()->selectAll();
    QTest::keyClicks(customer, QStringLiteral(" "));
    QVERIFY(!add->isEnabled() && !remove->isEnabled() && details->isHidden());

    // Chosen from the list: ZOE owes nothing.
    customer->setCurrentIndex(2);
    QCOMPARE(credit->text(), QStringLiteral("0.00"));
    QVERIFY(remove->isEnabled());
    QVERIFY(fx->messages.shown.isEmpty());
}

void TestCustomerScreen::detailsListsTheOpenLines() {
    typeName(QStringLiteral("ANNA"));
    details->click();
    QVERIFY(area->isVisible() && picture->isHidden());
    QCOMPARE(fx->queries().last(),
             QStringLiteral("SELECT * FROM veresiyeler where odendimi=0 and musteriadi='ANNA';"));
    QCOMPARE(entries(), (QStringList{"[ ] 2021-10-25 14:05:09 2 * MILK = 3.00",
                                     "[ ] 2021-10-26 08:00:00 3 * BREAD = 4.50"}));
    QCOMPARE(total->text(), QStringLiteral("7.50"));

    // A customer without open lines: an empty list and TOTAL 0.00.
    typeName(QStringLiteral("ZOE"));
    details->click();
    QVERIFY(entries().isEmpty());
    QCOMPARE(total->text(), QStringLiteral("0.00"));
}

void TestCustomerScreen::paidSettlesTheTickedLine() {
    typeName(QStringLiteral("ANNA"));
    details->click();
    tick(0);
    fx->messages.answers << MsgButton::Yes;
    paid->click();
    QCOMPARE(fx->messages.shown.size(), 1);
    QCOMPARE(fx->messages.shown[0].caption, QStringLiteral("Sell by Credit"));
    QCOMPARE(fx->messages.shown[0].text, QStringLiteral("Are you sure?"));
    QCOMPARE(fx->messages.shown[0].buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
    const QString id = fx->rows(QStringLiteral("SELECT id FROM veresiyeler WHERE barkod='111'")).value(0);
    QCOMPARE(fx->commands(),
             (QStringList{
                 "update veresiyeler set odendimi=1, odemetarihi=datetime('now','localtime') where id in (" +
                     id + ");",
                 "insert into odemeler (barkod,urunadi,adet,fiyat) values ('111', 'MILK','2','1.5');"}));
    QCOMPARE(openRows(QStringLiteral("ANNA")), (QStringList{"111|1", "333|1", "222|0"}));
    const QString paidAt =
        fx->rows(QStringLiteral("SELECT odemetarihi FROM veresiyeler WHERE barkod='111'")).value(0);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                 .match(paidAt)
                 .hasMatch(),
             qPrintable(paidAt));
    QCOMPARE(fx->rows(QStringLiteral("SELECT barkod, urunadi, adet, fiyat FROM odemeler")),
             QStringList{"111|MILK|2|1.5"});
    QCOMPARE(entries(), QStringList{"[ ] 2021-10-26 08:00:00 3 * BREAD = 4.50"});
    QCOMPARE(total->text(), QStringLiteral("4.50"));
    QCOMPARE(credit->text(), QStringLiteral("4.50"));
    // No stock changes: the stock was taken at the credit sale.
    QCOMPARE(fx->commands().filter(QStringLiteral("urunler")), QStringList());
}

void TestCustomerScreen::paidAnswers_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<MsgButton>("answer");
    QTest::newRow("No to the question") << true << MsgButton::No;
    QTest::newRow("nothing ticked") << false << MsgButton::Yes;
}

// PAID changes nothing when the question is answered No or nothing is ticked; after Yes the
// list is read again unchanged.
void TestCustomerScreen::paidAnswers() {
    QFETCH(bool, ticked);
    QFETCH(MsgButton, answer);
    typeName(QStringLiteral("ANNA"));
    details->click();
    if (ticked)
        tick(1);
    const int queries = fx->queries().size();
    fx->messages.answers << answer;
    paid->click();
    QVERIFY(fx->commands().isEmpty());
    QCOMPARE(openRows(QStringLiteral("ANNA")), (QStringList{"111|0", "333|1", "222|0"}));
    QCOMPARE(fx->rows(QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"0"});
    QCOMPARE(fx->queries().size(), answer == MsgButton::Yes ? queries + 1 : queries);
    QCOMPARE(entries().size(), 2);
    QCOMPARE(credit->text(), QStringLiteral("7.50"));
}

void TestCustomerScreen::selectAllThenPaidAllowsDeleting() {
    typeName(QStringLiteral("ANNA"));
    details->click();
    selectAll->click();
    QCOMPARE(entries(), (QStringList{"[x] 2021-10-25 14:05:09 2 * MILK = 3.00",
                                     "[x] 2021-10-26 08:00:00 3 * BREAD = 4.50"}));
    fx->messages.answers << MsgButton::Yes;
    paid->click();
    QCOMPARE(openRows(QStringLiteral("ANNA")), (QStringList{"111|1", "333|1", "222|1"}));
    QCOMPARE(fx->rows(QStringLiteral("SELECT barkod, adet, fiyat FROM odemeler ORDER BY id")),
             (QStringList{"111|2|1.5", "222|3|1.5"}));
    QVERIFY(entries().isEmpty());
    QCOMPARE(credit->text(), QStringLiteral("0.00"));

    fx->messages.answers << MsgButton::Yes;
    remove->click();
    QCOMPARE(fx->rows(QStringLiteral("SELECT musteriadi FROM musteriler ORDER BY musteriadi")),
             (QStringList{"BOB", "ZOE"}));
    // Paid credit and payments stay.
    QCOMPARE(openRows(QStringLiteral("ANNA")).size(), 3);
    QCOMPARE(fx->rows(QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"2"});
}

void TestCustomerScreen::deleteCustomer_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<MsgButton>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("with credit: refused")
        << "ANNA" << MsgButton::Yes << QStringList{"ANNA", "BOB", "ZOE"} << "ANNA";
    QTest::newRow("open lines of 0.00: deleted")
        << "BOB" << MsgButton::Yes << QStringList{"ANNA", "ZOE"} << "ANNA";
    QTest::newRow("answered No") << "ZOE" << MsgButton::No << QStringList{"ANNA", "BOB", "ZOE"} << "ZOE";
}

void TestCustomerScreen::deleteCustomer() {
    QFETCH(QString, name);
    QFETCH(MsgButton, answer);
    QFETCH(QStringList, left);
    QFETCH(QString, shownAfter);
    typeName(name);
    fx->messages.answers << answer;
    remove->click();
    QCOMPARE(fx->messages.shown.size(), 1);
    const ShownMessage& box = fx->messages.shown[0];
    if (name == QLatin1String("ANNA")) {
        QCOMPARE(box.caption, QStringLiteral("Warning"));
        QCOMPARE(box.text, QStringLiteral("Customer with credit cannot be deleted!"));
        QCOMPARE(box.icon, MsgIcon::Warning);
    } else {
        QCOMPARE(box.caption, QStringLiteral("Delete Customer"));
        QCOMPARE(box.text, QStringLiteral("Are you sure?"));
        QCOMPARE(box.icon, MsgIcon::None);
    }
    QCOMPARE(fx->rows(QStringLiteral("SELECT musteriadi FROM musteriler ORDER BY musteriadi")), left);
    // After a deletion the first name of the list is shown.
    QCOMPARE(customer->currentText(), shownAfter);
    QVERIFY(remove->isEnabled());
    if (left.size() == 2)
        QCOMPARE(screen->focusWidget(), customer);
    // Open rows of a deleted customer stay in their table.
    QCOMPARE(openRows(QStringLiteral("BOB")), QStringList{"444|0"});
}

void TestCustomerScreen::enterAddsACustomer() {
    ScreenFixture::type(*screen, QStringLiteral("NEW O'NEIL"));
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), add);
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(fx->commands(), QStringList{"insert into musteriler (musteriadi) values ('NEW O''NEIL');"});
    QCOMPARE(fx->rows(QStringLiteral("SELECT musteriadi FROM musteriler ORDER BY musteriadi")),
             (QStringList{"ANNA", "BOB", "NEW O'NEIL", "ZOE"}));
    QCOMPARE(customer->count(), 4);
    QCOMPARE(customer->currentText(), QStringLiteral("NEW O'NEIL"));
    QCOMPARE(credit->text(), QStringLiteral("0.00"));
    QVERIFY(!date->text().isEmpty() && date->isVisible());
    QVERIFY(!add->isEnabled() && remove->isEnabled());
    QCOMPARE(screen->focusWidget(), customer);

    // Enter on a stored name does nothing.
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), customer);
    QCOMPARE(fx->commands().size(), 1);
}

// DETAILS shows the open credit area; a lookup that finds a customer hides it, one that finds
// none (or a blank name) leaves it as it was.
void TestCustomerScreen::lookupAndTheCreditArea() {
    typeName(QStringLiteral("ANNA"));
    details->click();
    QTest::keyClicks(customer, QStringLiteral("X"));
    QVERIFY(area->isVisible());
    QCOMPARE(entries().size(), 2);
    customer->lineEdit()->selectAll();
    QTest::keyClicks(customer, QStringLiteral(" "));
    QVERIFY(area->isVisible());
    typeName(QStringLiteral("BOB"));
    QVERIFY(area->isHidden() && picture->isVisible());
    details->click();
    screen->enter();
    QVERIFY(area->isHidden() && picture->isVisible());
}

// The lines listed belong to the customer DETAILS listed: changing the box to a name not
// stored leaves them, and PAID settles them and shows that customer's new total.
void TestCustomerScreen::paidActsOnTheCustomerListed() {
    typeName(QStringLiteral("ANNA"));
    details->click();
    tick(1);
    QTest::keyClicks(customer, QStringLiteral("NOBODY"));
    QCOMPARE(customer->currentText(), QStringLiteral("ANNANOBODY"));
    fx->messages.answers << MsgButton::Yes;
    paid->click();
    QCOMPARE(openRows(QStringLiteral("ANNA")), (QStringList{"111|0", "333|1", "222|1"}));
    QCOMPARE(fx->queries().last(),
             QStringLiteral("SELECT * FROM veresiyeler where odendimi=0 and musteriadi='ANNA';"));
    QCOMPARE(entries(), QStringList{"[ ] 2021-10-25 14:05:09 2 * MILK = 3.00"});
    QCOMPARE(credit->text(), QStringLiteral("3.00"));
}

// A failure while settling records nothing: the lines stay open, no payment is written, and
// the list is read again.
void TestCustomerScreen::paidFailureRecordsNothing() {
    QVERIFY(fx->exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON odemeler WHEN NEW.barkod = '222' "
                                    "BEGIN SELECT RAISE(ABORT, 'disk full'); END;")));
    typeName(QStringLiteral("ANNA"));
    details->click();
    selectAll->click();
    fx->messages.answers << MsgButton::Yes;
    paid->click();
    QCOMPARE(fx->messages.texts(),
             (QStringList{"Are you sure?", "Exception raised with message: disk full"}));
    QCOMPARE(openRows(QStringLiteral("ANNA")), (QStringList{"111|0", "333|1", "222|0"}));
    QCOMPARE(fx->rows(QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"0"});
    QCOMPARE(entries().size(), 2);
    QCOMPARE(total->text(), QStringLiteral("7.50"));
    QCOMPARE(credit->text(), QStringLiteral("7.50"));
}

// A credit line whose price is no number: the error is shown, the credit box shows no amount
// (so the customer cannot be deleted), and DETAILS lists nothing with TOTAL 0.00.
void TestCustomerScreen::unreadableAmounts() {
    QVERIFY(fx->exec(
        QStringLiteral("INSERT INTO veresiyeler (musteriadi, barkod, urunadi, adet, fiyat, odendimi) "
                       "VALUES ('ZOE', '9', 'ODD', 1, 'abc', 0);")));
    typeName(QStringLiteral("ZOE"));
    QCOMPARE(fx->messages.texts(), QStringList{"'abc' is not a valid floating point value."});
    QCOMPARE(credit->text(), QString());
    fx->messages.clear();
    remove->click();
    QCOMPARE(fx->messages.texts(), QStringList{"Customer with credit cannot be deleted!"});
    fx->messages.clear();
    details->click();
    QCOMPARE(fx->messages.texts(), QStringList{"'abc' is not a valid floating point value."});
    QVERIFY(entries().isEmpty());
    QCOMPARE(total->text(), QStringLiteral("0.00"));
}

void TestCustomerScreen::failedQueries() {
    QVERIFY(fx->exec(QStringLiteral("DROP TABLE veresiyeler;")));
    typeName(QStringLiteral("ANNA"));
    // A failed credit total gives 0.00; a failed open-lines query an empty list.
    QCOMPARE(fx->messages.shown.size(), 1);
    QCOMPARE(credit->text(), QStringLiteral("0.00"));
    details->click();
    QCOMPARE(fx->messages.shown.size(), 2);
    QVERIFY(entries().isEmpty());
    QCOMPARE(total->text(), QStringLiteral("0.00"));
    // A failed lookup counts as a name not stored.
    QVERIFY(fx->exec(QStringLiteral("DROP TABLE musteriler;")));
    typeName(QStringLiteral("BOB"));
    QVERIFY(add->isEnabled() && !remove->isEnabled() && details->isHidden());
}

void TestCustomerScreen::fullAccessEnding() {
    QSignalSpy back(screen.get(), &PanelCustomer::mainMenuClicked);
    control<QPushButton>(*screen, "BitBtn12")->click();
    QCOMPARE(back.size(), 1);
    fx->access.set(false);
    QCOMPARE(back.size(), 2);
    screen->hide();
    fx->access.set(true);
    fx->access.set(false);
    QCOMPARE(back.size(), 2);
}

void TestCustomerScreen::captionsAreTranslated() {
    start(QString::fromLatin1(customers), [](const QString& text) { return QStringLiteral("~") + text; });
    QStringList captions;
    for (const QLabel* label : screen->findChildren<QLabel*>()) {
        if (label != total)
            captions << label->text();
    }
    for (const QPushButton* button : screen->findChildren<QPushButton*>())
        captions << button->text();
    captions.sort();
    QCOMPARE(captions, (QStringList{"~ADD", "~CREDIT:", "~CUSTOMER:", "~DELETE CUSTOMER", "~DETAILS",
                                    "~MAIN MENU", "~PAID", "~RECORD DATE:", "~Select All", "~TOTAL:"}));
    typeName(QStringLiteral("ANNA"));
    fx->messages.answers << MsgButton::No;
    details->click();
    paid->click();
    QCOMPARE(fx->messages.shown.last().caption, QStringLiteral("~Sell by Credit"));
    QCOMPARE(fx->messages.shown.last().text, QStringLiteral("~Are you sure?"));
}

QTEST_MAIN(TestCustomerScreen)
#include "test_customerscreen.moc"
