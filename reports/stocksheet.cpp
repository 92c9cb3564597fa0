#include "reports/stocksheet.h"

#include "barcode/generatebarcode.h"
#include "common/errors.h"
#include "platform/settingsstore.h"
#include "reports/csvexport.h"
#include "reports/reportlist.h"
#include "reports/stocklist.h"
#include "store/context.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace tillora {

namespace {

const QString widthSetting = QStringLiteral("StockSheetWidth");
const QString heightSetting = QStringLiteral("StockSheetHeight");
const QString stateSetting = QStringLiteral("StockSheetWindowState");

QString columnSetting(int column) {
    return QStringLiteral("StockSheetColumn%1").arg(column + 1);
}

// The column captions in the file: English, whatever the language.
const QStringList exportHeader{QStringLiteral("Barcode"), QStringLiteral("Product"), QStringLiteral("Price"),
                               QStringLiteral("Stock"), QStringLiteral("Date")};

// A stored integer; nothing when it is absent or holds text (changed outside the program),
// so such a value falls back to the design instead of keeping the window from opening.
std::optional<int> storedInteger(const ISettingsStore& settings, const QString& name) {
    if (!settings.valueExists(name))
        return std::nullopt;
    try {
        return settings.readInteger(name);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

// A stored text; empty when it is absent or holds a number.
QString storedText(const ISettingsStore& settings, const QString& name) {
    try {
        return settings.readString(name);
    } catch (const AppError&) {
        return {};
    }
}

QString& lastState() {
    static QString state; // for the whole run
    return state;
}

} // namespace

QString TStockSheetForm::lastWindowState() {
    return lastState();
}

TStockSheetForm::TStockSheetForm(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TStockSheetForm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(context_.tr(QStringLiteral("Stock Inventory Count Sheet")));
    setModal(true);
    resize(designSize());

    QStringList captions;
    for (const QString& caption : exportHeader)
        captions << context_.tr(caption);
    model_ = new StockListModel(captions, this);
    ListView1 = makeReportList(QStringLiteral("ListView1"), model_, {122, 118, 118, 118, 118}, this);
    ListView1->horizontalHeader()->setSortIndicatorShown(false);
    ListView1->setAccessibleName(windowTitle());
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    BitBtn1 = new QPushButton(context_.tr(QStringLiteral("Export to File...")), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn2 = new QPushButton(context_.tr(QStringLiteral("Generate Barcode Image...")), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    GenerateBarcodeImage1 = PopupMenu1->addAction(QStringLiteral("Generate Barcode Image"));
    GenerateBarcodeImage1->setObjectName(QStringLiteral("GenerateBarcodeImage1"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ListView1, 1);
    layout->addLayout(bottom);

    // The stored column widths; a width that is absent, unreadable or not above 0 keeps the design.
    for (int column = 0; column < StockListModel::columns; ++column) {
        if (const auto width = storedInteger(context_.settings(), columnSetting(column)); width && *width > 0)
            ListView1->horizontalHeader()->resizeSection(column, *width);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    TimerColumnWidth = new QTimer(this);
    TimerColumnWidth->setObjectName(QStringLiteral("TimerColumnWidth"));
    TimerColumnWidth->setInterval(1000);
    context_.guard.on(Timer1, &QTimer::timeout, this, [this]() { Timer1Timer(); });
    context_.guard.on(TimerColumnWidth, &QTimer::timeout, this, [this]() { TimerColumnWidthTimer(); });
    context_.guard.on(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
                      [this](int column) { ListView1ColumnClick(column); });
    context_.guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    context_.guard.on(BitBtn2, &QPushButton::clicked, this, [this]() { BitBtn2Click(); });
    context_.guard.on(GenerateBarcodeImage1, &QAction::triggered, this, [this]() { BitBtn2Click(); });
    context_.guard.on(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at));
    });
    Timer1->start();
    TimerColumnWidth->start();
    geometrySaving_ = true;
}

TStockSheetForm::~TStockSheetForm() = default;

void TStockSheetForm::applyStoredGeometry() {
    geometrySaving_ = false;
    const ISettingsStore& settings = context_.settings();
    QSize size = this->size();
    if (const auto width = storedInteger(settings, widthSetting))
        size.setWidth(*width);
    if (const auto height = storedInteger(settings, heightSetting))
        size.setHeight(*height);
    resize(size);
    centreOnScreen(*this);
    if (storedText(settings, stateSetting) == QLatin1String("Maximized"))
        setWindowState(windowState() | Qt::WindowMaximized);
    geometrySaving_ = true;
}

void TStockSheetForm::Timer1Timer() {
    Timer1->stop();
    model_->setRows(context_.db.query(stockSheetStatement()));
    Q_EMIT loaded();
}

void TStockSheetForm::ListView1ColumnClick(int column) {
    model_->columnClick(column);
    ListView1->horizontalHeader()->setSortIndicatorShown(true);
    ListView1->horizontalHeader()->setSortIndicator(
        model_->sortedColumn(), model_->descending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TStockSheetForm::BitBtn1Click() {
    exportCsv(context_, context_.tr(QStringLiteral("CSV File")) + QStringLiteral(" (*.csv)"), exportHeader,
              *model_);
}

void TStockSheetForm::BitBtn2Click() {
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        context_.messages().show(context_.tr(QStringLiteral("WARNING")),
                                 context_.tr(QStringLiteral("No item selected!")), MsgIcon::Warning,
                                 {MsgButton::Ok}, MsgButton::Ok);
        return;
    }
    openBarcodeImage(context_, model_->cellText(selected.first().row(), 0), this);
}

void TStockSheetForm::writeInteger(const QString& name, int value) {
    if (storedInteger(context_.settings(), name) != value)
        context_.settings().writeInteger(name, value);
}

void TStockSheetForm::FormResize() {
    if (!geometrySaving_ || isMinimized())
        return;
    ISettingsStore& settings = context_.settings();
    if (isMaximized()) {
        lastState() = QStringLiteral("wsMaximized");
        if (storedText(settings, stateSetting) != QLatin1String("Maximized"))
            settings.writeString(stateSetting, QStringLiteral("Maximized"));
        return;
    }
    if (lastState() == QLatin1String("wsMaximized")) {
        // Leaving the maximized state returns to the saved normal size.
        lastState() = QStringLiteral("wsNormal");
        QSize normal = size();
        if (const auto height = storedInteger(settings, heightSetting))
            normal.setHeight(*height);
        if (const auto width = storedInteger(settings, widthSetting))
            normal.setWidth(*width);
        resize(normal);
    }
    writeInteger(heightSetting, height());
    writeInteger(widthSetting, width());
    if (storedText(settings, stateSetting) != QLatin1String("Normal"))
        settings.writeString(stateSetting, QStringLiteral("Normal"));
    lastState() = QStringLiteral("wsNormal");
}

void TStockSheetForm::TimerColumnWidthTimer() {
    for (int column = 0; column < StockListModel::columns; ++column)
        writeInteger(columnSetting(column), ListView1->horizontalHeader()->sectionSize(column));
}

void TStockSheetForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    context_.guard.run([&]() { FormResize(); });
}

void TStockSheetForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        context_.guard.run([&]() { FormResize(); });
}

void TStockSheetForm::done(int result) {
    // A column widened just before closing is kept too, not only those the timer saw.
    geometrySaving_ = false;
    TimerColumnWidth->stop();
    context_.guard.run([&]() { TimerColumnWidthTimer(); });
    QDialog::done(result);
}

void openStockSheet(ProgramContext& context) {
    TStockSheetForm form(context, context.window);
    form.applyStoredGeometry();
    form.exec();
}

} // namespace tillora
