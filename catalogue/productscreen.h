#pragma once
// The products screen: the catalogue's barcode, name, price and stock, behind full access.
// The barcode box is the key of the screen: every change of its text looks the product up; a
// barcode not stored offers ADD, a stored one UPDATE and DELETE PRODUCT. Enter moves on from
// the barcode to the name, the price, the stock and ADD (or UPDATE), so a scanner typing a
// code and Enter into the barcode box looks the product up and moves on to its name.
#include "store/context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tillora {

class LookupBox;

class PanelProduct : public QWidget {
    Q_OBJECT

public:
    PanelProduct(ProgramContext& context, QWidget* parent = nullptr);

    // Runs when the navigation bar opens this screen: the form empty, the barcode list loaded.
    void enter();

Q_SIGNALS:
    // "MAIN MENU", or full access ended while the screen is up: back to the sale screen.
    void mainMenuClicked();

private:
    void buildControls();
    void setCaptions();
    bool filterKey(QObject* watched, QEvent* event);
    // The form emptied and the barcode list reloaded, the barcode box focused.
    void resetForm();
    void setButtons(bool add, bool update, bool remove);
    void showRecordDate(bool shown);
    // The entry check; a failing one shows "Invalid Entry!" (translated or in English).
    bool entryIsValid(bool translatedWarning);
    qint32 stockValue();

    // Handlers.
    void ComboBox1Change(const QString& text); // barcode lookup
    void BitBtn5Click();                       // ADD
    void BitBtn8Click();                       // UPDATE
    void BitBtn9Click();                       // DELETE PRODUCT
    void SpinEdit2Enter();

    ProgramContext& context_;

    // Controls, named as the designed screen names them.
    LookupBox* ComboBox1 = nullptr;  // barcode, with the list of every barcode
    QLineEdit* Edit2 = nullptr;      // product name
    QLineEdit* Edit3 = nullptr;      // price
    QSpinBox* SpinEdit2 = nullptr;   // stock
    QLabel* Label6 = nullptr;        // "RECORD DATE:"
    QLineEdit* Edit5 = nullptr;      // record date
    QPushButton* BitBtn5 = nullptr;  // "ADD"
    QPushButton* BitBtn8 = nullptr;  // "UPDATE"
    QPushButton* BitBtn9 = nullptr;  // "DELETE PRODUCT"
    QPushButton* BitBtn10 = nullptr; // "MAIN MENU"
    QWidget* Image1 = nullptr;       // decorative picture
    QLabel* barcodeLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* priceLabel_ = nullptr;
    QLabel* stockLabel_ = nullptr;
};

} // namespace tillora
