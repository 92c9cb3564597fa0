// The products screen on its own, driven by keys as a shop owner and a scanner would, with
// the dialogs scripted: the barcode lookup at every change, ADD, UPDATE, DELETE PRODUCT, the
// stock box, the Enter chain, database failures and the end of full access.
#include "catalogue/productscreen.h"
#include "tests/catalogue/screenfixture.h"
#include "tests/support/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <memory>

using namespace tillora;
using test::control;
using test::ScreenFixture;

namespace {

const char* const catalogue = "INSERT INTO urunler (barkod, urunadi, fiyat, stok, kayittarihi) VALUES"
                              " ('5000', 'MILK', 1.5, 10, '2021-10-25 14:05:09'),"
                              " ('0042', 'GUM', 0.25, 3, '2021-10-26 09:00:00'),"
                              " ('ABC', 'CABLE', 12, 1, '2021-10-27 10:30:00');";

} // namespace

class TestProductScreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opening();
    void lookupAtEveryLetter();
    void typedBarcodeIsStoredAsShown_data();
    void typedBarcodeIsStoredAsShown();
    void addShowsTheNewProduct();
    void invalidEntry_data();
    void invalidEntry();
    void updateKeepsWhatWasTyped();
    void deleteProduct();
    void deletingTheLastProductEmptiesTheScreen();
    void storedStockIsPulledIntoRange_data();
    void storedStockIsPulledIntoRange();
    void stockBox_data();
    void stockBox();
    void enterChainFromScannerToAdd();
    void enterInStockGoesToUpdateForAStoredProduct();
    void databaseFailures();
    void fullAccessEnding();
    void captionsAreTranslated();

private:
    // Opens the screen on a data file holding extraSql.
    void start(const QString& extraSql = QString::fromLatin1(catalogue), Translate translate = {});
    QStringList barcodeList() const;
    QString stored(const QString& barcode) const;
    void typeBarcode(const QString& text);

    std::unique_ptr<ScreenFixture> fx;
    std::unique_ptr<PanelProduct> screen;
    QComboBox* barcode = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* price = nullptr;
    QSpinBox* stock = nullptr;
    QLabel* dateLabel = nullptr;
    QLineEdit* date = nullptr;
    QPushButton* add = nullptr;
    QPushButton* update = nullptr;
    QPushButton* remove = nullptr;
};

void TestProductScreen::init() {
    start();
}

void TestProductScreen::cleanup() {
    screen.reset();
    fx.reset();
}

void TestProductScreen::start(const QString& extraSql, Translate translate) {
    screen.reset();
    fx = std::make_unique<ScreenFixture>(std::move(translate));
    QVERIFY(fx->open(extraSql));
    screen = std::make_unique<PanelProduct>(fx->context);
    barcode = control<QComboBox>(*screen, "ComboBox1");
    name = control<QLineEdit>(*screen, "Edit2");
    price = control<QLineEdit>(*screen, "Edit3");
    stock = control<QSpinBox>(*screen, "SpinEdit2");
    dateLabel = control<QLabel>(*screen, "Label6");
    date = control<QLineEdit>(*screen, "Edit5");
    add = control<QPushButton>(*screen, "BitBtn5");
    update = control<QPushButton>(*screen, "BitBtn8");
    remove = control<QPushButton>(*screen, "BitBtn9");
    QVERIFY(ScreenFixture::show(*screen));
    screen->enter();
    fx->log.entries.clear();
}

QStringList TestProductScreen::barcodeList() const {
    QStringList list;
    for (int i = 0; i < barcode->count(); ++i)
        list << barcode->itemText(i);
    return list;
}

QString TestProductScreen::stored(const QString& code) const {
    const QStringList rows =
        fx->rows(QStringLiteral("SELECT barkod, urunadi, fiyat, stok FROM urunler WHERE barkod='") +
                 QString(code).replace(QLatin1Char('\''), QStringLiteral("''")) + QStringLiteral("'"));
    return rows.join(QLatin1Char('\n'));
}

