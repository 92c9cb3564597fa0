#include "catalogue/productcatalogue.h"

#include "catalogue/productlist.h"
#include "platform/messages.h"
#include "store/database.h"
#include "store/sql.h"
#include "store/statement.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <thread>

namespace tillora {

namespace {

// Rows read per statement: each read holds the file's read lock only this long, so a sale
// made meanwhile waits a few milliseconds at most.
constexpr int rowsPerRead = 50000;
// The LIKE operator refuses patterns longer than this many bytes.
constexpr qsizetype longestPattern = 50000;
// Below this many entries work is done on one thread.
constexpr qsizetype manyEntries = 50000;

bool isAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

void appendLowered(std::string& out, QByteArrayView text) {
    for (const char c : text)
        out.push_back(isAsciiUpper(c) ? static_cast<char>(c + ('a' - 'A')) : c);
}

// U+FFFE and U+FFFF: the database reads them as U+FFFD, so a text holding them cannot be
// compared byte by byte.
bool holdsNonCharacter(QByteArrayView text) {
    for (qsizetype i = 0; i + 2 < text.size(); ++i) {
        if (static_cast<quint8>(text[i]) == 0xEF && static_cast<quint8>(text[i + 1]) == 0xBF &&
            static_cast<quint8>(text[i + 2]) >= 0xBD)
            return true;
    }
    return false;
}

// A text the search compares byte by byte with what LIKE compares character by character.
bool isPlainText(QByteArrayView text) {
    return !text.contains('\0') && text.isValidUtf8() && !holdsNonCharacter(text);
}

// Runs work(begin, end) over [0, count) split in two halves on two threads when count is large.
template <typename Work> void inTwoHalves(qsizetype count, Work work) {
    if (count < manyEntries) {
        work(qsizetype(0), count);
        return;
    }
    const qsizetype half = count / 2;
    std::thread other([&]() { work(half, count); });
    work(qsizetype(0), half);
    other.join();
}

// Sorts items with less on two threads: each half on its own, then merged.
template <typename Less> void sortInTwoHalves(std::vector<quint32>& items, Less less) {
    const auto count = static_cast<qsizetype>(items.size());
    if (count < manyEntries) {
        std::stable_sort(items.begin(), items.end(), less);
        return;
    }
    const auto middle = items.begin() + count / 2;
    std::thread other([&]() { std::stable_sort(middle, items.end(), less); });
    std::stable_sort(items.begin(), middle, less);
    other.join();
    std::inplace_merge(items.begin(), middle, items.end(), less);
}

int compareBytes(QByteArrayView a, QByteArrayView b) {
    const qsizetype common = std::min(a.size(), b.size());
    if (common > 0) {
        if (const int c = std::memcmp(a.data(), b.data(), static_cast<std::size_t>(common)))
            return c;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Whether this build of the library lets LIKE find nothing in a blob.
bool likeSkipsBlobs() {
    static const bool skips = sqlite3_compileoption_used("LIKE_DOESNT_MATCH_BLOBS") != 0;
    return skips;
}

// One field of a product: its shown text, and how LIKE reads it.
struct Field {
    std::string shown;
    std::string like;
    bool isNull = false;
    bool likeNull = false;
    bool plain = true;
    quint8 kind = 0;
    double number = 0;
};

Field fieldOf(const RowView& row, int column) {
    Field f;
    const RowView::Type type = row.type(column);
    row.appendUtf8(column, f.shown);
    f.isNull = type == RowView::Type::Null;
    f.kind = f.isNull ? 0 : (type == RowView::Type::Text ? 2 : (type == RowView::Type::Blob ? 3 : 1));
    if (f.kind == 1)
        f.number = row.real(column);
    f.plain = f.isNull || (type == RowView::Type::Text && isPlainText(row.bytes(column)));
    f.likeNull = f.isNull || (type == RowView::Type::Blob && likeSkipsBlobs());
    if (!f.plain && !f.likeNull) {
        // Asked last: reading a number as text converts the field.
        if (const char* text = row.likeText(column))
            f.like = text;
    }
    return f;
}

Field fieldOf(const QueryResult& rows, int row, int column) {
    Field f;
    if (column < 0) {
        f.isNull = f.likeNull = true;
        return f;
    }
    const QueryResult::Type type = rows.type(row, column);
    f.shown = rows.text(row, column).toStdString();
    f.isNull = type == QueryResult::Type::Null;
    f.kind = f.isNull ? 0 : (type == QueryResult::Type::Text ? 2 : (type == QueryResult::Type::Blob ? 3 : 1));
    if (f.kind == 1)
        f.number = rows.number(row, column);
    f.plain = f.isNull || (type == QueryResult::Type::Text && isPlainText(QByteArrayView(f.shown)));
    f.likeNull = f.isNull || (type == QueryResult::Type::Blob && likeSkipsBlobs());
    if (!f.plain && !f.likeNull)
        f.like = std::string(f.shown.c_str()); // up to the first NUL
    return f;
}

ProductTexts::Product productOf(qint64 rowid, Field code, Field name, std::string price) {
    ProductTexts::Product p;
    p.rowid = rowid;
    p.code = std::move(code.shown);
    p.name = std::move(name.shown);
    p.price = std::move(price);
    p.nameKind = name.kind;
    p.nameNumber = name.number;
    p.likeNameNull = name.likeNull;
    p.likeCodeNull = code.likeNull;
    p.flags = static_cast<quint8>((name.isNull ? ProductTexts::NameNull : 0) |
                                  (code.isNull ? ProductTexts::CodeNull : 0) |
                                  ((name.plain && code.plain) ? 0 : ProductTexts::Irregular));
    if (p.flags & ProductTexts::Irregular) {
        // Both fields are matched through LIKE then: a plain one as its own text.
        p.likeName = name.plain ? p.name : std::move(name.like);
        p.likeCode = code.plain ? p.code : std::move(code.like);
    }
    return p;
}

} // namespace

// ---- ProductTexts

QByteArrayView ProductTexts::bytes(quint32 offset, quint32 size) const {
    return QByteArrayView(arena_.data() + offset, size);
}

QString ProductTexts::name(qsizetype i) const {
    const Entry& e = entry(i);
    return QString::fromUtf8(bytes(e.offset, e.nameSize));
}

QString ProductTexts::barcode(qsizetype i) const {
    const Entry& e = entry(i);
    return QString::fromUtf8(bytes(e.offset + e.nameSize + 1, e.codeSize));
}

QString ProductTexts::price(qsizetype i) const {
    const Entry& e = entry(i);
    return QString::fromUtf8(bytes(e.offset + e.nameSize + 1 + e.codeSize + 1, e.priceSize));
}

QString ProductTexts::caption(qsizetype i, bool withPrice) const {
    if (!withPrice)
        return name(i);
    return pickerCaption(name(i), price(i), true);
}

const char* ProductTexts::likeName(qsizetype i) const {
    const Entry& e = entry(i);
    if (e.flags & Irregular) {
        const Stored& s = irregular_.at(static_cast<quint32>(i));
        return s.likeNameNull ? nullptr : s.likeName.c_str();
    }
    return (e.flags & NameNull) ? nullptr : arena_.data() + e.offset;
}

const char* ProductTexts::likeCode(qsizetype i) const {
    const Entry& e = entry(i);
    if (e.flags & Irregular) {
        const Stored& s = irregular_.at(static_cast<quint32>(i));
        return s.likeCodeNull ? nullptr : s.likeCode.c_str();
    }
    return (e.flags & CodeNull) ? nullptr : arena_.data() + e.offset + e.nameSize + 1;
}

int ProductTexts::compareNamesAsStored(qsizetype a, qsizetype b) const {
    auto kindOf = [this](qsizetype i) -> std::pair<quint8, double> {
        const Entry& e = entry(i);
        if (e.flags & Irregular) {
            const Stored& s = irregular_.at(static_cast<quint32>(i));
            return {s.nameKind, s.nameNumber};
        }
        return {static_cast<quint8>((e.flags & NameNull) ? 0 : 2), 0.0};
    };
    const auto [kindA, numberA] = kindOf(a);
    const auto [kindB, numberB] = kindOf(b);
    if (kindA != kindB)
        return kindA < kindB ? -1 : 1;
    if (kindA == 0)
        return 0;
    if (kindA == 1)
        return numberA < numberB ? -1 : (numberA > numberB ? 1 : 0);
    return compareBytes(bytes(entry(a).offset, entry(a).nameSize), bytes(entry(b).offset, entry(b).nameSize));
}

ProductTexts::Product ProductTexts::fromRow(const RowView& row) {
    const qint64 rowid = row.integer(0);
    Field code = fieldOf(row, 1);
    Field name = fieldOf(row, 2);
    std::string price;
    row.appendUtf8(3, price);
    return productOf(rowid, std::move(code), std::move(name), std::move(price));
}

ProductTexts::Product ProductTexts::fromResult(const QueryResult& rows, int row, int codeColumn,
                                               int nameColumn, int priceColumn) {
    return productOf(row, fieldOf(rows, row, codeColumn), fieldOf(rows, row, nameColumn),
                     priceColumn >= 0 ? rows.text(row, priceColumn).toStdString() : std::string());
}

qsizetype ProductTexts::append(const Product& p) {
    Entry e;
    e.rowid = p.rowid;
    e.offset = static_cast<quint32>(arena_.size());
    e.nameSize = static_cast<quint32>(p.name.size());
    e.codeSize = static_cast<quint32>(p.code.size());
    e.priceSize = static_cast<quint32>(p.price.size());
    e.flags = p.flags;
    // Each text ends in a NUL, so a plain one serves LIKE as it is.
    arena_.append(p.name).push_back('\0');
    arena_.append(p.code).push_back('\0');
    arena_.append(p.price).push_back('\0');
    const auto index = static_cast<qsizetype>(entries_.size());
    if (p.flags & Irregular) {
        irregular_[static_cast<quint32>(index)] =
            Stored{p.nameKind, p.nameNumber, p.likeName, p.likeCode, p.likeNameNull, p.likeCodeNull};
        irregularEntries_.push_back(static_cast<quint32>(index));
    }
    entries_.push_back(e);
    return index;
}

bool ProductTexts::sameAs(qsizetype i, const Product& p) const {
    const Entry& e = entry(i);
    if (e.flags != p.flags || bytes(e.offset, e.nameSize) != QByteArrayView(p.name) ||
        bytes(e.offset + e.nameSize + 1, e.codeSize) != QByteArrayView(p.code) ||
        bytes(e.offset + e.nameSize + 1 + e.codeSize + 1, e.priceSize) != QByteArrayView(p.price))
        return false;
    if (!(e.flags & Irregular))
        return true;
    const Stored& s = irregular_.at(static_cast<quint32>(i));
    return s.nameKind == p.nameKind && s.nameNumber == p.nameNumber && s.likeName == p.likeName &&
           s.likeCode == p.likeCode && s.likeNameNull == p.likeNameNull && s.likeCodeNull == p.likeCodeNull;
}

// ---- Loading and sorting

std::vector<quint32> sortByCaption(const ProductTexts& texts, std::vector<quint32> entries, bool withPrices,
                                   const QLocale& locale, const std::vector<quint32>& tieRank) {
    const auto count = static_cast<qsizetype>(entries.size());
    // The collator's key of every caption, made on two threads (a collator each): comparing
    // keys costs a fraction of comparing the texts.
    std::vector<QCollatorSortKey> firstKeys;
    std::vector<QCollatorSortKey> secondKeys;
    const qsizetype half = count < manyEntries ? count : count / 2;
    auto makeKeys = [&](qsizetype begin, qsizetype end, std::vector<QCollatorSortKey>& keys) {
        const QCollator collator(locale);
        keys.reserve(static_cast<std::size_t>(end - begin));
        for (qsizetype i = begin; i < end; ++i)
            keys.push_back(collator.sortKey(texts.caption(entries[static_cast<std::size_t>(i)], withPrices)));
    };
    if (half < count) {
        std::thread other([&]() { makeKeys(half, count, secondKeys); });
        makeKeys(0, half, firstKeys);
        other.join();
    } else {
        makeKeys(0, count, firstKeys);
    }
    auto key = [&](quint32 position) -> const QCollatorSortKey& {
        return position < half ? firstKeys[position] : secondKeys[position - half];
    };
    std::vector<quint32> positions(static_cast<std::size_t>(count));
    std::iota(positions.begin(), positions.end(), 0u);
    sortInTwoHalves(positions, [&](quint32 a, quint32 b) {
        const int c = key(a).compare(key(b));
        if (c != 0)
            return c < 0;
        return tieRank[entries[a]] < tieRank[entries[b]];
    });
    std::vector<quint32> sorted(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        sorted[static_cast<std::size_t>(i)] = entries[positions[static_cast<std::size_t>(i)]];
    return sorted;
}

namespace {

void appendSearchText(CatalogueData& data, qsizetype entry) {
    const ProductTexts& texts = *data.texts;
    if (!(texts.entry(entry).flags & ProductTexts::Irregular)) {
        const char* name = texts.likeName(entry);
        const char* code = texts.likeCode(entry);
        if (name)
            appendLowered(data.search, QByteArrayView(name, qsizetype(std::strlen(name))));
        data.search.push_back('\0');
        if (code)
            appendLowered(data.search, QByteArrayView(code, qsizetype(std::strlen(code))));
        data.search.push_back('\0');
    } else {
        // Never found by the byte search: an irregular entry is matched through LIKE.
        data.search.append(2, '\0');
    }
    data.searchStart.push_back(static_cast<quint32>(data.search.size()));
}

std::vector<quint32> rankOf(const std::vector<quint32>& order, qsizetype count) {
    std::vector<quint32> rank(static_cast<std::size_t>(count));
    for (std::size_t position = 0; position < order.size(); ++position)
        rank[order[position]] = static_cast<quint32>(position);
    return rank;
}

} // namespace

std::unique_ptr<CatalogueData> loadCatalogue(const QString& path, const QLocale& locale, QString& error) {
    KeptMessages kept;
    Database db(kept);
    if (!db.open(path)) {
        error = db.lastError();
        return nullptr;
    }
    auto data = std::make_unique<CatalogueData>();
    data->texts = std::make_shared<ProductTexts>();
    ProductTexts& texts = *data->texts;
    // Read in rowid order, a slice at a time.
    qint64 last = std::numeric_limits<qint64>::min();
    for (;;) {
        int read = 0;
        const bool ok =
            forEachRow(db,
                       QStringLiteral("SELECT rowid, barkod, urunadi, fiyat FROM urunler WHERE rowid > ") +
                           quote(QString::number(last)) + QStringLiteral(" ORDER BY rowid LIMIT ") +
                           QString::number(rowsPerRead) + QLatin1Char(';'),
                       [&](const RowView& row) {
                           const ProductTexts::Product product = ProductTexts::fromRow(row);
                           last = product.rowid;
                           texts.append(product);
                           ++read;
                           return true;
                       });
        if (!ok) {
            error = db.lastError();
            return nullptr;
        }
        if (read < rowsPerRead)
            break;
    }
    const qsizetype count = texts.size();
    std::vector<quint32> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0u);
    // The order of "order by urunadi": its ties (equal names) in rowid order, as read.
    data->byStoredName = all;
    sortInTwoHalves(data->byStoredName,
                    [&](quint32 a, quint32 b) { return texts.compareNamesAsStored(a, b) < 0; });
    const std::vector<quint32> rank = rankOf(data->byStoredName, count);
    data->byCaption = sortByCaption(texts, all, false, locale, rank);
    data->byPricedCaption = sortByCaption(texts, all, true, locale, rank);
    data->searchStart.push_back(0);
    for (qsizetype i = 0; i < count; ++i)
        appendSearchText(*data, i);
    return data;
}

// ---- ProductCatalogue

ProductCatalogue::ProductCatalogue(Database& db, const QLocale& locale)
    : db_(db), locale_(locale), collator_(locale) {}

ProductCatalogue::~ProductCatalogue() {
    // A reading still under way must end before what it reads into goes.
    if (pending_.valid())
        pending_.wait();
}

void ProductCatalogue::takeLoad(std::future<std::unique_ptr<CatalogueData>> load, qint64 dataVersion,
                                quint64 openCount) {
    pending_ = std::move(load);
    dataVersion_ = dataVersion;
    openCount_ = openCount;
}

void ProductCatalogue::install(std::unique_ptr<CatalogueData> data, qint64 dataVersion, quint64 openCount) {
    data_ = std::move(data);
    dataVersion_ = dataVersion;
    openCount_ = openCount;
    loadedCount_ = data_ ? data_->texts->size() : 0;
    dead_.assign(static_cast<std::size_t>(loadedCount_), false);
    added_.clear();
    lastValid_ = false;
}

bool ProductCatalogue::reload() {
    const qint64 version = db_.dataVersion();
    const quint64 opens = db_.openCount();
    db_.takeProductChanges(); // what the reading sees
    QString error;
    install(loadCatalogue(db_.path(), locale_, error), version, opens);
    return data_ != nullptr;
}

bool ProductCatalogue::refreshIfChangedOutside() {
    if (pending_.valid())
        install(pending_.get(), dataVersion_, openCount_);
    if (!data_ || db_.openCount() != openCount_ || db_.dataVersion() != dataVersion_)
        return reload();
    return true;
}

bool ProductCatalogue::refresh() {
    if (!refreshIfChangedOutside())
        return false;
    const RowChanges changes = db_.takeProductChanges();
    if (changes.many)
        return reload();
    if (changes.rowids.isEmpty())
        return true;
    std::vector<qint64> rowids(changes.rowids.begin(), changes.rowids.end());
    std::sort(rowids.begin(), rowids.end());
    rowids.erase(std::unique(rowids.begin(), rowids.end()), rowids.end());
    if (!applyChanges(rowids)) {
        data_.reset();
        return false;
    }
    return true;
}

qsizetype ProductCatalogue::findLoaded(qint64 rowid) const {
    const auto added = added_.find(rowid);
    if (added != added_.end())
        return added->second;
    // The entries of the full load are in rowid order.
    qsizetype low = 0;
    qsizetype high = loadedCount_;
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (data_->texts->entry(middle).rowid < rowid)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < loadedCount_ && data_->texts->entry(low).rowid == rowid &&
        !dead_[static_cast<std::size_t>(low)])
        return low;
    return -1;
}

// Reads the changed rows again on a connection of its own and replaces the entries that no
// longer show or match as the rows do.
bool ProductCatalogue::applyChanges(const std::vector<qint64>& rowids) {
    KeptMessages kept;
    Database reader(kept);
    if (!reader.open(db_.path()))
        return false;
    std::unordered_map<qint64, ProductTexts::Product> rows;
    constexpr std::size_t perStatement = 500;
    for (std::size_t begin = 0; begin < rowids.size(); begin += perStatement) {
        QString list;
        for (std::size_t i = begin; i < std::min(rowids.size(), begin + perStatement); ++i)
            list += (list.isEmpty() ? QString() : QStringLiteral(", ")) + quote(QString::number(rowids[i]));
        const bool ok =
            forEachRow(reader,
                       QStringLiteral("SELECT rowid, barkod, urunadi, fiyat FROM urunler WHERE rowid IN (") +
                           list + QStringLiteral(");"),
                       [&](const RowView& row) {
                           ProductTexts::Product product = ProductTexts::fromRow(row);
                           rows.emplace(product.rowid, std::move(product));
                           return true;
                       });
        if (!ok)
            return false;
    }
    ProductTexts& texts = *data_->texts;
    for (const qint64 rowid : rowids) {
        const qsizetype old = findLoaded(rowid);
        const auto now = rows.find(rowid);
        if (old >= 0 && now != rows.end() && texts.sameAs(old, now->second))
            continue; // its stock changed, say: the picker shows it as before
        if (old >= 0) {
            removeEntry(static_cast<quint32>(old));
            added_.erase(rowid);
        }
        if (now != rows.end()) {
            const auto entry = static_cast<quint32>(texts.append(now->second));
            dead_.push_back(false);
            appendSearchText(*data_, entry);
            insertEntry(entry);
            added_[rowid] = entry;
        }
    }
    lastValid_ = false;
    return true;
}

bool ProductCatalogue::precedes(quint32 a, quint32 b, bool withPrices) const {
    const ProductTexts& texts = *data_->texts;
    const int c = collator_.compare(texts.caption(a, withPrices), texts.caption(b, withPrices));
    if (c != 0)
        return c < 0;
    const int stored = texts.compareNamesAsStored(a, b);
    if (stored != 0)
        return stored < 0;
    return texts.entry(a).rowid < texts.entry(b).rowid;
}

void ProductCatalogue::removeEntry(quint32 entry) {
    for (const bool withPrices : {false, true}) {
        std::vector<quint32>& order = withPrices ? data_->byPricedCaption : data_->byCaption;
        auto at = std::lower_bound(order.begin(), order.end(), entry,
                                   [&](quint32 x, quint32 e) { return precedes(x, e, withPrices); });
        at = std::find(at, order.end(), entry);
        if (at != order.end())
            order.erase(at);
    }
    dead_[entry] = true;
}

void ProductCatalogue::insertEntry(quint32 entry) {
    for (const bool withPrices : {false, true}) {
        std::vector<quint32>& order = withPrices ? data_->byPricedCaption : data_->byCaption;
        const auto at = std::lower_bound(order.begin(), order.end(), entry,
                                         [&](quint32 x, quint32 e) { return precedes(x, e, withPrices); });
        order.insert(at, entry);
    }
}

std::vector<quint32> ProductCatalogue::all(bool withPrices) const {
    return withPrices ? data_->byPricedCaption : data_->byCaption;
}

bool ProductCatalogue::matchesLiteral(quint32 entry, const QByteArray& literal) const {
    const char* begin = data_->search.data() + data_->searchStart[entry];
    const std::size_t size = data_->searchStart[entry + 1] - data_->searchStart[entry];
    return memmem(begin, size, literal.constData(), static_cast<std::size_t>(literal.size())) != nullptr;
}

bool ProductCatalogue::search(const QString& searchText, bool withPrices, std::vector<quint32>& matches) {
    const QByteArray text = searchText.trimmed().toUtf8();
    // The pattern as the LIKE operator sees it: the literal ends at a NUL character.
    QByteArray pattern = '%' + text + '%';
    pattern.truncate(static_cast<qsizetype>(std::strlen(pattern.constData())));
    if (pattern.size() > longestPattern)
        return false; // the statement reports the pattern as too long
    const ProductTexts& texts = *data_->texts;
    const std::vector<quint32>& order = withPrices ? data_->byPricedCaption : data_->byCaption;
    // A text without wildcards is found as lower-case bytes within the lower-case search text.
    const bool literal =
        !text.contains('%') && !text.contains('_') && !text.contains('\0') && !holdsNonCharacter(text);
    QByteArray lowered;
    {
        std::string l;
        appendLowered(l, text);
        lowered = QByteArray::fromStdString(l);
    }
    auto like = [&](quint32 e) {
        const char* name = texts.likeName(e);
        const char* code = texts.likeCode(e);
        return (name && sqlite3_strlike(pattern.constData(), name, 0) == 0) ||
               (code && sqlite3_strlike(pattern.constData(), code, 0) == 0);
    };
    auto matchesOne = [&](quint32 e) {
        const quint8 flags = texts.entry(e).flags;
        if (literal && !(flags & ProductTexts::Irregular))
            return lowered.isEmpty() ? (flags & (ProductTexts::NameNull | ProductTexts::CodeNull)) !=
                                           (ProductTexts::NameNull | ProductTexts::CodeNull)
                                     : matchesLiteral(e, lowered);
        return like(e);
    };

    matches.clear();
    // A text that only adds to the last one finds a part of what that found: looking through
    // those alone is quicker when they are few, while the byte search over everything is
    // quicker than testing many entries one by one.
    if (lastValid_ && lastWithPrices_ == withPrices && text.startsWith(lastText_) &&
        static_cast<qsizetype>(lastMatches_.size()) * 8 < texts.size()) {
        for (const quint32 e : lastMatches_) {
            if (matchesOne(e))
                matches.push_back(e);
        }
    } else {
        const qsizetype count = texts.size();
        std::vector<char> matched(static_cast<std::size_t>(count), 0);
        // The longest run of plain characters in the pattern: an entry can only match when its
        // name or barcode holds it, so the byte search narrows what LIKE must look at.
        QByteArray piece = lowered;
        if (!literal) {
            piece.clear();
            QByteArray run;
            for (const char c : pattern) {
                if (c == '%' || c == '_') {
                    if (run.size() > piece.size())
                        piece = run;
                    run.clear();
                } else {
                    run.push_back(isAsciiUpper(c) ? static_cast<char>(c + ('a' - 'A')) : c);
                }
            }
            if (holdsNonCharacter(piece) || piece.contains(char(0xEF)))
                piece.clear(); // U+FFFD and its kin may stand for other bytes
        }
        inTwoHalves(count, [&](qsizetype begin, qsizetype end) {
            if (piece.isEmpty()) {
                for (qsizetype e = begin; e < end; ++e)
                    matched[static_cast<std::size_t>(e)] = matchesOne(static_cast<quint32>(e)) ? 1 : 0;
                return;
            }
            const char* search = data_->search.data();
            const char* at = search + data_->searchStart[static_cast<std::size_t>(begin)];
            const char* stop = search + data_->searchStart[static_cast<std::size_t>(end)];
            qsizetype e = begin;
            while (at < stop) {
                const void* hit = memmem(at, static_cast<std::size_t>(stop - at), piece.constData(),
                                         static_cast<std::size_t>(piece.size()));
                if (!hit)
                    break;
                const auto offset = static_cast<quint32>(static_cast<const char*>(hit) - search);
                while (data_->searchStart[static_cast<std::size_t>(e) + 1] <= offset)
                    ++e;
                matched[static_cast<std::size_t>(e)] = (literal || like(static_cast<quint32>(e))) ? 1 : 0;
                at = search + data_->searchStart[static_cast<std::size_t>(e) + 1];
            }
        });
        if (!piece.isEmpty()) {
            // Irregular entries hold no search text of their own.
            for (const quint32 e : texts.irregularEntries())
                matched[e] = like(e) ? 1 : 0;
        }
        for (const quint32 e : order) {
            if (matched[e])
                matches.push_back(e);
        }
    }
    lastText_ = text;
    lastWithPrices_ = withPrices;
    lastMatches_ = matches;
    lastValid_ = true;
    return true;
}

} // namespace tillora
