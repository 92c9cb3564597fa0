// The product picker at 100,000 and 1,000,000 products, on the display: opening it (built,
// shown, list painted), a keystroke that lists almost everything, the one that clears the
// search box, and narrow ones, each from the key to the painted list. The products are read
// beforehand as the program reads them at start. For scale, the bare sqlite3 run of the
// statement the keystroke stands for (prepare, step through every row, finalize).
#include "bench/bench.h"
#include "bench/products.h"

#include "catalogue/productcatalogue.h"
#include "catalogue/productlist.h"
#include "catalogue/products.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QLocale>

#include <algorithm>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int repeats = 7;

// A register that finds nothing, so the picker stays open.
bool idleHandOff(const QString&) {
    return false;
}

bool makeCatalogue(const QString& path, int count) {
    static const char* const words[] = {
        "MILK",   "Bread", "cheese", "Apple juice", "TEA",  "coffee", "Sugar", "RICE", "pasta", "Olive oil",
        "butter", "Eggs",  "yogurt", "Water",       "SALT", "flour",  "Honey", "jam",  "Soap",  "chips"};
    return makeProductFile(path, count, [](int i) {
        return QByteArray(words[i % std::size(words)]) + ' ' + QByteArray::number(i);
    });
}

// Notes when the list has painted, so that a measurement ends with the frame on the display.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* viewport) { viewport->installEventFilter(this); }
    bool painted = false;
    // Runs the event loop until the next paint of the list.
    void waitForPaint() {
        painted = false;
        while (!painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void press(QWidget* target, int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &up);
}

QList<Row> pickerRows(int count) {
    const QString size = QString::number(count) + QStringLiteral(" products");
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("picker-%1.db").arg(count));
    if (!makeCatalogue(path, count))
        return {Row{QStringLiteral("picker opening"), size, 0, -1, QStringLiteral("< 300 ms"), false}};
    ScriptedMessages messages;
    Database db(messages);
    db.open(path);
    MemorySettingsStore settings;
    QList<Row> rows;

    // Read as the program reads them at start, away from the screen.
    ProductCatalogue catalogue(db);
    QElapsedTimer timer;
    timer.start();
    QString error;
    catalogue.install(loadCatalogue(path, QLocale(), error), db.dataVersion(), db.openCount());
    rows << Row{QStringLiteral("picker products read at start (in the background)"),
                size,
                msSince(timer),
                -1,
                QStringLiteral("-"),
                catalogue.isLoaded()};

    struct Opening {
        qint32 style;
        qint32 prices;
        const char* label;
    };
    const Opening openings[] = {
        {1, 0, "picker opening, big icons"},
        {2, 0, "picker opening, list"},
        {1, 1, "picker opening, big icons, prices"},
    };
    for (const Opening& opening : openings) {
        settings.writeInteger(QStringLiteral("ProductsStyle"), opening.style);
        settings.writeInteger(QStringLiteral("DisplayPrices"), opening.prices);
        std::vector<double> times;
        bool shown = true;
        for (int i = 0; i <= repeats; ++i) {
            timer.restart();
            auto* form = new TUrunlerForm(idleHandOff, &catalogue, db, settings, {});
            PaintWatch watch(form->ListView1->viewport());
            form->show();
            watch.waitForPaint();
            const double ms = msSince(timer);
            shown = shown && form->model()->count() == count;
            delete form;
            if (i > 0)
                times.push_back(ms);
        }
        const double ours = median(times);
        rows << Row{QString::fromUtf8(opening.label),
                    size,
                    ours,
                    bareQueryMs(path, pickerFirstLoadStatement(), 3),
                    QStringLiteral("< 300 ms"),
                    shown && messages.shown.isEmpty() && ours < 300};
    }
    settings.writeInteger(QStringLiteral("DisplayPrices"), 0);
    settings.writeInteger(QStringLiteral("ProductsStyle"), 1);

    // Keys typed into the search box: before it the box holds `before`; a typed character
    // or Backspace.
    struct Keystroke {
        QString before;
        int key;
        QString text;
        const char* label;
    };
    const Keystroke keystrokes[] = {
        {QString(), Qt::Key_1, QStringLiteral("1"), "picker keystroke \"\" -> \"1\" (almost everything)"},
        {QStringLiteral("1"), Qt::Key_Backspace, QString(), "picker keystroke \"1\" -> \"\" (box cleared)"},
        {QString(), Qt::Key_M, QStringLiteral("m"), "picker keystroke \"\" -> \"m\""},
        {QStringLiteral("mil"), Qt::Key_K, QStringLiteral("k"), "picker keystroke \"mil\" -> \"milk\""},
        {QStringLiteral("milk 1"), Qt::Key_2, QStringLiteral("2"),
         "picker keystroke \"milk 1\" -> \"milk 12\""},
    };
    TUrunlerForm form(idleHandOff, &catalogue, db, settings, {});
    PaintWatch watch(form.ListView1->viewport());
    form.show();
    watch.waitForPaint();
    for (const Keystroke& key : keystrokes) {
        std::vector<double> times;
        int listed = 0;
        for (int i = 0; i <= repeats; ++i) {
            if (form.Edit1->text() != key.before) {
                form.Edit1->setText(key.before);
                watch.waitForPaint();
            }
            timer.restart();
            press(form.Edit1, key.key, key.text);
            watch.waitForPaint();
            const double ms = msSince(timer);
            listed = form.model()->count();
            if (i > 0)
                times.push_back(ms);
        }
        const double ours = median(times);
        const QString typed = form.Edit1->text();
        rows << Row{QString::fromUtf8(key.label) + QStringLiteral(", %1 listed").arg(listed),
                    size,
                    ours,
                    bareQueryMs(path, pickerSearchStatement(typed), 3),
                    QStringLiteral("< 50 ms"),
                    listed > 0 && messages.shown.isEmpty() && ours < 50};
    }
    return rows;
}

} // namespace

TILLORA_BENCHMARK(pickerOpenAndSearch) {
    // Shops sort by their own language; the C locale would compare code points only.
    const QLocale previousLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QList<Row> rows;
    for (const int count : productSizes())
        rows += pickerRows(count);
    QLocale::setDefault(previousLocale);
    return rows;
}
