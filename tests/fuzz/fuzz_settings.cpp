// The settings file: any bytes read into values that write out and read back the same.
#include "common/errors.h"
#include "platform/settingstable.h"
#include "tests/fuzz/fuzztarget.h"

using namespace tillora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SettingsTable table = SettingsTable::fromText(fuzz::bytesOf(data, size));
    const SettingsTable again = SettingsTable::fromText(table.toText());
    fuzz::require(again.values() == table.values(), "the settings read back as written");
    for (const QString& name : table.names()) {
        fuzz::require(table.contains(name), "every name listed is found");
        try {
            table.readString(name);
            table.readInteger(name);
        } catch (const AppError&) {
            // a value of the other kind: the store's own error
        }
    }
    return 0;
}
