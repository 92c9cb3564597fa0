// The product picker window: placement from the saved values, search, prices, view, the
// hand-off of a chosen product to the register and closing.
#include "catalogue/productlist.h"
#include "catalogue/products.h"
#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "tests/support/datafile.h"

#include <QCheckBox>
#include <QCollator>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

using namespace tillora;

namespace {

// The register side of the hand-off: records every barcode it is asked to look up.
struct FakeRegister {
    QStringList lookedUp;
    bool finds = true;

    TUrunlerForm::HandOff handOff() {
        return [this](const QString& barcode) {
            lookedUp << barcode;
            return finds;
        };
    }
};

const char* const products = "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES"
                             " ('4001', 'MILK', 1.5, 10),"
                             " ('4002', 'Chocolate milk', 2.25, 5),"
                             " ('MIL-77', 'Bread', 0.99, 3),"
                             " ('5000', 'apple', 0.5, 1),"
                             " ('5001', 'Banana', 0.75, 1),"
                             " ('6000', 'O''Brien tea', 3, 1),"
                             " ('7000', 'Éclair', 1.2, 1);";

// Every caption in the locale's order (en_US in these tests).
const QStringList allCaptions{"apple", "Banana", "Bread", "Chocolate milk", "Éclair", "MILK", "O'Brien tea"};

QRect screenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}

} // namespace

