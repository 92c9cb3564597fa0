#include "web/feedback.h"

#include "buildinfo.h"
#include "platform/qt/pictures.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tillora {

namespace {

QFont pixelFont(const QFont& base, int pixels) {
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

// A bar of the window: a fixed height and a horizontal layout with the given margins.
QHBoxLayout* makeBar(QWidget* parent, int height, const QMargins& margins) {
    auto* bar = new QWidget(parent);
    bar->setFixedHeight(height);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(margins);
    return layout;
}

} // namespace

QString TFeedbackForm::appName() {
    return QString::fromLatin1(buildinfo::CompanyName) + QStringLiteral(" - ") +
           QString::fromLatin1(buildinfo::ProductName);
}

TFeedbackForm::TFeedbackForm(IMessages& messages, Translate translate, FeedbackServer server, QWidget* parent)
    : QDialog(parent), messages_(messages), translate_(std::move(translate)), guard_(messages),
      post_(new FeedbackPost(std::move(server), this)) {
    if (!translate_)
        translate_ = [](const QString& english) { return english; };
    setObjectName(QStringLiteral("TFeedbackForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(buildinfo::ProductName) + u' ' +
                   translate_(QStringLiteral("feedback")));

    Panel4 = makeOpinionPanel(QStringLiteral("Panel4"), translate_(QStringLiteral("I like it!")), true);
    Panel5 = makeOpinionPanel(QStringLiteral("Panel5"), translate_(QStringLiteral("I dislike it!")), false);
    Panel4Caption = Panel4->findChild<QLabel*>(QStringLiteral("Panel4Caption"));
    Panel5Caption = Panel5->findChild<QLabel*>(QStringLiteral("Panel5Caption"));
    Label1 = new QLabel(translate_(QStringLiteral("We would really appreciate your feedback.")), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(pixelFont(font(), 16));
    Label2 = new QLabel(translate_(QStringLiteral("What did you like or dislike?")), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(pixelFont(font(), 13));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Label3 = new QLabel(translate_(QStringLiteral("Include my e-mail:")), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(EmailMaxLength);
    // The captions name the boxes below and beside them.
    Label2->setBuddy(Memo1);
    Label3->setBuddy(Edit1);
    BitBtn1 = new QPushButton(picture(QStringLiteral("send")), translate_(QStringLiteral("Send")), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFixedSize(180, 34);
    BitBtn1->setDefault(true);

    QHBoxLayout* top = makeBar(this, 46, QMargins(0, 0, 0, 0));
    top->setSpacing(0);
    top->addWidget(Panel4);
    top->addWidget(Panel5);
    QHBoxLayout* email = makeBar(this, 30, QMargins(8, 2, 8, 2));
    email->addWidget(Label3);
    email->addWidget(Edit1, 1);
    QHBoxLayout* bottom = makeBar(this, 40, QMargins(8, 3, 8, 3));
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(top->parentWidget());
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Memo1, 1);
    layout->addWidget(email->parentWidget());
    layout->addWidget(bottom->parentWidget());
    for (QLabel* label : {Label1, Label2})
        label->setContentsMargins(8, 0, 8, 0);
    setFixedSize(525, 326);

    showOpinion();
    Memo1->setFocus();
    guard_.on(Memo1, &QPlainTextEdit::textChanged, this, [this]() { Memo1Change(); });
    guard_.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    guard_.on(post_, &FeedbackPost::finished, this, [this]() { postFinished(post_->delivered()); });
}

TFeedbackForm::~TFeedbackForm() {
    // A post still running when the window closes is dropped without an answer.
    post_->abandon();
}

void TFeedbackForm::reject() {
    guard_.run([this]() {
        if (post_->running()) {
            post_->abandon();
            setSending(false);
        }
    });
    QDialog::reject();
}

QFrame* TFeedbackForm::makeOpinionPanel(const QString& name, const QString& caption, bool like) {
    auto* panel = new QFrame(this);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    panel->setCursor(Qt::PointingHandCursor);
    auto* picture = new QLabel(panel);
    picture->setObjectName(name + QStringLiteral("Picture"));
    picture->setPixmap(picturePixmap(like ? QStringLiteral("like") : QStringLiteral("dislike"), QSize(32, 32),
                                     devicePixelRatioF()));
    picture->setFixedSize(32, 32);
    auto* text = new QLabel(caption, panel);
    text->setObjectName(name + QStringLiteral("Caption"));
    text->setFont(pixelFont(font(), 16));
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(picture);
    layout->addWidget(text, 1);
    // A click on the panel or its picture chooses the opinion.
    guard_.filter(this, panel, [this, panel, like](QObject*, QEvent* event) {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !panel->rect().contains(mouse->position().toPoint()))
            return false;
        if (like)
            Panel4Click();
        else
            Panel5Click();
        return true;
    });
    return panel;
}

// The selected panel in the highlight colours with a lowered border, the other one in the
// button colours with a raised border.
void TFeedbackForm::showOpinion() {
    const auto paint = [this](QFrame* panel, QLabel* caption, bool selected) {
        QPalette colours = panel->palette();
        const QPalette& base = palette();
        colours.setColor(QPalette::Window, base.color(selected ? QPalette::Highlight : QPalette::Button));
        panel->setPalette(colours);
        panel->setFrameShadow(selected ? QFrame::Sunken : QFrame::Raised);
        QPalette text = caption->palette();
        text.setColor(QPalette::WindowText,
                      base.color(selected ? QPalette::HighlightedText : QPalette::WindowText));
        caption->setPalette(text);
    };
    paint(Panel4, Panel4Caption, opinion_ == Opinion::Like);
    paint(Panel5, Panel5Caption, opinion_ == Opinion::Dislike);
}

void TFeedbackForm::Panel4Click() {
    opinion_ = Opinion::Like;
    showOpinion();
}

void TFeedbackForm::Panel5Click() {
    opinion_ = Opinion::Dislike;
    showOpinion();
}

// The text box holds at most FeedbackMaxLength characters: what a paste or a key adds beyond
// is cut off where it was added.
void TFeedbackForm::Memo1Change() {
    QTextDocument* document = Memo1->document();
    const int excess = document->characterCount() - 1 - FeedbackMaxLength;
    if (excess <= 0)
        return;
    QTextCursor cut(document);
    const int at = Memo1->textCursor().position();
    if (at >= excess) {
        cut.setPosition(at - excess);
        cut.setPosition(at, QTextCursor::KeepAnchor);
    } else {
        cut.setPosition(FeedbackMaxLength);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    cut.removeSelectedText();
}

void TFeedbackForm::BitBtn1Click() {
    if (post_->running())
        return;
    const QString text =
        feedbackText(opinion_, Panel4Caption->text(), Panel5Caption->text(), Memo1->toPlainText());
    if (text.isEmpty()) {
        messages_.beep();
        return;
    }
    const QString email = trimmedText(Edit1->text());
    if (!email.isEmpty() && !isValidEmail(email)) {
        messages_.show(translate_(QStringLiteral("Failure")),
                       translate_(QStringLiteral("Invalid e-mail address!")), MsgIcon::Error, {MsgButton::Ok},
                       MsgButton::Ok);
        return;
    }
    lastFields_ =
        feedbackFields(appName(), versionText(QString::fromLatin1(buildinfo::Version)), text, email);
    setSending(true);
    post_->start(formBody(lastFields_));
}

void TFeedbackForm::postFinished(bool delivered) {
    setSending(false);
    if (delivered) {
        messages_.show(translate_(QStringLiteral("Success")),
                       translate_(QStringLiteral("Your feedback is received.")) + QStringLiteral("\n\n") +
                           translate_(QStringLiteral("Thank you!")),
                       MsgIcon::Information, {MsgButton::Ok}, MsgButton::Ok);
        accept();
        return;
    }
    messages_.show(translate_(QStringLiteral("Failure")),
                   translate_(QStringLiteral("Something went wrong. Your feedback could not be delivered.")) +
                       QStringLiteral("\n\n") + translate_(QStringLiteral("Please try again later.")),
                   MsgIcon::Error, {MsgButton::Ok}, MsgButton::Ok);
}

// While the post runs the button shows that it is sending and takes no second send; the
// texts stay as typed, read-only, so what is on screen is what is being sent.
void TFeedbackForm::setSending(bool on) {
    BitBtn1->setEnabled(!on);
    BitBtn1->setText(on ? translate_(QStringLiteral("Sending...")) : translate_(QStringLiteral("Send")));
    Memo1->setReadOnly(on);
    Edit1->setReadOnly(on);
    if (on)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

} // namespace tillora
