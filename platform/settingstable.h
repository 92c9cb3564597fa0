#pragma once
// The values of the settings store and the text form of the settings file.
//
// The file holds one value per line, in the order the values were first written:
//   text CurrencySymbol=$
//   integer ReceiptNumber=12
// Lines that are empty or start with "#" are ignored, damaged lines are skipped. In names and
// texts a backslash, control characters, leading and trailing blanks (and "=" in names) are
// written as escapes: \\ \n \r \t \uXXXX.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
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

class AppError;

// The failures of settings writes: the first failure of a value is an error that shows, later
// ones of the same value in the same run abandon their action quietly, so a value written again
// and again (a column width, a window position) does not bring the same box back each time.
class SettingsWriteFailures {
public:
    // "Failed to set data for '<name>'".
    AppError failure(const QString& name);

private:
    QSet<QString> reported_; // case-folded names
};

} // namespace tillora
