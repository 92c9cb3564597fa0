// The picker's catalogue in memory against the picker's own statements: for a table of search
// texts typed one character at a time, the entries (caption and barcode) and their order are
// those of the statement's rows sorted by caption; also after the program or another program
// has changed the products.
#include "catalogue/productcatalogue.h"
#include "catalogue/productlist.h"
#include "platform/scripted/scripted.h"
#include "store/database.h"
#include "store/sql.h"
#include "tests/support/datafile.h"

#include <QCollator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace tillora;

namespace {

using Entries = QList<std::pair<QString, QString>>; // caption, barcode

// Products that put the matching and the order to the test: letters in both cases, accents,
// equal names, names that are no text, NULLs, wildcard characters and quotes in the data, a
// NUL inside a name, bytes that are no UTF-8.
const char* const awkwardProducts =
    "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES"
    " ('4001', 'MILK', 1.5), ('4002', 'milk', 1.5), ('4003', 'Milk', 2), ('4004', 'MILK', 0.5),"
    " ('4005', 'Chocolate milk', 2.25), ('MIL-77', 'Bread', 0.99), ('5000', 'apple', 0.5),"
    " ('5001', 'Äpfel', 0.75), ('5002', 'Éclair', 1.2), ('5003', 'eclair', 1.2), ('5004', 'éclair', 1),"
    " ('6000', 'O''Brien tea', 3), ('6001', '100% juice', 1), ('6002', 'snake_case', 1),"
    " ('6003', '  blanks  ', 1), ('7000', 12345, 4), ('7001', 2.0, 4), (7002, 'number code', 5),"
    " (NULL, 'no code', 1), ('7003', NULL, 1), (NULL, NULL, NULL), ('7004', '', ''),"
    " ('7005', 'tea' || char(0) || 'pot', 2), ('7006', CAST(x'4D696CC3' AS TEXT), 1),"
    " ('7007', x'6D696C6B', 1), ('7008', 'Ümit çay', '2,50'), ('7009', 'z', 1e20), ('7010', 'ÿ', -1),"
    " ('7011', 'x' || char(65534) || 'y', 1), ('1', 'one', 1), ('11', 'eleven', 1), ('0011', 'zero eleven', "
    "1);";

} // namespace

