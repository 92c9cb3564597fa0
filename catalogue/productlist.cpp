#include "catalogue/productlist.h"

#include "common/errors.h"
#include "platform/settingsstore.h"
#include "store/sql.h"

#include <algorithm>

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

void ProductListModel::setProducts(QueryResult rows, bool withPrices) {
    beginResetModel();
    rows_ = std::move(rows);
    entries_.clear();
    const int nameColumn = rows_.columnIndex(u"urunadi");
    const int priceColumn = rows_.columnIndex(u"fiyat");
    barcodeColumn_ = rows_.columnIndex(u"barkod");
    const int count = rows_.rowCount();
    entries_.reserve(count);
    for (int row = 0; row < count; ++row) {
        QString name = nameColumn >= 0 ? rows_.text(row, nameColumn) : QString();
        if (withPrices) {
            const QString price = priceColumn >= 0 ? rows_.text(row, priceColumn) : QString();
            entries_.append(Entry{pickerCaption(name, price, true), row});
        } else {
            entries_.append(Entry{std::move(name), row});
        }
    }
    sortEntries();
    endResetModel();
}

void ProductListModel::clear() {
    beginResetModel();
    entries_.clear();
    rows_ = QueryResult();
    barcodeColumn_ = -1;
    endResetModel();
}

// A stable natural merge sort. The statements order by name in byte order, which mostly
// agrees with the locale's order, so the rows arrive as a few long runs already in order:
// finding them takes one comparison per entry and merging them little more, where a full
// sort would compare every entry some seventeen times for 100,000 products.
void ProductListModel::sortEntries() {
    const auto less = [this](const Entry& a, const Entry& b) {
        return collator_.compare(a.caption, b.caption) < 0;
    };
    const qsizetype count = entries_.size();
    QList<qsizetype> bounds{0};
    for (qsizetype i = 1; i < count; ++i) {
        if (less(entries_[i], entries_[i - 1]))
            bounds.append(i);
    }
    bounds.append(count);
    auto begin = entries_.begin();
    while (bounds.size() > 2) {
        QList<qsizetype> merged{0};
        qsizetype k = 0;
        for (; k + 2 < bounds.size(); k += 2) {
            std::inplace_merge(begin + bounds[k], begin + bounds[k + 1], begin + bounds[k + 2], less);
            merged.append(bounds[k + 2]);
        }
        if (k + 1 < bounds.size())
            merged.append(bounds.last()); // an odd run out waits for the next round
        bounds = std::move(merged);
    }
}

QString ProductListModel::caption(int row) const {
    return row >= 0 && row < entries_.size() ? entries_[row].caption : QString();
}

QString ProductListModel::barcode(int row) const {
    if (row < 0 || row >= entries_.size() || barcodeColumn_ < 0)
        return QString();
    return rows_.text(entries_[row].row, barcodeColumn_);
}

QStringList ProductListModel::captions() const {
    QStringList list;
    list.reserve(entries_.size());
    for (const Entry& entry : entries_)
        list.append(entry.caption);
    return list;
}

void ProductListModel::setDecoration(const QVariant& picture) {
    decoration_ = picture;
    if (!entries_.isEmpty())
        Q_EMIT dataChanged(index(0), index(count() - 1), {Qt::DecorationRole});
}

void ProductListModel::setItemSize(const QSize& size) {
    itemSize_ = size;
    if (!entries_.isEmpty())
        Q_EMIT dataChanged(index(0), index(count() - 1), {Qt::SizeHintRole});
}

int ProductListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ProductListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return entries_[index.row()].caption;
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
