#include "catalogue/products.h"

#include "catalogue/productcatalogue.h"
#include "catalogue/productlist.h"
#include "catalogue/productview.h"
#include "platform/guard.h"
#include "platform/qt/pictures.h"
#include "platform/settingsstore.h"
#include "store/database.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace tillora {

namespace {

const QString leftName = QStringLiteral("ProductsLeft");
const QString topName = QStringLiteral("ProductsTop");
const QString widthName = QStringLiteral("ProductsWidth");
const QString heightName = QStringLiteral("ProductsHeight");
const QString styleName = QStringLiteral("ProductsStyle");
const QString pricesName = QStringLiteral("DisplayPrices");

constexpr qint32 styleBigIcons = 1;
constexpr qint32 styleList = 2;

QRect primaryScreenRect(const QSize& fallback) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(QPoint(0, 0), fallback);
}

} // namespace

TUrunlerForm::TUrunlerForm(HandOff handOff, ProductCatalogue* catalogue, Database& db,
                           ISettingsStore& settings, Translate translate, QWidget* parent)
    : QDialog(parent), handOff_(std::move(handOff)), db_(db), guard_(db.messages()), settings_(settings),
      translate_(std::move(translate)), catalogue_(catalogue) {
    if (!catalogue_) {
        ownCatalogue_ = std::make_unique<ProductCatalogue>(db_);
        catalogue_ = ownCatalogue_.get();
    }
    if (!translate_)
        translate_ = [](const QString& text) { return text; };
    setObjectName(QStringLiteral("TUrunlerForm"));
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    for (QToolButton* button : {SpeedButton1, SpeedButton2}) {
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    auto* views = new QButtonGroup(this);
    views->setExclusive(true);
    views->addButton(SpeedButton1);
    views->addButton(SpeedButton2);
    SpeedButton1->setChecked(true);
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    model_ = new ProductListModel(this);
    model_->setDecoration(picture(QStringLiteral("product")));
    ListView1 = new ProductView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(translate_(QStringLiteral("Product List")));
    ListView1->setModel(model_);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Esc closes the window only from the list; anywhere else it does nothing.
    guard_.filter(this, ListView1, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        close();
        return true;
    });
    showBigIcons();

    auto* bar = new QHBoxLayout;
    bar->addWidget(Label1);
    bar->addWidget(Edit1, 1);
    bar->addWidget(SpeedButton1);
    bar->addWidget(SpeedButton2);
    bar->addWidget(CheckBox1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(ListView1, 1);
    setTabOrder(Edit1, ListView1);

    guard_.on(Edit1, &QLineEdit::textChanged, this, [this]() { Edit1Change(); });
    guard_.on(CheckBox1, &QCheckBox::toggled, this, [this]() { CheckBox1Click(); });
    guard_.on(SpeedButton1, &QToolButton::clicked, this, [this]() { SpeedButton1Click(); });
    guard_.on(SpeedButton2, &QToolButton::clicked, this, [this]() { SpeedButton2Click(); });
    guard_.on(
        ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this](const QItemSelection& selected, const QItemSelection&) { ListView1SelectItem(selected); });

    setWindowTitle(translate_(QStringLiteral("Select Product")));
    Label1->setText(translate_(QStringLiteral("Search:")));
    SpeedButton1->setText(translate_(QStringLiteral("Big Icons")));
    SpeedButton2->setText(translate_(QStringLiteral("List")));
    CheckBox1->setText(translate_(QStringLiteral("Display Prices")));

    // Both flags are off while the saved state is applied, so that applying it neither
    // writes geometry nor searches.
    applySavedGeometry();
    geometrySaving_ = true;
    if (readPickerInteger(settings_, styleName) == styleList)
        SpeedButton2->click();
    if (readPickerInteger(settings_, pricesName) == 1)
        CheckBox1->setChecked(true);

    runFirstLoad();
    searchReady_ = true;
    Edit1->setFocus();
}

TUrunlerForm::~TUrunlerForm() {
    geometrySaving_ = false;
}

void TUrunlerForm::applySavedGeometry() {
    savedOuter_ =
        placePicker(readPickerInteger(settings_, leftName), readPickerInteger(settings_, topName),
                    readPickerInteger(settings_, widthName), readPickerInteger(settings_, heightName),
                    primaryScreenRect(designSize()), designSize());
    frameExtra_ = frameGeometry().size() - size();
    move(savedOuter_.topLeft());
    resize(savedOuter_.size() - frameExtra_);
}

