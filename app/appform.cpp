#include "app/appform.h"

#include "app/themes.h"
#include "buildinfo.h"
#include "i18n/locale.h"
#include "platform/guard.h"
#include "platform/settingsstore.h"
#include "register/veresiye.h"
#include "store/startup.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <tuple>

namespace tillora {

TAppForm::TAppForm(Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services), database_(*services.messages), register_(database_) {
    setObjectName(QStringLiteral("AppForm"));
    register_.onTotalsChanged = [this]() { FiyatHesapla(); };
    buildTimers();

    // The creation sequence; each step's error is shown and the remaining steps still run,
    // so a damaged setting never leaves the program without full access, theme or captions.
    creationStep([this]() { setWindowTitle(WindowTitle()); });
    creationStep([this]() { csvSeparator_ = localeCsvSeparator(); });
    creationStep([this]() {
        language_.loadLanguageFile(languagesFolder(), settings().readString(QStringLiteral("LanguageFile")),
                                   userLanguageId());
    });
    buildFrame();
    buildMenu();
    creationStep([this]() {
        if (settings().valueExists(QStringLiteral("CurrencySymbol")))
            register_.CurrencySymbol = settings().readString(QStringLiteral("CurrencySymbol"));
    });
    creationStep([this]() { receipts_.load(settings(), translator()); });
    AskPrint1->setChecked(receipts_.askPrint);
    creationStep([this]() {
        ThemeIndex = themeIndexFromSetting(settings().readString(QStringLiteral("VCL")));
        applyTheme(ThemeIndex);
    });
    creationStep([this]() {
        // Only the sale screen shows at start; the sell bar appears with the first cart line.
        showScreen(PanelMain);
        Panel1->hide();
        Panel6->hide();
        BitBtn16->hide();
        FiyatHesapla();
    });
    creationStep(
        [this]() { setFullAccess(settings().readString(QStringLiteral("SecretAdmin64")).isEmpty()); });
    creationStep([this]() { applyColumnWidths(); });

    resize(841, 619);
    ListView1->setFocus(); // the scanner types into the cart list
    TimerActivate->start();
    TimerPassword->start();
    TimerColumnWidth->start();
}

TAppForm::~TAppForm() = default;

QString TAppForm::WindowTitle() {
    return QString::fromLatin1(buildinfo::CompanyName) + QStringLiteral(" - ") +
           QString::fromLatin1(buildinfo::ProductName);
}

QString TAppForm::localeCsvSeparator() {
    return QLocale::system().decimalPoint() == QStringLiteral(",") ? QStringLiteral(";")
                                                                   : QStringLiteral(",");
}

template <typename Step> void TAppForm::creationStep(Step&& step) {
    runGuarded(*services_.messages, std::forward<Step>(step));
}

void TAppForm::buildFrame() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelMain = new QWidget(central);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    buildSaleScreen(PanelMain);
    layout->addWidget(PanelMain, 1);

    // The other three screens; their contents come with their own features.
    auto makeScreen = [this, central, layout](const QString& name, const QString& buttonName) {
        auto* screen = new QWidget(central);
        screen->setObjectName(name);
        auto* column = new QVBoxLayout(screen);
        auto* mainMenu = new QPushButton(TranslateText(QStringLiteral("MAIN MENU")), screen);
        mainMenu->setObjectName(buttonName);
        mainMenu->setMinimumHeight(45);
        connect(mainMenu, &QPushButton::clicked, this, [this]() { mainMenuClick(); });
        column->addStretch(1);
        column->addWidget(mainMenu, 0, Qt::AlignLeft);
        layout->addWidget(screen, 1);
        screen->hide();
        return std::pair{screen, mainMenu};
    };
    std::tie(PanelProduct, BitBtn10) = makeScreen(QStringLiteral("PanelProduct"), QStringLiteral("BitBtn10"));
    std::tie(PanelCustomer, BitBtn12) =
        makeScreen(QStringLiteral("PanelCustomer"), QStringLiteral("BitBtn12"));
    std::tie(PanelSellings, BitBtn20) =
        makeScreen(QStringLiteral("PanelSellings"), QStringLiteral("BitBtn20"));
    ComboBox3 = new QComboBox(PanelSellings);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox4 = new QComboBox(PanelSellings);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    static_cast<QVBoxLayout*>(PanelSellings->layout())->insertWidget(0, ComboBox3, 0, Qt::AlignLeft);
    static_cast<QVBoxLayout*>(PanelSellings->layout())->insertWidget(1, ComboBox4, 0, Qt::AlignLeft);

