#pragma once
// The ranking of the top selling window: the products by what the cash sales (odemeler) sold
// between two dates, by units or by money, one row per barcode. The credit sales do not count.
//
// The ranking is read on a connection of its own in a worker thread, so the window keeps
// answering while a long history is summed; the rows are ready to show when they arrive.
#include "store/database.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace tillora {

class IMessages;

enum class TopSellingOrder { Units, Money };

// The ranking statement. The bounds are bare dates compared as text with time stamps that
// carry a time of day, so a sale on the begin date counts and one on the end date does not.
// The grouping reads the covering index odemeler_barkod_toplam in barcode order (the "+"
// keeps the date index out of the plan: it would make SQLite sort every sale row first).
QString topSellingStatement(const QDate& begin, const QDate& end, TopSellingOrder order);

// One row of the list as shown: barcode, the name stored on one of its sale rows, the units
// as the database returns the sum, the money taken (FormatMoney, "0" when the sum is empty
// or no number).
struct TopSellingRow {
    QString barcode;
    QString name;
    QString units;
    QString price;
};

QList<TopSellingRow> topSellingRows(const QueryResult& result);

class TopSellingModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // captions: the four column captions as shown.
    explicit TopSellingModel(QStringList captions, QObject* parent = nullptr);

    // Replaces every row at once (the views are reset once).
    void setRows(QList<TopSellingRow> rows);
    const QList<TopSellingRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList captions_;
    QList<TopSellingRow> rows_;
};

// Runs ranking statements one at a time on a connection of its own, in a thread of the global
// pool, and fills a model with the rows. A statement asked for while one runs waits and replaces
// any other waiting one; the result of a statement that was overtaken is dropped. A failure
// is reported through messages on the GUI thread as the main connection would report it, and
// leaves the list empty. Without an open data file the statement runs on db itself (which
// reports the failure).
class TopSellingLoader : public QObject {
    Q_OBJECT

public:
    TopSellingLoader(Database& db, IMessages& messages, TopSellingModel& model, QObject* parent = nullptr);
    // A statement still running finishes in its thread; its result is dropped.
    ~TopSellingLoader() override;

    void load(const QString& sql);
    // True from load() until the rows of the last statement are in the model.
    bool loading() const { return running_ || !pending_.isEmpty(); }

Q_SIGNALS:
    // The rows of the last statement asked for are in the model.
    void loaded();

private:
    struct Link; // what the worker shares with this object
    struct Outcome;
    void startNext();
    void finish(const Outcome& outcome);

    Database& db_;
    IMessages& messages_;
    TopSellingModel& model_;
    std::shared_ptr<Link> link_;
    bool running_ = false;
    QString pending_;
};

} // namespace tillora
