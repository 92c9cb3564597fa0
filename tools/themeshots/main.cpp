// Draws a mock-up of the main window's sale screen in every theme and saves one PNG per
// theme: NN-name.png in the folder given as the only argument (lower case, blanks as "-").
#include "app/themes.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextStream>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

QPushButton* bigButton(const QString& caption, int points, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    QFont font = button->font();
    font.setPointSize(points);
    button->setFont(font);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

QLabel* label(const QString& text, int pixels, bool bold, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    QFont font = result->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    result->setFont(font);
    return result;
}

// The sale screen with a cart of four lines, the second one chosen for editing.
QMainWindow* buildMockUp() {
    auto* window = new QMainWindow;
    window->setFont(QFont(QStringLiteral("Tahoma"), 8));
    QMenuBar* menu = window->menuBar();
    for (const char* title : {"Operations", "Reports", "Settings", "Help"})
        menu->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("..."));

    auto* central = new QWidget(window);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Entry strip.
    auto* strip = new QWidget(central);
    auto* entry = new QHBoxLayout(strip);
    entry->setContentsMargins(4, 4, 4, 4);
    auto* picker = new QToolButton(strip);
    picker->setText(QStringLiteral("..."));
    picker->setToolTip(QStringLiteral("Product List"));
    auto* code = new QLineEdit(QStringLiteral("8690504012345"), strip);
    code->setFixedWidth(315);
    code->setEnabled(false); // edit mode: the entry box shows the chosen line's barcode
    auto* search = new QLineEdit(strip);
    search->setPlaceholderText(QStringLiteral("Barcode or product name"));
    search->setFixedWidth(180);
    auto* quantity = new QSpinBox(strip);
    quantity->setRange(1, 99999);
    quantity->setValue(2);
    quantity->setFixedWidth(89);
    entry->addWidget(picker);
    entry->addWidget(code);
    entry->addWidget(search);
    entry->addWidget(quantity);
    entry->addWidget(new QPushButton(QStringLiteral("Edit"), strip));
    entry->addWidget(new QPushButton(QStringLiteral("DELETE"), strip));
    entry->addStretch();
    column->addWidget(strip);

    // Cart list and change panel.
    auto* middle = new QHBoxLayout;
    auto* cart = new QTableWidget(4, 5, central);
    cart->setHorizontalHeaderLabels({"Barcode", "Product", "Price", "Quantity", "Total"});
    const QList<QStringList> rows{{"8690504012345", "MILK 1L", "1.20", "3", "3.60"},
                                  {"8690504054321", "BREAD", "0.85", "2", "1.70"},
                                  {"4006381333931", "PENCIL HB", "0.40", "10", "4.00"},
                                  {"5012345678900", "COFFEE 250G", "3.20", "1", "3.20"}};
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 5; ++c)
            cart->setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
    cart->setSelectionBehavior(QAbstractItemView::SelectRows);
    cart->setAlternatingRowColors(true);
    cart->verticalHeader()->hide();
    cart->horizontalHeader()->setStretchLastSection(true);
    cart->selectRow(1);
    middle->addWidget(cart, 1);

    auto* change = new QFrame(central);
    change->setFrameShape(QFrame::StyledPanel);
    change->setFixedWidth(213);
    auto* changeColumn = new QVBoxLayout(change);
    auto* heading = label(QStringLiteral("Change:"), 21, false, change);
    heading->setAlignment(Qt::AlignCenter);
    auto* suggestions = new QPlainTextEdit(QStringLiteral("15.00\n20.00\n50.00"), change);
    suggestions->setReadOnly(true);
    auto* cash = new QLineEdit(QStringLiteral("20.00"), change);
    cash->setAlignment(Qt::AlignCenter);
    auto* due = label(QStringLiteral("7.50"), 21, false, change);
    due->setAlignment(Qt::AlignCenter);
    changeColumn->addWidget(heading);
    changeColumn->addWidget(suggestions, 1);
    changeColumn->addWidget(cash);
    changeColumn->addWidget(due);
    middle->addWidget(change);
    column->addLayout(middle, 1);

    // Total strip.
    auto* totals = new QHBoxLayout;
    totals->setContentsMargins(6, 2, 6, 2);
    totals->addWidget(label(QStringLiteral("GRAND TOTAL:"), 21, false, central));
    auto* grand = label(QStringLiteral("$ 12.50"), 21, true, central);
    grand->setAlignment(Qt::AlignCenter);
    totals->addWidget(grand, 1);
    totals->addWidget(label(QStringLiteral("0%"), 21, false, central));
    auto* discount = new QPushButton(QStringLiteral("%"), central);
    discount->setFixedSize(39, 39);
    totals->addWidget(discount);
    column->addLayout(totals);

    // Sell bar and navigation bar.
    const auto bar = [central, column](const QStringList& captions, int points) {
        auto* panel = new QWidget(central);
        panel->setFixedHeight(107);
        auto* row = new QHBoxLayout(panel);
        row->setContentsMargins(3, 3, 3, 3);
        for (const QString& caption : captions)
            row->addWidget(bigButton(caption, points, panel));
        column->addWidget(panel);
    };
    bar({QStringLiteral("SELL BY CASH"), QStringLiteral("SELL BY CREDIT")}, 28);
    bar({QStringLiteral("PRODUCTS"), QStringLiteral("CUSTOMERS"), QStringLiteral("SALES")}, 16);

    window->setCentralWidget(central);
    window->resize(841, 619 + menu->sizeHint().height());
    return window;
}

QString fileName(int index, const QString& name) {
    return QStringLiteral("%1-%2.png")
        .arg(index, 2, 10, QLatin1Char('0'))
        .arg(name.toLower().replace(QLatin1Char(' '), QLatin1Char('-')));
}

} // namespace

// The offscreen platform warns about window size hints on every show; that says nothing here.
QtMessageHandler standardHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (standardHandler != nullptr)
        standardHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    standardHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: tillora_themeshots FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << folder.path() << '\n';
        return 1;
    }
    tillora::applyTheme(0); // remembers the plain look before the first skin
    QMainWindow* window = buildMockUp();
    window->show();
    const QStringList names = tillora::ThemeNames();
    int failures = 0;
    for (int i = 0; i < names.size(); ++i) {
        tillora::applyTheme(i);
        window->setWindowTitle(names.at(i));
        // Style, palette and font changes reach the widgets through posted events.
        for (int round = 0; round < 3; ++round)
            QApplication::processEvents();
        const QPixmap shot = window->grab();
        QSaveFile file(folder.filePath(fileName(i, names.at(i))));
        if (!file.open(QIODevice::WriteOnly) || !shot.save(&file, "PNG") || !file.commit()) {
            err << "cannot write " << file.fileName() << '\n';
            ++failures;
        }
    }
    delete window;
    return failures == 0 ? 0 : 1;
}
