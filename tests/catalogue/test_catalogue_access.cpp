// The products and customers screens in the real main window: opened by their navigation
// buttons only with full access, left by MAIN MENU, and left as well when full access ends
// while they are up.
#include "app/appform.h"
#include "platform/scripted/scripted.h"
#include "tests/support/datafile.h"
#include "tests/support/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tillora;

class TestCatalogueAccess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void screens_data();
    void screens();

private:
    QString dataFile() const { return dir.filePath(QStringLiteral("data.db")); }

    QTemporaryDir dir;

    ScriptedServices fake;
    std::unique_ptr<TAppForm> form;
};

void TestCatalogueAccess::initTestCase() {
    QVERIFY(test::makeDataFile(
        dataFile(), QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('111', 'MILK', 1.5);"
                                   "INSERT INTO musteriler (musteriadi) VALUES ('ANNA');")));
}

void TestCatalogueAccess::init() {
    fake.messages.clear();
    form = std::make_unique<TAppForm>(fake.services);
    form->setDataFile(dataFile());
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (!form->startupDone())
        QVERIFY(started.wait(5000));
    form->activateWindow();
}

void TestCatalogueAccess::cleanup() {
    form.reset();
}

void TestCatalogueAccess::screens_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("firstEntry");
    QTest::newRow("PRODUCTS") << "BitBtn3"
                              << "PanelProduct"
                              << "ComboBox1"
                              << "111";
    QTest::newRow("CUSTOMERS") << "BitBtn4"
                               << "PanelCustomer"
                               << "ComboBox2"
                               << "ANNA";
}

void TestCatalogueAccess::screens() {
    QFETCH(QString, button);
    QFETCH(QString, screen);
    QFETCH(QString, box);
    QFETCH(QString, firstEntry);
    const test::MainWindowControls ui(*form);
    auto* open = test::control<QPushButton>(*form, qPrintable(button));
    auto* panel = test::control<QWidget>(*form, qPrintable(screen));
    auto* key = test::control<QComboBox>(*form, qPrintable(box));
    form->saleRegister().addByHand(QStringLiteral("TEA"), 2, 1);

    // Without full access nothing opens.
    ui.Logout1->trigger();
    open->click();
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("You are not logged as admin!")});
    QVERIFY(ui.PanelMain->isVisible() && !panel->isVisible());

    // With it the screen opens on an empty form with its list loaded, the sell bar hidden.
    fake.messages.clear();
    ui.Login1->trigger();
    QTRY_VERIFY(form->fullAccess());
    open->click();
    QVERIFY(panel->isVisible() && !ui.PanelMain->isVisible() && !ui.Panel1->isVisible());
    QCOMPARE(key->count(), 1);
    QCOMPARE(key->itemText(0), firstEntry);
    QCOMPARE(QApplication::focusWidget(), key);
    QVERIFY(fake.messages.shown.isEmpty());

    // Logout while it is up: back to the sale screen, as MAIN MENU does.
    ui.Logout1->trigger();
    QVERIFY(ui.PanelMain->isVisible() && !panel->isVisible());
    QVERIFY(ui.Panel1->isVisible() && ui.BitBtn1->isEnabled());
    QCOMPARE(QApplication::focusWidget(), ui.ListView1);
    // Logging in again does not bring it back.
    ui.Login1->trigger();
    QTRY_VERIFY(form->fullAccess());
    QVERIFY(ui.PanelMain->isVisible() && !panel->isVisible());
    QVERIFY(fake.messages.shown.isEmpty());
}

QTEST_MAIN(TestCatalogueAccess)
#include "test_catalogue_access.moc"
