#include "register/salescreen.h"

#include "catalogue/products.h"
#include "common/formats.h"
#include "platform/qt/pictures.h"
#include "platform/settingsstore.h"
#include "register/cart.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tillora {

namespace {

void setPixelFont(QWidget* widget, int pixels, bool bold = false) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    widget->setFont(font);
}

} // namespace

PanelMain::PanelMain(ProgramContext& context, SaleRegister& reg, QWidget* parent)
    : QWidget(parent), context_(context), register_(reg) {
    setObjectName(QStringLiteral("PanelMain"));
    buildControls();
    // At start the change panel and DELETE are hidden; the first cart line shows the panel.
    Panel6->hide();
    BitBtn16->hide();
    FiyatHesapla();
}

void PanelMain::buildControls() {
    QWidget* panel = this;
    auto* screen = new QVBoxLayout(panel);
    screen->setContentsMargins(0, 0, 0, 0);
    screen->setSpacing(0);

    // Entry strip.
    Panel12 = new QWidget(panel);
    Panel12->setObjectName(QStringLiteral("Panel12"));
    Panel12->setFixedHeight(35);
    auto* strip = new QHBoxLayout(Panel12);
    strip->setContentsMargins(4, 2, 4, 2);
    BitBtn22 = new QToolButton(Panel12);
    BitBtn22->setObjectName(QStringLiteral("BitBtn22"));
    BitBtn22->setIcon(picture(QStringLiteral("product-list")));
    BitBtn22->setIconSize(QSize(24, 24));
    BitBtn22->setFixedWidth(43);
    BitBtn22->setCursor(Qt::PointingHandCursor);
    Edit4 = new QLineEdit(Panel12);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    // The entry box and the two buttons have their designed widths where the window has room
    // for them, and give way on a small screen.
    Edit4->setMinimumWidth(120);
    Edit4->setMaximumWidth(315);
    setPixelFont(Edit4, 16);
    Image3 = new QLabel(Panel12);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setPixmap(picturePixmap(QStringLiteral("barcode"), QSize(32, 32), devicePixelRatioF()));
    Image3->setFixedSize(32, 32);
    SpinEdit1 = new QSpinBox(Panel12);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 99999);
    SpinEdit1->setValue(1);
    SpinEdit1->setFixedWidth(89);
    setPixelFont(SpinEdit1, 16);
    BitBtn15 = new QPushButton(Panel12);
    BitBtn15->setObjectName(QStringLiteral("BitBtn15"));
    BitBtn15->setMinimumWidth(80);
    BitBtn15->setMaximumWidth(120);
    BitBtn16 = new QPushButton(Panel12);
    BitBtn16->setObjectName(QStringLiteral("BitBtn16"));
    BitBtn16->setMinimumWidth(80);
    BitBtn16->setMaximumWidth(120);
    strip->addWidget(BitBtn22);
    strip->addWidget(Edit4, 315);
    strip->addWidget(Image3);
    strip->addSpacing(8);
    strip->addWidget(SpinEdit1);
    strip->addWidget(BitBtn15, 120);
    strip->addWidget(BitBtn16, 120);
    strip->addStretch(1);
    screen->addWidget(Panel12);
    QWidget::setTabOrder(BitBtn22, Edit4);
    QWidget::setTabOrder(Edit4, SpinEdit1);
    QWidget::setTabOrder(SpinEdit1, BitBtn15);
    QWidget::setTabOrder(BitBtn15, BitBtn16);

    // Cart list and change panel.
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    ListView1 = new QTableView(panel);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(&register_.cart());
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setShowGrid(true);
    ListView1->setTabKeyNavigation(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(24);
    ListView1->horizontalHeader()->setHighlightSections(false);
    setPixelFont(ListView1, 16);
    const int widths[] = {124, 124, 124, 124, 124, 170, 170};
    for (int c = 0; c < CartModel::ColumnCount; ++c)
        ListView1->setColumnWidth(c, widths[c]);
    middle->addWidget(ListView1, 1);

    Panel6 = new QWidget(panel);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFixedWidth(213);
    auto* change = new QVBoxLayout(Panel6);
    Label20 = new QLabel(Panel6);
    Label20->setObjectName(QStringLiteral("Label20"));
    Label20->setAlignment(Qt::AlignCenter);
    setPixelFont(Label20, 18);
    Memo1 = new QPlainTextEdit(Panel6);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    setPixelFont(Memo1, 16, true);
    Edit7 = new QLineEdit(Panel6);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    Edit7->setAlignment(Qt::AlignCenter);
    setPixelFont(Edit7, 18);
    Label19 = new QLabel(QStringLiteral("0.00"), Panel6);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setAlignment(Qt::AlignCenter);
    setPixelFont(Label19, 18);
    change->addWidget(Label20);
    change->addWidget(Memo1, 1);
    change->addWidget(Edit7);
    change->addWidget(Label19);
    middle->addWidget(Panel6);
    screen->addLayout(middle, 1);

    // Total strip.
    Panel5 = new QWidget(panel);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(45);
    auto* totals = new QHBoxLayout(Panel5);
    totals->setContentsMargins(6, 2, 2, 2);
    Label5 = new QLabel(Panel5);
    Label5->setObjectName(QStringLiteral("Label5"));
    setPixelFont(Label5, 18);
    Label7 = new QLabel(Panel5);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAlignment(Qt::AlignCenter);
    setPixelFont(Label7, 21, true);
    Label21 = new QLabel(QStringLiteral("0%"), Panel5);
    Label21->setObjectName(QStringLiteral("Label21"));
    setPixelFont(Label21, 18);
    Button1 = new QToolButton(Panel5);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setIcon(picture(QStringLiteral("discount")));
    Button1->setIconSize(QSize(28, 28));
    Button1->setFixedSize(39, 39);
    totals->addWidget(Label5);
    totals->addWidget(Label7, 1);
    totals->addWidget(Label21);
    totals->addWidget(Button1);
    screen->addWidget(Panel5);

    setCaptions();
    matchMemoToPanel();

    const Guard& guard = context_.guard;
    for (QObject* watched : {static_cast<QObject*>(ListView1), static_cast<QObject*>(ListView1->viewport()),
                             static_cast<QObject*>(Edit4), static_cast<QObject*>(SpinEdit1)})
        guard.filter(this, watched, [this](QObject* w, QEvent* e) { return filterKey(w, e); });

    // Letters typed into the entry box are shown and kept in upper case.
    guard.on(Edit4, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = Edit4->cursorPosition();
            Edit4->setText(upper);
            Edit4->setCursorPosition(cursor);
        }
    });
    guard.on(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
             [this](const QItemSelection& selected, const QItemSelection&) {
                 if (!selected.indexes().isEmpty())
                     ListView1SelectItem(selected.indexes().constFirst().row());
             });
    // The newest line stays in view; while all lines fit, nothing needs scrolling (and the
    // view's layout is left to the next paint).
    guard.on(&register_.cart(), &QAbstractItemModel::rowsInserted, ListView1, [this]() {
        const int rowHeight = ListView1->verticalHeader()->defaultSectionSize();
        if (register_.cart().size() * rowHeight > ListView1->viewport()->height())
            ListView1->scrollToBottom();
    });
    guard.on(BitBtn15, &QPushButton::clicked, this, [this]() { BitBtn15Click(); });
    guard.on(BitBtn16, &QPushButton::clicked, this, [this]() { BitBtn16Click(); });
    guard.on(BitBtn22, &QToolButton::clicked, this, [this]() { BitBtn22Click(); });
    guard.on(Button1, &QToolButton::clicked, this, [this]() { Button1Click(); });
    guard.on(Edit7, &QLineEdit::textChanged, this, [this]() { Edit7Change(); });
    guard.on(&register_, &SaleRegister::totalsChanged, this, [this]() { FiyatHesapla(); });
}

void PanelMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && Memo1)
        context_.guard.run([this]() { matchMemoToPanel(); });
}

void PanelMain::focusCartList() {
    ListView1->setFocus();
}

SaleContext PanelMain::saleContext() {
    return SaleContext{context_.db,
                       register_,
                       context_.services,
                       context_.receipts,
                       context_.translate,
                       [this]() { ListView1->setFocus(); },
                       [this]() { EkleDuzeltSifirla(); }};
}

// The suggestion box shows its lines in the panel's own colours, whatever the theme.
void PanelMain::matchMemoToPanel() {
    QPalette palette = Memo1->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, this->palette().color(group, QPalette::Window));
        palette.setColor(group, QPalette::Text, this->palette().color(group, QPalette::WindowText));
    }
    Memo1->setPalette(palette);
}

void PanelMain::setCaptions() {
    BitBtn22->setToolTip(context_.tr(QStringLiteral("Product List")));
    // What the boxes and the picture buttons are called where no caption shows.
    BitBtn22->setAccessibleName(BitBtn22->toolTip());
    Edit4->setAccessibleName(context_.tr(QStringLiteral("Barcode or product name")));
    SpinEdit1->setAccessibleName(context_.tr(QStringLiteral("Quantity")));
    ListView1->setAccessibleName(context_.tr(QStringLiteral("Cart")));
    Memo1->setAccessibleName(context_.tr(QStringLiteral("Change:")));
    Edit7->setAccessibleName(context_.tr(QStringLiteral("Cash received")));
    BitBtn15->setText(context_.tr(QStringLiteral("ADD")));
    BitBtn16->setText(context_.tr(QStringLiteral("DELETE")));
    Label20->setText(context_.tr(QStringLiteral("Change:")));
    Label5->setText(context_.tr(QStringLiteral("GRAND TOTAL:")));
    Button1->setToolTip(context_.tr(QStringLiteral("Discount")));
    Button1->setAccessibleName(Button1->toolTip());
    QStringList headers;
    for (const char* caption :
         {"Barcode", "Product", "Price", "Quantity", "Total", "Discounted Price", "Discounted Total"})
        headers << context_.tr(QString::fromLatin1(caption));
    register_.cart().setHeaders(headers);
}

