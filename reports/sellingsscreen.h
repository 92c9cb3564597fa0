#pragma once
// The sales records screen: payments and credits by period, product and customer, their
// totals, the export of the list loaded last, and the deletion and reprint of single records.
#include "reports/salesrecords.h"
#include "store/context.h"
#include "store/startup.h"

#include <QWidget>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class QTimeEdit;

namespace tillora {

class FilterListModel;

class PanelSellings : public QWidget {
    Q_OBJECT

public:
    PanelSellings(ProgramContext& context, QWidget* parent = nullptr);

    // Runs when the navigation bar opens this screen: the total bar hides, the payments list
    // comes to the front and the period becomes yesterday to tomorrow (the times, the filters,
    // the lists and the list the export writes stay as they were).
    void enter();
    // The customer and product filter lists, filled by the start-up work.
    void setFilterLists(const StartupLists& lists);
    // The same with the product names read from elsewhere: allProducts, then count names.
    void setFilterLists(const QStringList& customers, const QString& allProducts, qsizetype count,
                        const std::function<QString(qsizetype)>& productAt);

    // The two lists, whose column widths the main window remembers.
    QTableView* paymentsList() const { return ListView2; }
    QTableView* creditsList() const { return ListView3; }
    // What the lists hold and which one the export writes.
    const SalesRecords& records() const { return records_; }

Q_SIGNALS:
    // "MAIN MENU": back to the sale screen.
    void mainMenuClicked();

private:
    void buildControls();
    QTableView* makeList(const QString& name, SalesRecordsModel& model, const QList<int>& widths);
    QAction* addMenuItem(QTableView* list, const QString& name, const QString& caption);
    QTableView* listOf(RecordKind kind) const;
    RecordFilter filter() const;
    int selectedRow(RecordKind kind) const;
    // Paints the screen now: the handlers below run long statements before control returns
    // to the event loop.
    void repaintNow();

    // Handlers, named after their controls.
    void BitBtn18Click(); // "Payments"
    void BitBtn19Click(); // "Credits"
    void BitBtn21Click(); // "Export"
    void Delete2Click();  // "Delete" on the payments list
    void Delete3Click();  // "Delete" on the credits list
    void loadList(RecordKind kind);
    void deleteRecord(RecordKind kind);
    void reprint(RecordKind kind); // "Print" on either list

    ProgramContext& context_;
    SalesRecords records_;

    // Controls, named as the designed screen names them.
    QDateEdit* DateTimePicker1 = nullptr; // begin date
    QDateEdit* DateTimePicker2 = nullptr; // end date
    QTimeEdit* DateTimePicker3 = nullptr; // begin time
    QTimeEdit* DateTimePicker4 = nullptr; // end time
    QComboBox* ComboBox3 = nullptr;       // customer filter
    QComboBox* ComboBox4 = nullptr;       // product filter
    FilterListModel* customerNames_ = nullptr;
    FilterListModel* productNames_ = nullptr;
    QPushButton* BitBtn18 = nullptr;  // "Payments"
    QPushButton* BitBtn19 = nullptr;  // "Credits"
    QPushButton* BitBtn21 = nullptr;  // "Export"
    QPushButton* BitBtn20 = nullptr;  // "MAIN MENU"
    QStackedWidget* lists_ = nullptr; // the two lists in one place, one in front
    QTableView* ListView2 = nullptr;  // payments
    QTableView* ListView3 = nullptr;  // credits
    QAction* Delete2 = nullptr;       // payments list: "Delete"
    QAction* Print1 = nullptr;        // payments list: "Print"
    QAction* Delete3 = nullptr;       // credits list: "Delete"
    QAction* Print2 = nullptr;        // credits list: "Print"
    QWidget* totalBar_ = nullptr;     // hidden until a list is loaded
    QLabel* totalCaption_ = nullptr;  // "GRAND TOTAL:"
    QLabel* total_ = nullptr;         // the total of the list loaded last
};

} // namespace tillora
