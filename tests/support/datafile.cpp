#include "tests/support/datafile.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

namespace tillora::test {

bool execOn(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK;
    char* error = nullptr;
    if (ok && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        qWarning("fixture statement failed: %s", error ? error : sqlite3_errmsg(db));
        ok = false;
    }
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

QStringList rowsOf(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    QStringList rows;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                QStringList fields;
                for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                    fields << (text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, c))
                                    : QStringLiteral("NULL"));
                }
                rows << fields.join(QLatin1Char('|'));
            }
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return rows;
}

bool makeDataFile(const QString& path, const QString& extraSql) {
    QFile schema(qEnvironmentVariable("TILLORA_SCHEMA"));
    if (!schema.open(QIODevice::ReadOnly)) {
        qWarning("cannot read the schema named by TILLORA_SCHEMA");
        return false;
    }
    return execOn(path, QString::fromUtf8(schema.readAll()) + extraSql);
}

void StatementLog::attach(Database& db) {
    db.setStatementObserver([this](Database::StatementKind kind, const QString& sql, bool succeeded) {
        entries.append({kind, sql, succeeded});
    });
}

QStringList StatementLog::commands() const {
    QStringList list;
    for (const Entry& e : entries) {
        if (e.kind == Database::StatementKind::Command)
            list.append(e.sql);
    }
    return list;
}

} // namespace tillora::test
