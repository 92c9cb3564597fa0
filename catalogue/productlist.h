#pragma once
// The entries of the product picker: one per product row, captioned by name (and price while
// prices are shown), carrying the barcode as a hidden value, kept in the locale's text order.
// Also the picker's two statements and the placement of its window from the saved values.
#include "store/database.h"

#include <QAbstractListModel>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace tillora {

class ISettingsStore;
class ProductTexts;

// The statement of the first load: every product.
QString pickerFirstLoadStatement();
// The statement of a search: products whose name or barcode contains the search text with
// leading and trailing blanks removed. The text is a LIKE pattern ("%" and "_" act as
// wildcards) and sits in the literal with its single quotes doubled.
QString pickerSearchStatement(const QString& searchText);

// "NAME", or "NAME [PRICE]" while prices are shown.
QString pickerCaption(const QString& name, const QString& price, bool withPrice);

// An integer setting of the picker, or -1 when it is missing or cannot be read as an integer.
qint32 readPickerInteger(const ISettingsStore& settings, const QString& name);

// The outer geometry of the picker window from its saved values (-1 where none is usable):
// a width or height above 0 is kept, otherwise the design size is used; a left (top) edge
// inside the screen is kept, otherwise the window is centred across (down) the screen.
QRect placePicker(qint32 savedLeft, qint32 savedTop, qint32 savedWidth, qint32 savedHeight,
                  const QRect& screen, const QSize& designSize);

class ProductListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The barcode of an entry.
    static constexpr int BarcodeRole = Qt::UserRole + 1;

    explicit ProductListModel(QObject* parent = nullptr);

    // Replaces all entries by one per row of rows (columns barkod, urunadi, fiyat), sorted by
    // caption; the views are reset once, after all entries are in. A failed query gives none.
    void setProducts(const QueryResult& rows, bool withPrices);
    // Replaces all entries by the given entries of texts, in the order given.
    void setEntries(std::shared_ptr<const ProductTexts> texts, std::vector<quint32> entries, bool withPrices);
    void clear();

    int count() const { return static_cast<int>(entries_.size()); }
    QString caption(int row) const;
    QString barcode(int row) const;
    // Every caption in list order.
    QStringList captions() const;

    // The picture every entry shows (a QIcon, kept opaque so this model needs no GUI module).
    void setDecoration(const QVariant& picture);
    // The size every entry asks for; an invalid size lets the view measure the entries.
    void setItemSize(const QSize& size);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const ProductTexts> texts_;
    std::vector<quint32> entries_;
    bool withPrices_ = false;
    QVariant decoration_;
    QSize itemSize_;
};

} // namespace tillora
