#include "store/statement.h"

#include "store/database.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>

namespace tillora {

// ---- PreparedCommand

PreparedCommand::PreparedCommand(Database& db, const QString& sql) : db_(db), sql_(sql) {
    if (!db_.db_) {
        db_.notify(Database::StatementKind::Command, sql_, false);
        db_.reportError(QStringLiteral("the data file is not open"));
        return;
    }
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_.db_, text.constData(), static_cast<int>(text.size()) + 1, &stmt_, nullptr) !=
            SQLITE_OK ||
        !stmt_) {
        const QString error = db_.databaseError();
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        db_.notify(Database::StatementKind::Command, sql_, false);
        db_.reportError(error);
    }
}

PreparedCommand::~PreparedCommand() {
    sqlite3_finalize(stmt_);
}

bool PreparedCommand::run(std::initializer_list<QStringView> values) {
    if (!stmt_)
        return false;
    // SQLite copies each value (SQLITE_TRANSIENT), so the bytes may go at once.
    int index = 1;
    for (const QStringView value : values) {
        const QByteArray bytes = value.toUtf8();
        sqlite3_bind_text(stmt_, index++, bytes.constData(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    }
    int rc;
    while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
    }
    const bool ok = rc == SQLITE_DONE;
    const QString error = ok ? QString() : db_.databaseError();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    db_.notify(Database::StatementKind::Command, sql_, ok);
    if (!ok)
        db_.reportError(error);
    return ok;
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

void RowView::appendUtf8(int column, QByteArray& out) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        return;
    case SQLITE_INTEGER: {
        char digits[24];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, sqlite3_column_int64(stmt_, column)).ptr;
        out.append(digits, end - digits);
        return;
    }
    case SQLITE_FLOAT:
        out += QByteArray::number(sqlite3_column_double(stmt_, column), 'g', 15);
        return;
    default: {
        // Text and blobs: the stored bytes as they are (the program stores UTF-8).
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        out.append(bytes, sqlite3_column_bytes(stmt_, column));
        return;
    }
    }
}

QString RowView::text(int column) const {
    QByteArray bytes;
    appendUtf8(column, bytes);
    return QString::fromUtf8(bytes);
}

// ---- forEachRow

bool forEachRow(Database& db, const QString& sql, const std::function<bool(const RowView&)>& onRow) {
    QString error;
    if (!db.db_) {
        error = QStringLiteral("the data file is not open");
    } else {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        const int prepared =
            sqlite3_prepare_v2(db.db_, text.constData(), static_cast<int>(text.size()) + 1, &stmt, nullptr);
        // Finished also when onRow raises an error that abandons the caller's work.
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owner(stmt, sqlite3_finalize);
        if (prepared != SQLITE_OK) {
            error = db.databaseError();
        } else if (!stmt) {
            error = QStringLiteral("the statement is empty");
        } else {
            const RowView row(stmt);
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                if (!onRow(row)) {
                    rc = SQLITE_DONE;
                    break;
                }
            }
            if (rc != SQLITE_DONE)
                error = db.databaseError();
        }
    }
    db.notify(Database::StatementKind::Query, sql, error.isNull());
    if (!error.isNull()) {
        db.reportError(error);
        return false;
    }
    return true;
}

} // namespace tillora
