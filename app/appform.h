#pragma once
#include "i18n/language.h"
#include "platform/services.h"
#include "receipts/receipts.h"
#include "register/cart.h"
#include "register/cashsale.h"
#include "register/registerhost.h"
#include "store/database.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;
class QToolButton;

namespace tillora {

// The main window: holds the one database connection, the settings store, the loaded
// language, the sale register and the screens of the program for the whole run.
class TAppForm : public QMainWindow, public IRegisterHost {
    Q_OBJECT

public:
    explicit TAppForm(Services& services, QWidget* parent = nullptr);
    ~TAppForm() override;

    // Company name + " - " + product name: the normal caption of the window.
    static QString WindowTitle();
    // The locale's list separator: ";" where the decimal point is ",", else ",".
    static QString localeCsvSeparator();

    QString TranslateText(const QString& english) const { return language_.translateText(english); }
    // TranslateText as a function object, for the parts that take a translator.
    Translate translator() const {
        return [this](const QString& text) { return TranslateText(text); };
    }

    Services& services() const { return services_; }
    Database& database() { return database_; }
    const Language& language() const { return language_; }
    ISettingsStore& settings() const { return *services_.settings; }
    const QString& CsvSeparator() const { return csvSeparator_; }
    bool startupDone() const { return startupDone_; }
    // The data file the start-up work opens: data.db beside the program unless set before.
    void setDataFile(const QString& path) { dataFile_ = path; }
    SaleRegister& saleRegister() { return register_; }

    // The frame: screens, themes, column widths, passwords and the shell commands.
    bool FullAccess = true;
    int ThemeIndex = 0;
    void ArayuzuDegistir(bool Klasik);
    void RestartApplication();
    void showScreen(QWidget* screen);
    void openScreen(QWidget* screen, bool needsFullAccess);
    void BitBtn3Click();  // PRODUCTS
    void BitBtn4Click();  // CUSTOMERS
    void BitBtn17Click(); // SALES
    void mainMenuClick(); // MAIN MENU of the products, customers and sales records screens
    void setFullAccess(bool on);
    void TimerPasswordTimer();
    void TimerPasswordAdminTimer();
    void TimerColumnWidthTimer();
    void TimerCaptionDuzeltTimer();
    void Logout1Click();
    void EditPassword1Click();
    void CurrencySymbol1Click();
    void Receipts1Click();
    void AskPrint1Click();
    void PrintTemplate1Click();
    // What completing the sale in progress works on.
    SaleContext saleContext();
    ReceiptSettings& receiptSettings() { return receipts_; }
    void ResetToDefaults1Click();
    void KeyboardShortcuts1Click();
    void OnlineHelp1Click();
    // The "You are not logged as admin!" warning when full access is off; true when it is on.
    bool requireFullAccess();
    // Ends the program at once: every timer stopped and nothing written any more.
    void endProgram();
    bool ending() const { return ending_; }
    // The settings' names of the remembered column widths with the list columns they belong to.
    struct RememberedColumn {
        QString setting;
        QTableView* list;
        int column;
    };
    QList<RememberedColumn> rememberedColumns() const;

    // The sale register (cart operations with the screen around them).
    QString& ScanBuffer() override { return register_.ScanBuffer; }
    bool BarkodOkundu() override;
    void ManualEkle(const QString& UrunAdi, double UrunFiyati, qint64 KacTane);
    void UrunSayisiGuncelle(qint64 secilenitemno, qint64 kactane);
    void FiyatHesapla();
    void EkleDuzeltSifirla();
    void removeCartLine(int row);

    // Handlers of the sale screen.
    void ListView1KeyPress(QChar key);
    void ListView1SelectItem(int row);
    void ListView1Click();
    void Edit4KeyPress(int key);
    void SpinEdit1KeyDown(int key);
    void BitBtn15Click(); // ADD / Edit
    void BitBtn16Click(); // DELETE
    void BitBtn22Click(); // product picker
    void Button1Click();  // discount
    void Edit7Change();   // cash typed
    // The line the cashier sees selected in the cart list, -1 when none.
    int selectedCartLine() const;

