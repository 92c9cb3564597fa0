#pragma once
// The product picker "Select Product": a searchable window of all products, as large tiles or
// a compact list, optionally with prices. Choosing an entry hands its barcode to the sale
// register as if it had been scanned, and the window closes. It remembers its position, size,
// view and price display in the settings store.
//
// The caller builds one for each opening and lets it go when exec() returns:
//   TUrunlerForm form(handOff, db, settings, translate, this);
//   form.exec();
// The window does not delete itself on close.
#include "common/translate.h"
#include "platform/guard.h"

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QItemSelection;
class QLabel;
class QLineEdit;
class QListView;
class QToolButton;

namespace tillora {

class Database;
class ISettingsStore;
class ProductCatalogue;
class ProductListModel;

class TUrunlerForm : public QDialog {
    Q_OBJECT

public:
    // Hands a chosen barcode to the sale register, which looks it up as if it had been
    // scanned; true when a product was found (the window closes then).
    using HandOff = std::function<bool(const QString& barcode)>;

    // The window's outer size when no usable size is saved.
    static QSize designSize() { return QSize(640, 480); }

    // Setting writes that fail are shown in the default error box of db.messages(). The
    // products come from catalogue, which the program keeps for the whole run; without one the
    // window reads them itself.
    TUrunlerForm(HandOff handOff, ProductCatalogue* catalogue, Database& db, ISettingsStore& settings,
                 Translate translate, QWidget* parent = nullptr);
    TUrunlerForm(HandOff handOff, Database& db, ISettingsStore& settings, Translate translate,
                 QWidget* parent = nullptr)
        : TUrunlerForm(std::move(handOff), nullptr, db, settings, std::move(translate), parent) {}
    ~TUrunlerForm() override;

    ProductListModel* model() const { return model_; }

    QLabel* Label1 = nullptr;            // "Search:"
    QLineEdit* Edit1 = nullptr;          // the search box
    QToolButton* SpeedButton1 = nullptr; // "Big Icons"
    QToolButton* SpeedButton2 = nullptr; // "List"
    QCheckBox* CheckBox1 = nullptr;      // "Display Prices"
    QListView* ListView1 = nullptr;      // the products

public Q_SLOTS:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applySavedGeometry();
    bool refitForFrame();
    void showBigIcons();
    void showList();
    void Edit1Change();
    void CheckBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void ListView1SelectItem(const QItemSelection& selected);
    void runFirstLoad();
    void runSearch();
    void writeInteger(const QString& name, qint32 value);

    HandOff handOff_;
    Database& db_;
    Guard guard_;
    ISettingsStore& settings_;
    Translate translate_;
    ProductListModel* model_ = nullptr;
    std::unique_ptr<ProductCatalogue> ownCatalogue_;
    ProductCatalogue* catalogue_ = nullptr;
    // Whether the catalogue answers; when it cannot read the products, the statements do.
    bool catalogueUsable_ = false;
    std::vector<quint32> matches_;

    // Geometry values are written only while this is on: not while the window is built,
    // nor once it is closing.
    bool geometrySaving_ = false;
    // The search box reacts only after the first load.
    bool searchReady_ = false;
    // The outer geometry as last applied or written; a move or resize to where the window
    // already is (such as the events Qt delivers when the window first shows) writes nothing.
    QRect savedOuter_;
    // Frame size (outer minus inner) the inner size was last fitted with.
    QSize frameExtra_;
    // Set while a chosen barcode is being looked up, so a second choice meanwhile is ignored.
    bool handingOff_ = false;
};

} // namespace tillora
