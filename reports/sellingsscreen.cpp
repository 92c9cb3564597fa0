#include "reports/sellingsscreen.h"

#include "platform/messages.h"
#include "platform/qt/scrollingpanel.h"
#include "reports/filterlist.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tillora {

namespace {

// Designed widths of the columns, ID last.
const QList<int> paymentWidths{142, 139, 139, 139, 139, 139, 50};
const QList<int> creditWidths{109, 104, 104, 104, 104, 104, 104, 104, 50};

} // namespace

PanelSellings::PanelSellings(ProgramContext& context, QWidget* parent)
    : QWidget(parent), context_(context), records_(context.db, context.translate) {
    setObjectName(QStringLiteral("PanelSellings"));
    // Every control of the screen uses a 21-pixel font.
    QFont screenFont = font();
    screenFont.setPixelSize(21);
    setFont(screenFont);
    buildControls();
}

void PanelSellings::buildControls() {
    auto* screen = new QVBoxLayout(this);
    screen->setContentsMargins(4, 4, 4, 4);

    // Filter bar: begin and end with their times below them, the two filter lists at the right,
    // the buttons in the third row.
    auto* bar = new QGridLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    // Each caption names the control beside it (the time pickers share the date's caption).
    auto label = [this](const QString& text, QWidget* buddy) {
        auto* caption = new QLabel(text, this);
        caption->setBuddy(buddy);
        return caption;
    };
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new QDateEdit(this);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    for (QDateEdit* picker : {DateTimePicker1, DateTimePicker2})
        picker->setCalendarPopup(true);
    // The times show 00:00:00 at start; nothing but the user sets them.
    DateTimePicker3 = new QTimeEdit(QTime(0, 0), this);
    DateTimePicker3->setObjectName(QStringLiteral("DateTimePicker3"));
    DateTimePicker4 = new QTimeEdit(QTime(0, 0), this);
    DateTimePicker4->setObjectName(QStringLiteral("DateTimePicker4"));
    for (QTimeEdit* picker : {DateTimePicker3, DateTimePicker4})
        picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    customerNames_ = new FilterListModel(this);
    productNames_ = new FilterListModel(this);
    for (auto [box, names] : {std::pair{ComboBox3, customerNames_}, std::pair{ComboBox4, productNames_}}) {
        box->setModel(names);
        // A list may hold every product: its width does not follow the names, and its
        // entries are all of one height, so neither showing it nor opening it measures them all.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(16);
        if (auto* view = qobject_cast<QListView*>(box->view()))
            view->setUniformItemSizes(true);
    }
    bar->addWidget(label(context_.tr(QStringLiteral("Begin:")), DateTimePicker1), 0, 0);
    bar->addWidget(DateTimePicker1, 0, 1);
    bar->addWidget(label(context_.tr(QStringLiteral("End:")), DateTimePicker2), 0, 2);
    bar->addWidget(DateTimePicker2, 0, 3);
    bar->addWidget(label(context_.tr(QStringLiteral("Customer:")), ComboBox3), 0, 4);
    bar->addWidget(ComboBox3, 0, 5);
    DateTimePicker3->setAccessibleName(context_.tr(QStringLiteral("Begin:")));
    DateTimePicker4->setAccessibleName(context_.tr(QStringLiteral("End:")));
    bar->addWidget(DateTimePicker3, 1, 1);
    bar->addWidget(DateTimePicker4, 1, 3);
    bar->addWidget(label(context_.tr(QStringLiteral("Product:")), ComboBox4), 1, 4);
    bar->addWidget(ComboBox4, 1, 5);
    bar->setColumnStretch(5, 1);

    auto button = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setMinimumHeight(45);
        return b;
    };
    BitBtn18 = button(QStringLiteral("BitBtn18"), context_.tr(QStringLiteral("Payments")));
    BitBtn19 = button(QStringLiteral("BitBtn19"), context_.tr(QStringLiteral("Credits")));
    BitBtn21 = button(QStringLiteral("BitBtn21"), context_.tr(QStringLiteral("Export")));
    BitBtn20 = button(QStringLiteral("BitBtn20"), context_.tr(QStringLiteral("MAIN MENU")));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BitBtn18, BitBtn19, BitBtn21, BitBtn20})
        buttons->addWidget(b, 1);
    bar->addLayout(buttons, 2, 0, 1, 6);
    auto* filters = new QWidget;
    filters->setLayout(bar);
    // It scrolls sideways where the window is narrower than the bar.
    screen->addWidget(new ScrollingPanel(filters, Qt::Horizontal, this));

    // The two lists in one place.
    lists_ = new QStackedWidget(this);
    ListView2 = makeList(QStringLiteral("ListView2"), records_.payments(), paymentWidths);
    ListView3 = makeList(QStringLiteral("ListView3"), records_.credits(), creditWidths);
    ListView2->setAccessibleName(context_.tr(QStringLiteral("Payments")));
    ListView3->setAccessibleName(context_.tr(QStringLiteral("Credits")));
    lists_->addWidget(ListView2);
    lists_->addWidget(ListView3);
    screen->addWidget(lists_, 1);
    Delete2 = addMenuItem(ListView2, QStringLiteral("Delete2"), context_.tr(QStringLiteral("Delete")));
    Print1 = addMenuItem(ListView2, QStringLiteral("Print1"), context_.tr(QStringLiteral("Print")));
    Delete3 = addMenuItem(ListView3, QStringLiteral("Delete3"), context_.tr(QStringLiteral("Delete")));
    Print2 = addMenuItem(ListView3, QStringLiteral("Print2"), context_.tr(QStringLiteral("Print")));

    // Total bar.
    totalBar_ = new QWidget(this);
    totalBar_->setObjectName(QStringLiteral("SellingsTotalBar"));
    auto* totals = new QHBoxLayout(totalBar_);
    totals->setContentsMargins(6, 2, 2, 2);
    totalCaption_ = new QLabel(context_.tr(QStringLiteral("GRAND TOTAL:")), totalBar_);
    totalCaption_->setObjectName(QStringLiteral("SellingsTotalCaption"));
    total_ = new QLabel(QStringLiteral("0.00"), totalBar_);
    total_->setObjectName(QStringLiteral("SellingsTotal"));
    QFont bold = total_->font();
    bold.setBold(true);
    total_->setFont(bold);
    totals->addWidget(totalCaption_);
    totals->addWidget(total_, 1);
    screen->addWidget(totalBar_);
    totalBar_->hide();

    const Guard& guard = context_.guard;
    guard.on(BitBtn18, &QPushButton::clicked, this, [this]() { BitBtn18Click(); });
    guard.on(BitBtn19, &QPushButton::clicked, this, [this]() { BitBtn19Click(); });
    guard.on(BitBtn21, &QPushButton::clicked, this, [this]() { BitBtn21Click(); });
    guard.on(BitBtn20, &QPushButton::clicked, this, [this]() { Q_EMIT mainMenuClicked(); });
    guard.on(Delete2, &QAction::triggered, this, [this]() { Delete2Click(); });
    guard.on(Delete3, &QAction::triggered, this, [this]() { Delete3Click(); });
    guard.on(Print1, &QAction::triggered, this, [this]() { reprint(RecordKind::Payments); });
    guard.on(Print2, &QAction::triggered, this, [this]() { reprint(RecordKind::Credits); });
}

