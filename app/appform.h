#pragma once
// The main window: the frame of the program. It holds for the whole run the one database
// connection, the loaded language, the sale register and the receipt values, and it carries
// the menus, the sell bar and the navigation bar, the timers, the themes, the remembered
// column widths, the two passwords with full access, and the switching of its four screens.
// What each screen shows and does is the screen's own class.
#include "i18n/language.h"
#include "platform/services.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "store/context.h"
#include "store/database.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QMenu;
class QThread;
class QPushButton;
class QTableView;
class QTimer;

namespace tillora {

class PanelCustomer;
class PanelMain;
class ProductCatalogue;
struct StartupRead;
class PanelProduct;
class PanelSellings;

// Full access as the main window holds it: the screens get the read-only view.
class FullAccessFlag : public AccessView {
    Q_OBJECT

public:
    using AccessView::AccessView;
    void set(bool on) { setOn(on); }
};

class TAppForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TAppForm(Services& services, QWidget* parent = nullptr);
    ~TAppForm() override;

    // Company name + " - " + product name: the normal caption of the window.
    static QString WindowTitle();
    // The locale's list separator: ";" where the decimal point is ",", else ",".
    static QString localeCsvSeparator();

    QString TranslateText(const QString& english) const { return language_.translateText(english); }

    Database& database() { return database_; }
    const Language& language() const { return language_; }
    SaleRegister& saleRegister() { return register_; }
    ReceiptSettings& receiptSettings() { return receipts_; }
    // The data file the start-up work opens: data.db beside the program unless set before.
    void setDataFile(const QString& path) { dataFile_ = path; }
    bool startupDone() const { return startupDone_; }
    bool fullAccess() const { return access_.fullAccess(); }
    int themeIndex() const { return ThemeIndex; }
    // True once the program is ending: every timer stopped and nothing written any more.
    bool ending() const { return ending_; }

    // The size the window is designed for.
    static QSize designSize() { return {841, 619}; }

    // Ends this run and starts the program again about a second later.
    void RestartApplication();
    // The column-width saver's tick (also run by its timer every second).
    void TimerColumnWidthTimer();

Q_SIGNALS:
    // The start-up work (data file opened and upgraded, filter lists filled) has run.
    void startupFinished();
    // The program ends ("Exit", a refused start-up password, a restart): the event loop
    // should stop. The window is hidden already.
    void programEnded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Runs one step of the window's creation; an error is shown and the next steps still run.
    template <typename Step> void creationStep(Step&& step);
    void buildScreens();
    void ensureScreens();
    const Guard& guard() const { return context_->guard; }
    void buildBars();
    void buildMenu();
    void buildTimers();
    void layOutBars();
    // The function keys of the sell bar's and the navigation bar's buttons, in the order the
    // shortcut summary lists them: the key name and the button's caption there are English.
    struct BarKey {
        QPushButton* button;
        Qt::Key key;
        const char* keyName;
        const char* caption;
    };
    QList<BarKey> barKeys() const;
    void updateSellBar();
    // The settings' names of the remembered column widths with the list columns they belong to.
    struct RememberedColumn {
        QString setting;
        QTableView* list;
        int column;
    };
    QList<RememberedColumn> rememberedColumns() const;
    void applyColumnWidths();
    // A prompt whose OK and Cancel carry the translated captions.
    bool translatedPrompt(const QString& caption, const QString& text, QString& value);
    // Whether entry is the password stored under setting; an old-form value that matches is
    // replaced by its hash.
    bool passwordAccepted(const QString& setting, const QString& stored, const QString& entry);
    void endProgram();

    // Screen switching.
    void showScreen(QWidget* screen);
    void openScreen(QWidget* screen, bool needsFullAccess);
    void mainMenuClick(); // "MAIN MENU" of the products, customers and sales records screens
    void setFullAccess(bool on);

