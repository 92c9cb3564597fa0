#include "app/memorysettings.h"

#include "app/errors.h"

namespace tillora {

void MemorySettingsStore::failWhenSet(const QString& name) const {
    if (writesFail_)
        throw AppError(QStringLiteral("Failed to set data for '") + name + QLatin1Char('\''));
}

void MemorySettingsStore::writeString(const QString& name, const QString& value) {
    failWhenSet(name);
    table_.setString(name, value);
    ++writes_;
}

void MemorySettingsStore::writeInteger(const QString& name, qint32 value) {
    failWhenSet(name);
    table_.setInteger(name, value);
    ++writes_;
}

bool MemorySettingsStore::deleteKey() {
    if (writesFail_)
        return false;
    table_.clear();
    ++deletes_;
    return true;
}

} // namespace tillora
