#pragma once
// The Receipts dialog: the next receipt number and the folder of the receipt files. OK puts
// both into use at once and stores them; the folder is taken as typed, without a check.
//
// Not modal and made anew at each use; it deletes itself when closed:
//   auto* form = new TFormReceipts(receipts, settings, files, messages, translate, this);
//   form->show();
#include "receipts/receipttemplate.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QFrame;

namespace tillora {

class IFileDialogs;
class IMessages;
class ISettingsStore;
struct ReceiptSettings;

class TFormReceipts : public QDialog {
    Q_OBJECT

public:
    TFormReceipts(ReceiptSettings& receipts, ISettingsStore& settings, IFileDialogs& files,
                  IMessages& messages, Translate translate, QWidget* parent = nullptr);

    // The folder last chosen with the folder button during this run (empty before the first).
    static QString lastChosenFolder();
    static void forgetChosenFolder();

    QLabel* Label1 = nullptr;            // "Next Receipt Number:"
    QSpinBox* SpinEdit1 = nullptr;       // 1 .. 999999999
    QLabel* Label2 = nullptr;            // "Directory:"
    QLineEdit* Edit1 = nullptr;          // the folder
    QToolButton* SpeedButton1 = nullptr; // opens the folder chooser
    QFrame* Bevel1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "OK"
    QPushButton* BitBtn2 = nullptr; // "Cancel"

    void SpeedButton1Click();
    void BitBtn1Click();

private:
    ReceiptSettings& receipts_;
    ISettingsStore& settings_;
    IFileDialogs& files_;
    IMessages& messages_;
    Translate translate_;
};

} // namespace tillora
