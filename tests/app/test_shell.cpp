#include "app/appform.h"
#include "app/themes.h"
#include "common/passwords.h"
#include "i18n/mnemonics.h"
#include "platform/scripted/scripted.h"
#include "receipts/printtemplate.h"
#include "receipts/receiptsform.h"
#include "tests/support/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace tillora;

namespace {

// The keys that reach a widget as plain key presses (not taken as a shortcut).
class KeyPresses : public QObject {
public:
    explicit KeyPresses(QWidget* widget) { widget->installEventFilter(this); }
    QList<int> keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            keys.append(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
};

} // namespace

// The frame of the main window: passwords and full access, themes, column widths, screen
// switching and the shell commands, with scripted dialogs.
class TestShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstStart();
    // Before the tests that end the program: no modal dialog can run after that.
    void receiptMenuItems();
    void storedForm_data();
    void storedForm();
    void startupPassword_data();
    void startupPassword();
    void adminLogin();
    void loginWithoutAdminPassword();
    void editPasswordTarget();
    void passwordsAreSaltedHashes();
    void oldFormAcceptedOnceThenHashed_data();
    void oldFormAcceptedOnceThenHashed();
    void themes();
    void themeSettingNotANumber();
    void columnWidths();
    void unwritableSettingsReportOnce();
    void screenSwitching();
    void navigationFont_data();
    void navigationFont();
    void currencySymbol();
    void resetToDefaults();
    void resetToDefaultsNeedsFullAccessWithAdminPassword();
    void keyboardShortcutsAndHelp();
    void barKeys_data();
    void barKeys();
    void menusHaveMnemonics();
    void menuItemByKeyboard();
    void restart();
    void translatedCaptionsAndPromptButtons();

private:
    std::unique_ptr<TAppForm> start();

    ScriptedServices fake;
    ScriptedMessages& messages = fake.messages;
    ScriptedPrompts& prompts = fake.prompts;
    MemorySettingsStore& settings = fake.settings;
};

void TestShell::init() {
    messages.clear();
    prompts.answers.clear();
    prompts.shown.clear();
    fake.shell.started.clear();
    fake.shell.openedUrls.clear();
    settings.deleteKey();
}

// A window whose start-up timers have run (the data file is missing: its reports are dropped).
std::unique_ptr<TAppForm> TestShell::start() {
    auto form = std::make_unique<TAppForm>(fake.services);
    form->show();
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    if (!form->startupDone())
        started.wait(5000);
    // The start-up password's timer runs in no fixed order with the start-up work.
    const auto* password = test::control<QTimer>(*form, "TimerPassword");
    if (!QTest::qWaitFor([password]() { return !password->isActive(); }, 5000))
        qWarning("the start-up password timer did not run");
    messages.shown.clear();
    return form;
}

void TestShell::firstStart() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    QVERIFY(prompts.shown.isEmpty());
    QVERIFY(form->fullAccess());
    QVERIFY(ui.Logout1->isVisible());
    QVERIFY(!ui.Login1->isVisible());
    QCOMPARE(form->themeIndex(), 0);
    QVERIFY(ui.PanelMain->isVisible());
    QVERIFY(!ui.PanelProduct->isVisible() && !ui.PanelCustomer->isVisible() &&
            !ui.PanelSellings->isVisible());
    QVERIFY(!form->ending());
    // The window opens centred on the screen.
    const QPoint offCentre = form->frameGeometry().center() - form->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestShell::storedForm_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ascii") << "secret"
                           << "c2VjcmV0";
    QTest::newRow("non-ascii") << QString::fromUtf8("şifre") << "xZ9pZnJl";
    QTest::newRow("57 bytes") << QString(57, QLatin1Char('a'))
                              << QString(QByteArray(57, 'a').toBase64()) + "\r\n";
    QTest::newRow("58 bytes") << QString(58, QLatin1Char('a'))
                              << QString(QByteArray(58, 'a').toBase64()).insert(76, QStringLiteral("\r\n"));
}

void TestShell::storedForm() {
    QFETCH(QString, password);
    QFETCH(QString, stored);
    QCOMPARE(encodeSecret(password), stored);
    QCOMPARE(decodeSecret(stored), password);
    QCOMPARE(decodeSecret(QStringLiteral("c2Vj*cmV0\n")),
             QStringLiteral("secret")); // foreign characters skipped
}

