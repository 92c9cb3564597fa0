#pragma once
// Writing a file whole or not at all: the bytes go to a temporary file beside the target,
// which replaces the target only when every byte reached the disk. On any failure (a full
// disk, a folder that cannot be written, a cancelled export) the old file stays as it was and
// the failure comes back with the system's reason. Every file the program writes where a half
// written file would lose data goes through here: settings, receipts, exports, the restart
// script.
#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace tillora {

class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile(); // cancels a file not committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Opens the temporary file; false when it cannot be made (error() says why).
    bool open();
    // The permissions the file gets in place of the usual ones (those of the file it replaces,
    // or the user's default for a new one): the settings file is the user's alone. Call after
    // open(); false when they cannot be set.
    bool setPermissions(QFileDevice::Permissions permissions);
    // Appends bytes; false once anything failed (later writes are ignored then).
    bool write(const QByteArray& bytes);
    // Flushes, checks that every write reached the file, syncs it and puts it in place of the
    // target. False when anything failed: the target is untouched then.
    bool commit();
    // Drops what was written; the target is untouched.
    void cancel();

    const QString& path() const { return path_; }
    // The reason of the first failure, empty while none.
    const QString& error() const { return error_; }

private:
    bool fail(const QString& reason);

    QString path_;
    QSaveFile file_;
    QString error_;
    bool failed_ = false;
};

// Writes bytes to path whole or not at all; false with the reason in error.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& error);

} // namespace tillora
