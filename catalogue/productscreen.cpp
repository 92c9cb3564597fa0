#include "catalogue/productscreen.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tillora {

PanelProduct::PanelProduct(ProgramContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("PanelProduct"));
    auto* column = new QVBoxLayout(this);
    BitBtn10 = new QPushButton(context_.tr(QStringLiteral("MAIN MENU")), this);
    BitBtn10->setObjectName(QStringLiteral("BitBtn10"));
    BitBtn10->setMinimumHeight(45);
    context_.guard.on(BitBtn10, &QPushButton::clicked, this, [this]() { Q_EMIT mainMenuClicked(); });
    column->addStretch(1);
    column->addWidget(BitBtn10, 0, Qt::AlignLeft);
}

void PanelProduct::enter() {}

} // namespace tillora
