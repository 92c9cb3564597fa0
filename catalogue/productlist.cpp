#include "catalogue/productlist.h"

#include "catalogue/productcatalogue.h"
#include "common/errors.h"
#include "platform/settingsstore.h"
#include "store/sql.h"

#include <algorithm>
#include <numeric>

namespace tillora {

QString pickerFirstLoadStatement() {
    return QStringLiteral("SELECT * FROM urunler order by urunadi;");
}

QString pickerSearchStatement(const QString& searchText) {
    // The same literal serves both columns; quote() doubles every single quote of the text,
    // so nothing typed can end the literal early.
    const QString pattern = quote(QLatin1Char('%') + searchText.trimmed() + QLatin1Char('%'));
    return QStringLiteral("SELECT * FROM urunler where (urunadi like ") + pattern +
           QStringLiteral(") or (barkod like ") + pattern + QStringLiteral(") order by urunadi;");
}

QString pickerCaption(const QString& name, const QString& price, bool withPrice) {
    if (!withPrice)
        return name;
    QString caption;
    caption.reserve(name.size() + price.size() + 3);
    caption += name;
    caption += QLatin1String(" [");
    caption += price;
    caption += QLatin1Char(']');
    return caption;
}

qint32 readPickerInteger(const ISettingsStore& settings, const QString& name) {
    try {
        if (!settings.valueExists(name))
            return -1;
        return settings.readInteger(name);
    } catch (const AppError&) {
        // A value that holds text (or vanished meanwhile) counts as absent.
        return -1;
    }
}

QRect placePicker(qint32 savedLeft, qint32 savedTop, qint32 savedWidth, qint32 savedHeight,
                  const QRect& screen, const QSize& designSize) {
    const int width = savedWidth > 0 ? savedWidth : designSize.width();
    const int height = savedHeight > 0 ? savedHeight : designSize.height();
    // Centring uses the size the window will have, so a saved size is centred as well.
    const bool leftInside = savedLeft >= screen.left() && savedLeft < screen.left() + screen.width();
    const bool topInside = savedTop >= screen.top() && savedTop < screen.top() + screen.height();
    const int left = leftInside ? savedLeft : screen.left() + screen.width() / 2 - width / 2;
    const int top = topInside ? savedTop : screen.top() + screen.height() / 2 - height / 2;
    return QRect(left, top, width, height);
}

ProductListModel::ProductListModel(QObject* parent) : QAbstractListModel(parent) {}

void ProductListModel::setProducts(const QueryResult& rows, bool withPrices) {
    auto texts = std::make_shared<ProductTexts>();
    const int nameColumn = rows.columnIndex(u"urunadi");
    const int priceColumn = rows.columnIndex(u"fiyat");
    const int codeColumn = rows.columnIndex(u"barkod");
    for (int row = 0; row < rows.rowCount(); ++row)
        texts->append(ProductTexts::fromResult(rows, row, codeColumn, nameColumn, priceColumn));
    // Equal captions keep the order of the query.
    std::vector<quint32> order(static_cast<std::size_t>(texts->size()));
    std::iota(order.begin(), order.end(), 0u);
    std::vector<quint32> sorted = sortByCaption(*texts, order, withPrices, QLocale(), order);
    setEntries(std::move(texts), std::move(sorted), withPrices);
}

void ProductListModel::setEntries(std::shared_ptr<const ProductTexts> texts, std::vector<quint32> entries,
                                  bool withPrices) {
    beginResetModel();
    texts_ = std::move(texts);
    entries_ = std::move(entries);
    withPrices_ = withPrices;
    endResetModel();
}

void ProductListModel::clear() {
    beginResetModel();
    entries_.clear();
    texts_.reset();
    endResetModel();
}

QString ProductListModel::caption(int row) const {
    if (row < 0 || row >= count())
        return QString();
    return texts_->caption(entries_[static_cast<std::size_t>(row)], withPrices_);
}

QString ProductListModel::barcode(int row) const {
    if (row < 0 || row >= count())
        return QString();
    return texts_->barcode(entries_[static_cast<std::size_t>(row)]);
}

QStringList ProductListModel::captions() const {
    QStringList list;
    list.reserve(count());
    for (int row = 0; row < count(); ++row)
        list.append(caption(row));
    return list;
}

void ProductListModel::setDecoration(const QVariant& picture) {
    decoration_ = picture;
    if (count() > 0)
        Q_EMIT dataChanged(index(0), index(count() - 1), {Qt::DecorationRole});
}

void ProductListModel::setItemSize(const QSize& size) {
    itemSize_ = size;
    if (count() > 0)
        Q_EMIT dataChanged(index(0), index(count() - 1), {Qt::SizeHintRole});
}

int ProductListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ProductListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return caption(index.row());
    case Qt::DecorationRole:
        return decoration_;
    case Qt::SizeHintRole:
        return itemSize_.isValid() ? QVariant(itemSize_) : QVariant();
    case BarcodeRole:
        return barcode(index.row());
    default:
        return QVariant();
    }
}

} // namespace tillora
