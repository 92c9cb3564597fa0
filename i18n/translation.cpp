#include "i18n/translation.h"

#include "buildinfo.h"
#include "common/font.h"
#include "i18n/language.h"
#include "i18n/languagechoice.h"
#include "platform/shell.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tillora {

TTranslateForm::TTranslateForm(const Language& language, QString languagesFolder, ISettingsStore& settings,
                               IMessages& messages, IShell& shell, Translate translate,
                               std::function<void()> restart, QWidget* parent)
    : QDialog(parent), folder_(std::move(languagesFolder)), settings_(settings), messages_(messages),
      shell_(shell), translate_(std::move(translate)), restart_(std::move(restart)), guard_(messages) {
    if (!translate_)
        translate_ = [](const QString& english) { return english; };
    setObjectName(QStringLiteral("TTranslateForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildControls();

    // The languages found at start; the one in use is selected, else "English".
    ComboBox1->addItems(languageListItems(language.languageFiles()));
    const int loaded =
        ComboBox1->findText(language.languageName(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    const int english = ComboBox1->findText(englishLanguage(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ComboBox1->setCurrentIndex(language.isLoaded() && loaded >= 0 ? loaded : english);
    ComboBox1Change();
    openingLanguage_ = ComboBox1->currentText();

    guard_.on(ComboBox1, &QComboBox::currentIndexChanged, this, [this]() { ComboBox1Change(); });
    guard_.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    guard_.filter(this, Label3, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label3->rect().contains(mouse->position().toPoint()))
            Label3Click();
        return true;
    });
}

void TTranslateForm::buildControls() {
    setWindowTitle(translate_(QStringLiteral("Language")));
    QFont font = this->font();
    font.setFamily(fontFamily());
    font.setPointSize(12);
    setFont(font);

    Label1 = new QLabel(translate_(QStringLiteral("User Interface Language:")), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setFixedWidth(350);
    Label2 = new QLabel(translate_(QStringLiteral("Translated by:")), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setFixedSize(350, 130);
    RichEdit1->setBackgroundRole(QPalette::Button);
    RichEdit1->viewport()->setBackgroundRole(QPalette::Button);
    RichEdit1->setPlainText(QStringLiteral("Kestrum"));
    // The captions name the controls beside them.
    Label1->setBuddy(ComboBox1);
    Label2->setBuddy(RichEdit1);

    Label3 = new QLabel(translate_(QStringLiteral("Contribute Translation")), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setCursor(Qt::PointingHandCursor);
    QFont link = Label3->font();
    link.setUnderline(true);
    Label3->setFont(link);
    QPalette linkPalette = Label3->palette();
    linkPalette.setColor(QPalette::WindowText, Qt::blue);
    Label3->setPalette(linkPalette);
    BitBtn1 = new QPushButton(translate_(QStringLiteral("OK")), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setFixedSize(165, 33);
    BitBtn2 = new QPushButton(translate_(QStringLiteral("Cancel")), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    BitBtn2->setFixedSize(165, 33);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 5, 9, 8);
    grid->setHorizontalSpacing(10);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ComboBox1, 0, 1);
    grid->addWidget(Label2, 1, 0, Qt::AlignTop);
    grid->addWidget(RichEdit1, 1, 1);
    grid->setColumnStretch(0, 1);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    auto* bottomBar = new QWidget(this);
    bottomBar->setFixedHeight(45);
    auto* bar = new QHBoxLayout(bottomBar);
    bar->setContentsMargins(8, 6, 9, 6);
    bar->setSpacing(20);
    bar->addWidget(Label3, 0, Qt::AlignVCenter);
    bar->addStretch();
    bar->addWidget(BitBtn1);
    bar->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(separator);
    layout->addWidget(bottomBar);
    // The designed size, larger only where a translation needs the room.
    setFixedSize(layout->sizeHint().expandedTo(QSize(622, 227)));
}

void TTranslateForm::ComboBox1Change() {
    RichEdit1->clear();
    const QStringList lines = translatorLines(translatorsOf(folder_, ComboBox1->currentText()));
    RichEdit1->setPlainText(lines.join(u'\n'));
}

void TTranslateForm::BitBtn1Click() {
    const QString chosen = ComboBox1->currentText();
    if (chosen == openingLanguage_) {
        accept();
        return;
    }
    if (!askRestartForLanguage(messages_, translate_))
        return; // the dialog stays open with the new selection
    SetLanguageFile(settings_, languageFileName(chosen));
    QCoreApplication::processEvents();
    accept();
    if (restart_)
        restart_();
}

void TTranslateForm::Label3Click() {
    // A failure to open the page is ignored.
    shell_.openUrl(contributeTranslationUrl(QString::fromLatin1(buildinfo::WebHost)));
}

} // namespace tillora