class TestPicker : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedMessages> messages_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<MemorySettingsStore> settings_;
    std::unique_ptr<FakeRegister> host_;

    std::unique_ptr<TUrunlerForm> openForm(Translate translate = {}) {
        auto form = std::make_unique<TUrunlerForm>(host_->handOff(), *db_, *settings_, std::move(translate));
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("picker window not exposed");
        return form;
    }
    QStringList productNames() const {
        QStringList names;
        for (const QString& name : settings_->names()) {
            if (name.startsWith(QLatin1String("Products")))
                names << name;
        }
        return names;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        const QString path = dir_->filePath(QStringLiteral("data.db"));
        QFile schema(qEnvironmentVariable("TILLORA_SCHEMA"));
        QVERIFY(schema.open(QIODevice::ReadOnly));
        QVERIFY(test::execOn(path, QString::fromUtf8(schema.readAll()) + QString::fromUtf8(products)));
        messages_ = std::make_unique<ScriptedMessages>();
        db_ = std::make_unique<Database>(*messages_);
        QVERIFY(db_->open(path));
        settings_ = std::make_unique<MemorySettingsStore>();
        host_ = std::make_unique<FakeRegister>();
    }

    void cleanup() {
        db_.reset();
        dir_.reset();
    }

    void firstOpening() {
        auto form = openForm([](const QString& text) { return QStringLiteral("~") + text; });
        const QSize design = TUrunlerForm::designSize();
        const QRect screen = screenRect();
        QCOMPARE(form->frameGeometry(),
                 QRect(screen.width() / 2 - design.width() / 2, screen.height() / 2 - design.height() / 2,
                       design.width(), design.height()));
        QCOMPARE(form->ListView1->viewMode(), QListView::IconMode);
        QCOMPARE(form->ListView1->iconSize(), QSize(48, 48));
        QVERIFY(form->SpeedButton1->isChecked());
        QVERIFY(!form->CheckBox1->isChecked());
        QCOMPARE(form->model()->captions(), allCaptions);
        QCOMPARE(form->focusWidget(), form->Edit1);
        QVERIFY(form->isModal());
        QCOMPARE(form->windowTitle(), QStringLiteral("~Select Product"));
        QCOMPARE(form->Label1->text(), QStringLiteral("~Search:"));
        QCOMPARE(form->SpeedButton1->text(), QStringLiteral("~Big Icons"));
        QCOMPARE(form->SpeedButton2->text(), QStringLiteral("~List"));
        QCOMPARE(form->CheckBox1->text(), QStringLiteral("~Display Prices"));
        QVERIFY(messages_->shown.isEmpty());
    }

    // A saved value is written as an integer, as text (unreadable as an integer), or not at all;
    // -1 in an expected edge means centred.
    void savedGeometry_data() {
        QTest::addColumn<QVariantList>("saved"); // left, top, width, height
        QTest::addColumn<QRect>("expected");
        const int beyond = screenRect().width() + 10;
        QTest::newRow("restored") << QVariantList{50, 40, 500, 400} << QRect(50, 40, 500, 400);
        QTest::newRow("left beyond the screen")
            << QVariantList{beyond, 40, 500, 400} << QRect(-1, 40, 500, 400);
        QTest::newRow("negative top") << QVariantList{50, -5, 500, 400} << QRect(50, -1, 500, 400);
        QTest::newRow("size zero and negative") << QVariantList{50, 40, 0, -3} << QRect(50, 40, 640, 480);
        QTest::newRow("values holding text")
            << QVariantList{QStringLiteral("x"), 40, QStringLiteral("wide"), 400} << QRect(-1, 40, 640, 400);
    }

    void savedGeometry() {
        QFETCH(QVariantList, saved);
        QFETCH(QRect, expected);
        const QStringList names{"ProductsLeft", "ProductsTop", "ProductsWidth", "ProductsHeight"};
        for (int i = 0; i < names.size(); ++i) {
            if (saved[i].typeId() == QMetaType::QString)
                settings_->writeString(names[i], saved[i].toString());
            else
                settings_->writeInteger(names[i], saved[i].toInt());
        }
        const QRect screen = screenRect();
        if (expected.left() == -1)
            expected.moveLeft(screen.width() / 2 - expected.width() / 2);
        if (expected.top() == -1)
            expected.moveTop(screen.height() / 2 - expected.height() / 2);
        const int writes = settings_->writeCount();
        auto form = openForm();
        QCOMPARE(form->frameGeometry(), expected);
        form->close();
        QCOMPARE(settings_->writeCount(), writes);
    }

    void moveAndResizeAreRemembered() {
        auto form = openForm();
        form->move(30, 20);
        QTRY_COMPARE(readPickerInteger(*settings_, "ProductsLeft"), 30);
        QCOMPARE(readPickerInteger(*settings_, "ProductsTop"), 20);
        form->resize(form->size() + QSize(40, 30));
        QTRY_VERIFY(settings_->valueExists("ProductsHeight"));
        const QRect outer = form->frameGeometry();
        QCOMPARE(settings_->readInteger("ProductsWidth"), outer.width());
        QCOMPARE(settings_->readInteger("ProductsHeight"), outer.height());
        form->close();
        form.reset();
        QCOMPARE(openForm()->frameGeometry(), outer);
    }

    void buildingAndClosingWritesNothing() {
        { TUrunlerForm hidden(host_->handOff(), *db_, *settings_, {}); }
        auto form = openForm();
        QTest::qWait(20);
        form->close();
        form.reset();
        QCOMPARE(settings_->names(), QStringList());
    }

    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("name or barcode, any case") << "mil" << QStringList{"Bread", "Chocolate milk", "MILK"};
        QTest::newRow("upper case") << "MIL" << QStringList{"Bread", "Chocolate milk", "MILK"};
        QTest::newRow("barcode part") << "500" << QStringList{"apple", "Banana"};
        QTest::newRow("blanks list everything") << "   " << allCaptions;
        QTest::newRow("blanks around the text") << "  tea " << QStringList{"O'Brien tea"};
        QTest::newRow("a quote in the text") << "O'B" << QStringList{"O'Brien tea"};
        QTest::newRow("a quote cannot end the literal") << "x' or '1'='1" << QStringList{};
        QTest::newRow("percent is a wildcard") << "%" << allCaptions;
        QTest::newRow("nothing matches") << "zzz" << QStringList{};
    }

    void search() {
        QFETCH(QString, typed);
        QFETCH(QStringList, captions);
        auto form = openForm();
        QTest::keyClicks(form->Edit1, typed);
        QCOMPARE(form->model()->captions(), captions);
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(form->isVisible());
    }

    void statements() {
        QCOMPARE(pickerFirstLoadStatement(), QStringLiteral("SELECT * FROM urunler order by urunadi;"));
        QCOMPARE(
            pickerSearchStatement(QStringLiteral(" O'B ")),
            QStringLiteral("SELECT * FROM urunler where (urunadi like '%O''B%') or (barkod like '%O''B%') "
                           "order by urunadi;"));
    }

    void failedSearchEmptiesList() {
        auto form = openForm();
        QVERIFY(test::execOn(db_->path(), QStringLiteral("DROP TABLE urunler;")));
        QTest::keyClicks(form->Edit1, QStringLiteral("m"));
        QCOMPARE(form->model()->count(), 0);
        QCOMPARE(messages_->shown.size(), 1);
        QVERIFY(messages_->shown[0].text.startsWith(QLatin1String("Exception raised with message: ")));
    }

    void displayPricesKeepsSearch() {
        auto form = openForm();
        QTest::keyClicks(form->Edit1, QStringLiteral("mil"));
        form->CheckBox1->click();
        QCOMPARE(form->model()->captions(),
                 (QStringList{"Bread [0.99]", "Chocolate milk [2.25]", "MILK [1.5]"}));
        QCOMPARE(settings_->readInteger("DisplayPrices"), 1);
        form->CheckBox1->click();
        QCOMPARE(form->model()->captions(), (QStringList{"Bread", "Chocolate milk", "MILK"}));
        QCOMPARE(settings_->readInteger("DisplayPrices"), 0);

        settings_->writeInteger("DisplayPrices", 1);
        form = openForm();
        QVERIFY(form->CheckBox1->isChecked());
        QCOMPARE(form->model()->caption(6), QStringLiteral("O'Brien tea [3]"));
    }

    void viewButtons() {
        auto form = openForm();
        form->SpeedButton2->click();
        QCOMPARE(form->ListView1->viewMode(), QListView::ListMode);
        QCOMPARE(form->ListView1->iconSize(), QSize(16, 16));
        QCOMPARE(settings_->readInteger("ProductsStyle"), 2);
        form->SpeedButton1->click();
        QCOMPARE(form->ListView1->viewMode(), QListView::IconMode);
        QCOMPARE(settings_->readInteger("ProductsStyle"), 1);

        settings_->writeInteger("ProductsStyle", 2);
        form = openForm();
        QCOMPARE(form->ListView1->viewMode(), QListView::ListMode);
        QVERIFY(form->SpeedButton2->isChecked());
    }

    void settingWriteFailureIsShown() {
        auto form = openForm();
        settings_->setWritesFail(true);
        form->SpeedButton2->click();
        QCOMPARE(form->ListView1->viewMode(), QListView::ListMode);
        QCOMPARE(messages_->texts(), QStringList{"Failed to set data for 'ProductsStyle'"});
        QCOMPARE(messages_->shown[0].icon, MsgIcon::Error);
    }

    // Any input order comes out in the collator's order, equal captions in query order.
    void sortOrder() {
        QString values;
        const QStringList names{"b", "A", "a", "é", "E", "zz", "Z", "e", "B", "a"};
        for (int i = 0; i < 60; ++i)
            values +=
                QStringLiteral("%1('%2', '%3')").arg(i ? "," : "").arg(i).arg(names[(i * 7) % names.size()]);
        QVERIFY(test::execOn(db_->path(),
                             "DELETE FROM urunler; INSERT INTO urunler (barkod, urunadi) VALUES " + values));
        QCollator collator;
        for (const QString& order : {QStringLiteral("order by urunadi"), QStringLiteral("order by id desc"),
                                     QStringLiteral("order by barkod")}) {
            const QueryResult rows = db_->query("SELECT * FROM urunler " + order + ";");
            QList<std::pair<QString, QString>> expected;
            for (int r = 0; r < rows.rowCount(); ++r)
                expected.append({rows.text(r, "urunadi"), rows.text(r, "barkod")});
            std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
                return collator.compare(a.first, b.first) < 0;
            });
            ProductListModel model;
            model.setProducts(rows, false);
            QCOMPARE(model.count(), expected.size());
            for (int r = 0; r < model.count(); ++r) {
                QCOMPARE(model.caption(r), expected[r].first);
                QCOMPARE(model.barcode(r), expected[r].second);
            }
        }
    }

    void clickHandsOff_data() {
        QTest::addColumn<bool>("finds");
        QTest::newRow("found: closes") << true;
        QTest::newRow("not found: stays open") << false;
    }

    void clickHandsOff() {
        QFETCH(bool, finds);
        host_->finds = finds;
        auto form = openForm();
        const int milk = int(allCaptions.indexOf("MILK"));
        const QRect rect = form->ListView1->visualRect(form->model()->index(milk));
        QTest::mouseClick(form->ListView1->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(host_->lookedUp, QStringList{"4001"});
        QCOMPARE(form->isVisible(), !finds);
    }

    void arrowKeyPicksFirstEntryMovedTo() {
        host_->finds = false;
        auto form = openForm();
        form->ListView1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->ListView1, Qt::Key_Right);
        const int first = form->ListView1->currentIndex().row();
        QVERIFY(first >= 0);
        QCOMPARE(host_->lookedUp, QStringList{form->model()->barcode(first)});
        QVERIFY(form->isVisible());

        host_->finds = true;
        QTest::keyClick(form->ListView1, Qt::Key_Right);
        const int second = form->ListView1->currentIndex().row();
        QCOMPARE(host_->lookedUp,
                 (QStringList{form->model()->barcode(first), form->model()->barcode(second)}));
        QVERIFY(!form->isVisible());
    }

    void escape() {
        auto form = openForm();
        QTest::keyClick(form->Edit1, Qt::Key_Escape);
        QVERIFY(form->isVisible());
        QTest::keyClick(form->ListView1, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(host_->lookedUp.isEmpty());
        QVERIFY(productNames().isEmpty());
    }
};

QTEST_MAIN(TestPicker)
#include "test_picker.moc"
