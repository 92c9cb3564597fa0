#pragma once
// The settings store in memory, for tests: the same reading rules as the file store, plus a
// switch that makes every write fail the way an unwritable store does.
#include "platform/settingsstore.h"
#include "platform/settingstable.h"

namespace tillora {

class MemorySettingsStore : public ISettingsStore {
public:
    bool valueExists(const QString& name) const override { return table_.contains(name); }
    QString readString(const QString& name) const override { return table_.readString(name); }
    qint32 readInteger(const QString& name) const override { return table_.readInteger(name); }
    // Raise "Failed to set data for '<name>'" while writes fail.
    void writeString(const QString& name, const QString& value) override;
    void writeInteger(const QString& name, qint32 value) override;
    // Clears every value; returns false (and keeps them) while writes fail.
    bool deleteKey() override;

    void setWritesFail(bool fail) { writesFail_ = fail; }
    // Names of the values held, in the order first written.
    QStringList names() const { return table_.names(); }
    const SettingsTable& table() const { return table_; }
    // Successful writes and deletions so far.
    int writeCount() const { return writes_; }
    int deleteCount() const { return deletes_; }

private:
    void failWhenSet(const QString& name);

    SettingsTable table_;
    bool writesFail_ = false;
    int writes_ = 0;
    int deletes_ = 0;
    SettingsWriteFailures failures_;
};

} // namespace tillora
