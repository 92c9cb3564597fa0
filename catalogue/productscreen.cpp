#include "catalogue/productscreen.h"

#include "catalogue/productrecords.h"
#include "catalogue/screenparts.h"
#include "platform/qt/pictures.h"
#include "store/database.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace tillora {

namespace {

// The stock box: a whole number from 0 to 999999. Only digits, "+", "-" and "." can be
// typed; a value typed outside the range is pulled to the nearer bound when the box is left,
// and a text that is no whole number counts as 0.
class StockBox : public QSpinBox {
public:
    explicit StockBox(QWidget* parent) : QSpinBox(parent) {
        setRange(minimumStock, maximumStock);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    }

    QValidator::State validate(QString& input, int& pos) const override {
        Q_UNUSED(pos)
        return isStockText(input) ? QValidator::Acceptable : QValidator::Invalid;
    }
    int valueFromText(const QString& text) const override { return stockFromText(text); }
    void fixup(QString& input) const override { input = QString::number(stockFromText(input)); }
};

// The form: fields and buttons at 256 from the left, 273 wide.
constexpr int formWidth = 541;
constexpr int fieldLeft = 256;
constexpr int fieldWidth = 273;

} // namespace

PanelProduct::PanelProduct(ProgramContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("PanelProduct"));
    buildControls();
    setCaptions();
    showRecordDate(false);
    setButtons(false, false, false);
}

void PanelProduct::buildControls() {
    auto* screen = new QHBoxLayout(this);
    screen->setContentsMargins(0, 0, 0, 0);
    ScreenForm form(context_.guard, this, formWidth, fieldLeft, fieldWidth, 5);
    screen->addWidget(form.area());
    Image1 = new ScreenPicture(context_.guard, picture(QStringLiteral("products-screen")), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    screen->addWidget(Image1, 1);

    QWidget* parent = form.widget();
    ComboBox1 = form.place(new LookupBox(context_.guard, parent), "ComboBox1", 0);
    ComboBox1->setValidator(new UpperCaseValidator(ComboBox1));
    barcodeLabel_ = form.label(0, ComboBox1);
    Edit2 = form.place(new QLineEdit(parent), "Edit2", 1);
    nameLabel_ = form.label(1, Edit2);
    Edit3 = form.place(new QLineEdit(parent), "Edit3", 2);
    priceLabel_ = form.label(2, Edit3);
    SpinEdit2 = form.place(new StockBox(parent), "SpinEdit2", 3);
    stockLabel_ = form.label(3, SpinEdit2);
    Edit5 = form.place(new QLineEdit(parent), "Edit5", 4);
    Edit5->setReadOnly(true);
    Label6 = form.label(4, Edit5, "Label6");
    // Enter on a focused button presses it, as the Enter chain of the form expects.
    BitBtn5 = form.buttonBelow("BitBtn5", 35);
    BitBtn8 = form.buttonBelow("BitBtn8", 35);
    BitBtn9 = form.buttonBelow("BitBtn9", 35);
    BitBtn10 = form.buttonBelow("BitBtn10", 45);

    setTabChain({ComboBox1, Edit2, Edit3, SpinEdit2, Edit5, BitBtn5, BitBtn8, BitBtn9, BitBtn10});

    const Guard& guard = context_.guard;
    guard.on(ComboBox1, &LookupBox::lookupTextChanged, this,
             [this](const QString& text) { ComboBox1Change(text); });
    for (QObject* watched : {static_cast<QObject*>(ComboBox1), static_cast<QObject*>(SpinEdit2)})
        guard.filter(this, watched, [this](QObject* w, QEvent* e) { return filterKey(w, e); });
    guard.on(Edit2, &QLineEdit::returnPressed, this, [this]() {
        Edit3->setFocus();
        Edit3->selectAll();
    });
    guard.on(Edit3, &QLineEdit::returnPressed, this, [this]() {
        SpinEdit2->setFocus();
        SpinEdit2->selectAll();
    });
    guard.on(BitBtn5, &QPushButton::clicked, this, [this]() { BitBtn5Click(); });
    guard.on(BitBtn8, &QPushButton::clicked, this, [this]() { BitBtn8Click(); });
    guard.on(BitBtn9, &QPushButton::clicked, this, [this]() { BitBtn9Click(); });
    guard.on(BitBtn10, &QPushButton::clicked, this, [this]() { Q_EMIT mainMenuClicked(); });
    leaveWhenAccessEnds(context_, this, [this]() { Q_EMIT mainMenuClicked(); });
}

void PanelProduct::setCaptions() {
    barcodeLabel_->setText(context_.tr(QStringLiteral("BARCODE:")));
    nameLabel_->setText(context_.tr(QStringLiteral("PRODUCT NAME:")));
    priceLabel_->setText(context_.tr(QStringLiteral("PRICE:")));
    stockLabel_->setText(context_.tr(QStringLiteral("STOCK BALANCE:")));
    Label6->setText(context_.tr(QStringLiteral("RECORD DATE:")));
    BitBtn5->setText(context_.tr(QStringLiteral("ADD")));
    BitBtn8->setText(context_.tr(QStringLiteral("UPDATE")));
    BitBtn9->setText(context_.tr(QStringLiteral("DELETE PRODUCT")));
    BitBtn10->setText(context_.tr(QStringLiteral("MAIN MENU")));
}

bool PanelProduct::filterKey(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == ComboBox1) {
        if (!enter)
            return false;
        Edit2->setFocus();
        Edit2->selectAll();
        return true;
    }
    if (watched == SpinEdit2) {
        if (enter) {
            SpinEdit2Enter();
            return true;
        }
        // A printable key the box does not accept is refused with a beep.
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !isStockCharacter(text[0])) {
            context_.messages().beep();
            return true;
        }
    }
    return false;
}