    auto makeBar = [central](const QString& name) {
        auto* bar = new QWidget(central);
        bar->setObjectName(name);
        bar->setFixedHeight(107);
        auto* row = new QHBoxLayout(bar);
        row->setContentsMargins(3, 3, 3, 3);
        row->setSpacing(4);
        return bar;
    };
    auto makeBarButton = [](QWidget* bar, const QString& name, int pointSize) {
        auto* button = new QPushButton(bar);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
        QFont font = button->font();
        font.setPointSize(pointSize);
        font.setBold(true);
        button->setFont(font);
        bar->layout()->addWidget(button);
        return button;
    };

    Panel1 = makeBar(QStringLiteral("Panel1"));
    BitBtn1 = makeBarButton(Panel1, QStringLiteral("BitBtn1"), 28);
    BitBtn2 = makeBarButton(Panel1, QStringLiteral("BitBtn2"), 28);
    BitBtn1->setText(TranslateText(QStringLiteral("SELL BY CASH")));
    BitBtn2->setText(TranslateText(QStringLiteral("SELL BY CREDIT")));
    BitBtn1->setEnabled(false);
    BitBtn2->setEnabled(false);
    layout->addWidget(Panel1);

    Panel2 = makeBar(QStringLiteral("Panel2"));
    BitBtn3 = makeBarButton(Panel2, QStringLiteral("BitBtn3"), 24);
    BitBtn4 = makeBarButton(Panel2, QStringLiteral("BitBtn4"), 24);
    BitBtn17 = makeBarButton(Panel2, QStringLiteral("BitBtn17"), 24);
    BitBtn3->setText(TranslateText(QStringLiteral("PRODUCTS")));
    BitBtn4->setText(TranslateText(QStringLiteral("CUSTOMERS")));
    BitBtn17->setText(TranslateText(QStringLiteral("SALES")));
    layout->addWidget(Panel2);
    setCentralWidget(central);

    connect(BitBtn1, &QPushButton::clicked, this, [this]() {
        SaleContext sale = saleContext();
        SellByCash(sale);
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this]() {
        SaleContext sale = saleContext();
        SellByCredit(sale, this);
    });
    connect(BitBtn3, &QPushButton::clicked, this, [this]() { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this]() { BitBtn4Click(); });
    connect(BitBtn17, &QPushButton::clicked, this, [this]() { BitBtn17Click(); });
}

void TAppForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layOutBars();
}

void TAppForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && Memo1)
        matchMemoToPanel();
}

// The bars' layouts give each sell button half the bar less 5 pixels and each navigation
// button a third less about 5 (3-pixel margins, 4 between buttons); the navigation font
// follows the bar's width.
void TAppForm::layOutBars() {
    if (!Panel2)
        return;
    const int navWidth = Panel2->contentsRect().width();
    const int pointSize = navWidth >= 1100 ? 24 : (navWidth > 800 ? 20 : 16);
    for (QPushButton* button : {BitBtn3, BitBtn4, BitBtn17}) {
        if (button->font().pointSize() == pointSize)
            continue;
        QFont font = button->font();
        font.setPointSize(pointSize);
        button->setFont(font);
    }
}

// Start-up work: open and upgrade the data file, then fill the two filter lists of the
// sales records (also when the file could not be opened).
void TAppForm::TimerActivateTimer() {
    TimerActivate->stop();
    const StartupLists lists = runStartupWork(database_, dataFile_, translator());
    ComboBox3->clear();
    ComboBox3->addItems(lists.customers);
    ComboBox3->setCurrentIndex(0);
    ComboBox4->clear();
    ComboBox4->addItems(lists.products);
    ComboBox4->setCurrentIndex(0);
    startupDone_ = true;
    Q_EMIT startupFinished();
}

} // namespace tillora