// The saved size is the outer size, frame included. The frame is known only once the window
// system has the window, so the inner size is corrected then; that correction writes nothing.
bool TUrunlerForm::refitForFrame() {
    const QSize extra = frameGeometry().size() - size();
    if (extra == frameExtra_)
        return false;
    frameExtra_ = extra;
    resize(savedOuter_.size() - extra);
    return true;
}

void TUrunlerForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    guard_.run([this]() { refitForFrame(); });
}

void TUrunlerForm::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (!geometrySaving_)
        return;
    const QPoint outer = frameGeometry().topLeft();
    if (outer == savedOuter_.topLeft())
        return;
    savedOuter_.moveTopLeft(outer);
    guard_.run([&]() {
        settings_.writeInteger(topName, outer.y());
        settings_.writeInteger(leftName, outer.x());
    });
}

// The list lays its tiles out again by itself (adjusting resize mode); here only the size
// is remembered.
void TUrunlerForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (refitForFrame() || !geometrySaving_)
        return;
    const QSize outer = frameGeometry().size();
    if (outer == savedOuter_.size())
        return;
    savedOuter_.setSize(outer);
    guard_.run([&]() {
        settings_.writeInteger(widthName, outer.width());
        settings_.writeInteger(heightName, outer.height());
    });
}

void TUrunlerForm::done(int result) {
    // Closing never writes geometry, whatever the window system does while it goes.
    geometrySaving_ = false;
    QDialog::done(result);
}

// Esc closes the window only from the list (above); anywhere else, the search box
// included, it does nothing.
void TUrunlerForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Tiles of one size, with room for the picture and two lines of caption: the view then lays
// 100,000 entries out without measuring each, and long names wrap instead of being cut short.
void TUrunlerForm::showBigIcons() {
    const QSize tile(112, 48 + 2 * ListView1->fontMetrics().lineSpacing() + 8);
    model_->setItemSize(tile);
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(48, 48));
    ListView1->setGridSize(tile + QSize(8, 8));
    ListView1->setFlow(QListView::LeftToRight);
    ListView1->setWrapping(true);
    ListView1->setWordWrap(true);
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
}

void TUrunlerForm::showList() {
    model_->setItemSize(QSize());
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setGridSize(QSize());
    ListView1->setFlow(QListView::TopToBottom);
    ListView1->setWrapping(false);
    ListView1->setWordWrap(false);
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
}

void TUrunlerForm::Edit1Change() {
    if (searchReady_)
        runSearch();
}

void TUrunlerForm::CheckBox1Click() {
    // While the window is built the first load follows at once and captions itself.
    if (searchReady_)
        runSearch();
    writeInteger(pricesName, CheckBox1->isChecked() ? 1 : 0);
}

void TUrunlerForm::SpeedButton1Click() {
    showBigIcons();
    writeInteger(styleName, styleBigIcons);
}

void TUrunlerForm::SpeedButton2Click() {
    showList();
    writeInteger(styleName, styleList);
}

void TUrunlerForm::runFirstLoad() {
    const bool withPrices = CheckBox1->isChecked();
    catalogueUsable_ = catalogue_->refresh();
    if (catalogueUsable_)
        model_->setEntries(catalogue_->texts(), catalogue_->all(withPrices), withPrices);
    else
        model_->setProducts(db_.query(pickerFirstLoadStatement()), withPrices);
}

// The catalogue answers as the search statement would; a change another program made to the
// data file since is read first.
void TUrunlerForm::runSearch() {
    const bool withPrices = CheckBox1->isChecked();
    catalogueUsable_ = catalogueUsable_ && catalogue_->refreshIfChangedOutside();
    if (catalogueUsable_ && catalogue_->search(Edit1->text(), withPrices, matches_))
        model_->setEntries(catalogue_->texts(), matches_, withPrices);
    else
        model_->setProducts(db_.query(pickerSearchStatement(Edit1->text())), withPrices);
}

void TUrunlerForm::ListView1SelectItem(const QItemSelection& selected) {
    const QModelIndexList indexes = selected.indexes();
    if (indexes.isEmpty() || handingOff_)
        return;
    handingOff_ = true;
    bool found = false;
    guard_.run([&]() { found = handOff_(model_->barcode(indexes.first().row())); });
    handingOff_ = false;
    if (found)
        close();
}

void TUrunlerForm::writeInteger(const QString& name, qint32 value) {
    guard_.run([&]() { settings_.writeInteger(name, value); });
}

} // namespace tillora
