#pragma once
// The credit customer chooser "Sell by Credit": which customer the sale in progress goes on.
// OK records the cart on that customer's account (SellOnCredit) and closes; Cancel, Esc and
// the close box record nothing. A new window is made for each use.
#include "register/cashsale.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace tillora {

class TVeresiyeForm : public QDialog {
    Q_OBJECT

public:
    // Reads the customers at once; a failing query is reported and leaves the list empty.
    explicit TVeresiyeForm(SaleContext& sale, QWidget* parent = nullptr);

    // The customers' ids, in the order of the list's entries.
    const QStringList& customerIds() const { return ids_; }
    SaleResult saleResult() const { return result_; }

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;       // "Which Customer?"
    QComboBox* ComboBox1 = nullptr; // the customers, nothing chosen at first
    QPushButton* BitBtn1 = nullptr; // "OK"
    QPushButton* BitBtn2 = nullptr; // "Cancel"

    void BitBtn1Click();

private:
    void FormCreate();

    SaleContext& sale_;
    QStringList ids_;
    SaleResult result_ = SaleResult::Declined;
};

// "SELL BY CREDIT": puts the focus on the cart list, then shows a new chooser modally.
SaleResult SellByCredit(SaleContext& sale, QWidget* parent);

} // namespace tillora
