#include "store/statement.h"

#include "store/database.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>

namespace tillora {

// ---- PreparedCommand

PreparedCommand::PreparedCommand(Database& db, const QString& sql) : db_(db), sql_(sql) {
    QString error;
    stmt_ = db_.prepare(sql_, error);
    if (!stmt_)
        db_.finish(Database::StatementKind::Command, sql_, error);
}

PreparedCommand::~PreparedCommand() {
    sqlite3_finalize(stmt_);
}

bool PreparedCommand::run(std::span<const QByteArrayView> values, OnFailure onFailure) {
    if (!stmt_)
        return false;
    // The values stay where they are until the step is done; the bindings are cleared after it.
    int index = 1;
    for (const QByteArrayView value : values)
        sqlite3_bind_text(stmt_, index++, value.isNull() ? "" : value.data(), static_cast<int>(value.size()),
                          SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
    }
    const QString error = rc == SQLITE_DONE ? QString() : db_.databaseError();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    if (onFailure == OnFailure::Quiet) {
        db_.notify(Database::StatementKind::Command, sql_, error.isNull());
        return error.isNull();
    }
    return db_.finish(Database::StatementKind::Command, sql_, error);
}

// ---- RowView

int RowView::columnCount() const {
    return sqlite3_column_count(stmt_);
}

int RowView::columnIndex(QAnyStringView name) const {
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (QAnyStringView(QUtf8StringView(sqlite3_column_name(stmt_, i))) == name)
            return i;
    }
    for (int i = 0; i < count; ++i) {
        if (QAnyStringView::compare(QUtf8StringView(sqlite3_column_name(stmt_, i)), name,
                                    Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool RowView::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

void RowView::appendUtf8(int column, std::string& out) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        return;
    case SQLITE_INTEGER: {
        char digits[24];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, sqlite3_column_int64(stmt_, column)).ptr;
        out.append(digits, end);
        return;
    }
    case SQLITE_FLOAT: {
        // "%.15g", as QString::number(value, 'g', 15) writes it (which writes -0 as 0).
        double value = sqlite3_column_double(stmt_, column);
        if (value == 0)
            value = 0;
        char digits[32];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15).ptr;
        out.append(digits, end);
        return;
    }
    default: {
        // Text and blobs: the stored bytes as they are (the program stores UTF-8).
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        if (bytes)
            out.append(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
        return;
    }
    }
}

RowView::Type RowView::type(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return Type::Integer;
    case SQLITE_FLOAT:
        return Type::Real;
    case SQLITE_TEXT:
        return Type::Text;
    case SQLITE_BLOB:
        return Type::Blob;
    default:
        return Type::Null;
    }
}

QByteArrayView RowView::bytes(int column) const {
    const int kind = sqlite3_column_type(stmt_, column);
    if (kind != SQLITE_TEXT && kind != SQLITE_BLOB)
        return {};
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArrayView(data, sqlite3_column_bytes(stmt_, column));
}

const char* RowView::likeText(int column) const {
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
}

double RowView::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

qint64 RowView::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QString RowView::text(int column) const {
    std::string bytes;
    appendUtf8(column, bytes);
    return QString::fromStdString(bytes);
}

// ---- forEachRow

bool forEachRow(Database& db, const QString& sql, const std::function<bool(const RowView&)>& onRow) {
    QString error;
    // Finished also when onRow raises an error that abandons the caller's work.
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(db.prepare(sql, error),
                                                                     sqlite3_finalize);
    if (stmt) {
        const RowView row(stmt.get());
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            if (!onRow(row)) {
                rc = SQLITE_DONE;
                break;
            }
        }
        if (rc != SQLITE_DONE)
            error = db.databaseError();
    }
    return db.finish(Database::StatementKind::Query, sql, error);
}

} // namespace tillora
