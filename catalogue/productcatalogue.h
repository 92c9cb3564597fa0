#pragma once
// The products as the picker lists them, kept in memory so that a search among a million of
// them answers within a keystroke. The entries, their order and the matching are exactly
// those of the picker's statements: one entry per product row, sorted by caption in the
// locale's order (equal captions as "order by urunadi" gives them), and a search that
// matches name or barcode as the LIKE operator does (ASCII letters in any case, "%" and "_"
// typed by the user as wildcards).
//
// Reading a large file takes a while, so it is done away from the screen (ProductTexts::load
// on a thread of its own at start); the catalogue then follows the data file: rows changed
// through the program's own connection are read again, and a change made by another program
// (the file's data version) or another file makes it read everything anew.
#include <QByteArray>
#include <QCollator>
#include <QLocale>
#include <QString>

#include <future>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tillora {

class Database;
class QueryResult;
class RowView;

// The texts of many products in one arena: for each, its name, barcode and price in the form
// the picker shows them, and what the LIKE operator reads of its name and barcode. Entries
// are only ever added, so a list that names entries by number stays valid.
class ProductTexts {
public:
    struct Entry {
        qint64 rowid = 0;
        quint32 offset = 0; // of the name in the arena; the barcode and the price follow
        quint32 nameSize = 0;
        quint32 codeSize = 0;
        quint32 priceSize = 0;
        quint8 flags = 0;
    };
    enum Flag : quint8 {
        NameNull = 1,
        CodeNull = 2,
        // Name or barcode is not a plain text the search can compare byte by byte (a number,
        // a blob, a NUL inside, not UTF-8): matched through the database's own LIKE function.
        Irregular = 4,
    };

    qsizetype size() const { return static_cast<qsizetype>(entries_.size()); }
    const Entry& entry(qsizetype i) const { return entries_[static_cast<std::size_t>(i)]; }
    QString name(qsizetype i) const;
    QString barcode(qsizetype i) const;
    QString price(qsizetype i) const;
    // "NAME", or "NAME [PRICE]" with prices.
    QString caption(qsizetype i, bool withPrice) const;
    // The name and barcode as NUL-ended UTF-8 (cut at a NUL inside), null for NULL.
    const char* likeName(qsizetype i) const;
    const char* likeCode(qsizetype i) const;
    // The order of "order by urunadi": NULL first, then numbers, texts byte by byte, blobs.
    int compareNamesAsStored(qsizetype a, qsizetype b) const;

    // One product as read: the shown texts, and for an irregular one what LIKE reads.
    struct Product {
        qint64 rowid = 0;
        std::string name;
        std::string code;
        std::string price;
        quint8 flags = 0;
        quint8 nameKind = 0; // in the stored order: 0 NULL, 1 number, 2 text, 3 blob
        double nameNumber = 0;
        std::string likeName; // of an irregular product
        std::string likeCode;
        bool likeNameNull = false; // LIKE finds nothing in it (NULL, or a blob where LIKE skips blobs)
        bool likeCodeNull = false;
    };
    // A product from a row of the columns rowid, barkod, urunadi, fiyat (in this order).
    static Product fromRow(const RowView& row);
    // A product from a row of a query result; rowid is the row's number.
    static Product fromResult(const QueryResult& rows, int row, int codeColumn, int nameColumn,
                              int priceColumn);

    qsizetype append(const Product& product);
    const std::vector<quint32>& irregularEntries() const { return irregularEntries_; }
    // Whether entry i shows and matches as product does.
    bool sameAs(qsizetype i, const Product& product) const;

private:
    struct Stored {
        quint8 nameKind = 0;
        double nameNumber = 0;
        std::string likeName;
        std::string likeCode;
        bool likeNameNull = false;
        bool likeCodeNull = false;
    };
    QByteArrayView bytes(quint32 offset, quint32 size) const;

    std::vector<Entry> entries_;
    std::string arena_;
    // The few entries flagged Irregular, by entry number.
    std::unordered_map<quint32, Stored> irregular_;
    std::vector<quint32> irregularEntries_;
};

