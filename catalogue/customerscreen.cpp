#include "catalogue/customerscreen.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tillora {

PanelCustomer::PanelCustomer(ProgramContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("PanelCustomer"));
    auto* column = new QVBoxLayout(this);
    BitBtn12 = new QPushButton(context_.tr(QStringLiteral("MAIN MENU")), this);
    BitBtn12->setObjectName(QStringLiteral("BitBtn12"));
    BitBtn12->setMinimumHeight(45);
    context_.guard.on(BitBtn12, &QPushButton::clicked, this, [this]() { Q_EMIT mainMenuClicked(); });
    column->addStretch(1);
    column->addWidget(BitBtn12, 0, Qt::AlignLeft);
}

void PanelCustomer::enter() {}

} // namespace tillora
