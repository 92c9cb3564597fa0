#include "app/appform.h"

#include "app/application.h"
#include "app/themes.h"
#include "buildinfo.h"
#include "catalogue/customerscreen.h"
#include "catalogue/productcatalogue.h"
#include "catalogue/productscreen.h"
#include "i18n/locale.h"
#include "platform/messages.h"
#include "platform/settingsstore.h"
#include "register/salescreen.h"
#include "register/veresiye.h"
#include "reports/sellingsscreen.h"
#include "store/startup.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tillora {

// What the start-up thread reads: the customer names and the picker's products, each with the
// messages of its failures, to be shown on the screen's thread.
struct StartupRead {
    QString path;
    qint64 dataVersion = -1;
    quint64 openCount = 0;
    bool customersRead = false;
    QStringList customers;
    KeptMessages customerMessages;
    std::unique_ptr<CatalogueData> catalogue;
};

TAppForm::TAppForm(Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services), database_(*services.messages), register_(database_),
      catalogue_(std::make_unique<ProductCatalogue>(database_)) {
    setObjectName(QStringLiteral("AppForm"));
    context_ = std::make_unique<ProgramContext>(ProgramContext{
        database_,
        services_,
        [this](const QString& text) { return TranslateText(text); },
        Guard(*services_.messages),
        access_,
        receipts_,
        [this]() { return register_.CurrencySymbol; },
        QString(),
        this,
    });
    buildTimers();

    // The creation sequence; each step's error is shown and the remaining steps still run,
    // so a damaged setting never leaves the program without full access, theme or captions.
    creationStep([this]() { setWindowTitle(WindowTitle()); });
    creationStep([this]() { context_->csvSeparator = localeCsvSeparator(); });
    creationStep([this]() {
        language_.loadLanguageFile(languagesFolder(),
                                   context_->settings().readString(QStringLiteral("LanguageFile")),
                                   userLanguageId());
    });
    buildScreens();
    buildBars();
    buildMenu();
    creationStep([this]() {
        if (context_->settings().valueExists(QStringLiteral("CurrencySymbol")))
            register_.CurrencySymbol = context_->settings().readString(QStringLiteral("CurrencySymbol"));
    });
    creationStep([this]() { receipts_.load(context_->settings(), context_->translate); });
    AskPrint1->setChecked(receipts_.askPrint);
    creationStep([this]() {
        ThemeIndex = themeIndexFromSetting(context_->settings().readString(QStringLiteral("VCL")));
        applyTheme(ThemeIndex);
    });
    creationStep([this]() {
        // Only the sale screen shows at start; the sell bar appears with the first cart line.
        showScreen(saleScreen_);
        Panel1->hide();
        register_.computeTotals();
    });
    creationStep([this]() {
        setFullAccess(context_->settings().readString(QStringLiteral("SecretAdmin64")).isEmpty());
    });
    creationStep([this]() { applyColumnWidths(); });

    resize(designSize());
    layOutBars(); // the navigation font of the design size, before anything measures the buttons
    saleScreen_->focusCartList(); // the scanner types into the cart list
    TimerActivate->start();
    TimerPassword->start();
    TimerColumnWidth->start();
}

TAppForm::~TAppForm() {
    if (startupThread_)
        startupThread_->wait();
}

QString TAppForm::WindowTitle() {
    return QString::fromLatin1(buildinfo::CompanyName) + QStringLiteral(" - ") +
           QString::fromLatin1(buildinfo::ProductName);
}

QString TAppForm::localeCsvSeparator() {
    return QLocale::system().decimalPoint() == QStringLiteral(",") ? QStringLiteral(";")
                                                                   : QStringLiteral(",");
}

template <typename Step> void TAppForm::creationStep(Step&& step) {
    context_->guard.run(std::forward<Step>(step));
}

void TAppForm::buildScreens() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    saleScreen_ = new PanelMain(*context_, register_, central);
    saleScreen_->setCatalogue(catalogue_.get());
    layout->addWidget(saleScreen_, 1);
    guard().on(&register_, &SaleRegister::totalsChanged, this, [this]() { updateSellBar(); });
    setCentralWidget(central);
}

