#pragma once
// The customers screen: customers and the settlement of their open credit, behind full access.
// The customer box is the key of the screen: every change of its text looks the name up; a
// stored customer shows its record date and open credit, and DETAILS lists the open credit
// lines to tick; PAID settles the ticked ones.
#include "store/context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace tillora {

class LookupBox;
class OpenCreditModel;

class PanelCustomer : public QWidget {
    Q_OBJECT

public:
    // Creates the screen with its working lists (the open credit lines and their values).
    PanelCustomer(ProgramContext& context, QWidget* parent = nullptr);

    // Runs when the navigation bar opens this screen: the form empty, the customer list loaded.
    void enter();

Q_SIGNALS:
    // "MAIN MENU", or full access ended while the screen is up: back to the sale screen.
    void mainMenuClicked();

private:
    void buildControls();
    QWidget* buildCreditArea();
    void setCaptions();
    bool filterKey(QObject* watched, QEvent* event);
    // The form emptied and the customer list reloaded, the customer box focused.
    void resetForm();
    void showCustomerRows(bool shown);
    void showCreditArea(bool shown);
    // DETAILS for a name: the open credit area with the name's open lines and their total.
    void listOpenCredit(const QString& name);

    // Handlers.
    void ComboBox2Change(const QString& text); // customer lookup
    void BitBtn6Click();                       // ADD
    void BitBtn11Click();                      // DELETE CUSTOMER
    void BitBtn13Click();                      // DETAILS
    void BitBtn14Click();                      // Select All
    void BitBtn7Click();                       // PAID

    ProgramContext& context_;
    // The open credit lines of the customer last listed, each with its row's values.
    OpenCreditModel* openCredit_ = nullptr;
    // The name DETAILS last listed: PAID settles and lists again for it, even when the
    // customer box has been changed to a name not stored since.
    QString listedCustomer_;

    // Controls, named as the designed screen names them.
    LookupBox* ComboBox2 = nullptr;     // customer, with the list of every name
    QLabel* Label8 = nullptr;           // "RECORD DATE:"
    QLineEdit* Edit6 = nullptr;         // record date
    QLabel* Label9 = nullptr;           // "CREDIT:"
    QLineEdit* Edit1 = nullptr;         // open credit total
    QPushButton* BitBtn13 = nullptr;    // "DETAILS"
    QPushButton* BitBtn6 = nullptr;     // "ADD"
    QPushButton* BitBtn11 = nullptr;    // "DELETE CUSTOMER"
    QPushButton* BitBtn12 = nullptr;    // "MAIN MENU"
    QWidget* Image2 = nullptr;          // decorative picture
    QWidget* Panel10 = nullptr;         // open credit area
    QListView* CheckListBox1 = nullptr; // the ticked list of open credit lines
    QLabel* totalLabel_ = nullptr;      // "TOTAL:"
    QLabel* Label10 = nullptr;          // total of the listed lines
    QPushButton* BitBtn14 = nullptr;    // "Select All"
    QPushButton* BitBtn7 = nullptr;     // "PAID"
    QLabel* customerLabel_ = nullptr;
};

} // namespace tillora