void TestShell::startupPassword_data() {
    QTest::addColumn<bool>("hashed"); // stored as a hash, else in the old Base64 form
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<bool>("ends");
    for (const bool hashed : {true, false}) {
        const char* form = hashed ? "hash" : "old form";
        QTest::addRow("%s, right", form)
            << hashed << std::optional<QString>(QStringLiteral("open sesame")) << false;
        QTest::addRow("%s, trailing blank", form)
            << hashed << std::optional<QString>(QStringLiteral("open sesame ")) << true;
        QTest::addRow("%s, wrong case", form)
            << hashed << std::optional<QString>(QStringLiteral("Open sesame")) << true;
        QTest::addRow("%s, cancel", form) << hashed << std::optional<QString>() << true;
    }
}

void TestShell::startupPassword() {
    QFETCH(bool, hashed);
    QFETCH(std::optional<QString>, answer);
    QFETCH(bool, ends);
    const QString password = QStringLiteral("open sesame");
    settings.writeString(QStringLiteral("Secret64"),
                         hashed ? hashPassword(password) : encodeSecret(password));
    prompts.answers << answer;
    const int writesBefore = settings.writeCount();
    auto form = start();
    const test::MainWindowControls ui(*form);
    QCOMPARE(prompts.shown.size(), 1);
    QCOMPARE(prompts.shown[0].caption, QStringLiteral("Password"));
    QCOMPARE(prompts.shown[0].promptText, QChar(31) + QStringLiteral("Please enter password:"));
    QCOMPARE(prompts.shown[0].okText, QStringLiteral("OK"));
    QCOMPARE(prompts.shown[0].cancelText, QStringLiteral("Cancel"));
    QCOMPARE(form->ending(), ends);
    QVERIFY(form->fullAccess()); // the start-up password never changes full access
    if (ends) {
        QTest::qWait(1100); // the column-width saver would have run by now
        QCOMPARE(settings.writeCount(), writesBefore);
        QVERIFY(messages.shown.isEmpty());
    }
}

void TestShell::adminLogin() {
    settings.writeString(QStringLiteral("SecretAdmin64"), encodeSecret(QStringLiteral("boss")));
    auto form = start();
    const test::MainWindowControls ui(*form);
    QVERIFY(!form->fullAccess());
    QVERIFY(ui.Login1->isVisible() && !ui.Logout1->isVisible());
    ui.BitBtn3->click();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("You are not logged as admin!")});
    QCOMPARE(messages.shown[0].caption, QStringLiteral("WARNING"));
    QVERIFY(ui.PanelMain->isVisible());
    ui.BitBtn4->click();
    QVERIFY(ui.PanelMain->isVisible());

    messages.shown.clear();
    prompts.answers << std::nullopt;
    ui.Login1->trigger();
    QTRY_COMPARE(messages.texts(), QStringList{QStringLiteral("Wrong Admin Password!")});
    QCOMPARE(prompts.shown.last().caption, QStringLiteral("Admin Password"));
    QCOMPARE(prompts.shown.last().promptText, QChar(31) + QStringLiteral("Please enter password:"));
    QVERIFY(!form->fullAccess());

    prompts.answers << QStringLiteral("boss");
    ui.Login1->trigger();
    QTRY_VERIFY(form->fullAccess());
    QVERIFY(ui.Logout1->isVisible() && !ui.Login1->isVisible());
    ui.BitBtn3->click();
    QVERIFY(ui.PanelProduct->isVisible());
}

void TestShell::loginWithoutAdminPassword() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    ui.Logout1->trigger();
    QVERIFY(!form->fullAccess());
    ui.Login1->trigger();
    QTRY_VERIFY(form->fullAccess());
    QVERIFY(prompts.shown.isEmpty());
}

