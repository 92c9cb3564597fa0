// The stock count sheet: most stock first, the text sort of every column, the export in the
// order shown, the barcode image window for the selected product, and the size, window state
// and column widths kept in the settings.
#include "barcode/generatebarcode.h"
#include "common/formats.h"
#include "reports/stocklist.h"
#include "reports/stocksheet.h"
#include "store/sql.h"
#include "tests/support/contextfixture.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace tillora;

namespace {

QString product(const QString& barcode, const QString& name, const QString& price, const QString& stock,
                const QString& date) {
    return QStringLiteral(
               "INSERT INTO urunler (barkod, urunadi, fiyat, stok, kayittarihi) VALUES (%1, %2, %3, %4, "
               "%5);")
        .arg(quote(barcode), quote(name), price, stock, quote(date));
}

const QString catalogue = product("4001", "MILK", "1.5", "9", "2025-01-02 10:00:00") +
                          product("4002", "apple", "100", "10", "2025-01-03 10:00:00") +
                          product("3999", "Bread", "20", "100", "2025-01-01 10:00:00") +
                          product("5000", "APPLE", "'abc'", "2", "2025-01-04 10:00:00") +
                          product("0042", "_gum", "NULL", "55", "2025-01-05 10:00:00");

} // namespace

class TestStockSheet : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::ContextFixture> fx;
    std::unique_ptr<TStockSheetForm> form;

    template <typename T> T* child(const char* name) const { return test::child<T>(form.get(), name); }
    QTableView* list() const { return child<QTableView>("ListView1"); }
    QHeaderView* header() const { return list()->horizontalHeader(); }
    // Opens a new window as the menu does (stored geometry first) and waits for its list.
    bool open() {
        form = std::make_unique<TStockSheetForm>(fx->context);
        QSignalSpy loaded(form.get(), &TStockSheetForm::loaded);
        form->applyStoredGeometry();
        form->show();
        return QTest::qWaitForWindowExposed(form.get()) && (loaded.size() > 0 || loaded.wait(5000));
    }
    QStringList column(int index) const {
        QStringList texts;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            texts << list()->model()->index(row, index).data().toString();
        return texts;
    }
    void clickHeader(int section) {
        QTest::mouseClick(header()->viewport(), Qt::LeftButton, {},
                          QPoint(header()->sectionViewportPosition(section) + 4, header()->height() / 2));
    }
    int storedInteger(const char* name) const {
        return fx->fake.settings.readInteger(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void init() {
        fx = std::make_unique<test::ContextFixture>();
        QVERIFY(fx->open(catalogue));
    }

    void cleanup() {
        form.reset();
        fx.reset();
    }

    void listsMostStockFirst() {
        fx->context.translate = test::marked;
        QVERIFY(open());
        QCOMPARE(form->windowTitle(), QStringLiteral("~Stock Inventory Count Sheet"));
        QCOMPARE(child<QPushButton>("BitBtn1")->text(), QStringLiteral("~Export to File..."));
        QCOMPARE(child<QPushButton>("BitBtn2")->text(), QStringLiteral("~Generate Barcode Image..."));
        QCOMPARE(child<QAction>("GenerateBarcodeImage1")->text(), QStringLiteral("Generate Barcode Image"));
        QStringList captions;
        for (int section = 0; section < 5; ++section)
            captions << list()->model()->headerData(section, Qt::Horizontal).toString();
        QCOMPARE(captions, (QStringList{"~Barcode", "~Product", "~Price", "~Stock", "~Date"}));
        QCOMPARE(column(3), (QStringList{"100", "55", "10", "9", "2"}));
        QCOMPARE(column(0), (QStringList{"3999", "0042", "4002", "4001", "5000"}));
        // A price that is no number shows 0.
        QCOMPARE(column(2), (QStringList{"20.00", "0", "100.00", "1.50", "0"}));
        QCOMPARE(column(4).first(), QStringLiteral("2025-01-01 10:00:00"));
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    void columnsSortAsText_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QStringList>("texts");
        // The first click on Barcode sorts descending: the sort starts at column 0 ascending.
        QTest::newRow("barcode once")
            << QList<int>{0} << 0 << QStringList{"5000", "4002", "4001", "3999", "0042"};
        QTest::newRow("barcode twice")
            << QList<int>{0, 0} << 0 << QStringList{"0042", "3999", "4001", "4002", "5000"};
        QTest::newRow("stock as text") << QList<int>{3} << 3 << QStringList{"10", "100", "2", "55", "9"};
        QTest::newRow("price as text")
            << QList<int>{2} << 2 << QStringList{"0", "0", "1.50", "100.00", "20.00"};
        // apple and APPLE compare equal and keep their order; "_" sorts after the letters.
        QTest::newRow("product") << QList<int>{1} << 1
                                 << QStringList{"apple", "APPLE", "Bread", "MILK", "_gum"};
        QTest::newRow("product twice")
            << QList<int>{1, 1} << 1 << QStringList{"_gum", "MILK", "Bread", "apple", "APPLE"};
        // Ties keep the order shown before: here stock descending as text, 2 before 10.
        QTest::newRow("another column sorts ascending")
            << QList<int>{3, 3, 1} << 1 << QStringList{"APPLE", "apple", "Bread", "MILK", "_gum"};
    }

    void columnsSortAsText() {
        QFETCH(QList<int>, clicks);
        QFETCH(int, shown);
        QFETCH(QStringList, texts);
        QVERIFY(open());
        for (int section : clicks)
            clickHeader(section);
        QCOMPARE(column(shown), texts);
    }

    void compareStockTexts_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("a-z folded") << "apple"
                                    << "APPLE" << 0;
        QTest::newRow("letters") << "a"
                                 << "B" << -1;
        QTest::newRow("digits as text") << "10"
                                        << "9" << -1;
        QTest::newRow("prefix first") << "ab"
                                      << "ABC" << -1;
        QTest::newRow("underscore after letters") << "_"
                                                  << "z" << 1;
        QTest::newRow("only a-z folded") << "ä"
                                         << "Ä" << 1;
        QTest::newRow("code units") << QStringLiteral("\U0001F600") << QStringLiteral("\uFFFD") << -1;
        QTest::newRow("empty first") << ""
                                     << "0" << -1;
    }

    void compareStockTexts() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int result = tillora::compareStockTexts(a, b);
        QCOMPARE((result > 0) - (result < 0), sign);
        const int reverse = tillora::compareStockTexts(b, a);
        QCOMPARE((reverse > 0) - (reverse < 0), -sign);
    }

    // The price cell: FormatMoney of the stored price read as a number, "0" when it reads as none.
    void priceCells_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("real") << "1.5"
                              << "1.50";
        QTest::newRow("integer") << "100"
                                 << "100.00";
        QTest::newRow("zero") << "0"
                              << "0.00";
        QTest::newRow("negative") << "-2.005" << FormatMoney(-2.005);
        QTest::newRow("large") << "12345678901.5" << FormatMoney(12345678901.5);
        QTest::newRow("numeric text") << "'12.5'"
                                      << "12.50";
        QTest::newRow("text") << "'abc'"
                              << "0";
        QTest::newRow("empty text") << "''"
                                    << "0";
        QTest::newRow("null") << "NULL"
                              << "0";
        QTest::newRow("infinite") << "9e999"
                                  << "0";
    }

    void priceCells() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        StockListModel model(QStringList(5, QString()));
        model.setRows(fx->db.query(QStringLiteral("SELECT '1' AS barkod, 'x' AS urunadi, ") + stored +
                                   QStringLiteral(" AS fiyat, 1 AS stok, '' AS kayittarihi;")));
        QCOMPARE(model.cellText(0, 2), shown);
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    void theSelectionFollowsItsRowWhenSorted() {
        QVERIFY(open());
        list()->selectRow(0); // Bread, 100 in stock
        clickHeader(1);
        const QModelIndexList selected = list()->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].data().toString(), QStringLiteral("3999"));
        QCOMPARE(selected[0].row(), 2);
    }

    void exportWritesTheRowsInTheOrderShown() {
        fx->context.csvSeparator = QStringLiteral(";");
        fx->context.translate = test::marked;
        QVERIFY(open());
        clickHeader(1);
        const QString path = fx->dir.filePath(QStringLiteral("sheet.csv"));
        fx->fake.files.answers << path;
        fx->fake.files.encodings << TextEncoding::Utf8;
        child<QPushButton>("BitBtn1")->click();
        QCOMPARE(fx->fake.files.requests.value(0).filter, QStringLiteral("~CSV File (*.csv)"));
        QCOMPARE(fx->fake.files.requests.value(0).defaultExt, QStringLiteral("csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xef\xbb\xbf"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)),
                 QStringLiteral("Barcode;Product;Price;Stock;Date\r\n"
                                "4002;apple;100.00;10;2025-01-03 10:00:00\r\n"
                                "5000;APPLE;0;2;2025-01-04 10:00:00\r\n"
                                "3999;Bread;20.00;100;2025-01-01 10:00:00\r\n"
                                "4001;MILK;1.50;9;2025-01-02 10:00:00\r\n"
                                "0042;_gum;0;55;2025-01-05 10:00:00\r\n"));
    }

    void withoutASelectionNoBarcodeWindowOpens() {
        fx->context.translate = test::marked;
        QVERIFY(open());
        child<QPushButton>("BitBtn2")->click();
        child<QAction>("GenerateBarcodeImage1")->trigger();
        QCOMPARE(fx->fake.messages.shown.size(), 2);
        for (const ShownMessage& box : fx->fake.messages.shown) {
            QCOMPARE(box.caption, QStringLiteral("~WARNING"));
            QCOMPARE(box.text, QStringLiteral("~No item selected!"));
            QCOMPARE(box.icon, MsgIcon::Warning);
        }
    }

    void theBarcodeWindowOpensForTheSelectedProduct_data() {
        QTest::addColumn<bool>("contextMenu");
        QTest::newRow("button") << false;
        QTest::newRow("context menu") << true;
    }

    void theBarcodeWindowOpensForTheSelectedProduct() {
        QFETCH(bool, contextMenu);
        QVERIFY(open());
        list()->selectRow(1); // 0042
        QString text;
        QSize size;
        QWidget* parent = nullptr;
        QTimer::singleShot(0, [&]() {
            auto* window = qobject_cast<TGenerateBarcodeForm*>(QApplication::activeModalWidget());
            if (!window)
                return;
            text = window->findChild<QLineEdit*>(QStringLiteral("Edit4"))->text();
            size = window->image().size();
            parent = window->parentWidget();
            window->close();
        });
        if (contextMenu)
            child<QAction>("GenerateBarcodeImage1")->trigger();
        else
            child<QPushButton>("BitBtn2")->click();
        QCOMPARE(text, QStringLiteral("0042"));
        QCOMPARE(size, QSize(1 + 6 * 13, 21));
        QCOMPARE(parent, form.get());
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    void aFailingQueryIsReportedAndLeavesTheListEmpty() {
        QVERIFY(fx->exec(QStringLiteral("DROP TABLE urunler;")));
        QVERIFY(open());
        QCOMPARE(list()->model()->rowCount(), 0);
        QCOMPARE(fx->fake.messages.texts(),
                 QStringList{QStringLiteral("Exception raised with message: no such table: urunler")});
    }

    void opensAtTheDesignedSizeAndStoresIt() {
        QVERIFY(open());
        QCOMPARE(form->size(), TStockSheetForm::designSize());
        QVERIFY(!form->isMaximized());
        QList<int> widths;
        for (int section = 0; section < 5; ++section)
            widths << header()->sectionSize(section);
        QCOMPARE(widths, (QList<int>{122, 118, 118, 118, 118}));
        form->resize(700, 500);
        QTRY_COMPARE(storedInteger("StockSheetWidth"), 700);
        QCOMPARE(storedInteger("StockSheetHeight"), 500);
        QCOMPARE(fx->fake.settings.readString(QStringLiteral("StockSheetWindowState")),
                 QStringLiteral("Normal"));
        QCOMPARE(TStockSheetForm::lastWindowState(), QStringLiteral("wsNormal"));
    }

    void opensWithTheStoredSize() {
        fx->fake.settings.writeInteger(QStringLiteral("StockSheetWidth"), 640);
        fx->fake.settings.writeInteger(QStringLiteral("StockSheetHeight"), 420);
        fx->fake.settings.writeString(QStringLiteral("StockSheetWindowState"), QStringLiteral("Normal"));
        QVERIFY(open());
        QCOMPARE(form->size(), QSize(640, 420));
        QVERIFY(!form->isMaximized());
    }

    void maximizedStaysMaximizedAndReturnsToTheSavedSize() {
        QVERIFY(open());
        form->resize(650, 450);
        QTRY_COMPARE(storedInteger("StockSheetWidth"), 650);
        form->showMaximized();
        QTRY_COMPARE(fx->fake.settings.readString(QStringLiteral("StockSheetWindowState")),
                     QStringLiteral("Maximized"));
        QTRY_VERIFY(form->width() > 650);
        // The saved size stays that of the normal window.
        QCOMPARE(storedInteger("StockSheetWidth"), 650);
        QCOMPARE(storedInteger("StockSheetHeight"), 450);
        form.reset();

        QVERIFY(open());
        QTRY_VERIFY(form->isMaximized());
        form->showNormal();
        QTRY_COMPARE(form->size(), QSize(650, 450));
        QTRY_COMPARE(fx->fake.settings.readString(QStringLiteral("StockSheetWindowState")),
                     QStringLiteral("Normal"));
        QCOMPARE(storedInteger("StockSheetWidth"), 650);
        QCOMPARE(storedInteger("StockSheetHeight"), 450);
    }

    void unreadableStoredValuesFallBackToTheDesign() {
        fx->fake.settings.writeString(QStringLiteral("StockSheetWidth"), QStringLiteral("wide"));
        fx->fake.settings.writeInteger(QStringLiteral("StockSheetWindowState"), 2);
        fx->fake.settings.writeString(QStringLiteral("StockSheetColumn2"), QStringLiteral("x"));
        QVERIFY(open());
        QCOMPARE(form->width(), TStockSheetForm::designSize().width());
        QCOMPARE(header()->sectionSize(1), 118);
        QVERIFY(fx->fake.messages.shown.isEmpty());
    }

    // A column widened by the user keeps its width at the next opening; an idle window
    // writes nothing.
    void columnWidthsAreKept() {
        QVERIFY(open());
        form->TimerColumnWidthTimer();
        QCOMPARE(storedInteger("StockSheetColumn1"), 122);
        QCOMPARE(storedInteger("StockSheetColumn5"), 118);
        const int writes = fx->fake.settings.writeCount();
        form->TimerColumnWidthTimer();
        QCOMPARE(fx->fake.settings.writeCount(), writes);

        header()->resizeSection(1, 230);
        form->TimerColumnWidthTimer();
        QCOMPARE(storedInteger("StockSheetColumn2"), 230);
        QCOMPARE(fx->fake.settings.writeCount(), writes + 1);
        // Widened just before closing: kept too.
        header()->resizeSection(4, 160);
        form->close();
        QCOMPARE(storedInteger("StockSheetColumn5"), 160);
        form.reset();

        QVERIFY(open());
        QCOMPARE(header()->sectionSize(1), 230);
        QCOMPARE(header()->sectionSize(4), 160);
        const int idle = fx->fake.settings.writeCount();
        QTest::qWait(1200); // one tick of the column width timer
        QCOMPARE(fx->fake.settings.writeCount(), idle);
    }

    void failingSettingsWritesAreShownOnce() {
        QVERIFY(open());
        fx->fake.settings.setWritesFail(true);
        header()->resizeSection(0, 150);
        QTRY_COMPARE_WITH_TIMEOUT(fx->fake.messages.shown.size(), 1, 3000); // the column width timer
        form->close();
        QCOMPARE(fx->fake.messages.texts(),
                 QStringList{QStringLiteral("Failed to set data for 'StockSheetColumn1'")});
    }

    void theMenuCommandOpensAModalWindowAndDestroysIt() {
        fx->fake.settings.writeInteger(QStringLiteral("StockSheetWidth"), 610);
        bool modal = false;
        int width = 0;
        QTimer::singleShot(0, [&]() {
            auto* window = qobject_cast<TStockSheetForm*>(QApplication::activeModalWidget());
            if (!window)
                return;
            modal = window->isModal();
            width = window->width();
            window->close();
        });
        openStockSheet(fx->context);
        QVERIFY(modal);
        QCOMPARE(width, 610);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TStockSheetForm*>(window));
    }
};

QTEST_MAIN(TestStockSheet)
#include "test_stocksheet.moc"