// The products of a data file read in full, with the orders the picker lists them in and
// the order of the product filter of the sales records.
struct CatalogueData {
    std::shared_ptr<ProductTexts> texts;
    std::vector<quint32> byCaption;       // entries sorted by name
    std::vector<quint32> byPricedCaption; // entries sorted by "NAME [PRICE]"
    std::vector<quint32> byStoredName;    // entries in the order of "order by urunadi"
    // The lower-case search text of every entry: name, NUL, barcode, NUL.
    std::string search;
    std::vector<quint32> searchStart; // of entry i, and one past the last
};

// Reads every product of the file at path on a connection of its own, in short reads so a
// sale is never kept waiting for long, and sorts them for the locale. Runs on any thread.
// Null, with the database's reason in error, when the products cannot be read.
std::unique_ptr<CatalogueData> loadCatalogue(const QString& path, const QLocale& locale, QString& error);

// Sorts entries of texts by caption in the locale's order; equal captions keep the order of
// tieRank (the rank of each entry, by entry number). Sorts on two threads when there are many.
std::vector<quint32> sortByCaption(const ProductTexts& texts, std::vector<quint32> entries, bool withPrices,
                                   const QLocale& locale, const std::vector<quint32>& tieRank);

class ProductCatalogue {
public:
    explicit ProductCatalogue(Database& db, const QLocale& locale = QLocale());
    ~ProductCatalogue();
    ProductCatalogue(const ProductCatalogue&) = delete;
    ProductCatalogue& operator=(const ProductCatalogue&) = delete;

    // Takes the products read away from the screen (in the background: waited for when the
    // catalogue is first needed). dataVersion and openCount are those of db taken before the
    // reading began, with db's list of changed products emptied at that moment.
    void takeLoad(std::future<std::unique_ptr<CatalogueData>> load, qint64 dataVersion, quint64 openCount);
    void install(std::unique_ptr<CatalogueData> data, qint64 dataVersion, quint64 openCount);

    // Brings the catalogue up to date with the data file: the rows the program changed are
    // read again; a change by another program, or another file, means reading all anew.
    // False when the products cannot be read: the caller then runs the statements themselves.
    bool refresh();
    // Only the cheap part of refresh: whether another program has changed the file since.
    bool refreshIfChangedOutside();

    // The entries of the first load (every product), in list order.
    std::vector<quint32> all(bool withPrices) const;
    // The entries whose name or barcode matches the search text (blanks around it removed)
    // as "like '%text%'", in list order. False when the search must go through the statement
    // (a text the LIKE operator refuses as too long).
    bool search(const QString& searchText, bool withPrices, std::vector<quint32>& matches);

    const std::shared_ptr<ProductTexts>& texts() const { return data_->texts; }
    bool isLoaded() const { return data_ != nullptr; }

private:
    bool reload();
    bool applyChanges(const std::vector<qint64>& rowids);
    void removeEntry(quint32 entry);
    void insertEntry(quint32 entry);
    bool precedes(quint32 a, quint32 b, bool withPrices) const;
    qsizetype findLoaded(qint64 rowid) const;
    bool matchesLiteral(quint32 entry, const QByteArray& literal) const;

    Database& db_;
    QLocale locale_;
    QCollator collator_;
    std::unique_ptr<CatalogueData> data_;
    std::future<std::unique_ptr<CatalogueData>> pending_;
    qint64 dataVersion_ = -1;
    quint64 openCount_ = 0;
    qsizetype loadedCount_ = 0;                 // entries read in the last full load, in rowid order
    std::vector<bool> dead_;                    // entries replaced or deleted since
    std::unordered_map<qint64, quint32> added_; // rowid -> entry added since the last load
    // The last search, to narrow it when the next text only adds to it.
    QByteArray lastText_;
    bool lastWithPrices_ = false;
    bool lastValid_ = false;
    std::vector<quint32> lastMatches_;
};

} // namespace tillora
