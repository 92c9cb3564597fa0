// Draws the screenshots of the README and docs/screens/: the real main window and its windows
// over a data file of a small shop, saved as PNG files in the folder given.
//   tillora_docshots FOLDER EMPTY_DATA_FILE [--theme NAME] [--suffix TEXT]
// EMPTY_DATA_FILE is the build's empty data file (copied, never changed); --theme applies a
// theme by its name; --suffix goes at the end of every file name ("-2x", "-dark"). The scale
// comes from QT_SCALE_FACTOR. The sample sale is sold for cash with "Ask Print" on and its
// receipt printed by the program's own printing into receipt<suffix>.pdf (the docshots target
// turns it into a PNG). Without a suffix the sheet of all pictures is drawn too, at scale 1
// and 2 on a light and three dark themes.
#include "app/appform.h"
#include "app/themes.h"
#include "catalogue/screenparts.h"
#include "platform/qt/pictures.h"
#include "platform/qt/qtprinting.h"
#include "platform/qt/qtshell.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace tillora;

namespace {

QString folder;
QString suffix;
int failures = 0;

void save(const QPixmap& picture, const QString& name) {
    const QString path = QDir(folder).filePath(name + suffix + QStringLiteral(".png"));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit())
        return;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ++failures;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void shoot(QWidget& window, const QString& name) {
    settle();
    save(window.grab(), name);
}

template <typename T> T* control(QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(1);
    }
    return found;
}

// Runs then on the modal window that open shows, then closes it.
void whileModal(const std::function<void()>& open, const std::function<void(QWidget&)>& then) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&]() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr)
            return;
        poll.stop();
        then(*window);
        window->close();
    });
    poll.start();
    open();
}

// A menu and its items, as it shows when opened from the menu bar.
QPixmap openedMenu(QMenu& menu) {
    menu.popup(QPoint(0, 0));
    settle();
    QPixmap drawn = menu.grab();
    menu.hide();
    return drawn;
}

QPixmap sideBySide(const QList<QPixmap>& pictures) {
    QSize size;
    for (const QPixmap& p : pictures)
        size = QSize(size.width() + p.width() + 16, std::max(size.height(), p.height()));
    QPixmap sheet(size);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    int x = 0;
    for (const QPixmap& p : pictures) {
        painter.drawPixmap(x, 0, p);
        x += p.width() + 16;
    }
    return sheet;
}

// Every picture at the size it is drawn for, at scale 1 and 2, on the window colour of a
// light theme and of three dark ones.
void drawPictureSheet() {
    const QStringList themes{QStringLiteral("Windows"), QStringLiteral("Metropolis UI Dark"),
                             QStringLiteral("Cyan Night"), QStringLiteral("Amakrits")};
    const QStringList names = pictureNames();
    const int cell = 112;
    QImage sheet(cell * static_cast<int>(names.size()), cell * 2 * static_cast<int>(themes.size()),
                 QImage::Format_ARGB32);
    QPainter painter(&sheet);
    for (int t = 0; t < themes.size(); ++t) {
        const QPalette palette = themePalette(static_cast<int>(ThemeNames().indexOf(themes[t])));
        painter.fillRect(0, t * 2 * cell, sheet.width(), 2 * cell, palette.color(QPalette::Window));
        for (int n = 0; n < names.size(); ++n) {
            const QIcon icon = picture(names[n]);
            for (int scale = 1; scale <= 2; ++scale) {
                // At its own size; the large ones at the size of the chooser's.
                const int size = std::min(
                    QSvgRenderer(QStringLiteral(":/pictures/%1.svg").arg(names[n])).defaultSize().width(),
                    48);
                QPixmap drawn = icon.pixmap(QSize(size, size), scale);
                drawn.setDevicePixelRatio(1);
                const int x = n * cell + (cell - drawn.width()) / 2;
                const int y = (t * 2 + scale - 1) * cell + (cell - drawn.height()) / 2;
                painter.drawPixmap(x, y, drawn);
            }
        }
    }
    painter.end();
    save(QPixmap::fromImage(sheet), QStringLiteral("pictures"));
}

// The shop: products, two customers with open credit.
bool fillDataFile(const QString& path, IMessages& messages) {
    Database db(messages);
    if (!db.open(path))
        return false;
    const char* products[][4] = {
        {"5000112637922", "MILK 1L", "1.2", "24"},       {"4006381333931", "PENCIL HB", "0.4", "120"},
        {"8710398500011", "BREAD", "0.85", "15"},        {"7613035675448", "COFFEE 250G", "3.2", "30"},
        {"4001686301265", "APPLES 1KG", "2.1", "40"},    {"5449000131805", "WATER 1.5L", "0.65", "60"},
        {"4388844008821", "EGGS 10", "2.4", "18"},       {"8001505005707", "CHEESE 200G", "2.95", "12"},
        {"5000208077151", "TEA 100 BAGS", "1.85", "25"}, {"3017620422003", "HAZELNUT SPREAD", "4.5", "9"},
    };
    for (const auto& p : products) {
        if (!db.command(
                QStringLiteral(
                    "insert into urunler (barkod, urunadi, fiyat, stok) values ('%1','%2','%3','%4');")
                    .arg(QString::fromLatin1(p[0]), QString::fromLatin1(p[1]), QString::fromLatin1(p[2]),
                         QString::fromLatin1(p[3]))))
            return false;
    }
    return db.command(QStringLiteral("insert into musteriler (musteriadi) values ('ANNA MORGAN');")) &&
           db.command(QStringLiteral("insert into musteriler (musteriadi) values ('BEN KELLER');")) &&
           db.command(QStringLiteral(
               "insert into veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat) values "
               "('1','ANNA MORGAN','5000112637922','MILK 1L','2','1.2'),"
               "('1','ANNA MORGAN','7613035675448','COFFEE 250G','1','3.2'),"
               "('1','ANNA MORGAN','3017620422003','HAZELNUT SPREAD','1','4.5');"));
}