// The three screens that are hidden at start are built once the window has been painted, so
// the first frame waits only for the sale screen.
void TAppForm::ensureScreens() {
    if (recordsScreen_)
        return;
    auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
    productsScreen_ = new PanelProduct(*context_, centralWidget());
    customersScreen_ = new PanelCustomer(*context_, centralWidget());
    recordsScreen_ = new PanelSellings(*context_, centralWidget());
    int position = layout->indexOf(saleScreen_);
    for (QWidget* screen : {static_cast<QWidget*>(productsScreen_), static_cast<QWidget*>(customersScreen_),
                            static_cast<QWidget*>(recordsScreen_)}) {
        screen->hide();
        layout->insertWidget(++position, screen, 1);
    }
    guard().on(productsScreen_, &PanelProduct::mainMenuClicked, this, [this]() { mainMenuClick(); });
    guard().on(customersScreen_, &PanelCustomer::mainMenuClicked, this, [this]() { mainMenuClick(); });
    guard().on(recordsScreen_, &PanelSellings::mainMenuClicked, this, [this]() { mainMenuClick(); });
    applyColumnWidths();
}

void TAppForm::buildBars() {
    auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
    auto makeBar = [this](const QString& name) {
        auto* bar = new QWidget(centralWidget());
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

    // Each button's key works wherever the focus is in the window while the button can be
    // pressed; the button's tooltip names it.
    for (const BarKey& barKey : barKeys()) {
        const QKeySequence key(barKey.key);
        barKey.button->setShortcut(key);
        barKey.button->setToolTip(barKey.button->text() + QStringLiteral(" (") +
                                  key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    }

    const Guard& guard = context_->guard;
    guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    guard.on(BitBtn2, &QPushButton::clicked, this, [this]() { BitBtn2Click(); });
    guard.on(BitBtn3, &QPushButton::clicked, this, [this]() { BitBtn3Click(); });
    guard.on(BitBtn4, &QPushButton::clicked, this, [this]() { BitBtn4Click(); });
    guard.on(BitBtn17, &QPushButton::clicked, this, [this]() { BitBtn17Click(); });
}

QList<TAppForm::BarKey> TAppForm::barKeys() const {
    return {{BitBtn1, Qt::Key_F2, "F2:", "SELL BY CASH"},
            {BitBtn2, Qt::Key_F3, "F3:", "SELL BY CREDIT"},
            {BitBtn3, Qt::Key_F5, "F5:", "PRODUCTS"},
            {BitBtn4, Qt::Key_F6, "F6:", "CUSTOMERS"},
            {BitBtn17, Qt::Key_F7, "F7:", "SALES"}};
}

void TAppForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    context_->guard.run([this]() { layOutBars(); });
}

// The window opens centred on the screen it shows on, once; later showings keep its place. It
// has its designed size where the screen has room for it, and fills the screen's free area
// (frame included) where it has not, so that the sell bar and the navigation bar are on it.
void TAppForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - size();
        resize(designSize().boundedTo(available.size() - frame).expandedTo(minimumSizeHint()));
        QRect outer = frameGeometry();
        outer.moveCenter(available.center());
        move(outer.topLeft());
    }
}

// The bars' layouts give each sell button half the bar less 5 pixels and each navigation
// button a third less about 5 (3-pixel margins, 4 between buttons); the navigation font
// follows the bar's width.
void TAppForm::layOutBars() {
    if (!Panel2)
        return;
    // The navigation bar spans the window's client area. Its own geometry follows the window's
    // only once the window's layout has run, which for a window not yet shown is after the
    // first measuring of the buttons: the window's width is right at once.
    const int navWidth = width();
    const int pointSize = navWidth >= 1100 ? 24 : (navWidth > 800 ? 20 : 16);
    for (QPushButton* button : {BitBtn3, BitBtn4, BitBtn17}) {
        if (button->font().pointSize() == pointSize)
            continue;
        QFont font = button->font();
        font.setPointSize(pointSize);
        button->setFont(font);
    }
}

// The sell bar follows the cart: its buttons are enabled while the cart has lines, and the
// first line shows the bar.
void TAppForm::updateSellBar() {
    if (!BitBtn1)
        return;
    const bool hasLines = !register_.cart().isEmpty();
    BitBtn1->setEnabled(hasLines);
    BitBtn2->setEnabled(hasLines);
    if (hasLines && Panel1->isHidden()) {
        Panel1->show();
        layOutBars();
    }
}

void TAppForm::BitBtn1Click() {
    SaleContext sale = saleScreen_->saleContext();
    SellByCash(sale);
}

void TAppForm::BitBtn2Click() {
    SaleContext sale = saleScreen_->saleContext();
    SellByCredit(sale, this);
}

// The first frame is on the screen once this paint and the flush after it have run: the
// start-up work that waited for it follows at the next turn of the event loop.
void TAppForm::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (framePainted_)
        return;
    framePainted_ = true;
    if (startupWaitsForFrame_)
        QTimer::singleShot(0, this, [this]() { context_->guard.run([this]() { beginStartupWork(); }); });
}

