#pragma once
// The customers screen's rules apart from its widgets: its statements, the lookup of a name,
// a customer's open credit total, the ticked list of open credit lines with the values each
// entry stands for, and the settlement of the ticked lines.
#include "store/database.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tillora {

// Every customer, by name, for the customer box's list.
QString customerListStatement();
QString customerLookupStatement(const QString& name);
QString creditTotalStatement(const QString& name);
QString openLinesStatement(const QString& name);
// The columns of an open line that the ticked list keeps.
QStringList openLineColumns();
QString customerAddStatement(const QString& name);
QString customerDeleteStatement(const QString& name);
// Marks the rows of these ids paid now; the ids are numbers read from the database and are
// joined by "," into the statement as they are.
QString settleStatement(const QStringList& ids);
QString paymentStatement(const QString& barcode, const QString& name, const QString& quantity,
                         const QString& price);

// A stored customer as the screen shows it.
struct ShownCustomer {
    QString name;
    QString recordDate;
};

// Runs the lookup statement for the name as typed (blanks kept); the last row read wins.
// Nothing when no customer has that name or the query failed (the failure is reported).
std::optional<ShownCustomer> lookUpCustomer(Database& db, const QString& name);

// What one credit line comes to: its price read as a number times its quantity read as an
// integer. Raises AppError when either is no number.
double creditLineTotal(const QString& price, const QString& quantity);
// The open credit of a customer: the sum of the line totals of the open rows. A failed query
// gives 0; a price or quantity that is no number raises AppError.
double creditTotal(Database& db, const QString& storedName);

// An entry of the ticked list: "<record date> <quantity> * <product> = <line total>".
QString creditLineCaption(const QString& recordDate, const QString& quantity, const QString& name,
                          double lineTotal);

// The values an entry of the ticked list stands for, as read from the database.
struct OpenCreditLine {
    QString id;
    QString barcode;
    QString name;
    QString quantity;
    QString price;
};

// The ticked list of a customer's open credit lines. Each entry keeps, hidden, the id,
// barcode, product name, quantity and price of its row (read from the kept query result
// when asked for), so entry i and its values always describe the same row.
class OpenCreditModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit OpenCreditModel(QObject* parent = nullptr);

    // Replaces the entries by one unticked entry per row, in the order of the rows, and
    // sums their line totals. A price or quantity that is no number raises AppError and
    // leaves the list empty; a failed query gives an empty list.
    void load(QueryResult rows);
    void clear();

    int count() const { return static_cast<int>(entries_.size()); }
    double total() const { return total_; }
    OpenCreditLine line(int row) const;
    QString caption(int row) const;
    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    void tickAll();
    // The values of the ticked entries, in list order.
    QList<OpenCreditLine> tickedLines() const;

    // The height each entry asks for.
    void setItemHeight(int pixels) { itemHeight_ = pixels; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Entry {
        double lineTotal = 0;
        bool ticked = false;
    };
    struct Columns {
        int id = -1;
        int barcode = -1;
        int name = -1;
        int quantity = -1;
        int price = -1;
        int recordDate = -1;
    };

    QueryResult rows_;
    Columns columns_;
    QList<Entry> entries_;
    double total_ = 0;
    int itemHeight_ = 0;
};

// PAID for the ticked lines: the settle statement and one payment row per line, in list
// order, in one transaction. At the first failure (reported with the database error box)
// everything is rolled back, so no line is marked paid without its payment. True when all
// was recorded, or when there was nothing to settle.
bool settleCreditLines(Database& db, const QList<OpenCreditLine>& lines);

} // namespace tillora
