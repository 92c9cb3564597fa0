#pragma once
// The sales records screen: payments and credits by period, product and customer.
#include "store/context.h"
#include "store/startup.h"

#include <QWidget>

class QComboBox;
class QPushButton;

namespace tillora {

class PanelSellings : public QWidget {
    Q_OBJECT

public:
    PanelSellings(ProgramContext& context, QWidget* parent = nullptr);

    // Runs when the navigation bar opens this screen.
    void enter();
    // The customer and product filter lists, filled by the start-up work.
    void setFilterLists(const StartupLists& lists);

Q_SIGNALS:
    // "MAIN MENU": back to the sale screen.
    void mainMenuClicked();

private:
    ProgramContext& context_;
    QPushButton* BitBtn20 = nullptr; // "MAIN MENU"
    QComboBox* ComboBox3 = nullptr;  // customer filter
    QComboBox* ComboBox4 = nullptr;  // product filter
};

} // namespace tillora
