// The report windows at a shop's real sizes and the barcode drawing:
// - the top selling window over 1,000,000 cash sale lines, from its creation to the first list
//   painted, against the bare sqlite3 run of the ranking statement as first written (through
//   the date index, sorting every sale row); and the longest time the event loop did not
//   answer meanwhile, measured by a 1 ms timer;
// - the stock count sheet of 100,000 products, opening against the bare statement plus the
//   reset of a plain model of as many rows, and the first sort by each column;
// - drawing a 13-digit Code 39 barcode.
#include "bench/bench.h"
#include "bench/products.h"

#include "barcode/code39.h"
#include "barcode/generatebarcode.h"
#include "reports/stocklist.h"
#include "reports/stocksheet.h"
#include "reports/topsellingform.h"
#include "tests/support/contextfixture.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int paymentCount = 1000000;
constexpr int productCount = 100000;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// A program context on the data file at path with scripted services; today is 2026-01-15.
struct BenchContext : test::ContextFixture {
    explicit BenchContext(const QString& path) { db.open(path); }
};

// Six years of a shop's cash sales: a sale line every 190 seconds or so, 5,000 products of
// which a few sell far more often than the rest.
bool makePaymentFile(const QString& path) {
    if (!makeProductFile(path, 0))
        return false;
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db,
                                  "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES "
                                  "(?, ?, ?, ?, datetime(1577836800 + ?, 'unixepoch'));",
                                  -1, &insert, nullptr) == SQLITE_OK;
    quint32 seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xffffff;
    };
    for (int i = 0; ok && i < paymentCount; ++i) {
        // Skewed toward the first products: the square of a uniform number.
        const double u = static_cast<double>(next()) / 0x1000000;
        const int product = static_cast<int>(u * u * 5000);
        const QByteArray code = benchBarcode(product);
        const QByteArray name = "Product " + QByteArray::number(product);
        sqlite3_bind_text(insert, 1, code.constData(), static_cast<int>(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, 1 + static_cast<int>(next() % 5));
        sqlite3_bind_double(insert, 4, 0.5 + (product % 1000) * 0.25);
        sqlite3_bind_int64(insert, 5, static_cast<qint64>(i) * 190 + next() % 100);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "cannot make payments: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

// The longest gap between the ticks of a 1 ms timer: how long the event loop did not answer.
class StallMeter {
public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this]() {
            longest_ = std::max(longest_, elapsedMs(since_));
            since_.start();
        });
        since_.start();
        timer_.start();
    }
    double longestMs() const { return std::max(longest_, elapsedMs(since_)); }

private:
    QTimer timer_;
    QElapsedTimer since_;
    double longest_ = 0;
};

// Runs the event loop until done() holds (or 20 s passed), sleeping while there is no event:
// a loop that polls would take the processor from the worker it waits for.
template <typename Done> void runUntil(Done done) {
    QElapsedTimer limit;
    limit.start();
    QTimer wake; // so the wait ends even if no other event comes
    wake.start(50);
    while (!done() && limit.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A plain model of rows of five short texts, for the reference reset.
class PlainModel : public QAbstractTableModel {
public:
    void setRowCountAndReset(int rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : 5;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole ? QVariant(QString::number(index.row())) : QVariant();
    }

private:
    int rows_ = 0;
};

} // namespace

TILLORA_BENCHMARK(topSellingWindow) {
    const QString size = QStringLiteral("1000000 payments");
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("topselling.db"));
    if (!makePaymentFile(path))
        return {Row{QStringLiteral("top selling window, list shown"), size, 0, -1, QStringLiteral("< 300 ms"),
                    false}};
    BenchContext bench(path);
    std::vector<double> times;
    std::vector<double> rerank;
    double stall = 0;
    int rows = 0;
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto form = std::make_unique<TFormTopSelling>(bench.context);
        form->show();
        StallMeter meter;
        runUntil([&]() { return !form->loading(); });
        auto* list = form->findChild<QTableView*>(QStringLiteral("ListView1"));
        list->viewport()->repaint();
        const double ms = elapsedMs(timer);
        rows = list->model()->rowCount();
        // Re-ranked by money: the click, the reload and the list painted.
        QElapsedTimer again;
        again.start();
        form->findChild<QAbstractButton*>(QStringLiteral("RadioButton2"))->click();
        runUntil([&]() { return !form->loading(); });
        list->viewport()->repaint();
        const double rerankMs = elapsedMs(again);
        if (i > 0) {
            times.push_back(ms);
            rerank.push_back(rerankMs);
            stall = std::max(stall, meter.longestMs());
        }
    }
    const double reference = bareQueryMs(
        path,
        QStringLiteral(
            "SELECT barkod, urunadi, SUM(adet) AS toplamadet, sum(adet*fiyat) AS toplamfiyat FROM "
            "odemeler where odemetarihi between '2000-01-01' and '2026-01-16' group by barkod order "
            "by toplamadet DESC;"),
        3);
    const bool clean = bench.fake.messages.shown.isEmpty() && rows > 0;
    const QString listed = QStringLiteral(", %1 products listed").arg(rows);
    // 300 ms against the 650 ms the bare statement takes on an idle machine; on a machine busy
    // with other work both grow, and the share of the reference is what is compared then.
    const QString goal = QStringLiteral("< 300 ms or ratio <= 0.46");
    auto met = [&](double ms) { return clean && (ms < 300 || ms <= 0.46 * reference); };
    return {
        Row{QStringLiteral("top selling window, list shown") + listed, size, median(times), reference, goal,
            met(median(times))},
        Row{QStringLiteral("top selling window, re-ranked by money"), size, median(rerank), reference, goal,
            met(median(rerank))},
        Row{QStringLiteral("top selling window, longest event-loop stall while loading"), size, stall, -1,
            QStringLiteral("< 50 ms"), clean && stall < 50},
    };
}

