// The product picker over 100,000 products: opening it (built, shown, first paint) and one
// keystroke in its search box (search, new list laid out and painted), each against the bare
// sqlite3 run of the same statement (prepare, step through every row, finalize).
#include "bench/bench.h"
#include "bench/products.h"

#include "catalogue/productlist.h"
#include "catalogue/products.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QLocale>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tillora;
using namespace tillora::bench;

namespace {

constexpr int productCount = 100000;
constexpr int repeats = 7;

// A register that finds nothing, so the picker stays open.
bool idleHandOff(const QString&) {
    return false;
}

bool makeCatalogue(const QString& path) {
    static const char* const words[] = {
        "MILK",   "Bread", "cheese", "Apple juice", "TEA",  "coffee", "Sugar", "RICE", "pasta", "Olive oil",
        "butter", "Eggs",  "yogurt", "Water",       "SALT", "flour",  "Honey", "jam",  "Soap",  "chips"};
    return makeProductFile(path, productCount, [](int i) {
        return QByteArray(words[i % std::size(words)]) + ' ' + QByteArray::number(i);
    });
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void paintList(TUrunlerForm& form) {
    QCoreApplication::processEvents();
    form.ListView1->viewport()->repaint();
}

} // namespace

TILLORA_BENCHMARK(pickerOpenAndSearch) {
    const QString size = QStringLiteral("100000 products");
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("picker.db"));
    if (!makeCatalogue(path))
        return {Row{QStringLiteral("picker opening"), size, 0, -1, QStringLiteral("< 300 ms"), false}};
    ScriptedMessages messages;
    Database db(messages);
    db.open(path);
    MemorySettingsStore settings;
    QList<Row> rows;

    // Shops sort by their own language; the C locale would compare code points only.
    const QLocale previousLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

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
            QElapsedTimer timer;
            timer.start();
            auto* form = new TUrunlerForm(idleHandOff, db, settings, {});
            form->show();
            paintList(*form);
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            const QModelIndex first = form->model()->index(0);
            shown = shown && form->model()->count() == productCount &&
                    form->ListView1->indexAt(form->ListView1->visualRect(first).center()) == first;
            delete form;
            if (i > 0)
                times.push_back(ms);
        }
        const double ours = median(times);
        rows << Row{QString::fromUtf8(opening.label),
                    size,
                    ours,
                    bareQueryMs(path, pickerFirstLoadStatement(), repeats),
                    QStringLiteral("< 300 ms"),
                    shown && messages.shown.isEmpty() && ours < 300};
    }
    settings.writeInteger(QStringLiteral("DisplayPrices"), 0);

    // One character typed at the end of the search box: from nearly every product listed to
    // a narrow result.
    struct Keystroke {
        QString before;
        QChar typed;
        const char* label;
    };
    const Keystroke keystrokes[] = {
        {QString(), QLatin1Char('1'), "picker keystroke \"\" -> \"1\" (most products)"},
        {QString(), QLatin1Char('m'), "picker keystroke \"\" -> \"m\""},
        {QStringLiteral("mil"), QLatin1Char('k'), "picker keystroke \"mil\" -> \"milk\""},
    };
    settings.writeInteger(QStringLiteral("ProductsStyle"), 1);
    TUrunlerForm form(idleHandOff, db, settings, {});
    form.show();
    paintList(form);
    for (const Keystroke& key : keystrokes) {
        std::vector<double> times;
        int listed = 0;
        for (int i = 0; i <= repeats; ++i) {
            form.Edit1->setText(key.before);
            paintList(form);
            QKeyEvent press(QEvent::KeyPress, key.typed.toUpper().unicode(), Qt::NoModifier,
                            QString(key.typed));
            QElapsedTimer timer;
            timer.start();
            QCoreApplication::sendEvent(form.Edit1, &press);
            paintList(form);
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            listed = form.model()->count();
            if (i > 0)
                times.push_back(ms);
        }
        const double ours = median(times);
        const QString typed = key.before + key.typed;
        rows << Row{QString::fromUtf8(key.label) + QStringLiteral(", %1 listed").arg(listed),
                    size,
                    ours,
                    bareQueryMs(path, pickerSearchStatement(typed), repeats),
                    QStringLiteral("< 50 ms"),
                    form.Edit1->text() == typed && listed > 0 && messages.shown.isEmpty() && ours < 50};
    }
    QLocale::setDefault(previousLocale);
    return rows;
}
