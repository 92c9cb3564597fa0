#include "reports/stocklist.h"

#include "common/errors.h"
#include "common/formats.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>

namespace tillora {

namespace {

const char* const fieldNames[StockListModel::columns] = {"barkod", "urunadi", "fiyat", "stok", "kayittarihi"};

// The text with a..z turned into A..Z; every other character stays as it is.
QString foldLetters(QString text) {
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return text;
}

std::u16string_view units(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

} // namespace

QString stockSheetStatement() {
    return QStringLiteral("SELECT * FROM urunler order by stok desc;");
}

int compareStockTexts(const QString& a, const QString& b) {
    return units(foldLetters(a)).compare(units(foldLetters(b)));
}

StockListModel::StockListModel(QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), captions_(std::move(captions)) {}

void StockListModel::setRows(QueryResult result) {
    beginResetModel();
    result_ = QueryResult();
    order_.clear();
    for (auto& keys : keys_)
        keys.clear();
    QString missing;
    if (!result.failed()) {
        for (int column = 0; column < columns; ++column) {
            fields_[column] = result.columnIndex(QLatin1String(fieldNames[column]));
            if (fields_[column] < 0 && missing.isEmpty())
                missing = QLatin1String(fieldNames[column]);
        }
        if (missing.isEmpty()) {
            result_ = std::move(result);
            order_.resize(static_cast<size_t>(result_.rowCount()));
            std::iota(order_.begin(), order_.end(), 0);
        }
    }
    endResetModel();
    if (!missing.isEmpty())
        throw AppError(QStringLiteral("Field '%1' not found").arg(missing));
}

QString StockListModel::recordText(int record, int column) const {
    if (column == 2) {
        // A price stored as a number is formatted from its value: its text form would cost
        // more than the formatting. Other cells (text, NULL, zero) go through their text.
        const double value = result_.number(record, fields_[column]);
        if (value != 0 && std::isfinite(value))
            return FormatMoney(value);
        const QString text = result_.text(record, fields_[column]);
        return isNumber(text) ? FormatMoney(readAmount(text)) : QStringLiteral("0");
    }
    return result_.text(record, fields_[column]);
}

QString StockListModel::cellText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(order_.size()) || column < 0 || column >= columns)
        return {};
    return recordText(order_[static_cast<size_t>(row)], column);
}

const std::vector<QString>& StockListModel::sortKeys(int column) {
    std::vector<QString>& keys = keys_[column];
    if (keys.size() != static_cast<size_t>(result_.rowCount())) {
        keys.resize(static_cast<size_t>(result_.rowCount()));
        for (int record = 0; record < result_.rowCount(); ++record)
            keys[static_cast<size_t>(record)] = foldLetters(recordText(record, column));
    }
    return keys;
}

void StockListModel::columnClick(int column) {
    if (column < 0 || column >= columns)
        return;
    if (column == SortedColumn1) {
        Descending1 = !Descending1;
    } else {
        SortedColumn1 = column;
        Descending1 = false;
    }
    sortBy(SortedColumn1, Descending1);
}

void StockListModel::sortBy(int column, bool descending) {
    if (column < 0 || column >= columns)
        return;
    const std::vector<QString>& keys = sortKeys(column);
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> before = order_;
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const int result = units(keys[static_cast<size_t>(a)]).compare(units(keys[static_cast<size_t>(b)]));
        return descending ? result > 0 : result < 0;
    });
    // Where each result row is shown now, for the selections and the current row.
    std::vector<int> shownAt(order_.size());
    for (size_t row = 0; row < order_.size(); ++row)
        shownAt[static_cast<size_t>(order_[row])] = static_cast<int>(row);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent)
        moved.append(this->index(shownAt[static_cast<size_t>(before[static_cast<size_t>(index.row())])],
                                 index.column()));
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int StockListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int StockListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant StockListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid())
        return listCellAlignment(index.column() == 2 || index.column() == 3); // price, stock
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cellText(index.row(), index.column());
}

QVariant StockListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 &&
        section < captions_.size())
        return captions_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace tillora
