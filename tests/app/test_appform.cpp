#include "app/appform.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "tests/support/datafile.h"
#include "tests/support/mainwindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace tillora;

// The main window's creation and start-up work, with scripted platform services.
class TestAppForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void missingDataFileIsReportedAndProgramGoesOn();
    void startupFillsFilterLists();

private:
    std::unique_ptr<TAppForm> start();
    QString dataFile() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/data.db"); }

    ScriptedServices fake;
    ScriptedMessages& messages = fake.messages;
    ScriptedPrompts& prompts = fake.prompts;
    MemorySettingsStore& settings = fake.settings;
    Services& services = fake.services;
};

void TestAppForm::init() {
    messages.clear();
    QFile::remove(dataFile());
}

void TestAppForm::cleanup() {
    QFile::remove(dataFile());
}

std::unique_ptr<TAppForm> TestAppForm::start() {
    auto form = std::make_unique<TAppForm>(services);
    QSignalSpy finished(form.get(), &TAppForm::startupFinished);
    form->show();
    if (!form->startupDone())
        finished.wait(5000);
    return form;
}

void TestAppForm::missingDataFileIsReportedAndProgramGoesOn() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    QVERIFY(form->startupDone());
    QCOMPARE(form->windowTitle(), QStringLiteral("KESTRUM - Tillora"));
    // The opening failure, then each of the two filter queries.
    QCOMPARE(messages.shown.size(), 3);
    for (const ShownMessage& m : messages.shown) {
        QCOMPARE(m.caption, QStringLiteral("Tillora"));
        QVERIFY2(m.text.startsWith(QStringLiteral("Exception raised with message: ")), qPrintable(m.text));
    }
    QCOMPARE(messages.shown[0].text,
             QStringLiteral("Exception raised with message: unable to open database file"));
    QVERIFY(!QFile::exists(dataFile()));
    QCOMPARE(ui.ComboBox3->count(), 1);
    QCOMPARE(ui.ComboBox3->currentText(), QStringLiteral("All Customers"));
    QCOMPARE(ui.ComboBox4->count(), 1);
    QCOMPARE(ui.ComboBox4->currentText(), QStringLiteral("All Products"));
}

void TestAppForm::startupFillsFilterLists() {
    QVERIFY(
        test::makeDataFile(dataFile(), QStringLiteral("INSERT INTO musteriler (musteriadi) VALUES ('Zeynep');"
                                                      "INSERT INTO musteriler (musteriadi) VALUES ('Ali');"
                                                      "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES "
                                                      "('5901234123457', 'MILK', '1.5');")));
    auto form = start();
    const test::MainWindowControls ui(*form);
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(ui.ComboBox3->count(), 3);
    QCOMPARE(ui.ComboBox3->itemText(1), QStringLiteral("Ali"));
    QCOMPARE(ui.ComboBox3->currentIndex(), 0);
    QCOMPARE(ui.ComboBox4->itemText(1), QStringLiteral("MILK"));
    QVERIFY(form->database().isOpen());
}

QTEST_MAIN(TestAppForm)
#include "test_appform.moc"