class TestProductCatalogue : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedMessages> messages_;
    std::unique_ptr<Database> db_;
    QString path_;

    // The statement's rows, sorted as the picker sorts them: by caption, equal captions in the
    // order of the statement.
    Entries expected(const QString& sql, bool withPrices) {
        const QueryResult rows = db_->query(sql);
        Entries entries;
        for (int r = 0; r < rows.rowCount(); ++r)
            entries.append({pickerCaption(rows.text(r, "urunadi"), rows.text(r, "fiyat"), withPrices),
                            rows.text(r, "barkod")});
        QCollator collator;
        std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
            return collator.compare(a.first, b.first) < 0;
        });
        return entries;
    }
    static Entries listed(const ProductCatalogue& catalogue, const std::vector<quint32>& entries,
                          bool withPrices) {
        Entries list;
        for (const quint32 e : entries)
            list.append({catalogue.texts()->caption(e, withPrices), catalogue.texts()->barcode(e)});
        return list;
    }
    // The catalogue's answers equal the statements' for every prefix of each text.
    void compareSearches(ProductCatalogue& catalogue, const QStringList& texts) {
        for (const bool withPrices : {false, true}) {
            QVERIFY(catalogue.refresh());
            QCOMPARE(listed(catalogue, catalogue.all(withPrices), withPrices),
                     expected(pickerFirstLoadStatement(), withPrices));
            for (const QString& text : texts) {
                for (qsizetype typed = 0; typed <= text.size(); ++typed) {
                    const QString prefix = text.left(typed);
                    std::vector<quint32> matches;
                    QVERIFY(catalogue.search(prefix, withPrices, matches));
                    const Entries want = expected(pickerSearchStatement(prefix), withPrices);
                    if (listed(catalogue, matches, withPrices) != want)
                        qWarning() << "search" << prefix << "prices" << withPrices
                                   << listed(catalogue, matches, withPrices) << want;
                    QCOMPARE(listed(catalogue, matches, withPrices), want);
                }
            }
        }
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = dir_->filePath(QStringLiteral("data.db"));
        QVERIFY(test::makeDataFile(path_, QString::fromUtf8(awkwardProducts)));
        messages_ = std::make_unique<ScriptedMessages>();
        db_ = std::make_unique<Database>(*messages_);
        QVERIFY(db_->open(path_));
    }

    void cleanup() {
        db_.reset();
        dir_.reset();
    }

    void searchesEqualTheStatements() {
        ProductCatalogue catalogue(*db_);
        compareSearches(catalogue, {QStringLiteral("milk"),
                                    QStringLiteral("MIL-"),
                                    QStringLiteral("  tea "),
                                    QStringLiteral("1"),
                                    QStringLiteral("0011"),
                                    QStringLiteral("2.0"),
                                    QStringLiteral("12345"),
                                    QStringLiteral("1e"),
                                    QStringLiteral("%"),
                                    QStringLiteral("_"),
                                    QStringLiteral("m_l%k"),
                                    QStringLiteral("100%"),
                                    QStringLiteral("e_c"),
                                    QStringLiteral("O'B"),
                                    QStringLiteral("'"),
                                    QStringLiteral("éclair"),
                                    QStringLiteral("ÉCLAIR"),
                                    QStringLiteral("äpfel"),
                                    QStringLiteral("Ümit"),
                                    QStringLiteral("2,5"),
                                    QStringLiteral("pot"),
                                    QStringLiteral("tea") + QChar(u'\0') + QStringLiteral("p"),
                                    QStringLiteral("x") + QChar(0xFFFD),
                                    QStringLiteral("x") + QChar(0xFFFE),
                                    QStringLiteral("mil") + QChar(0xFFFD),
                                    QStringLiteral("   "),
                                    QStringLiteral("zzz"),
                                    QStringLiteral("snake_"),
                                    QStringLiteral("no code")});
        QVERIFY(messages_->shown.isEmpty());
    }

    // The program's own statements, as the products screen, a sale, the import and the bulk
    // delete run them, and statements of another program on the same file.
    void changesAreSeenAtTheNextRefresh_data() {
        QTest::addColumn<QStringList>("ours");
        QTest::addColumn<QStringList>("theirs");
        QTest::newRow("a sale lowers stock")
            << QStringList{"UPDATE urunler SET stok=stok-1 WHERE barkod='4001';"} << QStringList{};
        QTest::newRow("renamed and repriced")
            << QStringList{"UPDATE urunler SET urunadi='Yoghurt', fiyat='3.5' WHERE barkod='4001';",
                           "UPDATE urunler SET barkod='9999' WHERE barkod='5000';"}
            << QStringList{};
        QTest::newRow("added and deleted") << QStringList{"INSERT INTO urunler (barkod, urunadi, fiyat) "
                                                          "VALUES ('8000', 'Almond milk', '4');",
                                                          "DELETE FROM urunler WHERE barkod='4002';"}
                                           << QStringList{};
        QTest::newRow("all deleted, some added")
            << QStringList{"DELETE FROM urunler;",
                           "INSERT INTO urunler (barkod, urunadi, fiyat) VALUES ('8001', 'Milk again', '1');"}
            << QStringList{};
        QTest::newRow("another program")
            << QStringList{}
            << QStringList{"UPDATE urunler SET urunadi='Soy milk' WHERE barkod='4003';",
                           "INSERT INTO urunler (barkod, urunadi) VALUES ('8002', 'mild');"};
        QTest::newRow("both") << QStringList{"UPDATE urunler SET urunadi='Oat milk' WHERE barkod='4004';"}
                              << QStringList{"DELETE FROM urunler WHERE barkod='4005';"};
    }

    void changesAreSeenAtTheNextRefresh() {
        QFETCH(QStringList, ours);
        QFETCH(QStringList, theirs);
        ProductCatalogue catalogue(*db_);
        QVERIFY(catalogue.refresh());
        for (const QString& sql : ours)
            QVERIFY(db_->command(sql));
        for (const QString& sql : theirs)
            QVERIFY(test::execOn(path_, sql));
        compareSearches(catalogue, {QStringLiteral("mil"), QStringLiteral("9"), QStringLiteral("%")});
    }

    // Products read away from the screen while the program sells: what it changed meanwhile
    // is read again at the first refresh.
    void loadTakenFromAnotherThread() {
        const qint64 version = db_->dataVersion();
        const quint64 opens = db_->openCount();
        db_->takeProductChanges();
        const QString path = path_;
        auto load = std::async(std::launch::async, [path]() {
            QString error;
            return loadCatalogue(path, QLocale(), error);
        });
        QVERIFY(db_->command(QStringLiteral("UPDATE urunler SET urunadi='Goat milk' WHERE barkod='4001';")));
        ProductCatalogue catalogue(*db_);
        catalogue.takeLoad(std::move(load), version, opens);
        compareSearches(catalogue, {QStringLiteral("goat")});
    }

    void unreadableProductsFail() {
        QVERIFY(test::execOn(path_, QStringLiteral("DROP TABLE urunler;")));
        ProductCatalogue catalogue(*db_);
        QVERIFY(!catalogue.refresh());
        QVERIFY(messages_->shown.isEmpty()); // the statement the caller runs then says why
    }
};

QTEST_MAIN(TestProductCatalogue)
#include "test_productcatalogue.moc"
