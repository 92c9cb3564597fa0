#pragma once
// The products screen: the catalogue's barcode, name, price and stock, behind full access.
#include "store/context.h"

#include <QWidget>

class QPushButton;

namespace tillora {

class PanelProduct : public QWidget {
    Q_OBJECT

public:
    PanelProduct(ProgramContext& context, QWidget* parent = nullptr);

    // Runs when the navigation bar opens this screen.
    void enter();

Q_SIGNALS:
    // "MAIN MENU": back to the sale screen.
    void mainMenuClicked();

private:
    ProgramContext& context_;
    QPushButton* BitBtn10 = nullptr; // "MAIN MENU"
};

} // namespace tillora
