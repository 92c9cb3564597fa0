#include "reports/topsellingform.h"

#include "common/font.h"
#include "reports/csvexport.h"
#include "reports/reportlist.h"
#include "reports/topselling.h"
#include "store/context.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace tillora {

namespace {

// The column captions in the file: English, whatever the language.
const QStringList exportHeader{QStringLiteral("Barcode"), QStringLiteral("Product"), QStringLiteral("Unit"),
                               QStringLiteral("Price")};

QDateEdit* datePicker(const QString& name, const QDate& date, QWidget* parent) {
    auto* picker = new QDateEdit(date, parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setFixedWidth(175);
    return picker;
}

} // namespace

TFormTopSelling::TFormTopSelling(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TFormTopSelling"));
    setWindowTitle(context_.tr(QStringLiteral("Top Selling Products")));
    setModal(true);
    resize(635, 394);

    QStringList captions;
    for (const QString& caption : exportHeader)
        captions << context_.tr(caption);
    model_ = new TopSellingModel(captions, this);
    loader_ = new TopSellingLoader(context_.db, context_.messages(), *model_, this);
    context_.guard.on(loader_, &TopSellingLoader::loaded, this, [this]() { loaded(); });

    QFont large = font();
    large.setFamily(fontFamily());
    large.setPixelSize(21);
    RadioButton1 = new QRadioButton(context_.tr(QStringLiteral("Unit")), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(context_.tr(QStringLiteral("Price")), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    Label1 = new QLabel(context_.tr(QStringLiteral("Begin:")), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DateTimePicker1 = datePicker(QStringLiteral("DateTimePicker1"), QDate(2000, 1, 1), this);
    Label2 = new QLabel(context_.tr(QStringLiteral("End:")), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    // Tomorrow: the first list covers every cash sale up to and including today.
    DateTimePicker2 =
        datePicker(QStringLiteral("DateTimePicker2"), context_.services.clock->now().date().addDays(1), this);
    for (QWidget* widget : {static_cast<QWidget*>(RadioButton1), static_cast<QWidget*>(RadioButton2),
                            static_cast<QWidget*>(Label1), static_cast<QWidget*>(DateTimePicker1),
                            static_cast<QWidget*>(Label2), static_cast<QWidget*>(DateTimePicker2)})
        widget->setFont(large);

    Label1->setBuddy(DateTimePicker1);
    Label2->setBuddy(DateTimePicker2);

    ListView1 = makeReportList(QStringLiteral("ListView1"), model_, {122, 118, 118, 118}, this);
    ListView1->setAccessibleName(windowTitle());
    BitBtn1 = new QPushButton(context_.tr(QStringLiteral("Export to File...")), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* ranking = new QHBoxLayout;
    ranking->addWidget(RadioButton1);
    ranking->addWidget(RadioButton2);
    ranking->addStretch();
    auto* dates = new QHBoxLayout;
    dates->addWidget(Label1);
    dates->addWidget(DateTimePicker1);
    dates->addSpacing(12);
    dates->addWidget(Label2);
    dates->addWidget(DateTimePicker2);
    dates->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn1);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(ranking);
    layout->addLayout(dates);
    layout->addWidget(ListView1, 1);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);

    // One-shot 10 ms timers: a click or a date change only starts one, so the reload runs after
    // the event and several changes in a row cause one reload.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(10);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    Timer2->setInterval(10);
    context_.guard.on(Timer1, &QTimer::timeout, this, [this]() { Timer1Timer(); });
    context_.guard.on(Timer2, &QTimer::timeout, this, [this]() { Timer2Timer(); });
    context_.guard.on(RadioButton1, &QRadioButton::clicked, this, [this]() { Timer1->start(); });
    context_.guard.on(RadioButton2, &QRadioButton::clicked, this, [this]() { Timer2->start(); });
    context_.guard.on(DateTimePicker1, &QDateEdit::dateChanged, this, [this]() { dateChange(); });
    context_.guard.on(DateTimePicker2, &QDateEdit::dateChanged, this, [this]() { dateChange(); });
    context_.guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    Timer1->start();
}

TFormTopSelling::~TFormTopSelling() = default;

bool TFormTopSelling::loading() const {
    return Timer1->isActive() || Timer2->isActive() || loader_->loading();
}

void TFormTopSelling::dateChange() {
    if (RadioButton1->isChecked())
        Timer1->start();
    else if (RadioButton2->isChecked())
        Timer2->start();
}

void TFormTopSelling::Timer1Timer() {
    Timer1->stop();
    load(false);
}

void TFormTopSelling::Timer2Timer() {
    Timer2->stop();
    load(true);
}

void TFormTopSelling::load(bool byMoney) {
    loader_->load(topSellingStatement(DateTimePicker1->date(), DateTimePicker2->date(),
                                      byMoney ? TopSellingOrder::Money : TopSellingOrder::Units));
}

void TFormTopSelling::BitBtn1Click() {
    exportCsv(context_, QStringLiteral("CSV File (*.csv)"), exportHeader, *model_);
}

void openTopSelling(ProgramContext& context) {
    TFormTopSelling form(context, context.window);
    centreOnScreen(form);
    form.exec();
}

} // namespace tillora
