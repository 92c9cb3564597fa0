#pragma once
// The entries of a drop-down list filled from one column of a query: the barcodes of the
// products screen, the names of the customers screen. The model keeps the query's result and
// reads an entry's text only when a view asks for it, so a list of 100,000 rows costs the
// query and one reset, not 100,000 separate insertions.
#include "store/database.h"

#include <QAbstractListModel>

namespace tillora {

class ColumnListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit ColumnListModel(QObject* parent = nullptr);

    // Replaces all entries by the texts of column of rows, in the order of the rows; the views
    // are reset once. A failed query, or one without that column, gives no entries.
    void setRows(QueryResult rows, const QString& column);
    void clear();

    int count() const { return column_ < 0 ? 0 : rows_.rowCount(); }
    bool isEmpty() const { return count() == 0; }
    // The text of an entry; the empty text past the end.
    QString text(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QueryResult rows_;
    int column_ = -1;
};

} // namespace tillora
