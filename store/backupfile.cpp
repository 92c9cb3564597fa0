#include "store/backupfile.h"

#include "common/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>
#include <QThread>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>

namespace tillora {

namespace {

// How long a copy waits for a lock another connection holds on the source.
constexpr int lockWaitMs = 5000;
constexpr qint64 copyChunk = 1 << 20;

using Connection = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString errorOf(sqlite3* db, int rc) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Opens an existing database; never creates one.
Connection openDatabase(const QString& path, int flags, QString& error) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    Connection connection(db, sqlite3_close);
    if (rc != SQLITE_OK) {
        error = errorOf(db, rc);
        return Connection(nullptr, sqlite3_close);
    }
    sqlite3_busy_timeout(db, lockWaitMs);
    return connection;
}

// The folder's entry of a renamed file reaches the disk too, so the new name survives a power cut.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Renames from to to, replacing to. False with the reason.
bool renameOver(const QString& from, const QString& to, QString& error) {
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec) {
        error = QString::fromLocal8Bit(ec.message());
        return false;
    }
    syncFolder(QFileInfo(to).absolutePath());
    return true;
}

// A new empty file beside target for a copy to grow in, with the permissions of target when
// it exists. Empty with the reason in error when none can be made.
QString temporaryBeside(const QString& target, QString& error) {
    const QFileInfo info(target);
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX.tmp"));
    file.setAutoRemove(false);
    if (!file.open()) {
        error = file.errorString();
        return {};
    }
    file.close();
    const QFile::Permissions permissions =
        info.exists() ? QFile::permissions(target)
                      : (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(file.fileName(), permissions);
    return file.fileName();
}

// Runs SQLite's online backup of source into the empty database file at target.
bool backupInto(const QString& source, const QString& target, QString& error) {
    Connection from = openDatabase(source, SQLITE_OPEN_READONLY, error);
    if (!from)
        return false;
    Connection to = openDatabase(target, SQLITE_OPEN_READWRITE, error);
    if (!to)
        return false;
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup) {
        error = errorOf(to.get(), SQLITE_ERROR);
        return false;
    }
    // All pages in one step, under one read lock of the source: the copy is one moment of it.
    int rc;
    int waited = 0;
    while ((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (waited >= lockWaitMs)
            break;
        QThread::msleep(50);
        waited += 50;
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        error = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    if (sqlite3_close(to.release()) != SQLITE_OK) {
        error = QStringLiteral("the copy could not be closed");
        return false;
    }
    return true;
}

// A plain copy of the bytes of source to target, whole or not at all.
bool copyBytes(const QString& source, const QString& target, QString& error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        error = in.errorString();
        return false;
    }
    AtomicFile out(target);
    if (!out.open()) {
        error = out.error();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(copyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            error = in.errorString();
            return false;
        }
        if (!out.write(chunk)) {
            error = out.error();
            return false;
        }
    }
    if (!out.commit()) {
        error = out.error();
        return false;
    }
    return true;
}

} // namespace

bool isSameFile(const QString& a, const QString& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(fsPath(a), fsPath(b), ec) && !ec)
        return true;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

namespace {

// A copy of the database at source put in place of target; between the copy and the renaming
// beforeRename runs, and a failure there leaves target as it was too.
bool copyDatabaseOver(const QString& source, const QString& target, const std::function<bool()>& beforeRename,
                      QString& error) {
    const QString temporary = temporaryBeside(target, error);
    if (temporary.isEmpty())
        return false;
    if (backupInto(source, temporary, error) && beforeRename() && renameOver(temporary, target, error))
        return true;
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
    return false;
}

} // namespace

bool copyDatabase(const QString& source, const QString& target, QString& error) {
    return copyDatabaseOver(
        source, target, [] { return true; }, error);
}

BackupCheck checkBackupFile(const QString& path) {
    QString error;
    Connection db = openDatabase(path, SQLITE_OPEN_READONLY, error);
    if (!db)
        return {BackupCheck::Problem::Unreadable, error};
    sqlite3_stmt* stmt = nullptr;
    // Reading the schema fails for a file that is no database.
    if (sqlite3_prepare_v2(db.get(), "SELECT lower(name) FROM sqlite_master WHERE type='table';", -1, &stmt,
                           nullptr) != SQLITE_OK)
        return {BackupCheck::Problem::Unreadable, errorOf(db.get(), SQLITE_ERROR)};
    QStringList tables;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return {BackupCheck::Problem::Unreadable, errorOf(db.get(), rc)};

    stmt = nullptr;
    // The first damage found is enough to refuse the file.
    if (sqlite3_prepare_v2(db.get(), "PRAGMA quick_check(1);", -1, &stmt, nullptr) != SQLITE_OK)
        return {BackupCheck::Problem::Damaged, errorOf(db.get(), SQLITE_ERROR)};
    rc = sqlite3_step(stmt);
    const QString verdict =
        rc == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))
                         : errorOf(db.get(), rc);
    sqlite3_finalize(stmt);
    if (verdict != QLatin1String("ok")) {
        // The report starts with a heading line ("*** in database main ***").
        QStringList lines = verdict.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeIf([](const QString& line) { return line.startsWith(QLatin1String("***")); });
        return {BackupCheck::Problem::Damaged, lines.isEmpty() ? verdict : lines.first()};
    }

    for (const char* table : {"urunler", "musteriler", "odemeler", "veresiyeler"}) {
        if (!tables.contains(QLatin1String(table)))
            return {BackupCheck::Problem::MissingTable, QString::fromLatin1(table)};
    }
    return {};
}

bool replaceDataFile(const QString& live, const QString& source, QString& error) {
    // The source is copied first: it may be the data.db.bak of an earlier restore, which keeping
    // the replaced file then overwrites. The replaced file is kept byte for byte, also when it
    // is damaged: that may be why it is being replaced.
    return copyDatabaseOver(
        source, live,
        [&]() { return !QFileInfo::exists(live) || copyBytes(live, live + QStringLiteral(".bak"), error); },
        error);
}

} // namespace tillora
