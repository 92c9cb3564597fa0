#pragma once
// The cart the screenshot tools show: four lines entered by hand, the second one selected so
// the theme's selection colours show, the entry strip in adding mode.
#include "app/appform.h"

#include <QSignalBlocker>
#include <QTableView>

namespace tillora {

inline void fillSampleCart(TAppForm& form) {
    SaleRegister& cart = form.saleRegister();
    cart.addByHand(QStringLiteral("MILK 1L"), 1.20, 3);
    cart.addByHand(QStringLiteral("BREAD"), 0.85, 2);
    cart.addByHand(QStringLiteral("PENCIL HB"), 0.40, 10);
    cart.addByHand(QStringLiteral("COFFEE 250G"), 3.20, 1);
    auto* list = form.findChild<QTableView*>(QStringLiteral("ListView1"));
    const QSignalBlocker quiet(list->selectionModel());
    list->selectRow(1);
}

} // namespace tillora
