// The language table LanguageCodes.csv in any encoding: a lookup never fails, and the name it
// gives has no blanks or control characters at either end.
#include "i18n/language.h"
#include "i18n/textcodec.h"
#include "tests/fuzz/fuzztarget.h"

using namespace tillora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    // The language number: the first two bytes, then the usual ones.
    const int first = size >= 2 ? (data[0] << 8 | data[1]) : 1033;
    for (const int id : {first, 1033, 1031, 1055, 0, -1}) {
        const QString name = languageFileForId(bytes, id);
        fuzz::require(name == trimBlanksAndControls(name), "the name is trimmed");
    }
    return 0;
}
