#include "reports/sellingsscreen.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tillora {

PanelSellings::PanelSellings(ProgramContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("PanelSellings"));
    auto* column = new QVBoxLayout(this);
    BitBtn20 = new QPushButton(context_.tr(QStringLiteral("MAIN MENU")), this);
    BitBtn20->setObjectName(QStringLiteral("BitBtn20"));
    BitBtn20->setMinimumHeight(45);
    context_.guard.on(BitBtn20, &QPushButton::clicked, this, [this]() { Q_EMIT mainMenuClicked(); });
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    column->addWidget(ComboBox3, 0, Qt::AlignLeft);
    column->addWidget(ComboBox4, 0, Qt::AlignLeft);
    column->addStretch(1);
    column->addWidget(BitBtn20, 0, Qt::AlignLeft);
}

void PanelSellings::enter() {}

void PanelSellings::setFilterLists(const StartupLists& lists) {
    ComboBox3->clear();
    ComboBox3->addItems(lists.customers);
    ComboBox3->setCurrentIndex(0);
    ComboBox4->clear();
    ComboBox4->addItems(lists.products);
    ComboBox4->setCurrentIndex(0);
}

} // namespace tillora
