#include "store/database.h"

#include "common/errors.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QDir>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

namespace tillora {

namespace {

// How long a statement waits for a lock held by another process before it fails.
constexpr int busyTimeoutMs = 5000;

const QString notOpenError = QStringLiteral("the data file is not open");

// A statement text may hold only one statement: whatever follows the first one, apart
// from blanks and semicolons, is refused instead of silently dropped.
bool onlyBlanksAfter(const char* tail) {
    for (; tail && *tail; ++tail) {
        const char c = *tail;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';')
            return false;
    }
    return true;
}

// Changes listed one by one up to this many; beyond it a reader reloads the whole table.
constexpr qsizetype maxListedChanges = 20000;

// A DELETE of a whole table is normally done by emptying the table at once, which tells no
// one which rows went. Asking for it to be done row by row keeps every deleted product seen
// by rowChanged; other statements are authorised as they are.
int authorize(void*, int action, const char* table, const char*, const char*, const char*) {
    if (action == SQLITE_DELETE && table && sqlite3_stricmp(table, "urunler") == 0)
        return SQLITE_IGNORE;
    return SQLITE_OK;
}

qint64 realToInteger(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (value <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(value);
}

} // namespace

void reportDbError(IMessages& messages, const QString& errorText) {
    showPlain(messages, QStringLiteral("Exception raised with message: ") + errorText);
}

QString dataFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("data.db"));
}

// ---- QueryResult

int QueryResult::columnIndex(QAnyStringView name) const {
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (QAnyStringView(columns_[i]) == name)
            return i;
    }
    for (int i = 0; i < count; ++i) {
        if (QAnyStringView::compare(columns_[i], name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int QueryResult::requireColumn(QAnyStringView name) const {
    const int index = columnIndex(name);
    if (index < 0)
        throw AppError(QStringLiteral("Field '%1' not found").arg(name.toString()));
    return index;
}

const QueryResult::Cell& QueryResult::cell(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columnCount())
        throw AppError(QStringLiteral("Row %1, column %2 is out of range").arg(row).arg(column));
    return cells_[static_cast<qsizetype>(row) * columnCount() + column];
}

QueryResult::Type QueryResult::type(int row, int column) const {
    return cell(row, column).type;
}

bool QueryResult::isNull(int row, int column) const {
    return cell(row, column).type == Type::Null;
}

QString QueryResult::text(int row, int column) const {
    const Cell& c = cell(row, column);
    switch (c.type) {
    case Type::Null:
        return QString();
    case Type::Integer:
        return QString::number(c.value.integer);
    case Type::Real:
        return QString::number(c.value.real, 'g', 15);
    case Type::Text:
    case Type::Blob:
        return QString::fromUtf8(arena_.constData() + c.value.offset, c.size);
    }
    return QString();
}

qint64 QueryResult::integer(int row, int column) const {
    const Cell& c = cell(row, column);
    switch (c.type) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return c.value.integer;
    case Type::Real:
        return realToInteger(c.value.real);
    case Type::Text:
    case Type::Blob: {
        const QByteArray bytes =
            QByteArray::fromRawData(arena_.constData() + c.value.offset, c.size).trimmed();
        bool ok = false;
        const qint64 whole = bytes.toLongLong(&ok);
        if (ok)
            return whole;
        const double real = bytes.toDouble(&ok);
        return ok ? realToInteger(real) : 0;
    }
    }
    return 0;
}

double QueryResult::number(int row, int column) const {
    const Cell& c = cell(row, column);
    switch (c.type) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return static_cast<double>(c.value.integer);
    case Type::Real:
        return c.value.real;
    case Type::Text:
    case Type::Blob: {
        bool ok = false;
        const double real =
            QByteArray::fromRawData(arena_.constData() + c.value.offset, c.size).trimmed().toDouble(&ok);
        return ok ? real : 0;
    }
    }
    return 0;
}

// ---- Database

Database::Database(IMessages& messages) : messages_(messages) {}

Database::~Database() {
    close();
}

bool Database::open(const QString& path) {
    close();
    path_ = path;
    if (path.isEmpty()) {
        // SQLite would make a temporary database for an empty name.
        lastError_ = QStringLiteral("unable to open database file");
        return false;
    }
    sqlite3* db = nullptr;
    // A connection belongs to the thread that opened it (the background readers open their
    // own), so SQLite's lock around every call on it is left out: reading a large list calls
    // it several times for every cell.
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        lastError_ = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // SQLite reads the file only at the first statement; read its schema now so that a
    // file that is no database, or one locked beyond the time-out, fails here.
    char* error = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, &error) != SQLITE_OK) {
        lastError_ = QString::fromUtf8(error ? error : sqlite3_errmsg(db));
        sqlite3_free(error);
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    ++opens_;
    productChanges_ = RowChanges();
    sqlite3_update_hook(db_, &Database::rowChanged, this);
    sqlite3_set_authorizer(db_, &authorize, nullptr);
    return true;
}

void Database::rowChanged(void* self, int, const char*, const char* table, qint64 rowid) {
    if (sqlite3_stricmp(table, "urunler") != 0)
        return;
    RowChanges& changes = static_cast<Database*>(self)->productChanges_;
    if (changes.many)
        return;
    if (changes.rowids.size() >= maxListedChanges) {
        changes.rowids = QList<qint64>();
        changes.many = true;
        return;
    }
    changes.rowids.append(rowid);
}