QTableView* PanelSellings::makeList(const QString& name, SalesRecordsModel& model, const QList<int>& widths) {
    auto* list = new QTableView(this);
    list->setObjectName(name);
    list->setModel(&model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setTabKeyNavigation(false);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    // One fixed height for every row keeps a list of many thousand rows quick to lay out.
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
    list->horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < widths.size(); ++column)
        list->setColumnWidth(column, widths[column]);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    return list;
}

QAction* PanelSellings::addMenuItem(QTableView* list, const QString& name, const QString& caption) {
    auto* action = new QAction(caption, list);
    action->setObjectName(name);
    list->addAction(action);
    return action;
}

QTableView* PanelSellings::listOf(RecordKind kind) const {
    return kind == RecordKind::Payments ? ListView2 : ListView3;
}

void PanelSellings::enter() {
    totalBar_->hide();
    lists_->setCurrentWidget(ListView2);
    const QDate today = context_.services.clock->now().date();
    DateTimePicker1->setDate(today.addDays(-1));
    DateTimePicker2->setDate(today.addDays(1));
}

void PanelSellings::setFilterLists(const StartupLists& lists) {
    setFilterLists(lists.customers, lists.products.value(0),
                   std::max<qsizetype>(0, lists.products.size() - 1),
                   [products = lists.products](qsizetype i) { return products.at(i + 1); });
}

