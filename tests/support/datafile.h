#pragma once
// Data files for tests, made with the bare sqlite3 library so that the code
// under test does not build its own fixtures.
#include "store/database.h"

#include <QString>
#include <QStringList>

namespace tillora::test {

// Runs sql on the file at path, creating the file when needed. Fails the test on error.
bool execOn(const QString& path, const QString& sql);
// The rows of a query on the file, read with the bare library: what the data file really holds.
// Each row is its fields joined by "|" (NUL characters kept), a NULL field as "NULL".
QStringList rowsOf(const QString& path, const QString& sql);
// A data file made from the schema the build lays out ($TILLORA_SCHEMA), then extraSql.
bool makeDataFile(const QString& path, const QString& extraSql = QString());

// Collects the statements a Database runs.
struct StatementLog {
    struct Entry {
        Database::StatementKind kind;
        QString sql;
        bool succeeded;
    };
    QList<Entry> entries;
    void attach(Database& db);
    QStringList commands() const;
};

} // namespace tillora::test
