#pragma once
// The language dialog: the user interface language among "English" and the language files
// found at start, who translated the selected one, and, when the choice differs from the
// language in use, the choice stored and the program restarted into it.
//
// Modal and made anew at each use:
//   TTranslateForm form(language, languagesFolder(), settings, messages, shell, translate,
//                       [this]() { RestartApplication(); }, this);
//   form.exec();
#include "common/translate.h"
#include "platform/guard.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tillora {

class IShell;
class ISettingsStore;
class Language;

class TTranslateForm : public QDialog {
    Q_OBJECT

public:
    // language: the language loaded at start (its file list and name); languagesFolder: the
    // folder it was loaded from; restart: ends this run and starts the program again.
    TTranslateForm(const Language& language, QString languagesFolder, ISettingsStore& settings,
                   IMessages& messages, IShell& shell, Translate translate, std::function<void()> restart,
                   QWidget* parent = nullptr);

    // The text of the item selected when the dialog finished opening.
    const QString& openingLanguage() const { return openingLanguage_; }

private:
    void buildControls();
    void ComboBox1Change();
    void BitBtn1Click();
    void Label3Click();

    QString folder_;
    ISettingsStore& settings_;
    IMessages& messages_;
    IShell& shell_;
    Translate translate_;
    std::function<void()> restart_;
    Guard guard_;
    QString openingLanguage_;

    QLabel* Label1 = nullptr;            // "User Interface Language:"
    QComboBox* ComboBox1 = nullptr;      // the languages, sorted
    QLabel* Label2 = nullptr;            // "Translated by:"
    QPlainTextEdit* RichEdit1 = nullptr; // the translators, one per line
    QLabel* Label3 = nullptr;            // "Contribute Translation" link
    QPushButton* BitBtn1 = nullptr;      // "OK"
    QPushButton* BitBtn2 = nullptr;      // "Cancel"
};

} // namespace tillora
