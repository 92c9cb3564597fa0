#pragma once
// The top selling products window: ranks the products by what the cash sales sold between
// two dates, by units or by money, and writes the list to a CSV file. A click or a date change
// only starts a short timer, so several changes in a row cause one reload; the ranking is read
// in the background and the window keeps answering meanwhile.
//
// Modal, created anew for each opening and destroyed when it closes:
//   openTopSelling(context);
#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTableView;
class QTimer;

namespace tillora {

struct ProgramContext;
class TopSellingLoader;
class TopSellingModel;

class TFormTopSelling : public QDialog {
    Q_OBJECT

public:
    TFormTopSelling(ProgramContext& context, QWidget* parent = nullptr);
    ~TFormTopSelling() override;

    // True while a ranking is being read.
    bool loading() const;

    void Timer1Timer(); // load ranked by units
    void Timer2Timer(); // load ranked by money
    void BitBtn1Click();

Q_SIGNALS:
    // The list shows the ranking last asked for.
    void loaded();

private:
    void dateChange();
    void load(bool byMoney);

    ProgramContext& context_;
    TopSellingModel* model_ = nullptr;
    TopSellingLoader* loader_ = nullptr;

    QRadioButton* RadioButton1 = nullptr; // "Unit"
    QRadioButton* RadioButton2 = nullptr; // "Price"
    QLabel* Label1 = nullptr;             // "Begin:"
    QDateEdit* DateTimePicker1 = nullptr; // begin date
    QLabel* Label2 = nullptr;             // "End:"
    QDateEdit* DateTimePicker2 = nullptr; // end date
    QTableView* ListView1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Export to File..."
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};

// The menu command "Top Selling Products...": the window, shown modally over context.window.
void openTopSelling(ProgramContext& context);

} // namespace tillora