    // Controls, named as the program names them (numbers follow the designed forms).
    QTimer* TimerActivate = nullptr;      // opens the data file once the window runs
    QTimer* TimerPassword = nullptr;      // start-up password
    QTimer* TimerPasswordAdmin = nullptr; // admin password prompt
    QTimer* TimerColumnWidth = nullptr;   // saves changed column widths every second
    QTimer* TimerCaptionDuzelt = nullptr; // puts the caption back after a theme change
    QAction* Login1 = nullptr;            // "Login (Full Access)"
    QAction* Logout1 = nullptr;
    QAction* KeyboardShortcuts1 = nullptr;
    QAction* Exit1 = nullptr;
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
    QWidget* PanelProduct = nullptr;  // products screen
    QPushButton* BitBtn10 = nullptr;  // its "MAIN MENU"
    QWidget* PanelCustomer = nullptr; // customers screen
    QPushButton* BitBtn12 = nullptr;  // its "MAIN MENU"
    QPushButton* BitBtn20 = nullptr;  // "MAIN MENU" of the sales records
    QMenu* Operations1 = nullptr;     // "Operations" menu
    QAction* ProductsList1 = nullptr; // "Product List..." menu item
    QAction* ProductList = nullptr;   // window-wide Ctrl+Alt+P
    QWidget* PanelMain = nullptr;     // sale screen
    QWidget* Panel12 = nullptr;       // entry strip
    QToolButton* BitBtn22 = nullptr;  // product picker button
    QLineEdit* Edit4 = nullptr;       // entry box
    QLabel* Image3 = nullptr;         // decorative picture
    QSpinBox* SpinEdit1 = nullptr;    // quantity box
    QPushButton* BitBtn15 = nullptr;  // "ADD" / "Edit"
    QPushButton* BitBtn16 = nullptr;  // "DELETE"
    QTableView* ListView1 = nullptr;  // cart list
    QWidget* Panel6 = nullptr;        // change panel
    QLabel* Label20 = nullptr;        // "Change:"
    QPlainTextEdit* Memo1 = nullptr;  // banknote suggestions
    QLineEdit* Edit7 = nullptr;       // cash box
    QLabel* Label19 = nullptr;        // change due
    QWidget* Panel5 = nullptr;        // total strip
    QLabel* Label5 = nullptr;         // "GRAND TOTAL:"
    QLabel* Label7 = nullptr;         // grand total
    QLabel* Label21 = nullptr;        // discount
    QToolButton* Button1 = nullptr;   // discount button
    QWidget* Panel1 = nullptr;        // sell bar
    QPushButton* BitBtn1 = nullptr;   // "SELL BY CASH"
    QPushButton* BitBtn2 = nullptr;   // "SELL BY CREDIT"
    QWidget* Panel2 = nullptr;        // navigation bar
    QPushButton* BitBtn3 = nullptr;   // "PRODUCTS"
    QPushButton* BitBtn4 = nullptr;   // "CUSTOMERS"
    QPushButton* BitBtn17 = nullptr;  // "SALES"
    QWidget* PanelSellings = nullptr; // sales records screen
    QComboBox* ComboBox3 = nullptr;   // customer filter of the sales records
    QComboBox* ComboBox4 = nullptr;   // product filter of the sales records

    qint64 SelectedLineIndex = 0; // the line chosen for editing

Q_SIGNALS:
    // The start-up work (data file opened and upgraded, filter lists filled) has run.
    void startupFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Runs one step of the window's creation; an error is shown and the next steps still run.
    template <typename Step> void creationStep(Step&& step);
    void buildFrame();
    void buildMenu();
    void buildTimers();
    void applyColumnWidths();
    void buildSaleScreen(QWidget* parent);
    void setSaleScreenCaptions();
    void refreshChangePanel();
    void matchMemoToPanel();
    void layOutBars();
    // A prompt whose OK and Cancel carry the translated captions.
    bool translatedPrompt(const QString& caption, const QString& text, QString& value);
    qint64 quantityBoxValue() const;
    void TimerActivateTimer();

    Services& services_;
    Database database_;
    Language language_;
    SaleRegister register_;
    ReceiptSettings receipts_;
    QString csvSeparator_;
    QString dataFile_ = dataFilePath();
    bool startupDone_ = false;
    bool lookupFailed_ = false;
    bool ending_ = false;
    QString shownSuggestions_; // what Memo1 shows
};

} // namespace tillora