bool PanelMain::filterKey(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == ListView1) {
            const int k = key->key();
            if (k == Qt::Key_Escape) {
                ListView1KeyPress(QChar(27));
                return true;
            }
            if (k == Qt::Key_Backspace) {
                ListView1KeyPress(QChar(8));
                return true;
            }
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                ListView1KeyPress(QChar(13));
                return true;
            }
            // Printable characters collect in the scan buffer and never reach the list, so
            // typing never moves the selection; navigation and shortcuts pass on.
            const QString text = key->text();
            if (!text.isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                bool printable = true;
                for (QChar c : text)
                    printable = printable && c.unicode() >= 32 && c.unicode() != 127;
                if (printable) {
                    for (QChar c : text)
                        ListView1KeyPress(c);
                    return true;
                }
            }
        } else if (watched == Edit4) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape) {
                Edit4KeyPress(key->key());
                return true;
            }
        } else if (watched == SpinEdit1) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape) {
                SpinEdit1KeyDown(key->key());
                return true;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == ListView1->viewport()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!ListView1->indexAt(mouse->position().toPoint()).isValid()) {
            ListView1->clearSelection();
            ListView1Click();
        }
    }
    return false;
}

int PanelMain::selectedCartLine() const {
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

bool PanelMain::BarkodOkundu() {
    lookupFailed_ = false;
    bool found = false;
    lookupFailed_ = !runGuarded(context_.messages(), [&]() { found = register_.lookUpScanBuffer(); });
    if (found)
        EkleDuzeltSifirla();
    return found;
}

void PanelMain::ManualEkle(const QString& UrunAdi, double UrunFiyati, qint64 KacTane) {
    register_.addByHand(UrunAdi, UrunFiyati, KacTane);
    EkleDuzeltSifirla();
}

void PanelMain::UrunSayisiGuncelle(qint64 secilenitemno, qint64 kactane) {
    runGuarded(context_.messages(),
               [&]() { register_.setQuantity(static_cast<int>(secilenitemno), kactane); });
}

void PanelMain::FiyatHesapla() {
    if (!Label7)
        return;
    Label7->setText(register_.grandTotalText());
    Label21->setText(register_.DiscountLabel);
    if (register_.cart().isEmpty()) {
        Panel6->hide();
        return;
    }
    Panel6->show();
    refreshChangePanel();
}

void PanelMain::refreshChangePanel() {
    Label20->setText(context_.tr(QStringLiteral("Change:")));
    const QString suggestions = register_.changeSuggestions(context_.translate).join(QLatin1Char('\n'));
    // Laying the box out again costs more than the rest of a scan: only when the text changed.
    if (shownSuggestions_ != suggestions || Memo1->document()->isEmpty()) {
        shownSuggestions_ = suggestions;
        Memo1->setPlainText(suggestions);
    }
    Edit7Change();
}

void PanelMain::Edit7Change() {
    Label19->setText(SaleRegister::changeFor(Edit7->text(), register_.GrandTotal));
}

void PanelMain::EkleDuzeltSifirla() {
    Edit4->setEnabled(true);
    Edit4->clear();
    SelectedLineIndex = 0;
    SpinEdit1->setValue(1);
    BitBtn15->setText(context_.tr(QStringLiteral("ADD")));
    BitBtn16->hide();
    ListView1->setFocus();
}

void PanelMain::ListView1KeyPress(QChar key) {
    if (key == QChar(27)) {
        ListView1->clearSelection();
        EkleDuzeltSifirla();
    } else if (key == QChar(8)) {
        if (selectedCartLine() >= 0)
            BitBtn16Click();
        else if (!register_.cart().isEmpty())
            register_.removeLine(register_.cart().size() - 1);
    } else if (key == QChar(13)) {
        const QString code = register_.ScanBuffer.trimmed();
        if (!code.isEmpty()) {
            register_.ScanBuffer = code;
            BarkodOkundu();
            register_.ScanBuffer.clear();
        }
    } else {
        const char16_t c = key.unicode();
        register_.ScanBuffer += (c >= u'a' && c <= u'z') ? QChar(c - u'a' + u'A') : key;
    }
}

void PanelMain::ListView1SelectItem(int row) {
    if (row < 0 || row >= register_.cart().size())
        return;
    const CartLine& line = register_.cart().line(row);
    SelectedLineIndex = row;
    Edit4->setText(line.barcode);
    SpinEdit1->setValue(static_cast<int>(std::clamp<qint64>(SaleRegister::quantityOf(line), 1, 99999)));
    BitBtn15->setText(context_.tr(QStringLiteral("Edit")));
    BitBtn16->show();
    Edit4->setEnabled(false);
}

void PanelMain::ListView1Click() {
    if (selectedCartLine() < 0) {
        Edit4->setEnabled(true);
        EkleDuzeltSifirla();
    }
}

void PanelMain::Edit4KeyPress(int key) {
    if (key == Qt::Key_Escape) {
        ListView1->clearSelection();
        EkleDuzeltSifirla();
        return;
    }
    SpinEdit1->selectAll();
    SpinEdit1->setFocus();
}

void PanelMain::SpinEdit1KeyDown(int key) {
    if (key == Qt::Key_Escape) {
        ListView1->clearSelection();
        EkleDuzeltSifirla();
        return;
    }
    BitBtn15Click();
}

// The quantity box's value pulled into 1..99999; a text that is no whole number reads as 1.
qint64 PanelMain::quantityBoxValue() const {
    bool ok = false;
    const qint64 typed = SpinEdit1->cleanText().trimmed().toLongLong(&ok);
    return ok ? std::clamp<qint64>(typed, 1, 99999) : 1;
}

bool PanelMain::translatedPrompt(const QString& caption, const QString& text, QString& value) {
    return context_.services.prompts->prompt(caption, text, value, context_.tr(QStringLiteral("OK")),
                                             context_.tr(QStringLiteral("Cancel")));
}

void PanelMain::BitBtn15Click() {
    register_.QuantityToAdd = quantityBoxValue();
    const int selected = selectedCartLine();
    if (selected < 0) {
        const QString entry = Edit4->text().trimmed();
        Edit4->setText(entry);
        register_.ScanBuffer = entry;
        if (BarkodOkundu()) {
            SelectedLineIndex = 0;
            ListView1->setFocus();
            ListView1->clearSelection();
            Edit4->clear();
            BitBtn16->hide();
            SpinEdit1->setValue(1);
        } else if (lookupFailed_) {
            // The product exists but could not be added; its error has been shown.
        } else if (!entry.isEmpty()) {
            QString price = QStringLiteral("0.00");
            if (translatedPrompt(context_.tr(QStringLiteral("Add Product Manually")),
                                 context_.tr(QStringLiteral("Please enter unit price:")), price)) {
                const qint64 quantity = register_.QuantityToAdd;
                runGuarded(context_.messages(), [&]() { ManualEkle(entry, readAmount(price), quantity); });
            }
        } else {
            context_.messages().show(context_.tr(QStringLiteral("WARNING")),
                                     context_.tr(QStringLiteral("Please enter barcode or product name!")),
                                     MsgIcon::Warning, {MsgButton::Ok}, MsgButton::Ok);
        }
        register_.ScanBuffer.clear();
    } else {
        // Edit mode: the line the cashier sees selected gets the box's quantity.
        UrunSayisiGuncelle(selected, register_.QuantityToAdd);
    }
    register_.QuantityToAdd = 1;
    ListView1->setFocus();
}

void PanelMain::BitBtn16Click() {
    const int selected = selectedCartLine();
    register_.removeLine(selected >= 0 ? selected : static_cast<int>(SelectedLineIndex));
    EkleDuzeltSifirla();
}

void PanelMain::BitBtn22Click() {
    ListView1->setFocus();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A product chosen in the picker goes the way of a scan; the buffer is emptied after it
    // whatever the lookup found, so a code that found nothing cannot spoil the next scan.
    auto handOff = [this](const QString& barcode) {
        register_.ScanBuffer = barcode;
        const bool found = BarkodOkundu();
        register_.ScanBuffer.clear();
        return found;
    };
    TUrunlerForm picker(handOff, catalogue_, context_.db, context_.settings(), context_.translate, this);
    QApplication::restoreOverrideCursor();
    picker.exec();
    ListView1->setFocus();
}

void PanelMain::Button1Click() {
    QString value = Label21->text().remove(QLatin1Char('%'));
    if (!translatedPrompt(context_.tr(QStringLiteral("Discount")),
                          context_.tr(QStringLiteral("Please enter discount ratio:")), value))
        return;
    bool applied = false;
    runGuarded(context_.messages(), [&]() { applied = register_.applyDiscount(value); });
    if (!applied)
        context_.messages().beep();
    ListView1->setFocus();
}

} // namespace tillora
