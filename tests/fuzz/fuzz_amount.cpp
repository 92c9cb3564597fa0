// Amount and quantity reading: the number test and the reader agree, every amount read is
// finite and can be formatted, and nothing else is accepted.
#include "common/errors.h"
#include "common/formats.h"
#include "tests/fuzz/fuzztarget.h"

#include <QString>

#include <cmath>

using namespace tillora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    bool read = true;
    double value = 0;
    try {
        value = readAmount(text);
    } catch (const AppError&) {
        read = false;
    }
    fuzz::require(read == isNumber(text), "isNumber and readAmount agree");
    if (read) {
        fuzz::require(std::isfinite(value), "an amount read is finite");
        fuzz::require(!FormatMoney(value).isEmpty(), "an amount read can be formatted");
    }
    try {
        const qint32 quantity = readQuantity(text);
        fuzz::require(readQuantity(formatQuantity(quantity)) == quantity, "a quantity reads back");
    } catch (const AppError&) {
    }
    return 0;
}
