#include "reports/topselling.h"

#include "common/errors.h"
#include "common/formats.h"
#include "platform/messages.h"
#include "store/sql.h"

#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>

#include <exception>
#include <utility>

namespace tillora {

namespace {

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// A message box a worker would have shown, kept to be shown on the GUI thread.
struct RecordedBox {
    QString caption;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons;
    MsgButton defaultButton = MsgButton::Ok;
};

class RecordingMessages : public IMessages {
public:
    QList<RecordedBox> boxes;
    MsgButton show(const QString& caption, const QString& text, MsgIcon icon, const MsgButtons& buttons,
                   MsgButton defaultButton) override {
        boxes.append({caption, text, icon, buttons, defaultButton});
        return defaultButton;
    }
    void beep() override {}
};

} // namespace

QString topSellingStatement(const QDate& begin, const QDate& end, TopSellingOrder order) {
    return QStringLiteral("SELECT barkod, urunadi, SUM(adet) AS toplamadet, sum(adet*fiyat) AS toplamfiyat "
                          "FROM odemeler where +odemetarihi between ") +
           quote(dateText(begin)) + QStringLiteral(" and ") + quote(dateText(end)) +
           (order == TopSellingOrder::Units ? QStringLiteral(" group by barkod order by toplamadet DESC;")
                                            : QStringLiteral(" group by barkod order by toplamfiyat DESC;"));
}

QList<TopSellingRow> topSellingRows(const QueryResult& result) {
    QList<TopSellingRow> rows;
    if (result.columnCount() < 4)
        return rows;
    rows.reserve(result.rowCount());
    for (int row = 0; row < result.rowCount(); ++row) {
        const QString money = result.text(row, 3);
        rows.append({result.text(row, 0), result.text(row, 1), result.text(row, 2),
                     isNumber(money) ? FormatMoney(readAmount(money)) : QStringLiteral("0")});
    }
    return rows;
}

// ---- TopSellingModel

TopSellingModel::TopSellingModel(QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), captions_(std::move(captions)) {}

void TopSellingModel::setRows(QList<TopSellingRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TopSellingModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TopSellingModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant TopSellingModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid())
        return listCellAlignment(index.column() >= 2); // units, money
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size())
        return {};
    const TopSellingRow& row = rows_[index.row()];
    switch (index.column()) {
    case 0:
        return row.barcode;
    case 1:
        return row.name;
    case 2:
        return row.units;
    case 3:
        return row.price;
    default:
        return {};
    }
}

QVariant TopSellingModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 &&
        section < captions_.size())
        return captions_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

// ---- TopSellingLoader

// The loader as its workers see it: cleared (under the lock) when the loader goes away, so a
// worker that finishes later posts nothing.
struct TopSellingLoader::Link {
    QMutex mutex;
    TopSellingLoader* owner = nullptr;
};

struct TopSellingLoader::Outcome {
    QList<TopSellingRow> rows;
    QList<RecordedBox> boxes;
};

TopSellingLoader::TopSellingLoader(Database& db, IMessages& messages, TopSellingModel& model, QObject* parent)
    : QObject(parent), db_(db), messages_(messages), model_(model), link_(std::make_shared<Link>()) {
    link_->owner = this;
}

TopSellingLoader::~TopSellingLoader() {
    const QMutexLocker lock(&link_->mutex);
    link_->owner = nullptr;
}

void TopSellingLoader::load(const QString& sql) {
    if (!db_.isOpen()) {
        model_.setRows(topSellingRows(db_.query(sql)));
        Q_EMIT loaded();
        return;
    }
    pending_ = sql;
    if (!running_)
        startNext();
}

void TopSellingLoader::startNext() {
    running_ = true;
    const QString sql = std::exchange(pending_, QString());
    QThreadPool::globalInstance()->start([link = link_, path = db_.path(), sql]() {
        auto outcome = std::make_shared<Outcome>();
        RecordingMessages messages;
        try {
            Database db(messages);
            if (db.open(path))
                outcome->rows = topSellingRows(db.query(sql));
            else
                db.reportError(db.lastError());
        } catch (const AppError& error) {
            showDefaultError(messages, error.message());
        } catch (const std::exception& error) {
            showDefaultError(messages, QString::fromUtf8(error.what()));
        }
        outcome->boxes = std::move(messages.boxes);
        const QMutexLocker lock(&link->mutex);
        if (TopSellingLoader* owner = link->owner) {
            QMetaObject::invokeMethod(
                owner, [owner, outcome]() { owner->finish(*outcome); }, Qt::QueuedConnection);
        }
    });
}

void TopSellingLoader::finish(const Outcome& outcome) {
    running_ = false;
    if (!pending_.isEmpty()) {
        // Overtaken by a later statement: only that one's rows are shown.
        startNext();
        return;
    }
    for (const RecordedBox& box : outcome.boxes)
        messages_.show(box.caption, box.text, box.icon, box.buttons, box.defaultButton);
    model_.setRows(outcome.rows);
    Q_EMIT loaded();
}

} // namespace tillora
