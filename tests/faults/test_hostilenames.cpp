// Hostile names typed into every field that reaches a statement (the sale, the products and
// customers screens, the filters of the sales records, the CSV import): each is stored and shown
// exactly as typed, nothing else in the data file changes, and the tables are all still there.
//
// A screen that lands later adds a test function here with the rows of addHostileNameRows()
// for each of its fields.
#include "app/appform.h"
#include "platform/scripted/scripted.h"
#include "register/cashsale.h"
#include "register/veresiye.h"
#include "reports/salesrecords.h"
#include "tests/support/datafile.h"
#include "tests/support/hostilenames.h"
#include "tests/support/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace tillora;

namespace {

// Every row as the data file holds it, NUL characters included.
QStringList column(const QString& path, const QString& sql) {
    return test::rowsOf(path, sql);
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

// Every row of each table, in id order.
using Contents = QMap<QString, QStringList>;
Contents contentsOf(const QString& path) {
    Contents contents;
    for (const QString& table : allTables)
        contents[table] = column(path, QStringLiteral("SELECT * FROM %1 ORDER BY id;").arg(table));
    return contents;
}

// What a comparison that is not exact would take for name: what a LIKE pattern matches ("X"
// for "%" and "_"), the part before a NUL, and the name short of its last character.
QStringList decoysOf(const QString& name) {
    QStringList decoys{QStringLiteral("X")};
    if (name.contains(QChar(u'\0')))
        decoys << name.left(name.indexOf(QChar(u'\0')));
    decoys << name.chopped(1);
    decoys.removeAll(name);
    decoys.removeAll(QString());
    decoys.removeDuplicates();
    return decoys;
}

// Puts text into a box as a paste does: the box's own checks apply and its change follows.
void paste(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    box->insert(text);
}

// The texts of a list's column, top to bottom.
QStringList cells(const QAbstractItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

// Chooses the entry of a list whose text is exactly text; false when there is none.
bool choose(QComboBox* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == text) {
            list->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

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
    void productScreen_data() { test::addHostileNameRows(); }
    void productScreen();
    void customerScreenAndCredit_data() { test::addHostileNameRows(); }
    void customerScreenAndCredit();
    void salesRecordsFilters_data() { test::addHostileNameRows(); }
    void salesRecordsFilters();
    void csvImport_data() { test::addHostileNameRows(); }
    void csvImport();

private:
    void startWindow();
    void typeAndAdd(const QString& entry);
    // Records the cart on the customer of that id through the credit chooser.
    void sellOnCreditTo(const QString& customerId, const QString& name);
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
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    form->show();
    if (!form->startupDone())
        QVERIFY(started.wait(5000));
    // The screens hidden at start are there once the window has been painted.
    ui = std::make_unique<test::MainWindowControls>(*form);
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

void TestHostileNames::sellOnCreditTo(const QString& customerId, const QString& name) {
    SaleContext sale{form->database(),
                     form->saleRegister(),
                     fake.services,
                     form->receiptSettings(),
                     [](const QString& text) { return text; },
                     {},
                     {}};
    TVeresiyeForm chooser(sale);
    QStringList entries;
    for (int i = 0; i < chooser.ComboBox1->count(); ++i)
        entries << chooser.ComboBox1->itemText(i);
    QCOMPARE(entries.count(name), 1);
    const qsizetype entry = chooser.customerIds().indexOf(customerId);
    QVERIFY(entry >= 0);
    QCOMPARE(chooser.ComboBox1->itemText(static_cast<int>(entry)), name);
    chooser.ComboBox1->setCurrentIndex(static_cast<int>(entry));
    chooser.BitBtn1->click();
    QCOMPARE(chooser.saleResult(), SaleResult::Completed);
}

// The customer chosen in the credit chooser is recorded under that exact name.
void TestHostileNames::creditChooser() {
    QFETCH(QString, name);
    QVERIFY(insertBound(path, "INSERT INTO musteriler (musteriadi) VALUES (?);", {name}));
    QVERIFY(insertBound(
        path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('42', 'TEA', '3', 5);", {}));
    startWindow();
    typeAndAdd(QStringLiteral("42"));
    sellOnCreditTo(QStringLiteral("1"), name);
    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(column(path, QStringLiteral("SELECT musteriadi FROM veresiyeler;")), QStringList{name});
    QCOMPARE(column(path, QStringLiteral("SELECT musteriid FROM veresiyeler;")),
             QStringList{QStringLiteral("1")});
    QCOMPARE(tables(), allTables);
}

// The products screen: the barcode, the name and the price typed into its boxes. ADD stores the
// product as typed and shows it again, UPDATE and DELETE PRODUCT act on that product alone. The
// barcode box writes letters as capitals, so the barcode is stored as the box shows it. A
// hostile price is no number: it is refused before it reaches a statement.
void TestHostileNames::productScreen() {
    QFETCH(QString, name);
    const QString code = name.toUpper();
    for (const QString& decoy : decoysOf(code))
        QVERIFY(insertBound(path,
                            "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, 'DECOY', '1', 1);",
                            {decoy}));
    startWindow();
    ui->BitBtn3->click(); // PRODUCTS
    auto* barcode = test::control<QComboBox>(*form, "ComboBox1");
    auto* productName = test::control<QLineEdit>(*form, "Edit2");
    auto* price = test::control<QLineEdit>(*form, "Edit3");
    auto* add = test::control<QPushButton>(*form, "BitBtn5");
    const Contents before = contentsOf(path);

    paste(barcode->lineEdit(), name);
    QCOMPARE(barcode->currentText(), code);
    QVERIFY(add->isEnabled()); // no decoy was taken for the barcode typed
    paste(productName, name);
    paste(price, name);
    add->click();
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Invalid Entry!")});
    QCOMPARE(contentsOf(path), before);

    fake.messages.clear();
    paste(productName, name);
    paste(price, QStringLiteral("2,50"));
    add->click();
    QCOMPARE(fake.messages.texts(), QStringList());
    const QStringList added =
        column(path, QStringLiteral("SELECT barkod, urunadi, fiyat, stok FROM urunler WHERE "
                                    "id = (SELECT max(id) FROM urunler);"));
    QCOMPARE(added, QStringList{code + QStringLiteral("|") + name + QStringLiteral("|2.5|0")});
    Contents expected = before;
    expected[QStringLiteral("urunler")]
        << column(path, QStringLiteral("SELECT * FROM urunler WHERE id = (SELECT "
                                       "max(id) FROM urunler);"));
    QCOMPARE(contentsOf(path), expected);
    // Shown again as stored.
    QCOMPARE(barcode->currentText(), code);
    QCOMPARE(productName->text(), name);
    QCOMPARE(price->text(), QStringLiteral("2.5"));

    paste(productName, QStringLiteral("NEW ") + name);
    test::control<QPushButton>(*form, "BitBtn8")->click(); // UPDATE
    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(
        column(path, QStringLiteral("SELECT barkod, urunadi FROM urunler WHERE id = (SELECT max(id) FROM "
                                    "urunler);")),
        QStringList{code + QStringLiteral("|NEW ") + name});
    QCOMPARE(column(path, QStringLiteral("SELECT * FROM urunler WHERE urunadi = 'DECOY' ORDER BY id;")),
             before[QStringLiteral("urunler")]);

    test::control<QPushButton>(*form, "BitBtn9")->click(); // DELETE PRODUCT, "Are you sure?" Yes
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Are you sure?")});
    QCOMPARE(contentsOf(path), before);
    QCOMPARE(tables(), allTables);
}

// The customers screen: a customer typed into its box is added and shown as typed; a credit
// sale goes on that customer, DETAILS lists its line and PAID settles it, with the customers a
// loose comparison would take (and their open credit) left alone.
void TestHostileNames::customerScreenAndCredit() {
    QFETCH(QString, name);
    QVERIFY(insertBound(
        path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('42', 'TEA', '3', 5);", {}));
    for (const QString& decoy : decoysOf(name)) {
        QVERIFY(insertBound(path, "INSERT INTO musteriler (musteriadi) VALUES (?);", {decoy}));
        QVERIFY(insertBound(path,
                            "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, "
                            "kayittarihi, odendimi) VALUES (last_insert_rowid(), ?, '7', 'GUM', 1, 0.5, "
                            "'2026-01-15 09:00:00', 0);",
                            {decoy}));
    }
    startWindow();
    const Contents before = contentsOf(path);
    ui->BitBtn4->click(); // CUSTOMERS
    auto* customer = test::control<QComboBox>(*form, "ComboBox2");
    paste(customer->lineEdit(), name);
    auto* add = test::control<QPushButton>(*form, "BitBtn6");
    QVERIFY(add->isEnabled()); // no decoy was taken for the name typed
    add->click();
    QCOMPARE(fake.messages.texts(), QStringList());
    const QStringList stored =
        column(path, QStringLiteral("SELECT id, musteriadi FROM musteriler WHERE id = (SELECT max(id) FROM "
                                    "musteriler);"));
    QCOMPARE(stored.size(), 1);
    const QString id = stored[0].section(QLatin1Char('|'), 0, 0);
    QCOMPARE(stored[0], id + QLatin1Char('|') + name);
    QCOMPARE(customer->currentText(), name);
    QCOMPARE(test::control<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("0.00"));

    ui->BitBtn12->click(); // MAIN MENU
    typeAndAdd(QStringLiteral("42"));
    sellOnCreditTo(id, name);
    QCOMPARE(column(path, QStringLiteral("SELECT musteriid, musteriadi, barkod, urunadi, adet, odendimi FROM "
                                         "veresiyeler WHERE id = (SELECT max(id) FROM veresiyeler);")),
             QStringList{id + QLatin1Char('|') + name + QStringLiteral("|42|TEA|1|0")});

    ui->BitBtn4->click();
    paste(customer->lineEdit(), name);
    QCOMPARE(customer->currentText(), name);
    QCOMPARE(test::control<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("3.00"));
    test::control<QPushButton>(*form, "BitBtn13")->click(); // DETAILS
    auto* lines = test::control<QListView>(*form, "CheckListBox1");
    QCOMPARE(lines->model()->rowCount(), 1);
    QVERIFY(lines->model()->index(0, 0).data().toString().contains(QStringLiteral("1 * TEA")));
    QCOMPARE(test::control<QLabel>(*form, "Label10")->text(), QStringLiteral("3.00"));
    test::control<QPushButton>(*form, "BitBtn14")->click(); // Select All
    test::control<QPushButton>(*form, "BitBtn7")->click();  // PAID, "Are you sure?" Yes
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Are you sure?")});
    QCOMPARE(lines->model()->rowCount(), 0);
    QCOMPARE(column(path, QStringLiteral("SELECT musteriadi, odendimi FROM veresiyeler WHERE musteriid = ") +
                              id + QLatin1Char(';')),
             QStringList{name + QStringLiteral("|1")});
    QCOMPARE(column(path, QStringLiteral("SELECT barkod, urunadi, adet FROM odemeler;")),
             QStringList{QStringLiteral("42|TEA|1")});
    // The decoys and their open credit are as they were.
    const Contents after = contentsOf(path);
    QCOMPARE(after[QStringLiteral("musteriler")].mid(0, before[QStringLiteral("musteriler")].size()),
             before[QStringLiteral("musteriler")]);
    QCOMPARE(after[QStringLiteral("veresiyeler")].mid(0, before[QStringLiteral("veresiyeler")].size()),
             before[QStringLiteral("veresiyeler")]);
    QCOMPARE(tables(), allTables);
}

// The filter lists of the sales records hold the names as stored; a name chosen there lists
// exactly its own records, and nothing in the data file changes.
void TestHostileNames::salesRecordsFilters() {
    QFETCH(QString, name);
    QStringList names = decoysOf(name);
    names.prepend(name);
    for (const QString& customer : names)
        QVERIFY(insertBound(path, "INSERT INTO musteriler (musteriadi) VALUES (?);", {customer}));
    for (const QString& product : names) {
        QVERIFY(insertBound(path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('7', ?, 2, 9);",
                            {product}));
        QVERIFY(
            insertBound(path,
                        "INSERT INTO odemeler (barkod, urunadi, adet, fiyat, odemetarihi) VALUES ('7', ?, 1, "
                        "2, '2026-01-15 09:00:00');",
                        {product}));
        // Every customer bought every product on credit, the name's customer two of each.
        for (const QString& customer : names) {
            QVERIFY(
                insertBound(path,
                            "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, "
                            "kayittarihi, odendimi) VALUES (1, ?, '7', ?, 1, 2, '2026-01-15 09:00:00', 0);",
                            {customer, product}));
        }
    }
    QVERIFY(insertBound(
        path,
        "INSERT INTO veresiyeler (musteriid, musteriadi, barkod, urunadi, adet, fiyat, kayittarihi, "
        "odendimi) VALUES (1, ?, '7', ?, 5, 2, '2026-01-15 10:00:00', 1);",
        {name, name}));
    const Contents before = contentsOf(path);
    startWindow();
    ui->BitBtn17->click(); // SALES
    QVERIFY(choose(ui->ComboBox4, name));
    test::control<QPushButton>(*form, "BitBtn18")->click(); // Payments
    auto* payments = test::control<QTableView>(*form, "ListView2");
    QCOMPARE(cells(payments->model(), PayProduct), QStringList{name});

    test::control<QPushButton>(*form, "BitBtn19")->click(); // Credits
    auto* credits = test::control<QTableView>(*form, "ListView3");
    QCOMPARE(cells(credits->model(), CreditProduct), QStringList(names.size() + 1, name));
    QVERIFY(choose(ui->ComboBox3, name));
    test::control<QPushButton>(*form, "BitBtn19")->click();
    QCOMPARE(cells(credits->model(), CreditCustomer), QStringList(2, name));
    QCOMPARE(cells(credits->model(), CreditQuantity),
             (QStringList{QStringLiteral("1"), QStringLiteral("5")}));
    ui->ComboBox4->setCurrentIndex(0); // All Products
    test::control<QPushButton>(*form, "BitBtn19")->click();
    QCOMPARE(cells(credits->model(), CreditCustomer), QStringList(names.size() + 1, name));
    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(contentsOf(path), before);
}

// A product file holding the name as its barcode and its name: the import stores both as
// they are in the file, and the entry box then sells the product under that name.
void TestHostileNames::csvImport() {
    QFETCH(QString, name);
    const QString separator = TAppForm::localeCsvSeparator();
    if (name.contains(separator))
        QSKIP("the file has no quoting: a name holding the list separator splits into two fields");
    for (const QString& decoy : decoysOf(name))
        QVERIFY(insertBound(path, "INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, '1', 1);",
                            {decoy, decoy}));
    const QString file = dir.filePath(QStringLiteral("products.csv"));
    QFile csv(file);
    QVERIFY(csv.open(QIODevice::WriteOnly | QIODevice::Truncate));
    csv.write(QStringList{name, name, QStringLiteral("2.50"), QStringLiteral("7")}.join(separator).toUtf8() +
              "\r\n");
    csv.close();
    startWindow();
    const Contents before = contentsOf(path);
    fake.files.answers << file;
    test::control<QAction>(*form, "Products2")->trigger(); // Import > Products
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Imported: 1 entries")});
    Contents expected = before;
    const QStringList added =
        column(path, QStringLiteral("SELECT * FROM urunler WHERE id = (SELECT max(id) FROM urunler);"));
    expected[QStringLiteral("urunler")] << added;
    QCOMPARE(contentsOf(path), expected);
    QCOMPARE(
        column(path, QStringLiteral("SELECT barkod, urunadi, fiyat, stok FROM urunler WHERE id = (SELECT "
                                    "max(id) FROM urunler);")),
        QStringList{name + QLatin1Char('|') + name + QStringLiteral("|2.5|7")});

    fake.messages.clear();
    typeAndAdd(name);
    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(ui->ListView1->model()->rowCount(), 1);
    QCOMPARE(ui->ListView1->model()->index(0, 0).data().toString(), name);
    QCOMPARE(ui->ListView1->model()->index(0, 1).data().toString(), name);
    QCOMPARE(tables(), allTables);
}

QTEST_MAIN(TestHostileNames)
#include "test_hostilenames.moc"
