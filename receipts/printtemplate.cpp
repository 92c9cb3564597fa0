#include "receipts/printtemplate.h"

#include "platform/guard.h"
#include "platform/qt/pictures.h"
#include "receipts/receipts.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace tillora {

namespace {

// Text with every line end (CR LF, lone CR, lone LF) as LF, the way the text box keeps lines.
QString withLfLineEnds(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

TPrintTemplateForm::TPrintTemplateForm(ReceiptSettings& receipts, ISettingsStore& settings,
                                       IMessages& messages, Translate translate, QWidget* parent)
    : QDialog(parent), receipts_(receipts), settings_(settings), messages_(messages),
      translate_(std::move(translate)) {
    setObjectName(QStringLiteral("TPrintTemplateForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(translate_(QStringLiteral("Print Template")));
    resize(432, 437);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    Memo1->setFont(font);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The text box keeps its lines apart with LF; the template's CR LF goes back on at OK.
    Memo1->setPlainText(withLfLineEnds(receipts_.printTemplate));

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFixedHeight(37);
    SpeedButton1 = new QToolButton(strip);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(picture(QStringLiteral("template-menu")));
    SpeedButton1->setAutoRaise(true);
    // Named for the accessibility tools, where neither shows a caption.
    Memo1->setAccessibleName(translate_(QStringLiteral("Print Template")));
    SpeedButton1->setAccessibleName(translate_(QStringLiteral("Placeholders")));
    BitBtn1 = new QPushButton(translate_(QStringLiteral("OK")), strip);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFixedWidth(150);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(translate_(QStringLiteral("Cancel")), strip);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setFixedWidth(150);
    BitBtn2->setAutoDefault(false);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 4, 4, 4);
    stripLayout->addWidget(SpeedButton1);
    stripLayout->addStretch();
    stripLayout->addWidget(BitBtn1);
    stripLayout->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1);
    layout->addWidget(strip);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    const QString add = translate_(QStringLiteral("Add"));
    Reset1 = item("Reset1", translate_(QStringLiteral("Reset")));
    PopupMenu1->addSeparator();
    AddDATE1 = item("AddDATE1", add + QStringLiteral(" [DATE]"));
    AddDATETIME1 = item("AddDATETIME1", add + QStringLiteral(" [DATETIME]"));
    AddLIST1 = item("AddLIST1", add + QStringLiteral(" [LIST]"));
    AddRECEIPTNO1 = item("AddRECEIPTNO1", QStringLiteral("Add [RECEIPTNO]"));
    AddTIME1 = item("AddTIME1", add + QStringLiteral(" [TIME]"));
    AddTOTAL1 = item("AddTOTAL1", add + QStringLiteral(" [TOTAL]"));

    const Guard guard(messages_);
    guard.on(Reset1, &QAction::triggered, this, [this]() { Reset1Click(); });
    const QList<std::pair<QAction*, QString>> adds{
        {AddDATE1, QStringLiteral("[DATE]")}, {AddDATETIME1, QStringLiteral("[DATETIME]")},
        {AddLIST1, QStringLiteral("[LIST]")}, {AddRECEIPTNO1, QStringLiteral("[RECEIPTNO]")},
        {AddTIME1, QStringLiteral("[TIME]")}, {AddTOTAL1, QStringLiteral("[TOTAL]")}};
    for (const auto& [action, placeholder] : adds)
        guard.on(action, &QAction::triggered, this, [this, p = placeholder]() { addPlaceholder(p); });
    guard.on(PopupMenu1, &QMenu::aboutToHide, this, [this]() { menuClosed_.start(); });
    guard.on(SpeedButton1, &QToolButton::clicked, this, [this]() { SpeedButton1Click(); });
    guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

QString TPrintTemplateForm::templateText() const {
    // The raw text keeps every character as typed (toPlainText would turn a no-break space into
    // a blank); its paragraph and line separators become CR LF.
    QString text = Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void TPrintTemplateForm::SpeedButton1Click() {
    // The click that closed the menu must not open it again at once.
    if (menuClosed_.isValid() && menuClosed_.elapsed() < 100)
        return;
    PopupMenu1->popup(SpeedButton1->mapToGlobal(QPoint(0, SpeedButton1->height())));
}

void TPrintTemplateForm::Reset1Click() {
    Memo1->setPlainText(withLfLineEnds(receipts_.defaultTemplate));
}

void TPrintTemplateForm::addPlaceholder(const QString& placeholder) {
    Memo1->appendPlainText(placeholder);
}

void TPrintTemplateForm::BitBtn1Click() {
    const QString text = templateText();
    runGuarded(messages_, [&]() { applyPrintTemplate(receipts_, settings_, text); });
    accept();
}

} // namespace tillora