void TestShell::editPasswordTarget() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    auto isStored = [this](const char* setting, const QString& password) {
        return checkPassword(password, settings.readString(QString::fromLatin1(setting))) ==
               PasswordCheck::Right;
    };
    prompts.answers << QStringLiteral("boss") << QStringLiteral("door") << QString();
    ui.EditPassword1->trigger();
    QCOMPARE(prompts.shown.last().caption, QStringLiteral("Admin Password"));
    QCOMPARE(prompts.shown.last().promptText, QStringLiteral("Please type NEW password:"));
    QVERIFY(isStored("SecretAdmin64", QStringLiteral("boss")));
    QVERIFY(form->fullAccess()); // unchanged until the next start
    ui.Logout1->trigger();
    ui.EditPassword1->trigger();
    QCOMPARE(prompts.shown.last().caption, QStringLiteral("Password"));
    QVERIFY(isStored("Secret64", QStringLiteral("door")));
    QVERIFY(!isStored("Secret64", QStringLiteral("boss")));
    ui.EditPassword1->trigger(); // an empty entry removes the start-up password
    QVERIFY(settings.valueExists(QStringLiteral("Secret64")));
    QCOMPARE(settings.readString(QStringLiteral("Secret64")), QString());
    prompts.answers << std::nullopt;
    ui.EditPassword1->trigger();
    QVERIFY(isStored("SecretAdmin64", QStringLiteral("boss")));
}

// What the settings keep cannot be read back: an Argon2id hash with a salt of its own, so the
// same password stored twice gives two different values, neither holding the password.
void TestShell::passwordsAreSaltedHashes() {
    const QString password = QString::fromUtf8("kasa \xc5\x9fifre 1");
    const QString first = hashPassword(password);
    const QString second = hashPassword(password);
    QVERIFY2(first.startsWith(QStringLiteral("$argon2id$")), qPrintable(first));
    QVERIFY(first != second);
    for (const QString& stored : {first, second}) {
        QVERIFY(!stored.contains(password));
        QVERIFY(!stored.contains(QString::fromLatin1(password.toUtf8().toBase64())));
        QCOMPARE(checkPassword(password, stored), PasswordCheck::Right);
        QCOMPARE(checkPassword(password + QLatin1Char(' '), stored), PasswordCheck::Wrong);
        QCOMPARE(checkPassword(QString(), stored), PasswordCheck::Wrong);
    }
    QCOMPARE(checkPassword(QString(), QString()), PasswordCheck::Wrong);
}

// A value in the old Base64 form still lets the right password in, and is then replaced by
// its hash; a wrong entry leaves it as it is.
void TestShell::oldFormAcceptedOnceThenHashed_data() {
    QTest::addColumn<QString>("setting");
    QTest::newRow("start-up") << "Secret64";
    QTest::newRow("admin") << "SecretAdmin64";
}

void TestShell::oldFormAcceptedOnceThenHashed() {
    QFETCH(QString, setting);
    const bool admin = setting == QLatin1String("SecretAdmin64");
    const QString old = encodeSecret(QStringLiteral("boss"));
    settings.writeString(setting, old);
    if (admin)
        prompts.answers << QStringLiteral("Boss") << QStringLiteral("boss");
    else
        prompts.answers << QStringLiteral("boss");
    auto form = start();
    const test::MainWindowControls ui(*form);
    QVERIFY(!form->ending());
    if (admin) {
        ui.Login1->trigger();
        QTRY_COMPARE(messages.texts(), QStringList{QStringLiteral("Wrong Admin Password!")});
        QCOMPARE(settings.readString(setting), old);
        ui.Login1->trigger();
        QTRY_VERIFY(form->fullAccess());
    }
    const QString stored = settings.readString(setting);
    QVERIFY2(isPasswordHash(stored), qPrintable(stored));
    QCOMPARE(checkPassword(QStringLiteral("boss"), stored), PasswordCheck::Right);
    QVERIFY(messages.texts().size() <= 1);
}

