#pragma once
#include <QString>
#include <QtGlobal>

namespace tillora {

// The per-user settings store: named text and 32-bit integer values, names compared without
// letter case, every write on disk at once. Errors are raised as AppError with the store's texts
// "Failed to set data for '%s'", "Invalid data type for '%s'", "Failed to get data for '%s'".
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual bool valueExists(const QString& name) const = 0;
    // The empty text when the value does not exist; raises "Invalid data type for '%s'" when it holds an
    // integer.
    virtual QString readString(const QString& name) const = 0;
    // Raises "Failed to get data for '%s'" when absent, "Invalid data type for '%s'" when text.
    virtual qint32 readInteger(const QString& name) const = 0;
    virtual void writeString(const QString& name, const QString& value) = 0;
    virtual void writeInteger(const QString& name, qint32 value) = 0;
    // Deletes the whole store with all its values ("Reset to Defaults"); true on success.
    virtual bool deleteKey() = 0;
};

} // namespace tillora
