// The sales records screen on a year of a busy shop: one month of payments out of 1,000,000
// (about 82,000 rows) and the credits of one customer with one product filter out of 500,000
// credit lines, each listed, totalled and painted by the screen's button, against the bare
// indexed statement (prepare, read every column of every row in its own type, finalize) plus
// one reset and paint of a plain model of as many rows in a list set up alike; and the export
// of that month against the bare statement plus writing the same bytes. Ours and the reference
// run in turns, each run ending with every pending paint done; a load is timed by the work of
// the GUI thread, the export by the wall clock (see Clock).
#include "bench/bench.h"
#include "bench/products.h"

#include "platform/scripted/scripted.h"
#include "receipts/receipts.h"
#include "reports/salesrecords.h"
#include "reports/sellingsscreen.h"
#include "store/context.h"
#include "store/database.h"
#include "store/startup.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int paymentCount = 1000000;
constexpr int creditCount = 500000;
constexpr int productCount = 1000;
constexpr int customerCount = 50;
constexpr int repeats = 11;

QByteArray productName(int i) {
    return "Product " + QByteArray::number(i % productCount);
}

QByteArray customerName(int i) {
    return "Customer " + QByteArray::number(i % customerCount);
}

// The stamp of sale i of count spread evenly over 2025.
QByteArray stamp(qint64 i, qint64 count) {
    const qint64 second = i * (365LL * 86400) / count;
    const QDateTime moment(QDate(2025, 1, 1).addDays(second / 86400),
                           QTime(0, 0).addSecs(int(second % 86400)));
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
}

