#include "reports/filterlist.h"

namespace tillora {

void FilterListModel::setNames(const QStringList& list) {
    setNames(list.value(0), std::max<qsizetype>(0, list.size() - 1),
             [list](qsizetype i) { return list.at(i + 1); });
}

void FilterListModel::setNames(const QString& first, qsizetype count, NameAt at) {
    beginResetModel();
    first_ = first;
    count_ = count;
    at_ = std::move(at);
    endResetModel();
}

int FilterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(count_ + 1);
}

QVariant FilterListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() > count_ || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return index.row() == 0 ? first_ : at_(index.row() - 1);
}

} // namespace tillora