void TestShell::themes() {
    settings.writeString(QStringLiteral("VCL"), QStringLiteral("31"));
    auto form = start();
    const test::MainWindowControls ui(*form);
    QCOMPARE(form->themeIndex(), 31);
    ui.ChangeInterface1->trigger();
    QCOMPARE(form->themeIndex(), 0);
    QCOMPARE(form->windowTitle(), QStringLiteral("Windows"));
    ui.ChangeInterface1->trigger();
    QCOMPARE(form->themeIndex(), 1);
    QCOMPARE(form->windowTitle(), QStringLiteral("Amakrits"));
    QCOMPARE(settings.readString(QStringLiteral("VCL")), QStringLiteral("1"));
    ui.ChangeInterface1->trigger();
    QCOMPARE(form->windowTitle(), QStringLiteral("Amethyst Kamri"));
    QTRY_COMPARE_WITH_TIMEOUT(form->windowTitle(), QStringLiteral("KESTRUM - Tillora"), 4000);
    ui.ClassicalInterface1->trigger();
    ui.ClassicalInterface1->trigger();
    QCOMPARE(form->themeIndex(), 0);
    QCOMPARE(settings.readString(QStringLiteral("VCL")), QStringLiteral("0"));
    QCOMPARE(ui.ChangeInterface1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+T")));
    QCOMPARE(ui.ClassicalInterface1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+C")));
}

void TestShell::themeSettingNotANumber() {
    settings.writeString(QStringLiteral("VCL"), QStringLiteral("dark"));
    auto form = start();
    const test::MainWindowControls ui(*form);
    QCOMPARE(form->themeIndex(), 0);
    QVERIFY(messages.shown.isEmpty());
}

void TestShell::columnWidths() {
    settings.writeInteger(QStringLiteral("MainColumn2"), 200);
    settings.writeInteger(QStringLiteral("MainColumn3"), 0); // ignored: the column would vanish
    auto form = start();
    const test::MainWindowControls ui(*form);
    QCOMPARE(ui.ListView1->columnWidth(1), 200);
    QCOMPARE(ui.ListView1->columnWidth(2), 124);
    form->TimerColumnWidthTimer();
    QCOMPARE(settings.readInteger(QStringLiteral("MainColumn1")), 124);
    QCOMPARE(settings.readInteger(QStringLiteral("MainColumn3")), 124);
    QVERIFY(!settings.valueExists(QStringLiteral("MainColumn6")));
    ui.ListView1->setColumnWidth(4, 90);
    QTRY_COMPARE_WITH_TIMEOUT(settings.readInteger(QStringLiteral("MainColumn5")), 90, 2500);
}

// A store that cannot be written: the column-width saver's failure shows once in the run, not
// at every tick, and selling goes on.
void TestShell::unwritableSettingsReportOnce() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    settings.setWritesFail(true);
    ui.ListView1->setColumnWidth(0, 77);
    for (int tick = 0; tick < 3; ++tick)
        form->TimerColumnWidthTimer();
    settings.setWritesFail(false);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Failed to set data for 'MainColumn1'")});
    form->saleRegister().addByHand(QStringLiteral("MILK"), 1.5, 1);
    QVERIFY(ui.BitBtn1->isEnabled());
}

void TestShell::screenSwitching() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    form->saleRegister().addByHand(QStringLiteral("MILK"), 1.5, 1);
    QVERIFY(ui.Panel1->isVisible());
    ui.BitBtn17->click();
    QVERIFY(ui.PanelSellings->isVisible() && !ui.PanelMain->isVisible());
    QVERIFY(!ui.Panel1->isVisible());
    QVERIFY(!ui.BitBtn1->isEnabled());
    ui.BitBtn20->click();
    QVERIFY(ui.PanelMain->isVisible() && !ui.PanelSellings->isVisible());
    QVERIFY(ui.Panel1->isVisible() && ui.BitBtn1->isEnabled());
    QCOMPARE(form->saleRegister().cart().size(), 1);
    ui.BitBtn4->click();
    QVERIFY(ui.PanelCustomer->isVisible());
    ui.BitBtn12->click();
    QVERIFY(ui.PanelMain->isVisible());
}

void TestShell::navigationFont_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("1100") << 1100 << 24;
    QTest::newRow("1099") << 1099 << 20;
    QTest::newRow("801") << 801 << 20;
    QTest::newRow("800") << 800 << 16;
}

void TestShell::navigationFont() {
    QFETCH(int, width);
    QFETCH(int, pointSize);
    auto form = start();
    const test::MainWindowControls ui(*form);
    form->resize(width, 619);
    QTRY_COMPARE(ui.Panel2->width(), width);
    QCOMPARE(ui.BitBtn3->font().pointSize(), pointSize);
    QCOMPARE(ui.BitBtn17->font().pointSize(), pointSize);
    QCOMPARE(ui.BitBtn1->font().pointSize(), 28);
}

void TestShell::currencySymbol() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    prompts.answers << QStringLiteral("EUR") << QString() << std::nullopt;
    ui.CurrencySymbol1->trigger();
    QCOMPARE(prompts.shown.last().caption, QStringLiteral("Currency Symbol"));
    QCOMPARE(prompts.shown.last().promptText, QStringLiteral("Please enter new currency symbol:"));
    QCOMPARE(ui.Label7->text(), QStringLiteral("EUR 0.00"));
    ui.CurrencySymbol1->trigger();
    QCOMPARE(ui.Label7->text(), QStringLiteral(" 0.00"));
    QVERIFY(settings.valueExists(QStringLiteral("CurrencySymbol")));
    ui.CurrencySymbol1->trigger(); // Cancel
    QCOMPARE(ui.Label7->text(), QStringLiteral(" 0.00"));
}