void PanelProduct::enter() {
    resetForm();
}

void PanelProduct::resetForm() {
    showRecordDate(false);
    ComboBox1->clearAll();
    Edit2->clear();
    Edit3->clear();
    Edit5->clear();
    SpinEdit2->setValue(0);
    setButtons(false, false, false);
    ComboBox1->setRows(context_.db.query(productListStatement(), {QStringLiteral("barkod")}),
                       QStringLiteral("barkod"));
    ComboBox1->focusAndSelect();
}

void PanelProduct::setButtons(bool add, bool update, bool remove) {
    BitBtn5->setEnabled(add);
    BitBtn8->setEnabled(update);
    BitBtn9->setEnabled(remove);
}

void PanelProduct::showRecordDate(bool shown) {
    Label6->setVisible(shown);
    Edit5->setVisible(shown);
}

void PanelProduct::ComboBox1Change(const QString& text) {
    if (text.trimmed().isEmpty()) {
        setButtons(false, false, false);
        return;
    }
    const std::optional<ShownProduct> product = lookUpProduct(context_.db, text);
    if (product) {
        ComboBox1->setTextQuietly(product->barcode);
        Edit2->setText(product->name);
        Edit3->setText(product->price);
        SpinEdit2->setValue(product->stock);
        Edit5->setText(product->recordDate);
        setButtons(false, true, true);
        showRecordDate(true);
    } else {
        setButtons(true, false, false);
        Edit2->clear();
        Edit3->clear();
        Edit5->clear();
        SpinEdit2->setValue(0);
        showRecordDate(false);
    }
}

bool PanelProduct::entryIsValid(bool translatedWarning) {
    const ProductEntry entry = checkProductEntry(Edit2->text(), Edit3->text());
    Edit2->setText(entry.name);
    Edit3->setText(entry.price);
    if (entry.valid)
        return true;
    const QString caption =
        translatedWarning ? context_.tr(QStringLiteral("ERROR")) : QStringLiteral("ERROR");
    const QString text =
        translatedWarning ? context_.tr(QStringLiteral("Invalid Entry!")) : QStringLiteral("Invalid Entry!");
    context_.messages().show(caption, text, MsgIcon::Warning, {MsgButton::Ok}, MsgButton::Ok);
    return false;
}

qint32 PanelProduct::stockValue() {
    // A value still being typed counts as the box would read it when left.
    SpinEdit2->interpretText();
    return SpinEdit2->value();
}

void PanelProduct::BitBtn5Click() {
    if (!entryIsValid(true))
        return;
    const QString barcode = ComboBox1->currentText();
    if (!context_.db.command(productAddStatement(barcode, Edit2->text(), Edit3->text(), stockValue())))
        return;
    resetForm();
    // The new product is shown as a lookup of its barcode shows it.
    ComboBox1->setTextAsTyped(barcode);
    ComboBox1->focusAndSelect();
}

void PanelProduct::BitBtn8Click() {
    if (!entryIsValid(false))
        return;
    if (context_.db.command(
            productUpdateStatement(ComboBox1->currentText(), Edit2->text(), Edit3->text(), stockValue())))
        ComboBox1->focusAndSelect();
}

void PanelProduct::BitBtn9Click() {
    if (context_.messages().show(context_.tr(QStringLiteral("Delete Record")),
                                 context_.tr(QStringLiteral("Are you sure?")), MsgIcon::None,
                                 {MsgButton::Yes, MsgButton::No}, MsgButton::Yes) != MsgButton::Yes)
        return;
    if (!context_.db.command(productDeleteStatement(ComboBox1->currentText())))
        return;
    resetForm();
    // The first product in barcode order is shown.
    if (ComboBox1->entryCount() > 0)
        ComboBox1->setTextAsTyped(ComboBox1->entry(0));
    ComboBox1->focusAndSelect();
}

// The focus moves on to the button that writes the product; leaving the box pulls a typed
// stock into its range.
void PanelProduct::SpinEdit2Enter() {
    if (BitBtn5->isEnabled())
        BitBtn5->setFocus();
    else if (BitBtn8->isEnabled())
        BitBtn8->setFocus();
}

} // namespace tillora
