#include "catalogue/columnlist.h"

namespace tillora {

ColumnListModel::ColumnListModel(QObject* parent) : QAbstractListModel(parent) {}

void ColumnListModel::setRows(QueryResult rows, const QString& column) {
    beginResetModel();
    rows_ = std::move(rows);
    column_ = rows_.columnIndex(column);
    endResetModel();
}

void ColumnListModel::clear() {
    beginResetModel();
    rows_ = QueryResult();
    column_ = -1;
    endResetModel();
}

QString ColumnListModel::text(int row) const {
    return row >= 0 && row < count() ? rows_.text(row, column_) : QString();
}

int ColumnListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ColumnListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return text(index.row());
}

} // namespace tillora
