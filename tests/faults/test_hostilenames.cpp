// Hostile names typed into every field of the sale that reaches a statement: each is stored
// and shown exactly as typed, and the tables are all still there.
//
// A screen that lands later (products, customers) adds a test function here with the rows of
// addHostileNameRows() for each of its fields.
#include "app/appform.h"
#include "platform/scripted/scripted.h"
#include "register/cashsale.h"
#include "register/veresiye.h"
#include "tests/support/datafile.h"
#include "tests/support/hostilenames.h"
#include "tests/support/mainwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace tillora;

namespace {

// The first column of every row as the data file holds it, NUL characters included.
QStringList column(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    QStringList values;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                values << QString::fromUtf8(text, sqlite3_column_bytes(stmt, 0));
            }
        }
        sqlite3_finalize(stmt);
    } else {
        qWarning("cannot read %s", qPrintable(path));
    }
    sqlite3_close(db);
    return values;
}

// Runs sql with the values bound, as another program that stored them would.
bool insertBound(const QString& path, const char* sql, const QStringList& values) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK;
    sqlite3_stmt* stmt = nullptr;
    ok = ok && sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK;
    QList<QByteArray> bytes;
    for (const QString& value : values)
        bytes << value.toUtf8();
    for (int i = 0; ok && i < bytes.size(); ++i)
        ok = sqlite3_bind_text(stmt, i + 1, bytes[i].constData(), static_cast<int>(bytes[i].size()),
                               SQLITE_TRANSIENT) == SQLITE_OK;
    ok = ok && sqlite3_step(stmt) == SQLITE_DONE;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

const QStringList allTables{"musteriler", "odemeler", "urunler", "veresiyeler"};

} // namespace

class TestHostileNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void entryBoxFindsTheProduct_data() { test::addHostileNameRows(); }
    void entryBoxFindsTheProduct();
    void handEnteredProduct_data() { test::addHostileNameRows(); }
    void handEnteredProduct();
    void storedProductNameIsSold_data() { test::addHostileNameRows(); }
    void storedProductNameIsSold();
    void creditChooser_data() { test::addHostileNameRows(); }
    void creditChooser();

private:
    void startWindow();
    void typeAndAdd(const QString& entry);
    QStringList tables() const {
        return column(path, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT "
                                           "LIKE 'sqlite%' ORDER BY name;"));
    }

    QTemporaryDir dir;
    QString path;
    ScriptedServices fake;
    std::unique_ptr<TAppForm> form;
    std::unique_ptr<test::MainWindowControls> ui;
};

void TestHostileNames::init() {
    path = dir.filePath(QStringLiteral("data.db"));
    QFile::remove(path);
    QVERIFY(test::makeDataFile(path));
    fake.messages.clear();
    fake.prompts.answers.clear();
}

void TestHostileNames::cleanup() {
    ui.reset();
    form.reset();
}

void TestHostileNames::startWindow() {
    form = std::make_unique<TAppForm>(fake.services);
    form->setDataFile(path);
    ui = std::make_unique<test::MainWindowControls>(*form);
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    form->show();
    if (!form->startupDone())
        QVERIFY(started.wait(5000));
    QCOMPARE(fake.messages.texts(), QStringList());
}

void TestHostileNames::typeAndAdd(const QString& entry) {
    ui->Edit4->setFocus();
    ui->Edit4->setText(entry);
    ui->BitBtn15->click();
}

// The entry box looks the typed text up as a barcode.
void TestHostileNames::entryBoxFindsTheProduct() {
    QFETCH(QString, name);
    QVERIFY(insertBound(
        path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, 'TEA', '2.5', 9);", {name}));
    startWindow();
    typeAndAdd(name);
    QVERIFY2(fake.messages.texts().isEmpty(), qPrintable(fake.messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(ui->ListView1->model()->index(0, 0).data().toString(), name);
    ui->BitBtn1->click(); // "Confirm?" is answered Yes
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Confirm?")});
    QCOMPARE(column(path, QStringLiteral("SELECT barkod FROM odemeler;")), QStringList{name});
    QCOMPARE(column(path, QStringLiteral("SELECT stok FROM urunler;")), QStringList{QStringLiteral("8")});
    QCOMPARE(tables(), allTables);
}

// A name that is no barcode is added by hand with a typed price, and sold under that name.
void TestHostileNames::handEnteredProduct() {
    QFETCH(QString, name);
    startWindow();
    fake.prompts.answers << QStringLiteral("1.25");
    typeAndAdd(name);
    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(ui->ListView1->model()->index(0, 1).data().toString(), name);
    ui->BitBtn1->click();
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Confirm?")});
    QCOMPARE(column(path, QStringLiteral("SELECT urunadi FROM odemeler;")), QStringList{name});
    QCOMPARE(column(path, QStringLiteral("SELECT fiyat FROM odemeler;")),
             QStringList{QStringLiteral("1.25")});
    QCOMPARE(tables(), allTables);
}

// A product name another program stored (U+0000 included) is shown and sold whole.
void TestHostileNames::storedProductNameIsSold() {
    QFETCH(QString, name);
    QVERIFY(insertBound(path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('42', ?, '3', 5);",
                        {name}));
    startWindow();
    typeAndAdd(QStringLiteral("42"));
    QCOMPARE(ui->ListView1->model()->index(0, 1).data().toString(), name);
    ui->BitBtn1->click();
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Confirm?")});
    QCOMPARE(column(path, QStringLiteral("SELECT urunadi FROM odemeler;")), QStringList{name});
    QCOMPARE(column(path, QStringLiteral("SELECT stok FROM urunler;")), QStringList{QStringLiteral("4")});
}

// The customer chosen in the credit chooser is recorded under that exact name.
void TestHostileNames::creditChooser() {
    QFETCH(QString, name);
    QVERIFY(insertBound(path, "INSERT INTO musteriler (musteriadi) VALUES (?);", {name}));
    QVERIFY(insertBound(
        path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('42', 'TEA', '3', 5);", {}));
    startWindow();
    typeAndAdd(QStringLiteral("42"));
    SaleContext sale{form->database(),
                     form->saleRegister(),
                     fake.services,
                     form->receiptSettings(),
                     [](const QString& text) { return text; },
                     {},
                     {}};
    TVeresiyeForm chooser(sale);
    QCOMPARE(chooser.ComboBox1->count(), 1);
    QCOMPARE(chooser.ComboBox1->itemText(0), name);
    chooser.ComboBox1->setCurrentIndex(0);
    chooser.BitBtn1->click();
    QCOMPARE(chooser.saleResult(), SaleResult::Completed);
    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(column(path, QStringLiteral("SELECT musteriadi FROM veresiyeler;")), QStringList{name});
    QCOMPARE(column(path, QStringLiteral("SELECT musteriid FROM veresiyeler;")),
             QStringList{QStringLiteral("1")});
    QCOMPARE(tables(), allTables);
}

QTEST_MAIN(TestHostileNames)
#include "test_hostilenames.moc"