void TestProductScreen::typeBarcode(const QString& text) {
    barcode->setFocus();
    barcode->lineEdit()->selectAll();
    QTest::keyClicks(barcode, text);
}

void TestProductScreen::opening() {
    QCOMPARE(barcodeList(), (QStringList{"0042", "5000", "ABC"}));
    QCOMPARE(barcode->currentText(), QString());
    QVERIFY(name->text().isEmpty() && price->text().isEmpty() && date->text().isEmpty());
    QCOMPARE(stock->value(), 0);
    QVERIFY(!add->isEnabled() && !update->isEnabled() && !remove->isEnabled());
    QVERIFY(dateLabel->isHidden() && date->isHidden());
    QCOMPARE(screen->focusWidget(), barcode);

    // Opening again forgets what the screen showed.
    typeBarcode(QStringLiteral("5000"));
    QCOMPARE(name->text(), QStringLiteral("MILK"));
    screen->enter();
    QCOMPARE(barcode->currentText(), QString());
    QVERIFY(name->text().isEmpty() && price->text().isEmpty());
    QCOMPARE(stock->value(), 0);
    QVERIFY(!update->isEnabled() && date->isHidden());
    QVERIFY(fx->messages.shown.isEmpty());
}

void TestProductScreen::lookupAtEveryLetter() {
    struct Step {
        QString typed;
        bool found;
    };
    typeBarcode(QString());
    const Step steps[] = {{"5", false}, {"0", false}, {"0", false}, {"0", true}};
    QString text;
    for (const Step& step : steps) {
        QTest::keyClicks(barcode, step.typed);
        text += step.typed;
        QCOMPARE(fx->queries().last(), QStringLiteral("SELECT * FROM urunler where barkod='%1';").arg(text));
        QCOMPARE(add->isEnabled(), !step.found);
        QCOMPARE(update->isEnabled(), step.found);
        QCOMPARE(remove->isEnabled(), step.found);
        QCOMPARE(date->isVisible(), step.found);
    }
    QCOMPARE(fx->queries().size(), 4);
    QCOMPARE(name->text(), QStringLiteral("MILK"));
    QCOMPARE(price->text(), QStringLiteral("1.5"));
    QCOMPARE(stock->value(), 10);
    QCOMPARE(date->text(), QStringLiteral("2021-10-25 14:05:09"));
    QVERIFY(dateLabel->isVisible());

    // One letter less: not stored, the fields are emptied.
    QTest::keyClick(barcode, Qt::Key_Backspace);
    QVERIFY(add->isEnabled() && !update->isEnabled());
    QVERIFY(name->text().isEmpty() && price->text().isEmpty() && date->isHidden());
    QCOMPARE(stock->value(), 0);

    // Blanks only: the buttons go off, nothing is looked up, the fields stay.
    name->setText(QStringLiteral("kept"));
    const int queries = fx->queries().size();
    barcode->lineEdit()->selectAll();
    QTest::keyClicks(barcode, QStringLiteral("  "));
    QVERIFY(!add->isEnabled() && !update->isEnabled() && !remove->isEnabled());
    QCOMPARE(fx->queries().size(), queries);
    QCOMPARE(name->text(), QStringLiteral("kept"));

    // A barcode chosen from the list is looked up as well.
    barcode->setCurrentIndex(2);
    QCOMPARE(name->text(), QStringLiteral("CABLE"));
    QCOMPARE(price->text(), QStringLiteral("12"));
    QVERIFY(fx->messages.shown.isEmpty());
}

void TestProductScreen::typedBarcodeIsStoredAsShown_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lower case is shown and searched in upper case") << "abc9x"
                                                                    << "ABC9X";
    QTest::newRow("a leading blank is kept") << " 42"
                                             << " 42";
    QTest::newRow("a quote is stored as typed") << "O'1"
                                                << "O'1";
    QTest::newRow("a stored code in lower case finds it") << "abc"
                                                          << "ABC";
}

