#pragma once
// The controls of the main window and its screens as a test sees them: found by their object
// names, the way a user finds them by their captions. A control that is missing ends the test
// run with its name.
#include "register/salescreen.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QWidget>

namespace tillora::test {

template <typename T> T* control(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("No control named %s", name);
    return found;
}

struct MainWindowControls {
    explicit MainWindowControls(const QWidget& w)
        : Operations1(control<QMenu>(w, "Operations1")), Login1(control<QAction>(w, "Login1")),
          Logout1(control<QAction>(w, "Logout1")), ProductsList1(control<QAction>(w, "ProductsList1")),
          KeyboardShortcuts1(control<QAction>(w, "KeyboardShortcuts1")), Exit1(control<QAction>(w, "Exit1")),
          Settings1(control<QMenu>(w, "Settings1")), EditPassword1(control<QAction>(w, "EditPassword1")),
          CurrencySymbol1(control<QAction>(w, "CurrencySymbol1")),
          Receipts1(control<QAction>(w, "Receipts1")), AskPrint1(control<QAction>(w, "AskPrint1")),
          PrintTemplate1(control<QAction>(w, "PrintTemplate1")),
          ChangeInterface1(control<QAction>(w, "ChangeInterface1")),
          ClassicalInterface1(control<QAction>(w, "ClassicalInterface1")),
          ResetToDefaults1(control<QAction>(w, "ResetToDefaults1")), Help1(control<QMenu>(w, "Help1")),
          OnlineHelp1(control<QAction>(w, "OnlineHelp1")),
          UpdateNotifications1(control<QAction>(w, "UpdateNotifications1")),
          PanelMain(control<tillora::PanelMain>(w, "PanelMain")),
          PanelProduct(control<QWidget>(w, "PanelProduct")),
          PanelCustomer(control<QWidget>(w, "PanelCustomer")),
          PanelSellings(control<QWidget>(w, "PanelSellings")), Panel1(control<QWidget>(w, "Panel1")),
          BitBtn1(control<QPushButton>(w, "BitBtn1")), BitBtn2(control<QPushButton>(w, "BitBtn2")),
          Panel2(control<QWidget>(w, "Panel2")), BitBtn3(control<QPushButton>(w, "BitBtn3")),
          BitBtn4(control<QPushButton>(w, "BitBtn4")), BitBtn17(control<QPushButton>(w, "BitBtn17")),
          BitBtn10(control<QPushButton>(w, "BitBtn10")), BitBtn12(control<QPushButton>(w, "BitBtn12")),
          BitBtn20(control<QPushButton>(w, "BitBtn20")), ComboBox3(control<QComboBox>(w, "ComboBox3")),
          ComboBox4(control<QComboBox>(w, "ComboBox4")), BitBtn22(control<QToolButton>(w, "BitBtn22")),
          Edit4(control<QLineEdit>(w, "Edit4")), SpinEdit1(control<QSpinBox>(w, "SpinEdit1")),
          BitBtn15(control<QPushButton>(w, "BitBtn15")), BitBtn16(control<QPushButton>(w, "BitBtn16")),
          ListView1(control<QTableView>(w, "ListView1")), Panel6(control<QWidget>(w, "Panel6")),
          Memo1(control<QPlainTextEdit>(w, "Memo1")), Edit7(control<QLineEdit>(w, "Edit7")),
          Label19(control<QLabel>(w, "Label19")), Label7(control<QLabel>(w, "Label7")),
          Label21(control<QLabel>(w, "Label21")), Button1(control<QToolButton>(w, "Button1")) {}

    // The frame: menus, sell bar, navigation bar.
    QMenu* Operations1;
    QAction* Login1;
    QAction* Logout1;
    QAction* ProductsList1;
    QAction* KeyboardShortcuts1;
    QAction* Exit1;
    QMenu* Settings1;
    QAction* EditPassword1;
    QAction* CurrencySymbol1;
    QAction* Receipts1;
    QAction* AskPrint1;
    QAction* PrintTemplate1;
    QAction* ChangeInterface1;
    QAction* ClassicalInterface1;
    QAction* ResetToDefaults1;
    QMenu* Help1;
    QAction* OnlineHelp1;
    QAction* UpdateNotifications1;
    tillora::PanelMain* PanelMain;
    QWidget* PanelProduct;
    QWidget* PanelCustomer;
    QWidget* PanelSellings;
    QWidget* Panel1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QWidget* Panel2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn17;
    // "MAIN MENU" of the products, customers and sales records screens.
    QPushButton* BitBtn10;
    QPushButton* BitBtn12;
    QPushButton* BitBtn20;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    // The sale screen.
    QToolButton* BitBtn22;
    QLineEdit* Edit4;
    QSpinBox* SpinEdit1;
    QPushButton* BitBtn15;
    QPushButton* BitBtn16;
    QTableView* ListView1;
    QWidget* Panel6;
    QPlainTextEdit* Memo1;
    QLineEdit* Edit7;
    QLabel* Label19;
    QLabel* Label7;
    QLabel* Label21;
    QToolButton* Button1;
};

} // namespace tillora::test
