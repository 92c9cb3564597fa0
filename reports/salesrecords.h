#pragma once
// The sales records: the cash sales (odemeler, "Payments") and the credit sales (veresiyeler,
// "Credits") of a period, optionally of one product and, for credits, of one customer; their
// totals, the export of the list shown last and the deletion of one record.
//
// Each row of both tables is one cart line of a completed sale. The lists show their cells in
// a fixed column order, which the "Print" entries of the lists read by position.
#include "common/translate.h"
#include "receipts/receipts.h"
#include "store/database.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace tillora {

enum class RecordKind { Payments, Credits };

// Columns of the payments list.
enum PaymentColumn {
    PayDate,
    PayBarcode,
    PayProduct,
    PayPrice,
    PayQuantity,
    PayTotal,
    PayId,
    PaymentColumnCount
};
// Columns of the credits list.
enum CreditColumn {
    CreditDate,
    CreditCustomer,
    CreditBarcode,
    CreditProduct,
    CreditPrice,
    CreditQuantity,
    CreditTotal,
    CreditPaid,
    CreditId,
    CreditColumnCount
};

// One bound of the period as the data file writes its time stamps: "yyyy-MM-dd hh:mm:ss", 24-hour
// clock, always ":" between the time's fields (a locale's own separator would match no stamp).
// Only the date of date and the time of time count.
QString rangeBound(const QDate& date, const QTime& time);

// What the filter bar asks for. Both bounds are inclusive.
struct RecordFilter {
    QString begin;                   // rangeBound of the begin date and time
    QString end;                     // rangeBound of the end date and time
    std::optional<QString> customer; // none: every customer (credits only)
    std::optional<QString> product;  // none: every product
};

// "SELECT * FROM odemeler where [urunadi='P' and] odemetarihi between 'B' and 'E' order by
// odemetarihi;". The customer of the filter plays no part.
QString paymentsStatement(const RecordFilter& filter);
// "SELECT * FROM veresiyeler where [musteriadi='C' and] [urunadi='P' and] kayittarihi between 'B'
// and 'E' order by kayittarihi;".
QString creditsStatement(const RecordFilter& filter);
// "DELETE FROM odemeler where id='ID';" or the same on veresiyeler.
QString deleteRecordStatement(RecordKind kind, const QString& id);

// A credit line is unpaid while its odendimi reads exactly "0"; any other text, the empty one
// included, counts as paid.
bool isUnpaidMark(const QString& odendimi);

// The list of one kind as the screen shows it. The cell texts are made when a view asks for
// them; the amounts behind the totals are read once, when the list is loaded.
class SalesRecordsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    SalesRecordsModel(RecordKind kind, const Translate& translate, QObject* parent = nullptr);

    RecordKind kind() const { return kind_; }

    // Removes every row; the totals go back to zero.
    void clear();
    // Runs the statement of the filter and shows its rows in result order, with one reset of
    // the views. A failed query is reported by db and lists nothing. A price or quantity that
    // does not read as a number raises its AppError and lists nothing, so the list and its
    // totals never show a part of the period.
    void load(Database& db, const RecordFilter& filter);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int count() const { return static_cast<int>(amounts_.size()); }
    // A cell as shown; the empty text outside the list.
    QString cell(int row, int column) const;
    QString id(int row) const;
    // The cells a reprint of the row reads, taken by their position in the list.
    RecordRow reprintRow(int row) const;

    // The sum of the row totals; for credits also split into the paid and the unpaid lines.
    double grandTotal() const { return total_; }
    double paidSum() const { return paid_; }
    double unpaidSum() const { return unpaid_; }
    // The total label: FormatMoney of the sum for payments; "Paid: X Not Paid: Y" for credits.
    QString totalText() const;

    // The rows as the export writes them: the shown cells without the ID, joined by separator,
    // every line ended by CR LF. Rows [first, first + count) only.
    QString exportText(const QString& separator, int first, int count) const;

private:
    struct Amounts {
        double price = 0;
        qint64 quantity = 0;
        bool unpaid = false;
    };
    // Positions of the result's columns, found by name.
    struct Columns {
        int id = -1;
        int date = -1;
        int customer = -1;
        int barcode = -1;
        int product = -1;
        int price = -1;
        int quantity = -1;
        int paidMark = -1;
        int paidDate = -1;
    };
    Columns findColumns(const QueryResult& rows) const;
    QString text(int row, int resultColumn) const;

    RecordKind kind_;
    QStringList headers_;
    QString paidWord_; // "PAID", translated
    QString paidLabel_;
    QString notPaidLabel_;
    QueryResult rows_;
    Columns columns_;
    QList<Amounts> amounts_;
    double total_ = 0;
    double paid_ = 0;
    double unpaid_ = 0;
};

// The two lists of the records screen and ShownSalesList, the list the export writes: the one
// loaded last, whichever list is in front.
class SalesRecords {
public:
    SalesRecords(Database& db, const Translate& translate);

    SalesRecordsModel& payments() { return payments_; }
    SalesRecordsModel& credits() { return credits_; }
    SalesRecordsModel& list(RecordKind kind) { return kind == RecordKind::Payments ? payments_ : credits_; }
    const SalesRecordsModel& payments() const { return payments_; }
    const SalesRecordsModel& credits() const { return credits_; }
    const SalesRecordsModel& list(RecordKind kind) const {
        return kind == RecordKind::Payments ? payments_ : credits_;
    }

    // "payments", "credits", or empty before the first load of the run.
    QString ShownSalesList() const;
    std::optional<RecordKind> shownKind() const { return shown_; }

    // The first step of a load: the list becomes ShownSalesList and is emptied.
    void beginLoad(RecordKind kind);
    // The query and the rows (see SalesRecordsModel::load).
    void load(RecordKind kind, const RecordFilter& filter);

    // Writes the list ShownSalesList names to path, in the locale's encoding without a byte-order
    // mark, whole or not at all; an empty file before the first load. A failed write raises
    // AppError "Cannot create file "<path>". <reason>" and leaves an older file whole.
    void exportShownList(const QString& path, const QString& separator) const;

    // Runs the delete statement of one record; false when it failed (it was reported).
    bool deleteRecord(RecordKind kind, const QString& id);

private:
    Database& db_;
    SalesRecordsModel payments_;
    SalesRecordsModel credits_;
    std::optional<RecordKind> shown_;
};

} // namespace tillora