qint64 Database::dataVersion() {
    if (!db_)
        return -1;
    sqlite3_stmt* stmt = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(db_, "PRAGMA data_version;", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return version;
}

void Database::openLater(const QString& path, std::function<void()> whenOpened) {
    pendingPath_ = path;
    whenOpened_ = std::move(whenOpened);
}

void Database::openIfWaiting(QString& error) {
    if (db_ || pendingPath_.isEmpty())
        return;
    if (!open(pendingPath_)) {
        error = lastError_;
        return;
    }
    pendingPath_.clear();
    // Taken out first: the work runs statements of its own, which must not come back here.
    const std::function<void()> work = std::exchange(whenOpened_, nullptr);
    if (work)
        work();
}

void Database::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

QString Database::databaseError() const {
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

void Database::reportError(const QString& errorText) {
    lastError_ = errorText;
    ++failures_;
    reportDbError(messages_, errorText);
}

void Database::notify(StatementKind kind, const QString& sql, bool succeeded) {
    if (observer_)
        observer_(kind, sql, succeeded);
}

sqlite3_stmt* Database::prepare(const QString& sql, QString& error) {
    openIfWaiting(error);
    if (!db_) {
        if (error.isNull())
            error = notOpenError;
        return nullptr;
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.constData(), static_cast<int>(text.size()) + 1, &stmt, &tail) !=
        SQLITE_OK)
        error = databaseError();
    else if (!stmt)
        error = QStringLiteral("the statement is empty");
    else if (!onlyBlanksAfter(tail))
        error = QStringLiteral("only one statement may be run at a time");
    else
        return stmt;
    sqlite3_finalize(stmt);
    return nullptr;
}

bool Database::finish(StatementKind kind, const QString& sql, const QString& error) {
    notify(kind, sql, error.isNull());
    if (error.isNull())
        return true;
    reportError(error);
    return false;
}

QueryResult Database::query(const QString& sql) {
    return query(sql, QStringList());
}

QueryResult Database::query(const QString& sql, const QStringList& keep) {
    QueryResult result;
    QString error;
    if (sqlite3_stmt* stmt = prepare(sql, error)) {
        const int count = sqlite3_column_count(stmt);
        result.columns_.reserve(count);
        for (int i = 0; i < count; ++i)
            result.columns_.append(QString::fromUtf8(sqlite3_column_name(stmt, i)));
        // The statement's positions of the columns kept, in the statement's order.
        QList<int> kept(count);
        std::iota(kept.begin(), kept.end(), 0);
        if (!keep.isEmpty()) {
            kept.removeIf([&](int i) {
                return std::none_of(keep.cbegin(), keep.cend(),
                                    [&](const QString& name) { return result.columnIndex(name) == i; });
            });
            QStringList names;
            for (const int i : kept)
                names.append(result.columns_[i]);
            result.columns_ = names;
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (const int i : kept) {
                QueryResult::Cell cell;
                // Each call into the library takes the connection's lock: ask the type once.
                const int type = sqlite3_column_type(stmt, i);
                switch (type) {
                case SQLITE_INTEGER:
                    cell.type = QueryResult::Type::Integer;
                    cell.value.integer = sqlite3_column_int64(stmt, i);
                    break;
                case SQLITE_FLOAT:
                    cell.type = QueryResult::Type::Real;
                    cell.value.real = sqlite3_column_double(stmt, i);
                    break;
                case SQLITE_TEXT:
                case SQLITE_BLOB: {
                    const bool isText = type == SQLITE_TEXT;
                    const void* data = isText ? static_cast<const void*>(sqlite3_column_text(stmt, i))
                                              : sqlite3_column_blob(stmt, i);
                    cell.type = isText ? QueryResult::Type::Text : QueryResult::Type::Blob;
                    cell.size = sqlite3_column_bytes(stmt, i);
                    cell.value.offset = result.arena_.size();
                    if (cell.size > 0)
                        result.arena_.append(static_cast<const char*>(data), cell.size);
                    break;
                }
                default:
                    break;
                }
                result.cells_.append(cell);
            }
            ++result.rows_;
        }
        if (rc != SQLITE_DONE)
            error = databaseError();
        sqlite3_finalize(stmt);
    }
    if (!finish(StatementKind::Query, sql, error)) {
        QueryResult failed;
        failed.failed_ = true;
        failed.error_ = error;
        return failed;
    }
    return result;
}

bool Database::command(const QString& sql) {
    QString error;
    if (sqlite3_stmt* stmt = prepare(sql, error)) {
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            error = databaseError();
        sqlite3_finalize(stmt);
    }
    return finish(StatementKind::Command, sql, error);
}

bool Database::transactionStep(const QString& sql) {
    QString error;
    openIfWaiting(error);
    if (!db_) {
        if (error.isNull())
            error = notOpenError;
    } else {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
            error = QString::fromUtf8(message ? message : sqlite3_errmsg(db_));
        sqlite3_free(message);
    }
    return finish(StatementKind::Transaction, sql, error);
}

qint64 Database::lastInsertId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int Database::changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

bool Database::inTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

// ---- Transaction

Transaction::Transaction(Database& db) : db_(db) {
    active_ = db_.transactionStep(QStringLiteral("BEGIN IMMEDIATE;"));
    failuresAtBegin_ = db_.failureCount();
}

Transaction::~Transaction() {
    rollback();
}

bool Transaction::commit() {
    if (!active_)
        return false;
    if (!db_.inTransaction()) {
        // The database ended the transaction itself after a severe error; what ran
        // before that was undone.
        active_ = false;
        db_.reportError(QStringLiteral("the transaction was rolled back by the database"));
        return false;
    }
    if (db_.transactionStep(QStringLiteral("COMMIT;"))) {
        active_ = false;
        return true;
    }
    rollback();
    return false;
}

void Transaction::rollback() {
    if (!active_)
        return;
    active_ = false;
    if (db_.inTransaction())
        db_.transactionStep(QStringLiteral("ROLLBACK;"));
}

} // namespace tillora
