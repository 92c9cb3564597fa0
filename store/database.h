#pragma once
#include <QAnyStringView>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace tillora {

class IMessages;
class RowView;

// A failed statement: a plain box with the application title, no icon and an OK button,
// reading "Exception raised with message: " and the database's error text.
void reportDbError(IMessages& messages, const QString& errorText);

// The data file beside the program: its folder followed by data.db.
QString dataFilePath();

// The rows of one query, copied out of the statement so the statement is finished at once.
// Fields are read by column name (exact name first, then ignoring letter case). Reading a
// column the result does not have, or a row past the end, raises AppError: that is a
// mistake in the statement or the caller, and is shown rather than read as an empty value.
class QueryResult {
public:
    QueryResult() = default;

    // True when the statement failed (it was reported then); a failed query has no rows.
    bool failed() const { return failed_; }
    const QString& error() const { return error_; }

    int rowCount() const { return rows_; }
    bool isEmpty() const { return rows_ == 0; }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    const QStringList& columns() const { return columns_; }
    // Position of a column, or -1 when the result has none of that name.
    int columnIndex(QAnyStringView name) const;
    bool hasColumn(QAnyStringView name) const { return columnIndex(name) >= 0; }

    bool isNull(int row, QAnyStringView column) const { return isNull(row, requireColumn(column)); }
    // NULL reads as the empty text, an integer in decimal, a real with up to 15 significant
    // digits ("." as decimal point whatever the locale).
    QString text(int row, QAnyStringView column) const { return text(row, requireColumn(column)); }
    // A real is cut toward zero; a text is read as a number ("." decimal point); NULL and
    // a text that is no number read as 0.
    qint64 integer(int row, QAnyStringView column) const { return integer(row, requireColumn(column)); }
    double number(int row, QAnyStringView column) const { return number(row, requireColumn(column)); }

    bool isNull(int row, int column) const;
    QString text(int row, int column) const;
    qint64 integer(int row, int column) const;
    double number(int row, int column) const;

    // What a field holds as the database gave it.
    enum class Type : quint8 { Null, Integer, Real, Text, Blob };
    Type type(int row, int column) const;

private:
    friend class Database;
    struct Cell {
        Type type = Type::Null;
        qint32 size = 0; // bytes of a text or blob in the arena
        union {
            qint64 integer;
            double real;
            qint64 offset; // start of a text or blob in the arena
        } value{0};
    };

    int requireColumn(QAnyStringView name) const;
    const Cell& cell(int row, int column) const;

    QStringList columns_;
    QList<Cell> cells_; // row after row
    QByteArray arena_;  // the texts and blobs of all cells, UTF-8
    int rows_ = 0;
    bool failed_ = false;
    QString error_;
};

// The rows of the products table changed through one connection: inserted, updated or deleted.
// When more changed than are worth listing one by one, many is set and the list is dropped.
struct RowChanges {
    QList<qint64> rowids;
    bool many = false;
    bool isEmpty() const { return rowids.isEmpty() && !many; }
};

// The one connection to the data file for the whole run. Statements run one at a time on
// it; a failing statement is reported with reportDbError and the caller goes on.
class Database {
public:
    enum class StatementKind { Query, Command, Transaction };
    // Sees every statement run, after it ran: its kind, its text and whether it succeeded.
    using StatementObserver = std::function<void(StatementKind kind, const QString& sql, bool succeeded)>;

    explicit Database(IMessages& messages);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file for reading and writing; never creates one, so a missing file
    // fails. A file that is no database or stays locked longer than the busy time-out fails
    // too. Waits up to 5 seconds for a lock another process holds. Does not report: the
    // caller shows lastError(). Any connection open before is closed first.
    bool open(const QString& path);
    // After a failed open at start: the next statement that needs the data file opens path
    // again, and once it opens runs whenOpened (the rest of the start-up work) before the
    // statement itself. While it still cannot be opened, each statement fails with the reason.
    void openLater(const QString& path, std::function<void()> whenOpened);
    bool opensLater() const { return !pendingPath_.isEmpty(); }
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }
    // The error text of the last failure: the database's own message where it gave one.
    const QString& lastError() const { return lastError_; }

    // A statement that returns rows (SELECT, PRAGMA). A failure is reported and gives no rows.
    QueryResult query(const QString& sql);
    // query, keeping of each row only the named columns (found as QueryResult finds them:
    // exact name first, then ignoring letter case), so a long list that needs one column of a
    // "SELECT *" copies only that one. A named column the statement lacks is left out.
    QueryResult query(const QString& sql, const QStringList& keep);
    // A statement that returns none (INSERT, UPDATE, DELETE, ALTER TABLE). Returns false,
    // after reporting, when it failed.
    bool command(const QString& sql);

    // The id the database gave the row of the last successful INSERT on this connection.
    qint64 lastInsertId() const;
    // Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    bool inTransaction() const;
    // Failures reported so far on this object (statements, transaction steps, reportError).
    int failureCount() const { return failures_; }

    // Reports a failure found by the caller as if a statement had failed with this text.
    void reportError(const QString& errorText);
    IMessages& messages() const { return messages_; }

    void setStatementObserver(StatementObserver observer) { observer_ = std::move(observer); }

    // Successful opens so far: a new count means another file, or the file replaced.
    quint64 openCount() const { return opens_; }
    // The file's data version as this connection sees it: it changes whenever another
    // connection (another program, another instance, a connection of this one) has committed
    // a change. Not reported when it fails: -1 then, as when the file is not open.
    qint64 dataVersion();
    // The rows of urunler changed through this connection since the last call.
    RowChanges takeProductChanges() { return std::exchange(productChanges_, RowChanges()); }

private:
    friend class Transaction;
    // Statements over many rows (store/statement.h) run on this connection too.
    friend class PreparedCommand;
    friend bool forEachRow(Database& db, const QString& sql,
                           const std::function<bool(const RowView&)>& onRow);
    bool transactionStep(const QString& sql);
    // Prepares the one statement of sql; null with the reason in error when that fails.
    sqlite3_stmt* prepare(const QString& sql, QString& error);
    // Tells the observer, and reports error when there is one; true when there is none.
    bool finish(StatementKind kind, const QString& sql, const QString& error);
    void notify(StatementKind kind, const QString& sql, bool succeeded);
    QString databaseError() const;
    // Opens the file of openLater() when one waits; the reason in error when it cannot.
    void openIfWaiting(QString& error);

    IMessages& messages_;
    sqlite3* db_ = nullptr;
    QString path_;
    QString lastError_;
    int failures_ = 0;
    StatementObserver observer_;
    QString pendingPath_;
    std::function<void()> whenOpened_;
    quint64 opens_ = 0;
    RowChanges productChanges_;
    static void rowChanged(void* self, int operation, const char* database, const char* table, qint64 rowid);
};

// Groups statements so they are recorded whole or not at all. Begins on construction
// (taking the write lock at once, so a second instance waits here and not half-way);
// commit() makes the changes permanent; a transaction not committed is rolled back when
// the guard goes away, for example when an error abandons the operation.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // False when the begin failed (it was reported): the caller must not run its statements,
    // since each would then be recorded on its own.
    bool isActive() const { return active_; }
    // True when some statement failed (and was reported) since the transaction began.
    bool hadFailures() const { return db_.failureCount() != failuresAtBegin_; }
    // Returns false when the transaction was not active or the commit failed (reported);
    // the changes are then not recorded.
    bool commit();
    void rollback();

private:
    Database& db_;
    bool active_ = false;
    int failuresAtBegin_ = 0;
};

} // namespace tillora
