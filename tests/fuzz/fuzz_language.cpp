// Language files, read from a folder as the program reads them at start: the indexed lookup
// answers every key as the plain scan of the lines does.
#include "i18n/language.h"
#include "tests/fuzz/fuzztarget.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tillora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    {
        QFile file(folder.filePath(QStringLiteral("Fuzz.lang.txt")));
        fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the test file can be written");
        file.write(bytes);
    }
    Language language;
    language.loadLanguageFile(folder.path(), QStringLiteral("Fuzz.lang.txt"), NoLanguageId);
    fuzz::require(language.isLoaded(), "a small file is loaded");
    const QStringList& lines = language.languageLines();
    fuzz::require(lines == languageLinesOf(bytes), "the file reads as its bytes");
    int asked = 0;
    for (const QString& line : lines) {
        if (++asked > 64)
            break;
        const qsizetype close = line.indexOf(u'}');
        if (!line.startsWith(u'{') || close < 0)
            continue;
        for (const QString& key : {line.mid(1, close - 1), line.mid(1, line.lastIndexOf(u'}') - 1)}) {
            const std::optional<QString> scanned = lookupTranslation(lines, key);
            const QString expected = scanned && !scanned->isEmpty() ? *scanned : key;
            fuzz::require(language.translateText(key) == expected, "the index answers as the scan");
        }
    }
    return 0;
}
