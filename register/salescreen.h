#pragma once
// The sale screen: the entry strip, the cart list with its keys, the change panel and the
// total strip. The cart list keeps the keyboard focus so that a barcode scanner, which types
// the code and Enter, adds the product at once.
#include "register/cashsale.h"
#include "store/context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;
class QToolButton;

namespace tillora {

class SaleRegister;

class ProductCatalogue;

class PanelMain : public QWidget {
    Q_OBJECT

public:
    PanelMain(ProgramContext& context, SaleRegister& reg, QWidget* parent = nullptr);

    // What completing the sale in progress works on (the sell bar's buttons).
    SaleContext saleContext();
    // The product picker ("Product List...", Ctrl+Alt+P and the button beside the entry box).
    void BitBtn22Click();
    // The products the picker lists, kept by the main window for the whole run; without it the
    // picker reads them at each opening.
    void setCatalogue(ProductCatalogue* catalogue) { catalogue_ = catalogue; }
    // Puts the keyboard focus on the cart list, where the scanner types.
    void focusCartList();
    // The cart list, whose column widths the main window remembers.
    QTableView* cartList() const { return ListView1; }
    // The line the cashier sees selected in the cart list, -1 when none.
    int selectedCartLine() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    ProductCatalogue* catalogue_ = nullptr;

    void buildControls();
    void setCaptions();
    bool filterKey(QObject* watched, QEvent* event);
    void matchMemoToPanel();
    void refreshChangePanel();
    qint64 quantityBoxValue() const;
    // A prompt whose OK and Cancel carry the translated captions.
    bool translatedPrompt(const QString& caption, const QString& text, QString& value);

    // The sale register's operations with the screen around them.
    bool BarkodOkundu();
    void ManualEkle(const QString& UrunAdi, double UrunFiyati, qint64 KacTane); // add by hand
    void UrunSayisiGuncelle(qint64 secilenitemno, qint64 kactane);              // set a line's quantity
    void FiyatHesapla();                                                        // show the totals
    void EkleDuzeltSifirla(); // back to adding: entry box empty, quantity 1

    // Handlers.
    void ListView1KeyPress(QChar key);
    void ListView1SelectItem(int row);
    void ListView1Click();
    void Edit4KeyPress(int key);
    void SpinEdit1KeyDown(int key);
    void BitBtn15Click(); // ADD / Edit
    void BitBtn16Click(); // DELETE
    void Button1Click();  // discount
    void Edit7Change();   // cash typed

    ProgramContext& context_;
    SaleRegister& register_;
    qint64 SelectedLineIndex = 0; // the line chosen for editing
    bool lookupFailed_ = false;
    QString shownSuggestions_; // what Memo1 shows

    // Controls, named as the designed screen names them.
    QWidget* Panel12 = nullptr;      // entry strip
    QToolButton* BitBtn22 = nullptr; // product picker button
    QLineEdit* Edit4 = nullptr;      // entry box
    QLabel* Image3 = nullptr;        // decorative picture
    QSpinBox* SpinEdit1 = nullptr;   // quantity box
    QPushButton* BitBtn15 = nullptr; // "ADD" / "Edit"
    QPushButton* BitBtn16 = nullptr; // "DELETE"
    QTableView* ListView1 = nullptr; // cart list
    QWidget* Panel6 = nullptr;       // change panel
    QLabel* Label20 = nullptr;       // "Change:"
    QPlainTextEdit* Memo1 = nullptr; // banknote suggestions
    QLineEdit* Edit7 = nullptr;      // cash box
    QLabel* Label19 = nullptr;       // change due
    QWidget* Panel5 = nullptr;       // total strip
    QLabel* Label5 = nullptr;        // "GRAND TOTAL:"
    QLabel* Label7 = nullptr;        // grand total
    QLabel* Label21 = nullptr;       // discount
    QToolButton* Button1 = nullptr;  // discount button
};

} // namespace tillora