void TestProductScreen::typedBarcodeIsStoredAsShown() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    typeBarcode(typed);
    QCOMPARE(barcode->currentText(), shown);
    QCOMPARE(fx->queries().last(), QStringLiteral("SELECT * FROM urunler where barkod='%1';")
                                       .arg(QString(shown).replace(QLatin1Char('\''), QStringLiteral("''"))));
    if (update->isEnabled())
        return; // a stored product: nothing to add
    name->setText(QStringLiteral("NEW"));
    price->setText(QStringLiteral("1"));
    add->click();
    QCOMPARE(stored(shown), shown + QStringLiteral("|NEW|1.0|0"));
    QCOMPARE(barcode->currentText(), shown);
    QVERIFY(update->isEnabled() && !add->isEnabled());
}

void TestProductScreen::addShowsTheNewProduct() {
    typeBarcode(QStringLiteral("7001"));
    name->setText(QStringLiteral("  O'Brien tea "));
    price->setText(QStringLiteral(" 2,50"));
    stock->setValue(7);
    add->click();
    QVERIFY(fx->messages.shown.isEmpty());
    QCOMPARE(fx->commands(), QStringList{QStringLiteral("insert into urunler (barkod, urunadi, fiyat, stok) "
                                                        "values ('7001','O''Brien tea','2.50','7');")});
    QCOMPARE(stored(QStringLiteral("7001")), QStringLiteral("7001|O'Brien tea|2.5|7"));
    // The list is read again; the new product is shown as a lookup shows it.
    QCOMPARE(barcodeList(), (QStringList{"0042", "5000", "7001", "ABC"}));
    QCOMPARE(barcode->currentText(), QStringLiteral("7001"));
    QCOMPARE(name->text(), QStringLiteral("O'Brien tea"));
    QCOMPARE(price->text(), QStringLiteral("2.5"));
    QCOMPARE(stock->value(), 7);
    QVERIFY(!date->text().isEmpty() && date->isVisible());
    QCOMPARE(date->text(),
             fx->rows(QStringLiteral("SELECT kayittarihi FROM urunler WHERE barkod='7001'")).value(0));
    QVERIFY(!add->isEnabled() && update->isEnabled() && remove->isEnabled());
    QCOMPARE(screen->focusWidget(), barcode);
    QCOMPARE(barcode->lineEdit()->selectedText(), QStringLiteral("7001"));
}

void TestProductScreen::invalidEntry_data() {
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedPrice");
    QTest::addColumn<QString>("cleanedName");
    QTest::addColumn<QString>("cleanedPrice");
    QTest::newRow("ADD, name of blanks") << true << "   "
                                         << "2"
                                         << ""
                                         << "2";
    QTest::newRow("ADD, price of letters") << true << " TEA "
                                           << " abc "
                                           << "TEA"
                                           << "abc";
    QTest::newRow("ADD, no price") << true << "TEA"
                                   << "  "
                                   << "TEA"
                                   << "";
    QTest::newRow("UPDATE, grouped price") << false << "MILK"
                                           << "1,000.50"
                                           << "MILK"
                                           << "1.000.50";
    QTest::newRow("UPDATE, no name") << false << ""
                                     << "1.5"
                                     << ""
                                     << "1.5";
}