void PanelSellings::setFilterLists(const QStringList& customers, const QString& allProducts, qsizetype count,
                                   const std::function<QString(qsizetype)>& productAt) {
    customerNames_->setNames(customers);
    ComboBox3->setCurrentIndex(0);
    productNames_->setNames(allProducts, count, productAt);
    ComboBox4->setCurrentIndex(0);
}

// The first entry of a filter list ("All Customers", "All Products"), or none, means no filter.
RecordFilter PanelSellings::filter() const {
    RecordFilter f;
    f.begin = rangeBound(DateTimePicker1->date(), DateTimePicker3->time());
    f.end = rangeBound(DateTimePicker2->date(), DateTimePicker4->time());
    if (ComboBox3->currentIndex() > 0)
        f.customer = ComboBox3->currentText();
    if (ComboBox4->currentIndex() > 0)
        f.product = ComboBox4->currentText();
    return f;
}

int PanelSellings::selectedRow(RecordKind kind) const {
    const QModelIndexList rows = listOf(kind)->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

// Paints what a load has changed, at once and once: the screen's layout (the total bar may just
// have appeared) and the list's own (its scroll bars follow the rows) are done first, so that
// painting the list finds nothing more to lay out; a repaint paints every part that changed.
void PanelSellings::repaintNow() {
    if (!isVisible())
        return;
    layout()->activate();
    auto* list = static_cast<QTableView*>(lists_->currentWidget());
    list->doItemsLayout();
    list->repaint();
}

void PanelSellings::BitBtn18Click() {
    loadList(RecordKind::Payments);
}

void PanelSellings::BitBtn19Click() {
    loadList(RecordKind::Credits);
}

// The list goes empty and its total to zero before the statement runs, so an error on the
// way leaves an empty list with a zero total, never the rows or the total of the last load.
void PanelSellings::loadList(RecordKind kind) {
    records_.beginLoad(kind);
    QTableView* list = listOf(kind);
    lists_->setCurrentWidget(list);
    total_->setText(records_.list(kind).totalText());
    totalBar_->show();
    repaintNow();
    records_.load(kind, filter());
    total_->setText(records_.list(kind).totalText());
    // The focus goes to the list before the repaint, which then shows it too.
    list->setFocus();
    repaintNow();
}

void PanelSellings::BitBtn21Click() {
    const QString path = context_.services.files->saveFile(context_.tr(QStringLiteral("Export")),
                                                           context_.tr(QStringLiteral("CSV File (*.csv)")),
                                                           QStringLiteral("csv"), QString());
    if (path.isEmpty())
        return;
    records_.exportShownList(path, context_.csvSeparator);
}

void PanelSellings::Delete2Click() {
    deleteRecord(RecordKind::Payments);
}

void PanelSellings::Delete3Click() {
    deleteRecord(RecordKind::Credits);
}

// Full access is checked before the selection; whatever the answer, the list is loaded again
// with the filters now on the screen.
void PanelSellings::deleteRecord(RecordKind kind) {
    if (!requireFullAccess(context_))
        return;
    const int row = selectedRow(kind);
    if (row < 0) {
        context_.messages().beep();
        return;
    }
    const QString id = records_.list(kind).id(row);
    const QString question = kind == RecordKind::Payments
                                 ? context_.tr(QStringLiteral("Are you sure you want to delete the payment?"))
                                 : context_.tr(QStringLiteral("Are you sure you want to delete the credit?"));
    if (confirm(context_.messages(), question))
        records_.deleteRecord(kind, id);
    loadList(kind);
}

void PanelSellings::reprint(RecordKind kind) {
    const int row = selectedRow(kind);
    std::optional<RecordRow> selected;
    if (row >= 0)
        selected = records_.list(kind).reprintRow(row);
    ReprintRecord(kind == RecordKind::Payments ? RecordList::Payments : RecordList::Credits, selected,
                  context_.receipts, context_.currencySymbol(), context_.services, context_.translate);
}

} // namespace tillora