// Start-up work: open and upgrade the data file, then fill the two filter lists of the
// sales records (also when the file could not be opened).
void TAppForm::TimerActivateTimer() {
    TimerActivate->stop();
    if (isVisible() && !framePainted_) {
        startupWaitsForFrame_ = true;
        // A window that is never painted (hidden behind a screen saver, say) does not hold
        // the data file back for long.
        QTimer::singleShot(500, this, [this]() {
            if (!framePainted_)
                context_->guard.run([this]() { beginStartupWork(); });
        });
        return;
    }
    beginStartupWork();
}

void TAppForm::beginStartupWork() {
    ensureScreens();
    // The window's own picture needs no more than the sizes a title bar and a window switcher
    // draw (the larger ones of the menu entry come from the icon theme). Reading them is left
    // until the window has been seen.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(programIcon(64));
    // A restore runs the work again: what an earlier run still reads is of the old file.
    ++startupRun_;
    if (startupThread_)
        startupThread_->wait();
    startupWaitsForFrame_ = false;
    const bool opened = database_.open(dataFile_);
    if (opened)
        upgradeDataFile(database_);
    if (!opened) {
        // Reported, and the lists filled at once as they are without a file; a data file
        // locked at start opens at the next action that needs it, and the lists follow then.
        database_.reportError(database_.lastError());
        const StartupLists lists{customerFilterList(database_, context_->translate),
                                 productFilterList(database_, context_->translate)};
        database_.openLater(dataFile_, [this]() {
            upgradeDataFile(database_);
            recordsScreen_->setFilterLists(StartupLists{customerFilterList(database_, context_->translate),
                                                        productFilterList(database_, context_->translate)});
        });
        recordsScreen_->setFilterLists(lists);
        startupDone_ = true;
        Q_EMIT startupFinished();
        return;
    }
    // What the program changes from now on the catalogue reads again; what another program
    // changes shows in the data version.
    auto read = std::make_shared<StartupRead>();
    read->path = database_.path();
    read->dataVersion = database_.dataVersion();
    read->openCount = database_.openCount();
    database_.takeProductChanges();
    const QLocale locale;
    startupThread_ = QThread::create([read, locale]() {
        Database db(read->customerMessages);
        if (db.open(read->path)) {
            read->customersRead = true;
            read->customers = customerFilterList(db, {});
            read->customers.removeFirst(); // its first entry is made on the screen's thread
        }
        QString error;
        read->catalogue = loadCatalogue(read->path, locale, error);
    });
    startupThread_->setParent(this);
    context_->guard.on(startupThread_, &QThread::finished, this,
                       [this, read, thread = startupThread_, run = startupRun_]() {
                           thread->deleteLater();
                           if (startupThread_ == thread)
                               startupThread_ = nullptr;
                           if (run == startupRun_)
                               startupRead(*read);
                       });
    startupThread_->start(QThread::LowPriority);
}

void TAppForm::startupRead(StartupRead& read) {
    QStringList customers;
    if (read.customersRead) {
        read.customerMessages.showOn(*services_.messages);
        customers = QStringList{TranslateText(QStringLiteral("All Customers"))} + read.customers;
    } else {
        customers = customerFilterList(database_, context_->translate);
    }
    const QString allProducts = TranslateText(QStringLiteral("All Products"));
    if (read.catalogue) {
        // The product filter shows the names as they stood at start, in the order of
        // "order by urunadi", straight from the catalogue's texts.
        std::shared_ptr<const ProductTexts> texts = read.catalogue->texts;
        auto order = std::make_shared<const std::vector<quint32>>(std::move(read.catalogue->byStoredName));
        recordsScreen_->setFilterLists(customers, allProducts, static_cast<qsizetype>(order->size()),
                                       [texts, order](qsizetype i) { return texts->name((*order)[i]); });
        catalogue_->install(std::move(read.catalogue), read.dataVersion, read.openCount);
#ifdef __GLIBC__
        // Sorting a large catalogue took memory for a while: give it back to the system.
        malloc_trim(0);
#endif
    } else {
        const QStringList products = productFilterList(database_, context_->translate);
        recordsScreen_->setFilterLists(customers, allProducts, products.size() - 1,
                                       [products](qsizetype i) { return products.at(i + 1); });
    }
    startupDone_ = true;
    Q_EMIT startupFinished();
}

} // namespace tillora
