#include "app/appform.h"
#include "catalogue/products.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "register/veresiye.h"
#include "tests/support/datafile.h"
#include "tests/support/mainwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace tillora;

// The sale screen in the real main window, driven by keys as a cashier and a scanner would,
// with the dialogs scripted.
class TestSaleScreen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void firstStart();
    void emptyCurrencySymbol();
    void scannerIntoCartList();
    void entryBoxThenQuantity();
    void handEntry_data();
    void handEntry();
    void addWithEmptyEntryWarns();
    void totalBeyondAnyAmountIsRefused();
    void editModeSetsQuantity();
    void backspace();
    void actionsFollowTheLineShownSelected();
    void quantityOutsideRangeIsPulledIn();
    void discountPrompt();
    void changePanel();
    void pickerArrowKeyPick();
    void sellButtonsCompleteTheSale();

private:
    QString cell(int row, int column) const;
    void scan(const QString& code);

    QString dataFile() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/data.db"); }

    ScriptedServices fake;
    ScriptedMessages& messages = fake.messages;
    ScriptedPrompts& prompts = fake.prompts;
    MemorySettingsStore& settings = fake.settings;
    Services& services = fake.services;
    std::unique_ptr<TAppForm> form;
    std::unique_ptr<test::MainWindowControls> ui;
};

void TestSaleScreen::initTestCase() {
    QFile::remove(dataFile());
    QVERIFY(test::makeDataFile(
        dataFile(),
        QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('111', 'BREAD', '2.5');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('777', 'SOAP', '1.99');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('ABC1', 'APPLE', '0.5');"
                       "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('3550', 'WINE', '35.5');")));
}

void TestSaleScreen::cleanupTestCase() {
    QFile::remove(dataFile());
}

void TestSaleScreen::init() {
    messages.clear();
    prompts.answers.clear();
    prompts.shown.clear();
    form = std::make_unique<TAppForm>(services);
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (!form->startupDone())
        QVERIFY(started.wait(5000));
    // The screens hidden at start are there once the window has been painted.
    ui = std::make_unique<test::MainWindowControls>(*form);
    QVERIFY(messages.shown.isEmpty());
    form->activateWindow();
    ui->ListView1->setFocus();
}

void TestSaleScreen::cleanup() {
    ui.reset();
    form.reset();
}

QString TestSaleScreen::cell(int row, int column) const {
    return ui->ListView1->model()->index(row, column).data().toString();
}

void TestSaleScreen::scan(const QString& code) {
    QTest::keyClicks(ui->ListView1, code);
    QTest::keyClick(ui->ListView1, Qt::Key_Return);
}

void TestSaleScreen::firstStart() {
    QCOMPARE(form->windowTitle(), QStringLiteral("KESTRUM - Tillora"));
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 0.00"));
    QCOMPARE(ui->Label21->text(), QStringLiteral("0%"));
    QVERIFY(ui->PanelMain->isVisible());
    QVERIFY(!ui->Panel1->isVisible());
    QVERIFY(!ui->Panel6->isVisible());
    QVERIFY(!ui->BitBtn16->isVisible());
    QVERIFY(!ui->BitBtn1->isEnabled());
    QCOMPARE(ui->BitBtn15->text(), QStringLiteral("ADD"));
    QCOMPARE(ui->SpinEdit1->value(), 1);
    QCOMPARE(ui->ListView1->model()->headerData(5, Qt::Horizontal).toString(),
             QStringLiteral("Discounted Price"));
}

void TestSaleScreen::emptyCurrencySymbol() {
    settings.writeString(QStringLiteral("CurrencySymbol"), QString());
    form = std::make_unique<TAppForm>(services);
    QCOMPARE(test::control<QLabel>(*form, "Label7")->text(), QStringLiteral(" 0.00"));
    settings.deleteKey();
}

void TestSaleScreen::scannerIntoCartList() {
    scan(QStringLiteral("111"));
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(cell(0, 3), QStringLiteral("1"));
    scan(QStringLiteral("111"));
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(cell(0, 3), QStringLiteral("2"));
    // Lower-case letters are looked up in upper case; unknown codes are dropped silently.
    scan(QStringLiteral("abc1"));
    scan(QStringLiteral("404"));
    QCOMPARE(ui->ListView1->model()->rowCount(), 2);
    QCOMPARE(cell(1, 1), QStringLiteral("APPLE"));
    QVERIFY(messages.shown.isEmpty());
    QVERIFY(form->saleRegister().ScanBuffer.isEmpty());
    QCOMPARE(QApplication::focusWidget(), ui->ListView1);
    QVERIFY(ui->Panel1->isVisible());
    QVERIFY(ui->BitBtn1->isEnabled() && ui->BitBtn2->isEnabled());
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 5.50"));
    QCOMPARE(ui->PanelMain->selectedCartLine(), -1); // typing never moves the selection
}

