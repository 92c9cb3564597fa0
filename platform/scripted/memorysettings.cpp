#include "platform/scripted/memorysettings.h"

#include "common/errors.h"

namespace tillora {

void MemorySettingsStore::failWhenSet(const QString& name) {
    if (writesFail_)
        throw failures_.failure(name);
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
