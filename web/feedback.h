#pragma once
// The feedback window: an opinion ("I like it!" / "I dislike it!"), a free text and an optional
// e-mail address, sent as one form post to the maker's web server. The post runs while the
// window stays usable; meanwhile the window shows that it is sending and takes no second send.
//
// Modal and made anew at each use:
//   TFeedbackForm form(messages, translate, FeedbackServer{}, this);
//   form.exec();
#include "common/translate.h"
#include "platform/guard.h"
#include "web/feedbackpost.h"
#include "web/feedbackrules.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tillora {

class TFeedbackForm : public QDialog {
    Q_OBJECT

public:
    TFeedbackForm(IMessages& messages, Translate translate, FeedbackServer server = {},
                  QWidget* parent = nullptr);
    ~TFeedbackForm() override;

    Opinion opinion() const { return opinion_; }
    bool sending() const { return post_->running(); }
    // The fields of the last post started (empty before the first).
    const QList<FormField>& lastFields() const { return lastFields_; }

    // Company name + " - " + product name, sent as the program's name.
    static QString appName();

    // Esc, the close box: the window closes and a post still running is dropped unanswered.
    void reject() override;

private:
    QFrame* makeOpinionPanel(const QString& name, const QString& caption, bool like);
    void showOpinion();
    void Panel4Click(); // "I like it!"
    void Panel5Click(); // "I dislike it!"
    void Memo1Change();
    void BitBtn1Click();
    void postFinished(bool delivered);
    void setSending(bool on);

    IMessages& messages_;
    Translate translate_;
    Guard guard_;
    FeedbackPost* post_ = nullptr;
    Opinion opinion_ = Opinion::None;
    QList<FormField> lastFields_;

    QFrame* Panel4 = nullptr; // "I like it!"
    QLabel* Panel4Caption = nullptr;
    QFrame* Panel5 = nullptr; // "I dislike it!"
    QLabel* Panel5Caption = nullptr;
    QLabel* Label1 = nullptr;        // "We would really appreciate your feedback."
    QLabel* Label2 = nullptr;        // "What did you like or dislike?"
    QPlainTextEdit* Memo1 = nullptr; // the feedback text
    QLabel* Label3 = nullptr;        // "Include my e-mail:"
    QLineEdit* Edit1 = nullptr;      // the e-mail address
    QPushButton* BitBtn1 = nullptr;  // "Send"
};

} // namespace tillora