void TestSaleScreen::entryBoxThenQuantity() {
    scan(QStringLiteral("111"));
    QTest::keyClicks(ui->Edit4, QStringLiteral("111"));
    QTest::keyClick(ui->Edit4, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), ui->SpinEdit1);
    QTest::keyClicks(ui->SpinEdit1, QStringLiteral("3"));
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(cell(0, 3), QStringLiteral("4"));
    QVERIFY(ui->Edit4->text().isEmpty());
    QCOMPARE(ui->SpinEdit1->value(), 1);
    QCOMPARE(QApplication::focusWidget(), ui->ListView1);
    QCOMPARE(form->saleRegister().QuantityToAdd, 1);
}

void TestSaleScreen::handEntry_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QStringList>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("1.2") << "1.2" << QStringList{"", "MILK", "1.20", "1", "1.20"} << "";
    QTest::newRow("not a number") << "abc" << QStringList{} << "'abc' is not a valid floating point value.";
    QTest::newRow("not finite") << "1e400" << QStringList{} << "'1e400' is not a valid floating point value.";
}

void TestSaleScreen::handEntry() {
    QFETCH(QString, price);
    QFETCH(QStringList, line);
    QFETCH(QString, error);
    prompts.answers << price;
    QTest::keyClicks(ui->Edit4, QStringLiteral("milk"));
    QCOMPARE(ui->Edit4->text(), QStringLiteral("MILK"));
    QTest::keyClick(ui->Edit4, Qt::Key_Return);
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(prompts.shown.size(), 1);
    QCOMPARE(prompts.shown[0].caption, QStringLiteral("Add Product Manually"));
    QCOMPARE(prompts.shown[0].promptText, QStringLiteral("Please enter unit price:"));
    QCOMPARE(prompts.shown[0].initialValue, QStringLiteral("0.00"));
    QCOMPARE(prompts.shown[0].okText, QStringLiteral("OK"));
    if (line.isEmpty()) {
        QCOMPARE(ui->ListView1->model()->rowCount(), 0);
        QCOMPARE(messages.texts(), QStringList{error});
        QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
    } else {
        QCOMPARE(ui->ListView1->model()->rowCount(), 1);
        QStringList got;
        for (int c = 0; c < 5; ++c)
            got << cell(0, c);
        QCOMPARE(got, line);
    }
    QVERIFY(form->saleRegister().ScanBuffer.isEmpty());
    QCOMPARE(form->saleRegister().QuantityToAdd, 1);
}

// A hand-entered line whose total is no amount (1e308 x 2) never reaches the cart, and the
// keys that recompute the totals afterwards work as on any cart.
void TestSaleScreen::totalBeyondAnyAmountIsRefused() {
    scan(QStringLiteral("111"));
    prompts.answers << QStringLiteral("1e308");
    QTest::keyClicks(ui->Edit4, QStringLiteral("gold"));
    QTest::keyClick(ui->Edit4, Qt::Key_Return);
    ui->SpinEdit1->setValue(2);
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("'INF' is not a valid floating point value.")});
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 2.50"));

    // Editing the good line to a quantity beyond any amount is refused the same way.
    messages.clear();
    form->saleRegister().addByHand(QStringLiteral("BIG"), 1e304, 1);
    ui->ListView1->selectRow(1);
    ui->SpinEdit1->setValue(99999);
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("'INF' is not a valid floating point value.")});
    QCOMPARE(cell(1, 3), QStringLiteral("1"));

    messages.clear();
    ui->ListView1->setFocus();
    QTest::keyClick(ui->ListView1, Qt::Key_Backspace);
    ui->ListView1->clearSelection();
    ui->ListView1->selectRow(0);
    QVERIFY(ui->BitBtn16->isVisible());
    QTest::mouseClick(ui->BitBtn16, Qt::LeftButton);
    ui->BitBtn17->click();
    ui->BitBtn20->click();
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(ui->ListView1->model()->rowCount(), 0);
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 0.00"));
    QVERIFY(ui->PanelMain->isVisible());
}