// The shop's year: 1,000 products, 50 customers, payments and credit lines in time order as
// the checkout writes them; a third of the credit lines settled.
bool makeShop(const QString& path) {
    if (!makeProductFile(path, productCount, productName))
        return false;
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* customer = nullptr;
    sqlite3_stmt* payment = nullptr;
    sqlite3_stmt* credit = nullptr;
    ok = ok &&
         sqlite3_prepare_v2(db, "INSERT INTO musteriler (musteriadi) VALUES (?);", -1, &customer, nullptr) ==
             SQLITE_OK &&
         sqlite3_prepare_v2(
             db, "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES (?, ?, ?, ?, ?);",
             -1, &payment, nullptr) == SQLITE_OK &&
         sqlite3_prepare_v2(db,
                            "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, "
                            "kayittarihi, odendimi, odemetarihi) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?);",
                            -1, &credit, nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < customerCount; ++i) {
        const QByteArray name = customerName(i);
        sqlite3_bind_text(customer, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(customer) == SQLITE_DONE;
        sqlite3_reset(customer);
    }
    for (int i = 0; ok && i < paymentCount; ++i) {
        const int product = (i * 7) % productCount;
        const QByteArray code = benchBarcode(product);
        const QByteArray name = productName(product);
        const QByteArray when = stamp(i, paymentCount);
        sqlite3_bind_text(payment, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(payment, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(payment, 3, 1 + i % 5);
        sqlite3_bind_double(payment, 4, 0.5 + (product % 100) * 0.25);
        sqlite3_bind_text(payment, 5, when.constData(), int(when.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(payment) == SQLITE_DONE;
        sqlite3_reset(payment);
    }
    for (int i = 0; ok && i < creditCount; ++i) {
        // Customer and product vary independently: each pair holds 100 lines of the year.
        const int customerIndex = i % customerCount;
        const int product = (i / customerCount) % 100;
        const QByteArray who = customerName(customerIndex);
        const QByteArray code = benchBarcode(product);
        const QByteArray name = productName(product);
        const QByteArray when = stamp(i, creditCount);
        const bool settled = i % 3 == 0;
        sqlite3_bind_int(credit, 1, customerIndex + 1);
        sqlite3_bind_text(credit, 2, who.constData(), int(who.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(credit, 3, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(credit, 4, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(credit, 5, 1 + i % 3);
        sqlite3_bind_double(credit, 6, 0.5 + product * 0.25);
        sqlite3_bind_text(credit, 7, when.constData(), int(when.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(credit, 8, settled ? 1 : 0);
        if (settled)
            sqlite3_bind_text(credit, 9, when.constData(), int(when.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(credit, 9);
        ok = sqlite3_step(credit) == SQLITE_DONE;
        sqlite3_reset(credit);
    }
    sqlite3_finalize(customer);
    sqlite3_finalize(payment);
    sqlite3_finalize(credit);
    ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "cannot make the shop: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

// The bare statement: prepare, read every column of every row in its own type, finalize.
struct BareStatement {
    explicit BareStatement(const QString& path) {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~BareStatement() { sqlite3_close(db); }
    BareStatement(const BareStatement&) = delete;
    BareStatement& operator=(const BareStatement&) = delete;

    // The number of rows.
    int run(const QByteArray& sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()) + 1, &stmt, nullptr);
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER:
                    checksum += sqlite3_column_int64(stmt, i);
                    break;
                case SQLITE_FLOAT:
                    checksum += static_cast<qint64>(sqlite3_column_double(stmt, i));
                    break;
                case SQLITE_TEXT:
                    checksum += sqlite3_column_text(stmt, i)[0] + sqlite3_column_bytes(stmt, i);
                    break;
                default:
                    break;
                }
            }
            ++rows;
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    sqlite3* db = nullptr;
    qint64 checksum = 0;
};

// As many rows as asked, each cell one short text: the least a model can do.
class PlainModel : public QAbstractTableModel {
public:
    PlainModel(int columns) : columns_(columns) {}
    void reset(int rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : columns_; }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole && index.isValid() ? QVariant(cell_) : QVariant();
    }

private:
    int rows_ = 0;
    int columns_;
    QString cell_ = QStringLiteral("2025-04-01 00:00:00");
};

// A list set up as the screen's, at the same size and place, showing a plain model.
struct PlainList {
    PlainList(const QTableView& like, int columns) : model(columns) {
        view.setFont(like.font());
        view.setModel(&model);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setWordWrap(false);
        view.verticalHeader()->hide();
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.verticalHeader()->setDefaultSectionSize(like.verticalHeader()->defaultSectionSize());
        for (int c = 0; c < columns; ++c)
            view.setColumnWidth(c, like.columnWidth(c));
        view.resize(like.size());
        view.show();
        QCoreApplication::processEvents(); // exposed, so that a repaint paints
    }
    void reset(int rows) {
        model.reset(rows);
        view.viewport()->repaint();
    }
    PlainModel model;
    QTableView view;
};

struct Screen {
    explicit Screen(const QString& path) : db(fake.messages) {
        db.open(path);
        panel = std::make_unique<PanelSellings>(context);
        panel->setFilterLists(
            StartupLists{customerFilterList(db, translate), productFilterList(db, translate)});
        panel->resize(841, 405);
        panel->show();
        panel->enter();
        QCoreApplication::processEvents();
    }
    template <typename T> T* child(const char* name) {
        return panel->findChild<T*>(QString::fromLatin1(name));
    }
    void period(const QDate& begin, const QDate& end) {
        child<QDateEdit>("DateTimePicker1")->setDate(begin);
        child<QDateEdit>("DateTimePicker2")->setDate(end);
        child<QTimeEdit>("DateTimePicker4")->setTime(QTime(23, 59, 59));
    }

    ScriptedServices fake;
    Database db;
    AccessView access;
    ReceiptSettings receipts;
    Translate translate = [](const QString& text) { return text; };
    ProgramContext context{db,
                           fake.services,
                           translate,
                           Guard(fake.messages),
                           access,
                           receipts,
                           []() { return QStringLiteral("$"); },
                           QStringLiteral(","),
                           nullptr};
    std::unique_ptr<PanelSellings> panel;
};

// How a run is timed. A list loads without waiting for anything: the statement reads data the
// system holds in memory and every step (statement, rows, totals, painting) runs on the one GUI
// thread, so the time that thread works, its CPU time, is the time the load takes on a machine
// of its own; on a shared machine the wall clock also counts the other programs' turns. An
// export ends by waiting for the disk, so it is timed by the wall clock.
enum class Clock { GuiThread, Wall };

double nowMs(Clock clock) {
    if (clock == Clock::Wall) {
        static QElapsedTimer wall;
        if (!wall.isValid())
            wall.start();
        return static_cast<double>(wall.nsecsElapsed()) / 1e6;
    }
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Runs ours and the reference in turns, so that both meet the same conditions; each timed run
// ends with every pending paint done. The median of each.
std::pair<double, double> sideBySide(Clock clock, const std::function<void()>& ours,
                                     const std::function<void()>& reference) {
    std::vector<double> oursMs;
    std::vector<double> referenceMs;
    auto timed = [clock](const std::function<void()>& work) {
        const double start = nowMs(clock);
        work();
        QCoreApplication::processEvents();
        return nowMs(clock) - start;
    };
    for (int i = 0; i <= repeats; ++i) {
        const double a = timed(ours);
        const double b = timed(reference);
        if (i > 0) { // the first round warms up
            oursMs.push_back(a);
            referenceMs.push_back(b);
        }
    }
    std::sort(oursMs.begin(), oursMs.end());
    std::sort(referenceMs.begin(), referenceMs.end());
    return {oursMs[oursMs.size() / 2], referenceMs[referenceMs.size() / 2]};
}

// What the filter bar of the screen asks for now.
RecordFilter screenFilter(Screen& screen) {
    RecordFilter filter;
    filter.begin = rangeBound(screen.child<QDateEdit>("DateTimePicker1")->date(),
                              screen.child<QTimeEdit>("DateTimePicker3")->time());
    filter.end = rangeBound(screen.child<QDateEdit>("DateTimePicker2")->date(),
                            screen.child<QTimeEdit>("DateTimePicker4")->time());
    if (screen.child<QComboBox>("ComboBox3")->currentIndex() > 0)
        filter.customer = screen.child<QComboBox>("ComboBox3")->currentText();
    if (screen.child<QComboBox>("ComboBox4")->currentIndex() > 0)
        filter.product = screen.child<QComboBox>("ComboBox4")->currentText();
    return filter;
}

// The screen's button (list, totals, painting) against the bare statement plus one reset and
// paint of a plain list of as many rows.
Row compareLoad(Screen& screen, RecordKind kind, const QString& operation, const QString& size) {
    const SalesRecordsModel& model = screen.panel->records().list(kind);
    QPushButton* button = screen.child<QPushButton>(kind == RecordKind::Payments ? "BitBtn18" : "BitBtn19");
    QTableView* list =
        kind == RecordKind::Payments ? screen.panel->paymentsList() : screen.panel->creditsList();
    // Loaded once first, so that the list is in front and laid out and the plain list takes
    // its size.
    button->click();
    QCoreApplication::processEvents();
    const RecordFilter filter = screenFilter(screen);
    const QByteArray sql =
        (kind == RecordKind::Payments ? paymentsStatement(filter) : creditsStatement(filter)).toUtf8();
    BareStatement bare(screen.db.path());
    PlainList plain(*list, model.columnCount());
    int bareRows = 0;
    const auto [ours, reference] = sideBySide(
        Clock::GuiThread, [&] { button->click(); },
        [&] {
            bareRows = bare.run(sql);
            plain.reset(bareRows);
        });
    const int rows = model.count();
    const bool right = rows > 0 && rows == bareRows && screen.fake.messages.shown.isEmpty();
    return Row{operation + QStringLiteral(", %1 rows, GUI thread time").arg(rows),
               size,
               ours,
               reference,
               QStringLiteral("ratio <= 1.5"),
               right && ours <= 1.5 * reference};
}

// "Export" of the loaded list (the file written whole) against the bare statement plus a plain
// write of the same bytes.
Row compareExport(Screen& screen, const QString& operation, const QString& size) {
    const QString file = QDir(scratchFolder()).filePath(QStringLiteral("export.csv"));
    const QString plainFile = QDir(scratchFolder()).filePath(QStringLiteral("plain.csv"));
    QPushButton* exportButton = screen.child<QPushButton>("BitBtn21");
    screen.fake.files.answers << file;
    exportButton->click();
    QFile written(file);
    const QByteArray bytes = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    written.close();
    BareStatement bare(screen.db.path());
    const QByteArray sql = paymentsStatement(screenFilter(screen)).toUtf8();
    const auto [ours, reference] = sideBySide(
        Clock::Wall,
        [&] {
            screen.fake.files.answers << file;
            exportButton->click();
        },
        [&] {
            bare.run(sql);
            QFile out(plainFile);
            if (out.open(QIODevice::WriteOnly))
                out.write(bytes);
        });
    const int lines = int(bytes.count('\n'));
    return Row{operation + QStringLiteral(", %1 lines, wall time").arg(lines),
               size,
               ours,
               reference,
               QStringLiteral("ratio <= 2"),
               lines > 0 && lines == screen.panel->records().payments().count() &&
                   screen.fake.messages.shown.isEmpty() && ours <= 2 * reference};
}

} // namespace

TILLORA_BENCHMARK(salesRecords) {
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("records.db"));
    const QString size = QStringLiteral("1000000 payments, 500000 credit lines");
    if (!makeShop(path))
        return {Row{QStringLiteral("sales records"), size, 0, -1, QStringLiteral("ratio <= 1.5"), false}};
    Screen screen(path);
    QList<Row> rows;

    // April: 30 days of the year's million payments, then their export.
    screen.period(QDate(2025, 4, 1), QDate(2025, 4, 30));
    rows << compareLoad(screen, RecordKind::Payments, QStringLiteral("payments of one month"), size);
    rows << compareExport(screen, QStringLiteral("export of one month of payments"), size);

    // The credits of one customer with one product filter over the whole year; and of that
    // customer alone.
    screen.period(QDate(2025, 1, 1), QDate(2025, 12, 31));
    screen.child<QComboBox>("ComboBox3")->setCurrentText(QStringLiteral("Customer 7"));
    screen.child<QComboBox>("ComboBox4")->setCurrentText(QStringLiteral("Product 42"));
    rows << compareLoad(screen, RecordKind::Credits,
                        QStringLiteral("credits of one customer and product, a year"), size);
    screen.child<QComboBox>("ComboBox4")->setCurrentIndex(0);
    rows << compareLoad(screen, RecordKind::Credits, QStringLiteral("credits of one customer, a year"), size);
    return rows;
}
