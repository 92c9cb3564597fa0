#include "platform/qt/settingsfile.h"

#include "buildinfo.h"
#include "common/atomicfile.h"
#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>

#include <utility>

namespace tillora {

namespace {

const QString lockName = QStringLiteral("settings.lock");
constexpr int lockWaitMs = 5000;
// The store holds the passwords: only its owner may read it.
constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

FileSettingsStore::FileSettingsStore() : FileSettingsStore(settingsFolder()) {}

FileSettingsStore::FileSettingsStore(const QString& folder) : folder_(QDir::cleanPath(folder)) {
    // Opened with create-if-missing; when this fails the first write reports it.
    ensureFolder();
}

bool FileSettingsStore::ensureFolder() const {
    if (!QFileInfo(folder_).isDir() && !QDir().mkpath(folder_))
        return false;
    // The store holds the passwords: only its owner may look into it (also a folder an older
    // version made with the user's default rights).
    const QFileDevice::Permissions ownerAll =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (QFileInfo(folder_).permissions() & others)
        QFile::setPermissions(folder_, ownerAll);
    return true;
}

QString FileSettingsStore::settingsFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QLatin1Char('/') + QString::fromLatin1(buildinfo::CompanyName) +
                           QLatin1Char('/') + QString::fromLatin1(buildinfo::ProductName));
}

QString FileSettingsStore::filePath() const {
    return folder_ + QLatin1Char('/') + fileName();
}

FileSettingsStore::Stamp FileSettingsStore::currentStamp() const {
    struct stat info {};
    if (::stat(QFile::encodeName(filePath()).constData(), &info) != 0)
        return Stamp{};
    return Stamp{true, static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_size),
                 static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                 static_cast<qint64>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

bool FileSettingsStore::refresh() const {
    const Stamp now = currentStamp();
    if (loaded_ && now == stamp_)
        return readable_;
    loaded_ = true;
    stamp_ = now;
    table_.clear();
    readable_ = true;
    if (!now.exists)
        return true;
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        readable_ = false;
        return false;
    }
    table_ = SettingsTable::fromText(file.readAll());
    return true;
}

bool FileSettingsStore::valueExists(const QString& name) const {
    refresh();
    return table_.contains(name);
}

QString FileSettingsStore::readString(const QString& name) const {
    refresh();
    return table_.readString(name);
}

qint32 FileSettingsStore::readInteger(const QString& name) const {
    refresh();
    return table_.readInteger(name);
}

template <typename Apply> void FileSettingsStore::write(const QString& name, Apply&& apply) {
    // A value that already holds exactly this needs no write (the column-width saver writes
    // the same widths again and again).
    if (refresh()) {
        SettingsTable probe = table_;
        if (!apply(probe))
            return;
    }
    if (!ensureFolder())
        throw failures_.failure(name);
    // The lock keeps another instance from writing between our re-read and our commit, so
    // neither undoes the other's values.
    QLockFile lock(folder_ + QLatin1Char('/') + lockName);
    if (!lock.tryLock(lockWaitMs))
        throw failures_.failure(name);
    // A file that exists but cannot be read is never replaced: its values would be lost.
    if (!refresh())
        throw failures_.failure(name);
    SettingsTable next = table_;
    if (!apply(next))
        return;
    // Written whole or not at all: on a full disk the old file stays and the write fails.
    AtomicFile file(filePath());
    if (!file.open() || !file.setPermissions(ownerOnly) || !file.write(next.toText()) || !file.commit())
        throw failures_.failure(name);
    table_ = std::move(next);
    stamp_ = currentStamp();
    readable_ = true;
}

void FileSettingsStore::writeString(const QString& name, const QString& value) {
    write(name, [&](SettingsTable& table) { return table.setString(name, value); });
}

void FileSettingsStore::writeInteger(const QString& name, qint32 value) {
    write(name, [&](SettingsTable& table) { return table.setInteger(name, value); });
}

bool FileSettingsStore::deleteKey() {
    QDir dir(folder_);
    const bool removed = !dir.exists() || dir.removeRecursively();
    table_.clear();
    stamp_ = Stamp{};
    loaded_ = false;
    readable_ = true;
    return removed;
}

} // namespace tillora
