// A scan in the real main window on the display: from the Enter that ends the barcode to the
// frame that shows the new line, with everything the window repaints after it (the list, the
// grand total, the change panel). The reference shares no code with the program: a table
// widget and a label of its own in a window of the same size, and one prepared statement
// that looks the barcode up.
#include "bench/bench.h"
#include "bench/products.h"

#include "app/appform.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <algorithm>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int scans = 200;
constexpr int linesPerCart = 20;

// Notes a paint of the watched widget.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    // Runs the event loop until the watched widget has painted, then lets the rest of that
    // frame (other widgets marked at the same time) be painted too.
    void waitForFrame() {
        painted_ = false;
        while (!painted_)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    bool painted_ = false;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The bare till: a table of lines and a total, the barcode looked up with one statement.
class BareTill : public QWidget {
public:
    explicit BareTill(const QString& path) {
        auto* layout = new QVBoxLayout(this);
        table_ = new QTableWidget(0, 5, this);
        total_ = new QLabel(QStringLiteral("0.00"), this);
        layout->addWidget(table_, 1);
        layout->addWidget(total_);
        resize(841, 619);
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_prepare_v2(db_, "SELECT urunadi, fiyat FROM urunler WHERE barkod = ?;", -1, &lookup_,
                           nullptr);
    }
    ~BareTill() override {
        sqlite3_finalize(lookup_);
        sqlite3_close(db_);
    }
    QWidget* list() const { return table_->viewport(); }
    void clear() {
        table_->setRowCount(0);
        sum_ = 0;
    }
    void scan(const QByteArray& code) {
        sqlite3_bind_text(lookup_, 1, code.constData(), static_cast<int>(code.size()), SQLITE_STATIC);
        if (sqlite3_step(lookup_) == SQLITE_ROW) {
            const QString name =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(lookup_, 0)));
            const double price = sqlite3_column_double(lookup_, 1);
            const int row = table_->rowCount();
            table_->insertRow(row);
            const QString priceText = QString::number(price, 'f', 2);
            const QStringList cells{QString::fromLatin1(code), name, priceText, QStringLiteral("1"),
                                    priceText};
            for (int c = 0; c < cells.size(); ++c)
                table_->setItem(row, c, new QTableWidgetItem(cells[c]));
            table_->scrollToBottom();
            sum_ += price;
            total_->setText(QString::number(sum_, 'f', 2));
        }
        sqlite3_reset(lookup_);
    }

private:
    QTableWidget* table_;
    QLabel* total_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* lookup_ = nullptr;
    double sum_ = 0;
};

void type(QWidget* target, const QByteArray& text) {
    for (char c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(c)));
        QCoreApplication::sendEvent(target, &press);
    }
}

Row scanRow(int count) {
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("scan_%1.db").arg(count));
    Row row{QStringLiteral("scan: Enter to the painted frame"),
            QString::number(count) + QStringLiteral(" products"), 0, 0, QStringLiteral("ratio <= 2")};
    if (!makeProductFile(path, count)) {
        row.met = false;
        return row;
    }
    ScriptedServices fake;
    TAppForm form(fake.services);
    form.setDataFile(path);
    form.show();
    while (!form.startupDone())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    auto* list = form.findChild<QTableView*>(QStringLiteral("ListView1"));
    list->setFocus();
    PaintWatch ourFrame(list->viewport());

    BareTill bare(path);
    bare.show();
    PaintWatch bareFrame(bare.list());
    QCoreApplication::processEvents();

    // Turn about, so that load on the machine hits both alike.
    std::vector<double> ours;
    std::vector<double> reference;
    for (int i = 0; i < scans; ++i) {
        // A basket of up to 20 lines, as at a shop's till.
        if (i % linesPerCart == 0) {
            form.saleRegister().clearSale();
            bare.clear();
            QCoreApplication::processEvents();
        }
        const QByteArray code = benchBarcode((static_cast<qint64>(i) * 4999) % count);
        type(list, code);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(list, &enter);
        ourFrame.waitForFrame();
        ours.push_back(msSince(timer));

        timer.restart();
        bare.scan(code);
        bareFrame.waitForFrame();
        reference.push_back(msSince(timer));
    }
    if (form.saleRegister().cart().size() != linesPerCart)
        row.met = false;
    row.oursMs = median(ours);
    row.referenceMs = median(reference);
    row.met = row.met && row.oursMs <= 2 * row.referenceMs;
    return row;
}

} // namespace

TILLORA_BENCHMARK(scan) {
    QList<Row> rows;
    for (const int count : productSizes())
        rows << scanRow(count);
    return rows;
}