void TestShell::resetToDefaults() {
    settings.writeString(QStringLiteral("VCL"), QStringLiteral("5"));
    auto form = start();
    const test::MainWindowControls ui(*form);
    messages.answers << MsgButton::No;
    ui.ResetToDefaults1->trigger();
    QCOMPARE(messages.shown.last().caption, QStringLiteral("Confirm"));
    QCOMPARE(messages.shown.last().text, QStringLiteral("Restart Application?"));
    QVERIFY(settings.valueExists(QStringLiteral("VCL")));
    QVERIFY(!form->ending());

    messages.answers << MsgButton::Yes;
    ui.ResetToDefaults1->trigger();
    QVERIFY(settings.names().isEmpty());
    QVERIFY(form->ending());
    QCOMPARE(fake.shell.started.size(), 1);
    QCOMPARE(fake.shell.started[0].program, QCoreApplication::applicationFilePath());
    QTest::qWait(1100);
    QVERIFY(settings.names().isEmpty()); // nothing written back after the deletion
}

// Reset to Defaults deletes both passwords: while an admin password is set, a cashier without
// full access is refused and nothing is deleted.
void TestShell::resetToDefaultsNeedsFullAccessWithAdminPassword() {
    settings.writeString(QStringLiteral("SecretAdmin64"), hashPassword(QStringLiteral("boss")));
    auto form = start();
    const test::MainWindowControls ui(*form);
    QVERIFY(!form->fullAccess());
    ui.ResetToDefaults1->trigger();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("You are not logged as admin!")});
    QCOMPARE(messages.shown[0].caption, QStringLiteral("WARNING"));
    QVERIFY(settings.valueExists(QStringLiteral("SecretAdmin64")));
    QVERIFY(!form->ending());
    QVERIFY(fake.shell.started.isEmpty());

    messages.shown.clear();
    prompts.answers << QStringLiteral("boss");
    ui.Login1->trigger();
    QTRY_VERIFY(form->fullAccess());
    messages.answers << MsgButton::Yes;
    ui.ResetToDefaults1->trigger();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Restart Application?")});
    QVERIFY(settings.names().isEmpty());
    QVERIFY(form->ending());
}

void TestShell::keyboardShortcutsAndHelp() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    ui.KeyboardShortcuts1->trigger();
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].caption, QStringLiteral("Keyboard Shortcuts"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Information);
    QCOMPARE(messages.shown[0].text,
             QStringLiteral("\nDel: \tDelete last entered product\nESC: \tCancel product "
                            "selection\nCtrl Alt P: \tProduct List"
                            // The keys of the sell bar and the navigation bar follow.
                            "\nF2: \tSELL BY CASH\nF3: \tSELL BY CREDIT\nF5: \tPRODUCTS\nF6: \tCUSTOMERS"
                            "\nF7: \tSALES"));
    ui.OnlineHelp1->trigger();
    QCOMPARE(fake.shell.openedUrls, QStringList{QStringLiteral("http://kestrum.example/help/tillora/")});
    QCOMPARE(ui.OnlineHelp1->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(ui.Exit1->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
    QVERIFY(ui.UpdateNotifications1->isChecked() && !ui.UpdateNotifications1->isEnabled());
    ui.Exit1->trigger();
    QVERIFY(form->ending());
    QVERIFY(messages.shown.size() == 1);
}

void TestShell::barKeys_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("SELL BY CASH") << "BitBtn1" << int(Qt::Key_F2) << "SELL BY CASH (F2)";
    QTest::newRow("SELL BY CREDIT") << "BitBtn2" << int(Qt::Key_F3) << "SELL BY CREDIT (F3)";
    QTest::newRow("PRODUCTS") << "BitBtn3" << int(Qt::Key_F5) << "PRODUCTS (F5)";
    QTest::newRow("CUSTOMERS") << "BitBtn4" << int(Qt::Key_F6) << "CUSTOMERS (F6)";
    QTest::newRow("SALES") << "BitBtn17" << int(Qt::Key_F7) << "SALES (F7)";
}