// "Invalid Entry!" writes nothing and leaves the cleaned texts in their boxes. ADD's warning is
// translated, UPDATE's stays English.
void TestProductScreen::invalidEntry() {
    QFETCH(bool, adding);
    QFETCH(QString, typedName);
    QFETCH(QString, typedPrice);
    QFETCH(QString, cleanedName);
    QFETCH(QString, cleanedPrice);
    start(QString::fromLatin1(catalogue), [](const QString& text) { return QStringLiteral("~") + text; });
    typeBarcode(adding ? QStringLiteral("9999") : QStringLiteral("5000"));
    name->setText(typedName);
    price->setText(typedPrice);
    (adding ? add : update)->click();
    QCOMPARE(fx->messages.shown.size(), 1);
    const ShownMessage& box = fx->messages.shown[0];
    QCOMPARE(box.caption, adding ? QStringLiteral("~ERROR") : QStringLiteral("ERROR"));
    QCOMPARE(box.text, adding ? QStringLiteral("~Invalid Entry!") : QStringLiteral("Invalid Entry!"));
    QCOMPARE(box.icon, MsgIcon::Warning);
    QCOMPARE(box.buttons, MsgButtons{MsgButton::Ok});
    QVERIFY(fx->commands().isEmpty());
    QCOMPARE(name->text(), cleanedName);
    QCOMPARE(price->text(), cleanedPrice);
    QCOMPARE(stored(QStringLiteral("5000")), QStringLiteral("5000|MILK|1.5|10"));
}

void TestProductScreen::updateKeepsWhatWasTyped() {
    typeBarcode(QStringLiteral("5000"));
    name->setText(QStringLiteral(" FRESH MILK "));
    price->setText(QStringLiteral("1,75"));
    stock->setValue(12);
    name->setFocus();
    update->click();
    QVERIFY(fx->messages.shown.isEmpty());
    QCOMPARE(fx->commands(),
             QStringList{QStringLiteral("update urunler set urunadi='FRESH MILK', fiyat='1.75', "
                                        "stok='12' where barkod='5000';")});
    QCOMPARE(stored(QStringLiteral("5000")), QStringLiteral("5000|FRESH MILK|1.75|12"));
    QCOMPARE(name->text(), QStringLiteral("FRESH MILK"));
    QCOMPARE(price->text(), QStringLiteral("1.75"));
    QCOMPARE(date->text(), QStringLiteral("2021-10-25 14:05:09"));
    QCOMPARE(screen->focusWidget(), barcode);
    QCOMPARE(barcode->lineEdit()->selectedText(), QStringLiteral("5000"));
}

