#pragma once
// The customers screen: customers and the settlement of their open credit, behind full access.
#include "store/context.h"

#include <QWidget>

class QPushButton;

namespace tillora {

class PanelCustomer : public QWidget {
    Q_OBJECT

public:
    PanelCustomer(ProgramContext& context, QWidget* parent = nullptr);

    // Runs when the navigation bar opens this screen.
    void enter();

Q_SIGNALS:
    // "MAIN MENU": back to the sale screen.
    void mainMenuClicked();

private:
    ProgramContext& context_;
    QPushButton* BitBtn12 = nullptr; // "MAIN MENU"
};

} // namespace tillora