// Each button of the two bars has its function key, named in its tooltip; the key presses the
// button wherever the focus is in the window, and only while the button itself can be pressed.
void TestShell::barKeys() {
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, tooltip);
    auto form = start();
    const test::MainWindowControls ui(*form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto* pressed = form->findChild<QPushButton*>(button);
    QVERIFY(pressed);
    QCOMPARE(pressed->toolTip(), tooltip);
    QSignalSpy clicks(pressed, &QPushButton::clicked);
    const bool sellBar = pressed->parentWidget() == ui.Panel1;
    QTimer closer; // the sale itself is not the point here: "Confirm?" is declined, the chooser closed
    if (sellBar) {
        // With the cart empty the sell bar is hidden: its key is no shortcut and reaches the
        // focused cart list as a plain key.
        KeyPresses reached(ui.ListView1);
        QTest::keyClick(ui.ListView1, Qt::Key(key));
        QCOMPARE(reached.keys, QList<int>{key});
        form->saleRegister().addByHand(QStringLiteral("MILK"), 1.5, 1);
        messages.answers << MsgButton::No;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, []() {
            if (QWidget* chooser = QApplication::activeModalWidget())
                chooser->close();
        });
        closer.start();
    }
    QWidget* focused = sellBar ? static_cast<QWidget*>(ui.ListView1) : ui.Edit4;
    KeyPresses reached(focused);
    QTest::keyClick(focused, Qt::Key(key));
    QTRY_COMPARE(clicks.count(), 1);
    QVERIFY(reached.keys.isEmpty());
}

// Every menu bar title and every menu item has a mnemonic of its own among its neighbours,
// on top of its translated caption.
void TestShell::menusHaveMnemonics() {
    auto form = start();
    auto check = [](const QList<QAction*>& actions, const QString& where) {
        QSet<QKeySequence> seen;
        for (const QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(where + QStringLiteral(": ") + action->text()));
            QVERIFY2(!seen.contains(mnemonic), qPrintable(where + QStringLiteral(": ") + action->text()));
            seen.insert(mnemonic);
        }
    };
    check(form->menuBar()->actions(), QStringLiteral("menu bar"));
    for (const QMenu* menu : form->menuBar()->findChildren<QMenu*>())
        check(menu->actions(), menu->objectName());
    QCOMPARE(test::control<QMenu>(*form, "Operations1")->title(), QStringLiteral("&Operations"));
    QCOMPARE(test::control<QAction>(*form, "Exit1")->text(), QStringLiteral("E&xit"));
}

// Alt and the menu's letter open a menu, the item's letter chooses the item, and the focus is
// back in the cart list afterwards, so the next scan lands in the cart.
void TestShell::menuItemByKeyboard() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_COMPARE(QApplication::focusWidget(), ui.ListView1);
    QTest::keyClick(ui.ListView1, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(ui.Operations1->isVisible());
    const QKeySequence letter = QKeySequence::mnemonic(ui.KeyboardShortcuts1->text());
    QTest::keyClick(ui.Operations1, letter[0].key());
    QTRY_COMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].caption, QStringLiteral("Keyboard Shortcuts"));
    QTRY_VERIFY(!ui.Operations1->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), ui.ListView1);
}

void TestShell::restart() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/KESTRUM/Tillora/");
    QFile::remove(folder + QStringLiteral("start.sh"));
    auto form = start();
    const test::MainWindowControls ui(*form);
    form->RestartApplication();
    QFile script(folder + QStringLiteral("start.sh"));
    QVERIFY(script.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(script.readAll()), QStringLiteral("#!/bin/sh\nsleep 1\n\"") +
                                                      QCoreApplication::applicationFilePath() +
                                                      QStringLiteral("\"\n"));
    QCOMPARE(fake.shell.started.size(), 1);
    QCOMPARE(fake.shell.started[0].program, QStringLiteral("/bin/sh"));
    QCOMPARE(fake.shell.started[0].arguments, QStringList{folder + QStringLiteral("start.sh")});
    QCOMPARE(fake.shell.started[0].workingDir, folder);
    QVERIFY(form->ending());

    // A folder that cannot be written: the error, and the program keeps running.
    fake.shell.started.clear();
    script.close();
    QFile::remove(folder + QStringLiteral("start.sh"));
    QDir().mkpath(folder + QStringLiteral("start.sh")); // a folder where the file should go
    form = start();
    form->RestartApplication();
    QDir(folder + QStringLiteral("start.sh")).removeRecursively();
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.shown[0].text.startsWith(QStringLiteral("Cannot create file \"") + folder +
                                               QStringLiteral("start.sh\". ")),
             qPrintable(messages.shown[0].text));
    QVERIFY(fake.shell.started.isEmpty());
    QVERIFY(!form->ending());
}

