#include "catalogue/customerscreen.h"

#include "catalogue/customerrecords.h"
#include "catalogue/screenparts.h"
#include "common/formats.h"
#include "platform/qt/pictures.h"
#include "store/database.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace tillora {

namespace {

// The form: fields at 189 from the left, the customer box and the buttons 315 wide.
constexpr int formWidth = 513;
constexpr int fieldLeft = 189;
constexpr int boxWidth = 315;
constexpr int listItemHeight = 25;

const QString noCredit = QStringLiteral("0.00");

} // namespace

PanelCustomer::PanelCustomer(ProgramContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("PanelCustomer"));
    openCredit_ = new OpenCreditModel(this);
    openCredit_->setItemHeight(listItemHeight);
    buildControls();
    setCaptions();
    showCustomerRows(false);
    showCreditArea(false);
    Edit1->setText(noCredit);
    BitBtn6->setEnabled(false);
    BitBtn11->setEnabled(false);
}

void PanelCustomer::buildControls() {
    auto* screen = new QHBoxLayout(this);
    screen->setContentsMargins(0, 0, 0, 0);
    ScreenForm form(context_.guard, this, formWidth, fieldLeft, boxWidth, 3);
    screen->addWidget(form.area());
    Image2 = new ScreenPicture(context_.guard, picture(QStringLiteral("customers-screen")), this);
    Image2->setObjectName(QStringLiteral("Image2"));
    screen->addWidget(Image2, 1);
    Panel10 = buildCreditArea();
    screen->addWidget(Panel10, 1);

    QWidget* parent = form.widget();
    ComboBox2 = form.place(new LookupBox(context_.guard, parent), "ComboBox2", 0);
    customerLabel_ = form.label(0, ComboBox2);
    Edit6 = form.place(new QLineEdit(parent), "Edit6", 1);
    Edit6->setReadOnly(true);
    Label8 = form.label(1, Edit6, "Label8");
    Edit1 = form.place(new QLineEdit(parent), "Edit1", 2, fieldLeft, 141);
    Edit1->setReadOnly(true);
    Label9 = form.label(2, Edit1, "Label9");
    BitBtn13 = form.button("BitBtn13", 2, fieldLeft + boxWidth - 168, 168);
    // Enter on a focused button presses it: Enter in the customer box focuses ADD, and a
    // second Enter adds the customer.
    BitBtn6 = form.buttonBelow("BitBtn6", 35);
    BitBtn11 = form.buttonBelow("BitBtn11", 35);
    BitBtn12 = form.buttonBelow("BitBtn12", 45);

    setTabChain({ComboBox2, Edit6, Edit1, BitBtn13, BitBtn6, BitBtn11, BitBtn12});

    const Guard& guard = context_.guard;
    guard.on(ComboBox2, &LookupBox::lookupTextChanged, this,
             [this](const QString& text) { ComboBox2Change(text); });
    guard.filter(this, ComboBox2, [this](QObject* w, QEvent* e) { return filterKey(w, e); });
    guard.on(BitBtn6, &QPushButton::clicked, this, [this]() { BitBtn6Click(); });
    guard.on(BitBtn11, &QPushButton::clicked, this, [this]() { BitBtn11Click(); });
    guard.on(BitBtn13, &QPushButton::clicked, this, [this]() { BitBtn13Click(); });
    guard.on(BitBtn14, &QPushButton::clicked, this, [this]() { BitBtn14Click(); });
    guard.on(BitBtn7, &QPushButton::clicked, this, [this]() { BitBtn7Click(); });
    guard.on(BitBtn12, &QPushButton::clicked, this, [this]() { Q_EMIT mainMenuClicked(); });
    leaveWhenAccessEnds(context_, this, [this]() { Q_EMIT mainMenuClicked(); });
}

QWidget* PanelCustomer::buildCreditArea() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("Panel10"));
    auto* column = new QVBoxLayout(area);
    CheckListBox1 = new QListView(area);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setAccessibleName(context_.tr(QStringLiteral("Open credit")));
    setScreenFont(CheckListBox1);
    CheckListBox1->setUniformItemSizes(true);
    // An entry wider than the area keeps its date and its amount in view.
    CheckListBox1->setTextElideMode(Qt::ElideMiddle);
    CheckListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    CheckListBox1->setModel(openCredit_);
    column->addWidget(CheckListBox1, 1);

    auto* strip = new QHBoxLayout;
    totalLabel_ = new QLabel(area);
    setScreenFont(totalLabel_);
    Label10 = new QLabel(noCredit, area);
    Label10->setObjectName(QStringLiteral("Label10"));
    setScreenFont(Label10);
    strip->addWidget(totalLabel_);
    strip->addWidget(Label10, 1);
    column->addLayout(strip);

    auto button = [area, column](const char* name) {
        auto* b = new QPushButton(area);
        b->setObjectName(QString::fromLatin1(name));
        setScreenFont(b);
        b->setFixedHeight(39);
        b->setAutoDefault(true);
        column->addWidget(b);
        return b;
    };
    BitBtn14 = button("BitBtn14");
    BitBtn7 = button("BitBtn7");
    return area;
}