    // Handlers, named after their controls.
    void BitBtn1Click();  // SELL BY CASH
    void BitBtn2Click();  // SELL BY CREDIT
    void BitBtn3Click();  // PRODUCTS
    void BitBtn4Click();  // CUSTOMERS
    void BitBtn17Click(); // SALES
    void TimerActivateTimer();
    // The start-up work: the data file opened and upgraded here, the filter lists and the
    // picker's products read on a thread of their own, so the window answers meanwhile.
    void beginStartupWork();
    void startupRead(StartupRead& read);
    void TimerPasswordTimer();
    void TimerPasswordAdminTimer();
    void TimerCaptionDuzeltTimer();    // puts the caption back after a theme change
    void ArayuzuDegistir(bool Klasik); // change the interface (theme); Klasik: the plain one
    void Logout1Click();
    void EditPassword1Click();
    void CurrencySymbol1Click();
    void Receipts1Click();
    void AskPrint1Click();
    void PrintTemplate1Click();
    void ResetToDefaults1Click();
    void KeyboardShortcuts1Click();
    void OnlineHelp1Click();
    void Language1Click();
    void SendFeedback1Click();

    Services& services_;
    Database database_;
    Language language_;
    SaleRegister register_;
    ReceiptSettings receipts_;
    FullAccessFlag access_;
    std::unique_ptr<ProgramContext> context_;
    QString dataFile_ = dataFilePath();
    int ThemeIndex = 0;
    bool startupDone_ = false;
    bool ending_ = false;
    bool placed_ = false; // centred on the screen at the first showing
    // The start-up work waits for the window's first frame, so that the window is seen at once.
    bool framePainted_ = false;
    bool startupWaitsForFrame_ = false;
    std::unique_ptr<ProductCatalogue> catalogue_;
    QThread* startupThread_ = nullptr;
    int startupRun_ = 0; // a reading begun by an earlier run of the start-up work is dropped

    // The screens; exactly one is visible.
    PanelMain* saleScreen_ = nullptr;          // "PanelMain"
    PanelProduct* productsScreen_ = nullptr;   // "PanelProduct"
    PanelCustomer* customersScreen_ = nullptr; // "PanelCustomer"
    PanelSellings* recordsScreen_ = nullptr;   // "PanelSellings", the sales records

    // Controls, named as the designed window names them.
    QWidget* Panel1 = nullptr;            // sell bar
    QPushButton* BitBtn1 = nullptr;       // "SELL BY CASH"
    QPushButton* BitBtn2 = nullptr;       // "SELL BY CREDIT"
    QWidget* Panel2 = nullptr;            // navigation bar
    QPushButton* BitBtn3 = nullptr;       // "PRODUCTS"
    QPushButton* BitBtn4 = nullptr;       // "CUSTOMERS"
    QPushButton* BitBtn17 = nullptr;      // "SALES"
    QTimer* TimerActivate = nullptr;      // opens the data file once the window runs
    QTimer* TimerPassword = nullptr;      // start-up password
    QTimer* TimerPasswordAdmin = nullptr; // admin password prompt
    QTimer* TimerColumnWidth = nullptr;   // saves changed column widths every second
    QTimer* TimerCaptionDuzelt = nullptr; // puts the caption back after a theme change
    QMenu* Operations1 = nullptr;
    QAction* Login1 = nullptr; // "Login (Full Access)"
    QAction* Logout1 = nullptr;
    QAction* Backup1 = nullptr;            // "Backup..."
    QAction* RestorefromBackup1 = nullptr; // "Restore from Backup..."
    QMenu* Export1 = nullptr;              // Products1, Customers1, Payments1, Credits1
    QMenu* Import1 = nullptr;              // Products2
    QMenu* Delete1 = nullptr;              // Products3, Customers2, Payments2, Credits2
    QAction* ProductsList1 = nullptr;      // "Product List..."
    QAction* KeyboardShortcuts1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Reports1 = nullptr;
    QAction* StockInventoryCount1 = nullptr; // "Stock Inventory Count Sheet..."
    QAction* TopSellingProducts1 = nullptr;  // "Top Selling Products..."
    QMenu* Settings1 = nullptr;
    QAction* EditPassword1 = nullptr;
    QAction* CurrencySymbol1 = nullptr;
    QAction* Receipts1 = nullptr;
    QAction* AskPrint1 = nullptr; // tick item: ask before printing a receipt
    QAction* PrintTemplate1 = nullptr;
    QAction* ChangeInterface1 = nullptr;
    QAction* ClassicalInterface1 = nullptr;
    QAction* ResetToDefaults1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* OnlineHelp1 = nullptr;
    QAction* UpdateNotifications1 = nullptr;
    QAction* Language1 = nullptr;     // "Language..."
    QAction* SendFeedback1 = nullptr; // "Send Feedback..."
    QAction* ProductList = nullptr;   // window-wide Ctrl+Alt+P
};

} // namespace tillora