void scan(TAppForm& form, const QString& code, qint64 units = 1) {
    SaleRegister& cart = form.saleRegister();
    cart.ScanBuffer = code;
    cart.QuantityToAdd = units;
    cart.lookUpScanBuffer();
    cart.ScanBuffer.clear();
    cart.QuantityToAdd = 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s FOLDER EMPTY_DATA_FILE [--theme NAME] [--suffix TEXT]\n", argv[0]);
        return 2;
    }
    folder = args[1];
    QString theme;
    for (qsizetype i = 3; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--theme"))
            theme = args[i + 1];
        else if (args[i] == QStringLiteral("--suffix"))
            suffix = args[i + 1];
    }
    QDir().mkpath(folder);
    // The first theme call remembers the plain look.
    themePalette(0);

    QTemporaryDir shop;
    const QString data = shop.filePath(QStringLiteral("data.db"));
    ScriptedServices fake;
    SystemClock clock; // the records screen's period runs around today, when the sale is made
    const QString pdf = QDir(folder).filePath(QStringLiteral("receipt") + suffix + QStringLiteral(".pdf"));
    QFile::remove(pdf);
    QtPrinting printing(pdf);
    fake.services.clock = &clock;
    fake.services.printing = &printing;
    if (!QFile::copy(args[2], data) || !QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner) ||
        !fillDataFile(data, fake.messages)) {
        std::fprintf(stderr, "cannot make the shop's data file from %s\n", qPrintable(args[2]));
        return 1;
    }

    TAppForm form(fake.services);
    form.setDataFile(data);
    form.show();
    while (!form.startupDone())
        QCoreApplication::processEvents();
    if (!theme.isEmpty())
        applyTheme(static_cast<int>(ThemeNames().indexOf(theme)));
    settle();

    // The sale screen with a cart, the cash typed in and its change.
    scan(form, QStringLiteral("5000112637922"), 2);
    scan(form, QStringLiteral("8710398500011"));
    scan(form, QStringLiteral("4006381333931"), 10);
    scan(form, QStringLiteral("7613035675448"));
    control<QLineEdit>(form, "Edit7")->setText(QStringLiteral("20"));
    shoot(form, QStringLiteral("sale"));

    // The picker: large tiles, then the list with prices.
    whileModal([&]() { control<QAbstractButton>(form, "BitBtn22")->click(); },
               [&](QWidget& picker) {
                   picker.resize(640, 420);
                   shoot(picker, QStringLiteral("picker"));
                   control<QAbstractButton>(picker, "SpeedButton2")->click();
                   control<QCheckBox>(picker, "CheckBox1")->setChecked(true);
                   shoot(picker, QStringLiteral("picker-list"));
                   control<QAbstractButton>(picker, "SpeedButton1")->click();
               });

    // The credit customer chooser and the receipt windows.
    whileModal([&]() { control<QAbstractButton>(form, "BitBtn2")->click(); },
               [&](QWidget& chooser) { shoot(chooser, QStringLiteral("credit-chooser")); });
    whileModal([&]() { control<QAction>(form, "PrintTemplate1")->trigger(); },
               [&](QWidget& editor) { shoot(editor, QStringLiteral("print-template")); });
    control<QAction>(form, "Receipts1")->trigger();
    settle();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == QStringLiteral("TFormReceipts")) {
            shoot(*window, QStringLiteral("receipts-dialog"));
            window->close();
        }
    }
    whileModal([&]() { control<QAction>(form, "SendFeedback1")->trigger(); },
               [&](QWidget& feedback) { shoot(feedback, QStringLiteral("feedback")); });

    // The menus with their pictures.
    save(sideBySide(
             {openedMenu(*control<QMenu>(form, "Operations1")), openedMenu(*control<QMenu>(form, "Help1"))}),
         QStringLiteral("menus"));

    // Sold for cash, receipt printed: "Confirm?" and "Print?" take their default, Yes.
    control<QAction>(form, "AskPrint1")->trigger();
    control<QAbstractButton>(form, "BitBtn1")->click();
    settle();

    // The products screen showing a stored product.
    control<QAbstractButton>(form, "BitBtn3")->click();
    control<LookupBox>(form, "ComboBox1")->setTextAsTyped(QStringLiteral("7613035675448"));
    shoot(form, QStringLiteral("products"));

    // The customers screen with a customer's open credit.
    control<QAbstractButton>(form, "BitBtn4")->click();
    control<LookupBox>(form, "ComboBox2")->setTextAsTyped(QStringLiteral("ANNA MORGAN"));
    control<QAbstractButton>(form, "BitBtn13")->click();
    shoot(form, QStringLiteral("customers"));

    // The sales records: the sale just made.
    control<QAbstractButton>(form, "BitBtn17")->click();
    control<QAbstractButton>(form, "BitBtn18")->click();
    shoot(form, QStringLiteral("records"));

    if (suffix.isEmpty())
        drawPictureSheet();
    if (!QFile::exists(pdf)) {
        std::fprintf(stderr, "the receipt was not printed into %s\n", qPrintable(pdf));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
