#pragma once
// The per-user settings store as one text file, settings.conf, in the folder
// $XDG_CONFIG_HOME/<company>/<product>/ (~/.config/... when XDG_CONFIG_HOME is not set).
//
// The file's form is that of the settings table (platform/settingstable.h).
#include "platform/settingsstore.h"
#include "platform/settingstable.h"

#include <QString>

namespace tillora {

class FileSettingsStore : public ISettingsStore {
public:
    // The store in settingsFolder().
    FileSettingsStore();
    // The store in the given folder (made when missing, at the first write at the latest).
    explicit FileSettingsStore(const QString& folder);

    // $XDG_CONFIG_HOME/KESTRUM/Tillora, or $HOME/.config/KESTRUM/Tillora when that is unset,
    // empty or not an absolute path. No trailing slash.
    static QString settingsFolder();
    static QString fileName() { return QStringLiteral("settings.conf"); }

    QString folder() const { return folder_; }
    QString filePath() const;

    bool valueExists(const QString& name) const override;
    QString readString(const QString& name) const override;
    qint32 readInteger(const QString& name) const override;
    void writeString(const QString& name, const QString& value) override;
    void writeInteger(const QString& name, qint32 value) override;
    bool deleteKey() override;

private:
    // What identifies one version of the file on disk; a change means another writer.
    struct Stamp {
        bool exists = false;
        qint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const Stamp& other) const = default;
    };
    Stamp currentStamp() const;
    // Makes the folder when missing, readable by its owner only; false when that fails.
    bool ensureFolder() const;
    // Re-reads the file when it changed on disk; false when it exists but cannot be read.
    bool refresh() const;
    template <typename Apply> void write(const QString& name, Apply&& apply);

    QString folder_;
    mutable SettingsTable table_;
    mutable Stamp stamp_;
    mutable bool loaded_ = false;
    mutable bool readable_ = true;
    SettingsWriteFailures failures_;
};

} // namespace tillora