void TestProductScreen::deleteProduct() {
    QVERIFY(fx->exec(QStringLiteral(
        "INSERT INTO veresiyeler (musteriadi, barkod, urunadi, adet, fiyat) "
        "VALUES ('ANNA', '5000', 'MILK', 1, 1.5);"
        "INSERT INTO odemeler (barkod, urunadi, adet, fiyat) VALUES ('5000', 'MILK', 2, 1.5);")));
    typeBarcode(QStringLiteral("5000"));
    fx->messages.answers << MsgButton::No;
    remove->click();
    QCOMPARE(fx->messages.shown.size(), 1);
    QCOMPARE(fx->messages.shown[0].caption, QStringLiteral("Delete Record"));
    QCOMPARE(fx->messages.shown[0].text, QStringLiteral("Are you sure?"));
    QCOMPARE(fx->messages.shown[0].icon, MsgIcon::None);
    QCOMPARE(fx->messages.shown[0].buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
    QVERIFY(fx->commands().isEmpty());

    fx->messages.answers << MsgButton::Yes;
    remove->click();
    QCOMPARE(fx->commands(), QStringList{QStringLiteral("delete from urunler where barkod='5000';")});
    QVERIFY(stored(QStringLiteral("5000")).isEmpty());
    // The first product in barcode order is shown.
    QCOMPARE(barcodeList(), (QStringList{"0042", "ABC"}));
    QCOMPARE(barcode->currentText(), QStringLiteral("0042"));
    QCOMPARE(name->text(), QStringLiteral("GUM"));
    QVERIFY(update->isEnabled() && remove->isEnabled() && date->isVisible());
    QCOMPARE(screen->focusWidget(), barcode);
    // Recorded sales keep their own copy of the product.
    QCOMPARE(fx->rows(QStringLiteral("SELECT count(*) FROM veresiyeler")), QStringList{"1"});
    QCOMPARE(fx->rows(QStringLiteral("SELECT count(*) FROM odemeler")), QStringList{"1"});
}

void TestProductScreen::deletingTheLastProductEmptiesTheScreen() {
    start(QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('1', 'ONLY', 1);"));
    typeBarcode(QStringLiteral("1"));
    fx->messages.answers << MsgButton::Yes;
    remove->click();
    QCOMPARE(barcode->count(), 0);
    QCOMPARE(barcode->currentText(), QString());
    QVERIFY(name->text().isEmpty() && price->text().isEmpty());
    QVERIFY(!add->isEnabled() && !update->isEnabled() && !remove->isEnabled());
    QVERIFY(date->isHidden());
}

void TestProductScreen::storedStockIsPulledIntoRange_data() {
    QTest::addColumn<QString>("storedStock");
    QTest::addColumn<int>("shown");
    QTest::newRow("below 0") << "-5" << 0;
    QTest::newRow("above 999999") << "1234567" << 999999;
    QTest::newRow("empty") << "NULL" << 0;
    QTest::newRow("inside") << "999999" << 999999;
}

// A stock outside the box's range (from an import) is shown pulled in, and UPDATE writes what
// is shown.
void TestProductScreen::storedStockIsPulledIntoRange() {
    QFETCH(QString, storedStock);
    QFETCH(int, shown);
    start(QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('77', 'TEA', 2, %1);")
              .arg(storedStock));
    typeBarcode(QStringLiteral("77"));
    QCOMPARE(stock->value(), shown);
    update->click();
    QCOMPARE(stored(QStringLiteral("77")), QStringLiteral("77|TEA|2.0|%1").arg(shown));
}

void TestProductScreen::stockBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownWhenLeft");
    QTest::addColumn<int>("beeps");
    QTest::newRow("above the range") << "1234567"
                                     << "999999" << 0;
    QTest::newRow("below the range") << "-5"
                                     << "0" << 0;
    QTest::newRow("a sign") << "+7"
                            << "7" << 0;
    QTest::newRow("not a whole number") << "1.5"
                                        << "0" << 0;
    QTest::newRow("letters and a blank refused") << "1a2 b3"
                                                 << "123" << 3;
}

// Typing into the stock box: refused keys beep, the value is pulled into the range when the
// box is left, and ADD writes that value.
void TestProductScreen::stockBox() {
    QFETCH(QString, typed);
    QFETCH(QString, shownWhenLeft);
    QFETCH(int, beeps);
    typeBarcode(QStringLiteral("8000"));
    name->setText(QStringLiteral("TEA"));
    price->setText(QStringLiteral("2"));
    stock->setFocus();
    stock->selectAll();
    QTest::keyClicks(stock, typed);
    QCOMPARE(fx->messages.beeps, beeps);
    QTest::keyClick(stock, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), add);
    QCOMPARE(stock->text(), shownWhenLeft);
    QTest::keyClick(add, Qt::Key_Return);
    QCOMPARE(stored(QStringLiteral("8000")), QStringLiteral("8000|TEA|2.0|") + shownWhenLeft);
}

// A scanner types the code and Enter into the barcode box; the shop owner goes on with Enter
// from box to box, and the last Enter presses ADD.
void TestProductScreen::enterChainFromScannerToAdd() {
    QCOMPARE(screen->focusWidget(), barcode);
    ScreenFixture::type(*screen, QStringLiteral("5901234123457"));
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), name);
    QVERIFY(add->isEnabled());
    ScreenFixture::type(*screen, QStringLiteral("BISCUIT"));
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), price);
    ScreenFixture::type(*screen, QStringLiteral("2,50"));
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), stock);
    ScreenFixture::type(*screen, QStringLiteral("24"));
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), add);
    QVERIFY(fx->commands().isEmpty());
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(stored(QStringLiteral("5901234123457")), QStringLiteral("5901234123457|BISCUIT|2.5|24"));
    QCOMPARE(screen->focusWidget(), barcode);
    QVERIFY(update->isEnabled());
}