void TestSaleScreen::addWithEmptyEntryWarns() {
    ui->BitBtn15->click();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].caption, QStringLiteral("WARNING"));
    QCOMPARE(messages.shown[0].text, QStringLiteral("Please enter barcode or product name!"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QVERIFY(prompts.shown.isEmpty());
}

void TestSaleScreen::editModeSetsQuantity() {
    scan(QStringLiteral("111"));
    scan(QStringLiteral("777"));
    ui->ListView1->selectRow(0);
    QCOMPARE(ui->BitBtn15->text(), QStringLiteral("Edit"));
    QVERIFY(ui->BitBtn16->isVisible());
    QVERIFY(!ui->Edit4->isEnabled());
    QCOMPARE(ui->Edit4->text(), QStringLiteral("111"));
    ui->SpinEdit1->setFocus();
    ui->SpinEdit1->selectAll();
    QTest::keyClicks(ui->SpinEdit1, QStringLiteral("5"));
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(cell(0, 3), QStringLiteral("5"));
    QCOMPARE(cell(0, 4), QStringLiteral("12.50"));
    QCOMPARE(ui->BitBtn15->text(), QStringLiteral("Edit"));
    QTest::keyClick(ui->ListView1, Qt::Key_Escape);
    QCOMPARE(ui->BitBtn15->text(), QStringLiteral("ADD"));
    QVERIFY(!ui->BitBtn16->isVisible());
    QVERIFY(ui->Edit4->isEnabled());
    QCOMPARE(ui->PanelMain->selectedCartLine(), -1);
}

void TestSaleScreen::backspace() {
    QTest::keyClick(ui->ListView1, Qt::Key_Backspace); // empty cart: nothing happens
    scan(QStringLiteral("111"));
    scan(QStringLiteral("777"));
    scan(QStringLiteral("ABC1"));
    QTest::keyClick(ui->ListView1, Qt::Key_Backspace);
    QCOMPARE(ui->ListView1->model()->rowCount(), 2);
    QCOMPARE(cell(1, 0), QStringLiteral("777"));
    ui->ListView1->selectRow(0);
    ui->ListView1->setFocus();
    QTest::keyClick(ui->ListView1, Qt::Key_Backspace);
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(cell(0, 0), QStringLiteral("777"));
    QCOMPARE(ui->BitBtn15->text(), QStringLiteral("ADD"));
    QTest::keyClick(ui->ListView1, Qt::Key_Backspace);
    QCOMPARE(ui->ListView1->model()->rowCount(), 0);
    QVERIFY(!ui->Panel6->isVisible());
    QVERIFY(!ui->BitBtn1->isEnabled() && !ui->BitBtn2->isEnabled());
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 0.00"));
}

void TestSaleScreen::actionsFollowTheLineShownSelected() {
    scan(QStringLiteral("111"));
    scan(QStringLiteral("777"));
    ui->ListView1->selectRow(1);
    ui->ListView1->setFocus();
    // A scan while a line is selected returns to entry mode and leaves the line selected.
    scan(QStringLiteral("ABC1"));
    QCOMPARE(ui->BitBtn15->text(), QStringLiteral("ADD"));
    QCOMPARE(ui->PanelMain->selectedCartLine(), 1);
    QTest::keyClick(ui->ListView1, Qt::Key_Backspace);
    QCOMPARE(ui->ListView1->model()->rowCount(), 2);
    QCOMPARE(cell(0, 0), QStringLiteral("111"));
    QCOMPARE(cell(1, 0), QStringLiteral("ABC1"));
}

void TestSaleScreen::quantityOutsideRangeIsPulledIn() {
    auto* edit = ui->SpinEdit1->findChild<QLineEdit*>();
    QVERIFY(edit);
    ui->Edit4->setText(QStringLiteral("111"));
    edit->setText(QStringLiteral("0"));
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(cell(0, 3), QStringLiteral("1"));
    ui->Edit4->setText(QStringLiteral("111"));
    edit->setText(QStringLiteral("250000"));
    QTest::keyClick(ui->SpinEdit1, Qt::Key_Return);
    QCOMPARE(cell(0, 3), QStringLiteral("100000"));
}

void TestSaleScreen::discountPrompt() {
    ui->Edit4->setText(QStringLiteral("777"));
    ui->SpinEdit1->setValue(7);
    ui->BitBtn15->click();
    prompts.answers << QStringLiteral("15");
    ui->Button1->click();
    QCOMPARE(prompts.shown.last().caption, QStringLiteral("Discount"));
    QCOMPARE(prompts.shown.last().promptText, QStringLiteral("Please enter discount ratio:"));
    QCOMPARE(prompts.shown.last().initialValue, QStringLiteral("0"));
    QCOMPARE(ui->Label21->text(), QStringLiteral("15%"));
    QCOMPARE(cell(0, 5), QStringLiteral("1.69"));
    QCOMPARE(cell(0, 6), QStringLiteral("11.84"));
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 11.84"));
    prompts.answers << QStringLiteral("12,5");
    ui->Button1->click();
    QCOMPARE(prompts.shown.last().initialValue, QStringLiteral("15"));
    QCOMPARE(messages.beeps, 1);
    QCOMPARE(ui->Label21->text(), QStringLiteral("15%"));
    prompts.answers << std::nullopt;
    ui->Button1->click();
    QCOMPARE(ui->Label21->text(), QStringLiteral("15%"));
    QCOMPARE(QApplication::focusWidget(), ui->ListView1);
}

void TestSaleScreen::changePanel() {
    QTest::keyClicks(ui->Edit7, QStringLiteral("50"));
    scan(QStringLiteral("3550"));
    QVERIFY(ui->Panel6->isVisible());
    QCOMPARE(ui->Memo1->toPlainText(), QStringLiteral("\nFor 100\n64.50\n\nFor 50\n14.50"));
    QCOMPARE(ui->Label19->text(), QStringLiteral("14.50"));
    ui->Edit7->setText(QStringLiteral("20"));
    QCOMPARE(ui->Label19->text(), QStringLiteral("-15.50"));
    ui->Edit7->clear();
    QCOMPARE(ui->Label19->text(), QStringLiteral("0.00"));
}

void TestSaleScreen::pickerArrowKeyPick() {
    bool picked = false;
    QTimer::singleShot(0, this, [&picked]() {
        auto* picker = qobject_cast<TUrunlerForm*>(QApplication::activeModalWidget());
        QVERIFY(picker);
        auto* list = picker->findChild<QListView*>(QStringLiteral("ListView1"));
        QVERIFY(list);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        picked = true;
    });
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(picked);
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(cell(0, 1), QStringLiteral("APPLE")); // the first entry by name
    QCOMPARE(cell(0, 3), QStringLiteral("1"));
    QVERIFY(form->saleRegister().ScanBuffer.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

// The sell bar in the real window: cash with "Ask Print" on prints the receipt of the next
// number and clears the register; credit shows the customer chooser modally.
void TestSaleScreen::sellButtonsCompleteTheSale() {
    form.reset();
    settings.writeInteger(QStringLiteral("Print"), 1);
    settings.writeInteger(QStringLiteral("ReceiptNumber"), 7);
    init();
    QVERIFY(ui->AskPrint1->isChecked());
    scan(QStringLiteral("111"));
    scan(QStringLiteral("111"));
    messages.answers << MsgButton::Yes << MsgButton::Yes;
    QTest::mouseClick(ui->BitBtn1, Qt::LeftButton);
    QCOMPARE(messages.texts(), (QStringList{QStringLiteral("Confirm?"), QStringLiteral("Print?")}));
    QCOMPARE(messages.shown.last().caption, QStringLiteral("Sell by Cash"));
    QCOMPARE(fake.printing.jobs.size(), 1);
    QVERIFY(fake.printing.jobs[0].text.contains(QStringLiteral("Receipt Number: 7")));
    QVERIFY(fake.printing.jobs[0].text.contains(QStringLiteral("BREAD (2.50) * 2")));
    QCOMPARE(settings.readInteger(QStringLiteral("ReceiptNumber")), 8);
    QCOMPARE(ui->Label7->text(), QStringLiteral("$ 0.00"));
    QCOMPARE(form->saleRegister().cart().size(), 0);
    QVERIFY(!ui->BitBtn1->isEnabled());

    scan(QStringLiteral("111"));
    QString modal;
    QTimer::singleShot(0, this, [&modal]() {
        if (auto* chooser = qobject_cast<TVeresiyeForm*>(QApplication::activeModalWidget())) {
            modal = chooser->windowTitle();
            chooser->reject();
        }
    });
    QTest::mouseClick(ui->BitBtn2, Qt::LeftButton);
    QCOMPARE(modal, QStringLiteral("Sell by Credit"));
    QCOMPARE(form->saleRegister().cart().size(), 1); // cancelled: nothing recorded
    settings.deleteKey();
}

QTEST_MAIN(TestSaleScreen)
#include "test_salescreen.moc"
