// Runs a fuzz target over every file of the folders given, in name order: the kept inputs of
// a target replayed by the normal suite. Fails when a folder is missing or empty.
#include "tests/fuzz/fuzztarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int inputs = 0;
    for (const QString& folder : app.arguments().mid(1)) {
        const QDir dir(folder);
        const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
        if (names.isEmpty()) {
            std::fprintf(stderr, "no inputs in %s\n", qPrintable(folder));
            return 1;
        }
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
