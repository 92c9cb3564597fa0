#include "receipts/receiptsform.h"

#include "common/font.h"
#include "platform/files.h"
#include "platform/guard.h"
#include "platform/qt/pictures.h"
#include "platform/settingsstore.h"
#include "receipts/receipts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tillora {

namespace {

// The folder chosen last with the folder button, for the whole run.
QString& chosenFolder() {
    static QString folder;
    return folder;
}

} // namespace

QString TFormReceipts::lastChosenFolder() {
    return chosenFolder();
}

void TFormReceipts::forgetChosenFolder() {
    chosenFolder().clear();
}

TFormReceipts::TFormReceipts(ReceiptSettings& receipts, ISettingsStore& settings, IFileDialogs& files,
                             IMessages& messages, Translate translate, QWidget* parent)
    : QDialog(parent), receipts_(receipts), settings_(settings), files_(files), messages_(messages),
      translate_(std::move(translate)) {
    setObjectName(QStringLiteral("TFormReceipts"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(translate_(QStringLiteral("Receipts")));
    setFixedSize(501, 116);
    QFont font = this->font();
    font.setFamily(fontFamily());
    font.setPixelSize(16);
    setFont(font);

    Label1 = new QLabel(translate_(QStringLiteral("Next Receipt Number:")), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 999999999);
    SpinEdit1->setFixedWidth(265);
    Label2 = new QLabel(translate_(QStringLiteral("Directory:")), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(265);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(picture(QStringLiteral("folder")));
    SpeedButton1->setFixedSize(24, 24);
    // The captions name the boxes beside them; the folder button is named by what it does.
    Label1->setBuddy(SpinEdit1);
    Label2->setBuddy(Edit1);
    SpeedButton1->setAccessibleName(translate_(QStringLiteral("Select folder:")));
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    BitBtn1 = new QPushButton(translate_(QStringLiteral("OK")), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFixedWidth(130);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(translate_(QStringLiteral("Cancel")), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setFixedWidth(130);
    BitBtn2->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, 190);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(SpeedButton1, 1, 2);
    grid->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(4);
    layout->addLayout(grid);
    layout->addWidget(Bevel1);
    layout->addLayout(buttons);

    // The stored values, not the ones in use: the dialog shows what the settings hold.
    qint64 number = 1;
    runGuarded(messages_, [&]() {
        if (settings_.valueExists(ReceiptNumberSetting))
            number = settings_.readInteger(ReceiptNumberSetting);
    });
    SpinEdit1->setValue(static_cast<int>(std::clamp<qint64>(number, 1, 999999999)));
    runGuarded(messages_, [&]() { Edit1->setText(settings_.readString(ReceiptFolderSetting)); });

    const Guard guard(messages_);
    guard.on(SpeedButton1, &QToolButton::clicked, this, [this]() { SpeedButton1Click(); });
    guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormReceipts::SpeedButton1Click() {
    QString folder = chosenFolder();
    if (!files_.chooseFolder(translate_(QStringLiteral("Select folder:")), folder))
        return;
    chosenFolder() = folder;
    Edit1->setText(folder);
}

void TFormReceipts::BitBtn1Click() {
    const qint64 number = SpinEdit1->value();
    const QString folder = Edit1->text();
    runGuarded(messages_, [&]() { applyReceiptsDialog(receipts_, settings_, number, folder); });
    accept();
}

} // namespace tillora
