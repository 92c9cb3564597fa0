#pragma once
// The template editor "Print Template": the current template in a fixed-pitch text box, a menu
// that resets it to the built-in template or appends a placeholder as a new last line, and OK,
// which puts the text into use at once and stores it.
//
// Made anew for each opening and shown modally:
//   TPrintTemplateForm form(receipts, settings, messages, translate, this);
//   form.exec();
#include "receipts/receipttemplate.h"

#include <QDialog>
#include <QElapsedTimer>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace tillora {

class IMessages;
class ISettingsStore;
struct ReceiptSettings;

class TPrintTemplateForm : public QDialog {
    Q_OBJECT

public:
    // A failing write of PrintTemplate is shown in the default error box of messages.
    TPrintTemplateForm(ReceiptSettings& receipts, ISettingsStore& settings, IMessages& messages,
                       Translate translate, QWidget* parent = nullptr);

    // The text box's text with CR LF between its lines, as OK stores it.
    QString templateText() const;

    QPlainTextEdit* Memo1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // drops down PopupMenu1
    QMenu* PopupMenu1 = nullptr;
    QAction* Reset1 = nullptr;
    QAction* AddDATE1 = nullptr;
    QAction* AddDATETIME1 = nullptr;
    QAction* AddLIST1 = nullptr;
    QAction* AddRECEIPTNO1 = nullptr;
    QAction* AddTIME1 = nullptr;
    QAction* AddTOTAL1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "OK"
    QPushButton* BitBtn2 = nullptr; // "Cancel"

    void SpeedButton1Click();
    void Reset1Click();
    void addPlaceholder(const QString& placeholder);
    void BitBtn1Click();

private:
    ReceiptSettings& receipts_;
    ISettingsStore& settings_;
    IMessages& messages_;
    Translate translate_;
    QElapsedTimer menuClosed_; // when PopupMenu1 last closed
};

} // namespace tillora
