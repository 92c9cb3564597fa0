#pragma once
// The stock inventory count sheet: every product with its price, stock and record date, most
// stock first, re-sorted by a click on any column, written to a CSV file in the order shown,
// and the barcode image window for the selected product. The window keeps its size, its
// window state and its column widths in the settings.
//
// Modal, created anew for each opening and destroyed when it closes:
//   openStockSheet(context);
#include <QDialog>
#include <QString>

class QAction;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;

namespace tillora {

struct ProgramContext;
class StockListModel;

class TStockSheetForm : public QDialog {
    Q_OBJECT

public:
    // The size of the window's inner area as designed.
    static QSize designSize() { return {598, 364}; }

    TStockSheetForm(ProgramContext& context, QWidget* parent = nullptr);
    ~TStockSheetForm() override;

    // The stored size and window state, applied with the saving of geometry switched off; the
    // window is then ready to be shown.
    void applyStoredGeometry();

    // The last window state the resize handling saw during this run: "wsNormal", "wsMaximized"
    // or empty.
    static QString lastWindowState();

    void Timer1Timer(); // loads the list
    void ListView1ColumnClick(int column);
    void BitBtn1Click(); // "Export to File..."
    void BitBtn2Click(); // "Generate Barcode Image..." and the list's context menu
    void FormResize();
    void TimerColumnWidthTimer();

Q_SIGNALS:
    // The list has been loaded.
    void loaded();

public Q_SLOTS:
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void writeInteger(const QString& name, int value);

    ProgramContext& context_;
    StockListModel* model_ = nullptr;
    // Size and window state are written only while this is on: not while the stored ones are
    // applied, nor once the window is closing.
    bool geometrySaving_ = false;

    QTableView* ListView1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Export to File..."
    QPushButton* BitBtn2 = nullptr; // "Generate Barcode Image..."
    QMenu* PopupMenu1 = nullptr;
    QAction* GenerateBarcodeImage1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* TimerColumnWidth = nullptr;
};

// The menu command "Stock Inventory Count Sheet...": the window with its stored geometry,
// shown modally over context.window.
void openStockSheet(ProgramContext& context);

} // namespace tillora