void TestShell::translatedCaptionsAndPromptButtons() {
    const QString languages = QCoreApplication::applicationDirPath() + QStringLiteral("/Languages");
    QDir().mkpath(languages);
    QFile file(languages + QStringLiteral("/Deutsch.lang.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "{OK}Gut\r\n{Cancel}Abbrechen\r\n{Currency Symbol}W\xc3\xa4hrung\r\n{Settings}Einstellungen\r\n"
        "{ADD}HINZU\r\n{Product List}Produktliste\r\n");
    file.close();
    settings.writeString(QStringLiteral("LanguageFile"), QStringLiteral("Deutsch.lang.txt"));
    settings.writeString(QStringLiteral("Secret64"), encodeSecret(QStringLiteral("x")));
    prompts.answers << QStringLiteral("x") << QStringLiteral("EUR");
    auto form = start();
    const test::MainWindowControls ui(*form);
    QDir(languages).removeRecursively();
    // The start-up password prompt keeps its English buttons; later prompts are translated.
    QCOMPARE(prompts.shown[0].okText, QStringLiteral("OK"));
    QCOMPARE(prompts.shown[0].cancelText, QStringLiteral("Cancel"));
    ui.CurrencySymbol1->trigger();
    QCOMPARE(prompts.shown[1].caption, QString::fromUtf8("W\xc3\xa4hrung"));
    QCOMPARE(prompts.shown[1].okText, QStringLiteral("Gut"));
    QCOMPARE(prompts.shown[1].cancelText, QStringLiteral("Abbrechen"));
    // Menu captions read as translated; the mnemonic marks ("&") come on top of them.
    QCOMPARE(withoutMnemonic(ui.Settings1->title()), QStringLiteral("Einstellungen"));
    QCOMPARE(withoutMnemonic(ui.ProductsList1->text()), QStringLiteral("Produktliste..."));
    QCOMPARE(ui.BitBtn15->text(), QStringLiteral("HINZU"));
    QCOMPARE(withoutMnemonic(ui.ChangeInterface1->text()), QStringLiteral("Change Interface"));
}

// The receipt items of the Settings menu, in their place between the other items.
void TestShell::receiptMenuItems() {
    auto form = start();
    const test::MainWindowControls ui(*form);
    QStringList names;
    for (QAction* action : ui.Settings1->actions())
        names << action->objectName();
    QCOMPARE(names, (QStringList{QStringLiteral("EditPassword1"), QStringLiteral("CurrencySymbol1"),
                                 QStringLiteral("Receipts1"), QString(), QStringLiteral("AskPrint1"),
                                 QStringLiteral("PrintTemplate1"), QString(),
                                 QStringLiteral("ChangeInterface1"), QStringLiteral("ClassicalInterface1"),
                                 QString(), QStringLiteral("ResetToDefaults1")}));

    QVERIFY(ui.AskPrint1->isCheckable() && !ui.AskPrint1->isChecked());
    ui.AskPrint1->trigger();
    QVERIFY(ui.AskPrint1->isChecked() && form->receiptSettings().askPrint);
    QCOMPARE(settings.readInteger(QStringLiteral("Print")), 1);
    ui.AskPrint1->trigger();
    QVERIFY(!ui.AskPrint1->isChecked() && !form->receiptSettings().askPrint);
    QCOMPARE(settings.readInteger(QStringLiteral("Print")), 0);

    // The Receipts dialog leaves the main window usable; every use opens a new one.
    ui.Receipts1->trigger();
    ui.Receipts1->trigger();
    const auto dialogs = form->findChildren<TFormReceipts*>();
    QCOMPARE(dialogs.size(), 2);
    QVERIFY(dialogs[0]->isVisible() && !dialogs[0]->isModal());
    QVERIFY(!QApplication::activeModalWidget());

    // The template editor is modal: closed from the event loop of its own exec().
    bool editorShown = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&editorShown]() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<TPrintTemplateForm*>(widget); editor && editor->isVisible()) {
                editorShown = editor->isModal();
                editor->reject();
            }
    });
    closer.start(10);
    ui.PrintTemplate1->trigger();
    QVERIFY(editorShown);
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
