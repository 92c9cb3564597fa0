#pragma once
// The per-user settings store as one text file, settings.conf, in the folder
// $XDG_CONFIG_HOME/<company>/<product>/ (~/.config/... when XDG_CONFIG_HOME is not set).
//
// The file holds one value per line, in the order the values were first written:
//   text CurrencySymbol=$
//   integer ReceiptNumber=12
// Lines that are empty or start with "#" are ignored, damaged lines are skipped. In names and
// texts a backslash, control characters, leading and trailing blanks (and "=" in names) are
// written as escapes: \\ \n \r \t \uXXXX.
#include "app/settingsstore.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tillora {

// One value of the store: a text or a 32-bit integer under a name kept as first written.
struct SettingValue {
    QString name;
    bool isInteger = false;
    QString text;
    qint32 integer = 0;
    bool operator==(const SettingValue& other) const = default;
};

// The values of a store with its reading rules: names compared without letter case, text and
// integer kept apart. Errors are raised as AppError with the store's texts.
class SettingsTable {
public:
    const SettingValue* find(const QString& name) const;
    bool contains(const QString& name) const { return find(name) != nullptr; }
    QString readString(const QString& name) const;
    qint32 readInteger(const QString& name) const;
    // Create or replace a value; false when it already held exactly this. A replaced value
    // keeps the spelling of its name.
    bool setString(const QString& name, const QString& value);
    bool setInteger(const QString& name, qint32 value);
    void clear();
    bool isEmpty() const { return values_.isEmpty(); }
    const QList<SettingValue>& values() const { return values_; }
    QStringList names() const;

    // The file form and back; fromText skips lines it cannot read.
    QByteArray toText() const;
    static SettingsTable fromText(const QByteArray& text);

private:
    bool set(SettingValue value);

    QList<SettingValue> values_;
    QHash<QString, qsizetype> index_; // case-folded name -> position in values_
};

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
};

} // namespace tillora