void PanelCustomer::setCaptions() {
    customerLabel_->setText(context_.tr(QStringLiteral("CUSTOMER:")));
    Label8->setText(context_.tr(QStringLiteral("RECORD DATE:")));
    Label9->setText(context_.tr(QStringLiteral("CREDIT:")));
    BitBtn13->setText(context_.tr(QStringLiteral("DETAILS")));
    BitBtn6->setText(context_.tr(QStringLiteral("ADD")));
    BitBtn11->setText(context_.tr(QStringLiteral("DELETE CUSTOMER")));
    BitBtn12->setText(context_.tr(QStringLiteral("MAIN MENU")));
    totalLabel_->setText(context_.tr(QStringLiteral("TOTAL:")));
    BitBtn14->setText(context_.tr(QStringLiteral("Select All")));
    BitBtn7->setText(context_.tr(QStringLiteral("PAID")));
}

bool PanelCustomer::filterKey(QObject* watched, QEvent* event) {
    Q_UNUSED(watched)
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (BitBtn6->isEnabled())
        BitBtn6->setFocus();
    return true;
}

void PanelCustomer::enter() {
    resetForm();
}

void PanelCustomer::resetForm() {
    showCustomerRows(false);
    ComboBox2->clearAll();
    Edit6->clear();
    Edit1->setText(noCredit);
    BitBtn6->setEnabled(false);
    BitBtn11->setEnabled(false);
    showCreditArea(false);
    ComboBox2->setRows(context_.db.query(customerListStatement(), {QStringLiteral("musteriadi")}),
                       QStringLiteral("musteriadi"));
    ComboBox2->focusAndSelect();
}

void PanelCustomer::showCustomerRows(bool shown) {
    for (QWidget* w :
         {static_cast<QWidget*>(Label8), static_cast<QWidget*>(Edit6), static_cast<QWidget*>(Label9),
          static_cast<QWidget*>(Edit1), static_cast<QWidget*>(BitBtn13)})
        w->setVisible(shown);
}

void PanelCustomer::showCreditArea(bool shown) {
    Panel10->setVisible(shown);
    Image2->setVisible(!shown);
}

void PanelCustomer::ComboBox2Change(const QString& text) {
    if (text.trimmed().isEmpty()) {
        showCustomerRows(false);
        BitBtn6->setEnabled(false);
        BitBtn11->setEnabled(false);
        return;
    }
    const std::optional<ShownCustomer> customer = lookUpCustomer(context_.db, text);
    if (!customer) {
        BitBtn6->setEnabled(true);
        BitBtn11->setEnabled(false);
        showCustomerRows(false);
        return;
    }
    ComboBox2->setTextQuietly(customer->name);
    Edit6->setText(customer->recordDate);
    BitBtn6->setEnabled(false);
    BitBtn11->setEnabled(true);
    showCustomerRows(true);
    showCreditArea(false);
    // Until the total is known the box shows none, so a total that cannot be read never
    // leaves another customer's amount in view (nor "0.00", which would allow deleting).
    Edit1->clear();
    Edit1->setText(FormatMoney(creditTotal(context_.db, customer->name)));
}

void PanelCustomer::BitBtn6Click() {
    const QString name = ComboBox2->currentText();
    if (!context_.db.command(customerAddStatement(name)))
        return;
    resetForm();
    // The new customer is shown as a lookup of its name shows it.
    ComboBox2->setTextAsTyped(name);
    ComboBox2->focusAndSelect();
}

void PanelCustomer::BitBtn11Click() {
    if (Edit1->text() != noCredit) {
        context_.messages().show(context_.tr(QStringLiteral("Warning")),
                                 context_.tr(QStringLiteral("Customer with credit cannot be deleted!")),
                                 MsgIcon::Warning, {MsgButton::Ok}, MsgButton::Ok);
        return;
    }
    if (context_.messages().show(context_.tr(QStringLiteral("Delete Customer")),
                                 context_.tr(QStringLiteral("Are you sure?")), MsgIcon::None,
                                 {MsgButton::Yes, MsgButton::No}, MsgButton::Yes) != MsgButton::Yes)
        return;
    if (!context_.db.command(customerDeleteStatement(ComboBox2->currentText())))
        return;
    resetForm();
    // The first customer by name is shown.
    if (ComboBox2->entryCount() > 0)
        ComboBox2->setTextAsTyped(ComboBox2->entry(0));
    ComboBox2->focusAndSelect();
}

void PanelCustomer::BitBtn13Click() {
    listOpenCredit(ComboBox2->currentText());
}

void PanelCustomer::listOpenCredit(const QString& name) {
    showCreditArea(true);
    Label10->setText(noCredit);
    listedCustomer_ = name;
    openCredit_->clear();
    openCredit_->load(context_.db.query(openLinesStatement(name), openLineColumns()));
    if (openCredit_->count() > 0)
        Label10->setText(FormatMoney(openCredit_->total()));
}

void PanelCustomer::BitBtn14Click() {
    openCredit_->tickAll();
}

void PanelCustomer::BitBtn7Click() {
    if (context_.messages().show(context_.tr(QStringLiteral("Sell by Credit")),
                                 context_.tr(QStringLiteral("Are you sure?")), MsgIcon::None,
                                 {MsgButton::Yes, MsgButton::No}, MsgButton::Yes) != MsgButton::Yes)
        return;
    // Recorded whole or not at all; either way the list is read again, so it shows what the
    // data file now holds for the customer listed.
    settleCreditLines(context_.db, openCredit_->tickedLines());
    listOpenCredit(listedCustomer_);
    Edit1->setText(Label10->text());
}

} // namespace tillora