TILLORA_BENCHMARK(stockSheet) {
    const QString size = QStringLiteral("100000 products");
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("stocksheet.db"));
    if (!makeProductFile(path, productCount))
        return {
            Row{QStringLiteral("stock sheet opening"), size, 0, -1, QStringLiteral("ratio <= 1.5"), false}};
    BenchContext bench(path);
    constexpr int repeats = 5;

    // Ours: created, stored geometry applied, shown, loaded and painted.
    auto openSheet = [&]() {
        auto form = std::make_unique<TStockSheetForm>(bench.context);
        bool loaded = false;
        QObject::connect(form.get(), &TStockSheetForm::loaded, [&loaded]() { loaded = true; });
        form->applyStoredGeometry();
        form->show();
        runUntil([&]() { return loaded; });
        form->findChild<QTableView*>(QStringLiteral("ListView1"))->viewport()->repaint();
        return form;
    };
    std::vector<double> opening;
    int rows = 0;
    for (int i = 0; i <= repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto form = openSheet();
        const double ms = elapsedMs(timer);
        rows = form->findChild<QTableView*>(QStringLiteral("ListView1"))->model()->rowCount();
        if (i > 0)
            opening.push_back(ms);
    }

    // The reference: the bare statement, then a plain model of as many rows reset in a list
    // of the same kind and painted.
    const double bare = bareQueryMs(path, stockSheetStatement(), repeats);
    PlainModel plain;
    QTableView view;
    view.setModel(&plain);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.resize(TStockSheetForm::designSize());
    view.show();
    const double reset = medianMs(
        [&]() {
            plain.setRowCountAndReset(0);
            plain.setRowCountAndReset(productCount);
            view.viewport()->repaint();
        },
        repeats);
    const double reference = bare + reset;
    const double ours = median(opening);
    QList<Row> result{
        Row{QStringLiteral("stock sheet opening, %1 listed").arg(rows), size, ours, reference,
            QStringLiteral("ratio <= 1.5"),
            rows == productCount && bench.fake.messages.shown.isEmpty() && ours <= 1.5 * reference}};

    // The first click on each column of a freshly opened sheet (its sort keys made then).
    const char* const names[] = {"Barcode", "Product", "Price", "Stock", "Date"};
    for (int column = 0; column < StockListModel::columns; ++column) {
        std::vector<double> sorts;
        for (int i = 0; i < 3; ++i) {
            auto form = openSheet();
            auto* list = form->findChild<QTableView*>(QStringLiteral("ListView1"));
            QElapsedTimer timer;
            timer.start();
            form->ListView1ColumnClick(column);
            list->viewport()->repaint();
            sorts.push_back(elapsedMs(timer));
        }
        const double ms = median(sorts);
        result << Row{QStringLiteral("stock sheet, first sort by %1").arg(QLatin1String(names[column])),
                      size,
                      ms,
                      -1,
                      QStringLiteral("< 200 ms"),
                      ms < 200};
    }
    return result;
}

TILLORA_BENCHMARK(barcodeDrawing) {
    constexpr int perRun = 1000;
    const QString code = QStringLiteral("5901234123457");
    int width = 0;
    const double bars = medianMs(
                            [&]() {
                                for (int i = 0; i < perRun; ++i)
                                    width +=
                                        drawCode39(layoutCode39(code, 1, 2, false), fixedPitchGlyph).width();
                            },
                            7) /
                        perRun;
    // With the readable text and made into the image the window shows.
    const double shown =
        medianMs(
            [&]() {
                for (int i = 0; i < perRun; ++i)
                    width += monoImage(drawCode39(layoutCode39(code, 1, 2, true), fixedPitchGlyph)).width();
            },
            7) /
        perRun;
    const QString size = QStringLiteral("13 digits, 196 x 21 / 196 x 35");
    return {Row{QStringLiteral("Code 39 drawing"), size, bars, -1, QStringLiteral("< 1 ms"),
                width > 0 && bars < 1},
            Row{QStringLiteral("Code 39 drawing with readable text, as an image"), size, shown, -1,
                QStringLiteral("< 1 ms"), width > 0 && shown < 1}};
}
