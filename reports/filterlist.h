#pragma once
// A filter list of the sales records screen: its first entry ("All Customers", "All Products")
// and then the names, read from wherever they are kept, so that a list of a million product
// names costs no copy of them and is put in place at once.
#include <QAbstractListModel>
#include <QStringList>

#include <functional>

namespace tillora {

class FilterListModel : public QAbstractListModel {
public:
    using NameAt = std::function<QString(qsizetype)>;

    using QAbstractListModel::QAbstractListModel;

    // list[0] first, then the other entries of list.
    void setNames(const QStringList& list);
    // first, then count names, name i given by at(i).
    void setNames(const QString& first, qsizetype count, NameAt at);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QString first_;
    qsizetype count_ = 0;
    NameAt at_;
};

} // namespace tillora
