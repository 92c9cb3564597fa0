#pragma once
// Statements for work on many rows at once: a command compiled once and run per row with its
// values bound, and a query whose rows are handed over while it steps, without copying the
// whole result first. Both run on the one connection and report failures as every other
// statement does.
#include <QAnyStringView>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <initializer_list>
#include <span>
#include <string>

struct sqlite3_stmt;

namespace tillora {

class Database;

// A command with "?" in place of its values, compiled once. Each value is bound as text, so
// the column's type turns it into a number exactly as it turns the same text written as a
// quoted literal ('2.50' into a real, '0042' kept as text in a text column).
class PreparedCommand {
public:
    // Compiles sql; a failure is reported and leaves the command invalid.
    PreparedCommand(Database& db, const QString& sql);
    ~PreparedCommand();
    PreparedCommand(const PreparedCommand&) = delete;
    PreparedCommand& operator=(const PreparedCommand&) = delete;

    enum class OnFailure { Report, Quiet };

    bool isValid() const { return stmt_ != nullptr; }
    // Runs the command once with values (UTF-8) bound to its parameters in order. False when
    // it failed (or the command is invalid); the failure is reported unless asked to stay
    // quiet, for a caller that handles it itself.
    bool run(std::span<const QByteArrayView> values, OnFailure onFailure = OnFailure::Report);
    bool run(std::initializer_list<QByteArrayView> values) {
        return run(std::span(values.begin(), values.size()));
    }

private:
    Database& db_;
    QString sql_;
    sqlite3_stmt* stmt_ = nullptr;
};

// One row of a query while it steps; valid only inside the function it is handed to.
class RowView {
public:
    int columnCount() const;
    // Position of a column (exact name first, then ignoring letter case), -1 when none.
    int columnIndex(QAnyStringView name) const;
    bool isNull(int column) const;
    // The field in the same text form QueryResult::text gives (NULL as the empty text, a real
    // with up to 15 significant digits), as UTF-8 bytes appended to out (a plain byte string,
    // the cheapest to append to when millions of fields are written).
    void appendUtf8(int column, std::string& out) const;
    QString text(int column) const;
    // What the field holds, as the database gave it.
    enum class Type : quint8 { Null, Integer, Real, Text, Blob };
    Type type(int column) const;
    // The stored bytes of a text or blob (empty for other kinds), valid until the next row.
    QByteArrayView bytes(int column) const;
    // The field as the LIKE operator reads it: the database's own text form (a real written
    // its way, for example 2.0), up to the first NUL character; null for NULL.
    const char* likeText(int column) const;
    double real(int column) const;
    qint64 integer(int column) const;

private:
    friend bool forEachRow(Database& db, const QString& sql,
                           const std::function<bool(const RowView&)>& onRow);
    explicit RowView(sqlite3_stmt* stmt) : stmt_(stmt) {}
    sqlite3_stmt* stmt_;
};

// Runs a query and hands each row to onRow as it is read; onRow returns false to stop early.
// False when the statement failed (it was reported then, as Database::query reports it);
// rows handed over before a failure stay handed over.
bool forEachRow(Database& db, const QString& sql, const std::function<bool(const RowView&)>& onRow);

} // namespace tillora
