#pragma once
// Copies of the data file: a backup taken while the program runs, the check of a file chosen
// for a restore, and the exchange of the data file for that file. Every copy is written into
// a temporary file beside its target and renamed into place once it is complete, so a failure
// at any point leaves the target as it was.
#include <QString>

namespace tillora {

// True when a and b name the same file, also through links or different spellings of the path.
bool isSameFile(const QString& a, const QString& b);

// Copies the database at source to target with SQLite's online backup: the copy is a whole
// database even when the source is being written at that moment. An existing target is
// replaced. False with the reason in error; the target is untouched then.
bool copyDatabase(const QString& source, const QString& target, QString& error);

// What stands against restoring a file.
struct BackupCheck {
    enum class Problem { None, Unreadable, Damaged, MissingTable };
    Problem problem = Problem::None;
    // SQLite's reason for Unreadable and Damaged; the table's name for MissingTable.
    QString detail;
    bool ok() const { return problem == Problem::None; }
};

// Whether the file at path is an undamaged SQLite database holding the four tables.
BackupCheck checkBackupFile(const QString& path);

// Puts a copy of the database at source in place of the data file live, on which no connection
// may be open. The file it replaces is kept as live + ".bak" (replacing an older one). False
// with the reason in error; live is as it was then.
bool replaceDataFile(const QString& live, const QString& source, QString& error);

} // namespace tillora
