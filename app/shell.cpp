// The frame of the main window around its screens: the menu, the timers, switching
// screens, themes, remembered column widths, the two passwords and the shell commands.
#include "app/appform.h"
#include "app/backup.h"
#include "app/themes.h"
#include "buildinfo.h"
#include "catalogue/customerscreen.h"
#include "catalogue/productscreen.h"
#include "common/atomicfile.h"
#include "common/passwords.h"
#include "exchange/exchange.h"
#include "i18n/locale.h"
#include "i18n/mnemonics.h"
#include "i18n/translation.h"
#include "platform/qt/pictures.h"
#include "platform/settingsstore.h"
#include "receipts/printtemplate.h"
#include "receipts/receiptsform.h"
#include "register/salescreen.h"
#include "reports/sellingsscreen.h"
#include "reports/stocksheet.h"
#include "reports/topsellingform.h"
#include "web/feedback.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>

namespace tillora {

namespace {

QTimer* makeTimer(QObject* parent, const QString& name, int interval, bool singleShot) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(interval);
    timer->setSingleShot(singleShot);
    return timer;
}

// Quotes a path for /bin/sh: inside double quotes only \ " $ ` need a backslash.
QString shellQuoted(const QString& path) {
    QString quoted = QStringLiteral("\"");
    for (QChar c : path) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('$') || c == QLatin1Char('`'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

// Gives the titles of the menu bar and the items of each menu mnemonics of their own.
void addMnemonics(QMenuBar* bar) {
    const auto mark = [](const QList<QAction*>& actions) {
        QList<QAction*> items;
        QStringList captions;
        for (QAction* action : actions) {
            if (!action->isSeparator()) {
                items.append(action);
                captions.append(action->text());
            }
        }
        const QStringList marked = withMnemonics(captions);
        for (qsizetype i = 0; i < items.size(); ++i)
            items[i]->setText(marked[i]);
    };
    mark(bar->actions());
    for (const QMenu* menu : bar->findChildren<QMenu*>())
        mark(menu->actions());
}

} // namespace

void TAppForm::buildTimers() {
    TimerActivate = makeTimer(this, QStringLiteral("TimerActivate"), 1, true);
    TimerPassword = makeTimer(this, QStringLiteral("TimerPassword"), 1, true);
    TimerPasswordAdmin = makeTimer(this, QStringLiteral("TimerPasswordAdmin"), 1, true);
    TimerColumnWidth = makeTimer(this, QStringLiteral("TimerColumnWidth"), 1000, false);
    TimerCaptionDuzelt = makeTimer(this, QStringLiteral("TimerCaptionDuzelt"), 3000, true);
    const Guard& guard = context_->guard;
    guard.on(TimerActivate, &QTimer::timeout, this, [this]() { TimerActivateTimer(); });
    guard.on(TimerPassword, &QTimer::timeout, this, [this]() { TimerPasswordTimer(); });
    guard.on(TimerPasswordAdmin, &QTimer::timeout, this, [this]() { TimerPasswordAdminTimer(); });
    guard.on(TimerColumnWidth, &QTimer::timeout, this, [this]() { TimerColumnWidthTimer(); });
    guard.on(TimerCaptionDuzelt, &QTimer::timeout, this, [this]() { TimerCaptionDuzeltTimer(); });
}

void TAppForm::buildMenu() {
    auto item = [this](QMenu* menu, const QString& name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        context_->guard.on(action, &QAction::triggered, this, handler);
        return action;
    };
    const QString dots = QStringLiteral("...");

    Operations1 = menuBar()->addMenu(TranslateText(QStringLiteral("Operations")));
    Operations1->setObjectName(QStringLiteral("Operations1"));
    Login1 = item(Operations1, QStringLiteral("Login1"), TranslateText(QStringLiteral("Login (Full Access)")),
                  [this]() { TimerPasswordAdmin->start(); });
    Logout1 = item(Operations1, QStringLiteral("Logout1"), TranslateText(QStringLiteral("Logout")),
                   [this]() { Logout1Click(); });
    Operations1->addSeparator();
    Backup1 = item(Operations1, QStringLiteral("Backup1"), TranslateText(QStringLiteral("Backup...")),
                   [this]() { backupDataFile(*context_); });
    RestorefromBackup1 = item(Operations1, QStringLiteral("RestorefromBackup1"),
                              TranslateText(QStringLiteral("Restore from Backup...")), [this]() {
                                  restoreFromBackup(*context_, {[this]() { TimerActivateTimer(); },
                                                                [this]() { RestartApplication(); }});
                              });
    Operations1->addSeparator();
    ProductsList1 = item(Operations1, QStringLiteral("ProductsList1"),
                         TranslateText(QStringLiteral("Product List")) + dots,
                         [this]() { saleScreen_->BitBtn22Click(); });
    // The four tables in the order of the Export and Delete submenus.
    struct TableItem {
        ExchangeTable table;
        const char* caption;
        const char* exportName;
        const char* deleteName;
    };
    static constexpr TableItem tables[] = {
        {ExchangeTable::Products, "Products", "Products1", "Products3"},
        {ExchangeTable::Customers, "Customers", "Customers1", "Customers2"},
        {ExchangeTable::Payments, "Payments", "Payments1", "Payments2"},
        {ExchangeTable::Credits, "Credits", "Credits1", "Credits2"}};
    auto submenu = [this](const QString& name, const QString& caption) {
        QMenu* menu = Operations1->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };
    Export1 = submenu(QStringLiteral("Export1"), TranslateText(QStringLiteral("Export")));
    for (const TableItem& t : tables)
        item(Export1, QString::fromLatin1(t.exportName), TranslateText(QString::fromLatin1(t.caption)),
             [this, table = t.table]() { exportTable(*context_, table); });
    Import1 = submenu(QStringLiteral("Import1"), TranslateText(QStringLiteral("Import")));
    item(Import1, QStringLiteral("Products2"), TranslateText(QStringLiteral("Products")),
         [this]() { importProducts(*context_); });
    Delete1 = submenu(QStringLiteral("Delete1"), TranslateText(QStringLiteral("Delete")));
    for (const TableItem& t : tables)
        item(Delete1, QString::fromLatin1(t.deleteName), TranslateText(QString::fromLatin1(t.caption)),
             [this, table = t.table]() { deleteAllRows(*context_, table); });
    Operations1->addSeparator();
    KeyboardShortcuts1 = item(Operations1, QStringLiteral("KeyboardShortcuts1"),
                              TranslateText(QStringLiteral("Keyboard Shortcuts")) + dots,
                              [this]() { KeyboardShortcuts1Click(); });
    Operations1->addSeparator();
    Exit1 = item(Operations1, QStringLiteral("Exit1"), TranslateText(QStringLiteral("Exit")),
                 [this]() { endProgram(); });
    Exit1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    Exit1->setIcon(picture(QStringLiteral("exit")));

    Reports1 = menuBar()->addMenu(TranslateText(QStringLiteral("Reports")));
    Reports1->setObjectName(QStringLiteral("Reports1"));
    StockInventoryCount1 = item(Reports1, QStringLiteral("StockInventoryCount1"),
                                TranslateText(QStringLiteral("Stock Inventory Count Sheet...")),
                                [this]() { openStockSheet(*context_); });
    TopSellingProducts1 = item(Reports1, QStringLiteral("TopSellingProducts1"),
                               TranslateText(QStringLiteral("Top Selling Products...")),
                               [this]() { openTopSelling(*context_); });

    Settings1 = menuBar()->addMenu(TranslateText(QStringLiteral("Settings")));
    Settings1->setObjectName(QStringLiteral("Settings1"));
    EditPassword1 = item(Settings1, QStringLiteral("EditPassword1"),
                         TranslateText(QStringLiteral("Edit Password")), [this]() { EditPassword1Click(); });
    CurrencySymbol1 =
        item(Settings1, QStringLiteral("CurrencySymbol1"), TranslateText(QStringLiteral("Currency Symbol")),
             [this]() { CurrencySymbol1Click(); });
    Receipts1 = item(Settings1, QStringLiteral("Receipts1"), TranslateText(QStringLiteral("Receipts")),
                     [this]() { Receipts1Click(); });
    Settings1->addSeparator();
    AskPrint1 = item(Settings1, QStringLiteral("AskPrint1"), TranslateText(QStringLiteral("Ask Print")),
                     [this]() { AskPrint1Click(); });
    AskPrint1->setCheckable(true);
    PrintTemplate1 =
        item(Settings1, QStringLiteral("PrintTemplate1"), TranslateText(QStringLiteral("Print Template")),
             [this]() { PrintTemplate1Click(); });
    Settings1->addSeparator();
    ChangeInterface1 =
        item(Settings1, QStringLiteral("ChangeInterface1"), TranslateText(QStringLiteral("Change Interface")),
             [this]() { ArayuzuDegistir(false); });
    ChangeInterface1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
    ClassicalInterface1 =
        item(Settings1, QStringLiteral("ClassicalInterface1"),
             TranslateText(QStringLiteral("Classical Interface")), [this]() { ArayuzuDegistir(true); });
    ClassicalInterface1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    Settings1->addSeparator();
    ResetToDefaults1 =
        item(Settings1, QStringLiteral("ResetToDefaults1"),
             TranslateText(QStringLiteral("Reset to Defaults")), [this]() { ResetToDefaults1Click(); });

    Help1 = menuBar()->addMenu(TranslateText(QStringLiteral("Help")));
    Help1->setObjectName(QStringLiteral("Help1"));
    OnlineHelp1 = item(Help1, QStringLiteral("OnlineHelp1"), TranslateText(QStringLiteral("Online Help")),
                       [this]() { OnlineHelp1Click(); });
    OnlineHelp1->setShortcut(QKeySequence(Qt::Key_F1));
    OnlineHelp1->setIcon(picture(QStringLiteral("help")));
    Help1->addSeparator();
    UpdateNotifications1 = Help1->addAction(TranslateText(QStringLiteral("Update Notifications")));
    UpdateNotifications1->setObjectName(QStringLiteral("UpdateNotifications1"));
    UpdateNotifications1->setCheckable(true);
    UpdateNotifications1->setChecked(true);
    UpdateNotifications1->setEnabled(false);
    Help1->addSeparator();
    Language1 = item(Help1, QStringLiteral("Language1"), TranslateText(QStringLiteral("Language")) + dots,
                     [this]() { Language1Click(); });
    Language1->setIcon(picture(QStringLiteral("language")));
    SendFeedback1 =
        item(Help1, QStringLiteral("SendFeedback1"), TranslateText(QStringLiteral("Send Feedback")) + dots,
             [this]() { SendFeedback1Click(); });
    SendFeedback1->setIcon(picture(QStringLiteral("feedback")));

    // Shortcuts work wherever the focus is in the window, menu open or not.
    for (QAction* action : {Exit1, ChangeInterface1, ClassicalInterface1, OnlineHelp1})
        addAction(action);
    ProductList = new QAction(TranslateText(QStringLiteral("Product List")), this);
    ProductList->setObjectName(QStringLiteral("ProductList"));
    ProductList->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    addAction(ProductList);
    context_->guard.on(ProductList, &QAction::triggered, this, [this]() { saleScreen_->BitBtn22Click(); });
    addMnemonics(menuBar());
}

void TAppForm::showScreen(QWidget* screen) {
    for (QWidget* w : {static_cast<QWidget*>(saleScreen_), static_cast<QWidget*>(productsScreen_),
                       static_cast<QWidget*>(customersScreen_), static_cast<QWidget*>(recordsScreen_)}) {
        if (w)
            w->setVisible(w == screen);
    }
}

// A screen other than the sale screen replaces it; the sell bar hides until the return.
void TAppForm::openScreen(QWidget* screen, bool needsFullAccess) {
    if (needsFullAccess && !requireFullAccess(*context_))
        return;
    showScreen(screen);
    BitBtn1->setEnabled(false);
    BitBtn2->setEnabled(false);
    Panel1->hide();
}

void TAppForm::BitBtn3Click() {
    ensureScreens();
    openScreen(productsScreen_, true);
    if (productsScreen_->isVisible())
        productsScreen_->enter();
}

void TAppForm::BitBtn4Click() {
    ensureScreens();
    openScreen(customersScreen_, true);
    if (customersScreen_->isVisible())
        customersScreen_->enter();
}

void TAppForm::BitBtn17Click() {
    ensureScreens();
    openScreen(recordsScreen_, false);
    recordsScreen_->enter();
}

void TAppForm::mainMenuClick() {
    showScreen(saleScreen_);
    saleScreen_->focusCartList();
    register_.computeTotals();
}

void TAppForm::setFullAccess(bool on) {
    access_.set(on);
    Login1->setVisible(!on);
    Logout1->setVisible(on);
}

void TAppForm::ArayuzuDegistir(bool Klasik) {
    ThemeIndex = Klasik ? 0 : nextThemeIndex(ThemeIndex);
    applyTheme(ThemeIndex);
    setWindowTitle(ThemeNames().value(ThemeIndex));
    context_->guard.run(
        [this]() { context_->settings().writeString(QStringLiteral("VCL"), QString::number(ThemeIndex)); });
    if (!TimerCaptionDuzelt->isActive())
        TimerCaptionDuzelt->start();
    raise();
    activateWindow();
}

void TAppForm::TimerCaptionDuzeltTimer() {
    setWindowTitle(WindowTitle());
}

QList<TAppForm::RememberedColumn> TAppForm::rememberedColumns() const {
    QList<RememberedColumn> columns;
    for (int c = 0; c < 5; ++c)
        columns.append({QStringLiteral("MainColumn%1").arg(c + 1), saleScreen_->cartList(), c});
    if (!recordsScreen_)
        return columns; // built once the window has been painted
    for (int c = 0; c < 6; ++c)
        columns.append({QStringLiteral("PaymentColumn%1").arg(c + 1), recordsScreen_->paymentsList(), c});
    for (int c = 0; c < 8; ++c)
        columns.append({QStringLiteral("CreditColumn%1").arg(c + 1), recordsScreen_->creditsList(), c});
    return columns;
}

void TAppForm::applyColumnWidths() {
    for (const RememberedColumn& rc : rememberedColumns()) {
        if (!context_->settings().valueExists(rc.setting))
            continue;
        const qint32 width = context_->settings().readInteger(rc.setting);
        if (width > 0) // a width that is not positive would hide the column for good
            rc.list->setColumnWidth(rc.column, width);
    }
}

// A store that cannot be written stops the tick at its first failure, which shows once
// in the run (the store makes later failures of the same value quiet).
void TAppForm::TimerColumnWidthTimer() {
    if (ending_)
        return;
    ISettingsStore& settings = context_->settings();
    context_->guard.run([&]() {
        for (const RememberedColumn& rc : rememberedColumns()) {
            const int width = rc.list->columnWidth(rc.column);
            if (!settings.valueExists(rc.setting) || settings.readInteger(rc.setting) != width)
                settings.writeInteger(rc.setting, width);
        }
    });
}

bool TAppForm::passwordAccepted(const QString& setting, const QString& stored, const QString& entry) {
    const PasswordCheck check = checkPassword(entry, stored);
    if (check == PasswordCheck::RightInOldForm) {
        // A value an older version wrote as Base64 is accepted this once and replaced by its
        // hash; when the store cannot be written it is shown and the entry still counts.
        context_->guard.run([&]() { context_->settings().writeString(setting, hashPassword(entry)); });
    }
    return check != PasswordCheck::Wrong;
}

void TAppForm::TimerPasswordTimer() {
    TimerPassword->stop();
    const QString setting = QStringLiteral("Secret64");
    const QString stored = context_->settings().readString(setting);
    if (stored.isEmpty())
        return;
    // This prompt keeps its English captions and buttons.
    QString entry;
    if (!services_.prompts->prompt(QStringLiteral("Password"),
                                   QChar(31) + QStringLiteral("Please enter password:"), entry,
                                   QStringLiteral("OK"), QStringLiteral("Cancel")))
        entry.clear();
    if (!passwordAccepted(setting, stored, entry))
        endProgram();
}

void TAppForm::TimerPasswordAdminTimer() {
    TimerPasswordAdmin->stop();
    const QString setting = QStringLiteral("SecretAdmin64");
    const QString stored = context_->settings().readString(setting);
    if (!stored.isEmpty()) {
        QString entry;
        if (!translatedPrompt(TranslateText(QStringLiteral("Admin Password")),
                              QChar(31) + TranslateText(QStringLiteral("Please enter password:")), entry))
            entry.clear();
        if (!passwordAccepted(setting, stored, entry)) {
            services_.messages->show(TranslateText(QStringLiteral("WARNING")),
                                     TranslateText(QStringLiteral("Wrong Admin Password!")), MsgIcon::Warning,
                                     {MsgButton::Ok}, MsgButton::Ok);
            return;
        }
    }
    setFullAccess(true);
}

void TAppForm::Logout1Click() {
    setFullAccess(false);
}

void TAppForm::EditPassword1Click() {
    const QString target = fullAccess() ? QStringLiteral("SecretAdmin64") : QStringLiteral("Secret64");
    const QString caption = fullAccess() ? QStringLiteral("Admin Password") : QStringLiteral("Password");
    QString entry;
    if (!translatedPrompt(TranslateText(caption), TranslateText(QStringLiteral("Please type NEW password:")),
                          entry))
        return;
    // Kept as a salted slow hash, never in a form that can be read back.
    context_->guard.run([&]() {
        context_->settings().writeString(target, entry.isEmpty() ? QString() : hashPassword(entry));
    });
}

void TAppForm::CurrencySymbol1Click() {
    QString symbol;
    if (!translatedPrompt(TranslateText(QStringLiteral("Currency Symbol")),
                          TranslateText(QStringLiteral("Please enter new currency symbol:")), symbol))
        return;
    context_->guard.run([&]() {
        context_->settings().writeString(QStringLiteral("CurrencySymbol"), symbol);
        register_.CurrencySymbol = symbol;
        register_.computeTotals();
    });
}

void TAppForm::Receipts1Click() {
    // Not modal, a new dialog for every use; it deletes itself when closed.
    auto* dialog = new TFormReceipts(receipts_, context_->settings(), *services_.files, *services_.messages,
                                     context_->translate, this);
    dialog->show();
}

void TAppForm::AskPrint1Click() {
    context_->guard.run([this]() { toggleAskPrint(receipts_, context_->settings()); });
    AskPrint1->setChecked(receipts_.askPrint);
}

void TAppForm::PrintTemplate1Click() {
    TPrintTemplateForm editor(receipts_, context_->settings(), *services_.messages, context_->translate,
                              this);
    editor.exec();
}

void TAppForm::ResetToDefaults1Click() {
    // Resetting deletes both passwords: with an admin password set, only the admin may.
    if (!context_->settings().readString(QStringLiteral("SecretAdmin64")).isEmpty() &&
        !requireFullAccess(*context_))
        return;
    if (!confirm(*services_.messages, TranslateText(QStringLiteral("Restart Application?"))))
        return;
    // Nothing may write the settings again between their deletion and the end.
    ending_ = true;
    for (QTimer* timer : findChildren<QTimer*>())
        timer->stop();
    context_->settings().deleteKey();
    QCoreApplication::processEvents();
    services_.shell->startDetached(QCoreApplication::applicationFilePath(), {}, QDir::currentPath());
    endProgram();
}

void TAppForm::KeyboardShortcuts1Click() {
    QList<std::pair<const char*, const char*>> rows = {{"Del:", "Delete last entered product"},
                                                       {"ESC:", "Cancel product selection"},
                                                       {"Ctrl Alt P:", "Product List"}};
    for (const BarKey& barKey : barKeys())
        rows.append(std::pair(barKey.keyName, barKey.caption));
    QString text;
    for (const auto& [key, description] : rows)
        text += QLatin1Char('\n') + TranslateText(QString::fromLatin1(key)) + QStringLiteral(" \t") +
                TranslateText(QString::fromLatin1(description));
    services_.messages->show(TranslateText(QStringLiteral("Keyboard Shortcuts")), text, MsgIcon::Information,
                             {MsgButton::Ok}, MsgButton::Ok);
}

void TAppForm::OnlineHelp1Click() {
    const QString product =
        QString::fromLatin1(buildinfo::ProductName).toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    // A failure to open the page is ignored.
    services_.shell->openUrl(QStringLiteral("http://") + QString::fromLatin1(buildinfo::WebHost) +
                             QStringLiteral("/help/") + product + QLatin1Char('/'));
}

void TAppForm::Language1Click() {
    TTranslateForm form(
        language_, languagesFolder(), context_->settings(), context_->messages(), *services_.shell,
        context_->translate, [this]() { RestartApplication(); }, this);
    form.exec();
}

void TAppForm::SendFeedback1Click() {
    TFeedbackForm form(context_->messages(), context_->translate, FeedbackServer{}, this);
    form.exec();
}

void TAppForm::RestartApplication() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = base + QLatin1Char('/') + QString::fromLatin1(buildinfo::CompanyName) +
                           QLatin1Char('/') + QString::fromLatin1(buildinfo::ProductName) + QLatin1Char('/');
    QDir().mkpath(folder); // a failure shows when the file cannot be written
    const QString script = folder + QStringLiteral("start.sh");
    const QByteArray text =
        "#!/bin/sh\nsleep 1\n" + shellQuoted(QCoreApplication::applicationFilePath()).toLocal8Bit() + "\n";
    QString error;
    if (!writeFileAtomically(script, text, error)) {
        showDefaultError(
            *services_.messages,
            QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(script), error));
        return;
    }
    QCoreApplication::processEvents();
    services_.shell->startDetached(QStringLiteral("/bin/sh"), {script}, folder);
    QCoreApplication::processEvents();
    endProgram();
}

void TAppForm::endProgram() {
    ending_ = true;
    for (QTimer* timer : findChildren<QTimer*>())
        timer->stop();
    hide();
    Q_EMIT programEnded();
}

bool TAppForm::translatedPrompt(const QString& caption, const QString& text, QString& value) {
    return services_.prompts->prompt(caption, text, value, TranslateText(QStringLiteral("OK")),
                                     TranslateText(QStringLiteral("Cancel")));
}

} // namespace tillora