void TestProductScreen::enterInStockGoesToUpdateForAStoredProduct() {
    ScreenFixture::type(*screen, QStringLiteral("0042"));
    for (int i = 0; i < 3; ++i)
        ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), stock);
    ScreenFixture::type(*screen, QStringLiteral("9"));
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), update);
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(stored(QStringLiteral("0042")), QStringLiteral("0042|GUM|0.25|9"));

    // A blank barcode leaves no button to go to: the focus stays in the stock box.
    barcode->setEditText(QString());
    stock->setFocus();
    ScreenFixture::key(*screen, Qt::Key_Return);
    QCOMPARE(screen->focusWidget(), stock);
}

void TestProductScreen::databaseFailures() {
    // A refused insert: reported, the fields stay as typed.
    QVERIFY(fx->exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON urunler BEGIN SELECT RAISE(ABORT, 'disk full'); END;")));
    typeBarcode(QStringLiteral("6000"));
    name->setText(QStringLiteral("JAM"));
    price->setText(QStringLiteral("3"));
    add->click();
    QCOMPARE(fx->messages.texts(), QStringList{QStringLiteral("Exception raised with message: disk full")});
    QCOMPARE(barcode->currentText(), QStringLiteral("6000"));
    QCOMPARE(name->text(), QStringLiteral("JAM"));
    QVERIFY(add->isEnabled());
    QCOMPARE(barcodeList(), (QStringList{"0042", "5000", "ABC"}));

    // A failed lookup counts as a barcode not stored; a failed list leaves the list empty.
    fx->messages.clear();
    QVERIFY(fx->exec(QStringLiteral("DROP TABLE urunler;")));
    typeBarcode(QStringLiteral("5000"));
    QCOMPARE(fx->messages.shown.size(), 4); // one lookup, and one report, per letter
    QVERIFY(fx->messages.shown[0].text.startsWith(QStringLiteral("Exception raised with message: ")));
    QVERIFY(add->isEnabled() && !update->isEnabled() && name->text().isEmpty());
    screen->enter();
    QCOMPARE(barcode->count(), 0);
}

void TestProductScreen::fullAccessEnding() {
    QSignalSpy back(screen.get(), &PanelProduct::mainMenuClicked);
    control<QPushButton>(*screen, "BitBtn10")->click();
    QCOMPARE(back.size(), 1);
    fx->access.set(false);
    QCOMPARE(back.size(), 2);
    fx->access.set(true);
    QCOMPARE(back.size(), 2);
    // A screen not on view does not answer.
    screen->hide();
    fx->access.set(false);
    QCOMPARE(back.size(), 2);
}

void TestProductScreen::captionsAreTranslated() {
    start(QString::fromLatin1(catalogue), [](const QString& text) { return QStringLiteral("~") + text; });
    QStringList labels;
    for (const QLabel* label : screen->findChildren<QLabel*>())
        labels << label->text();
    labels.sort();
    QCOMPARE(labels,
             (QStringList{"~BARCODE:", "~PRICE:", "~PRODUCT NAME:", "~RECORD DATE:", "~STOCK BALANCE:"}));
    QCOMPARE(add->text(), QStringLiteral("~ADD"));
    QCOMPARE(update->text(), QStringLiteral("~UPDATE"));
    QCOMPARE(remove->text(), QStringLiteral("~DELETE PRODUCT"));
    QCOMPARE(control<QPushButton>(*screen, "BitBtn10")->text(), QStringLiteral("~MAIN MENU"));
}

QTEST_MAIN(TestProductScreen)
#include "test_productscreen.moc"
