#include "bench/bench.h"

#include "i18n/language.h"

#include <QDir>
#include <QFile>

using namespace tillora;
using namespace tillora::bench;

namespace {

QString englishText(int n) {
    return QStringLiteral("Caption or message number %1 of the program").arg(n);
}

// A language file of 3,000 lines with a few comments, and the 150 texts the main window
// translates while it is created: spread over the whole file, some without a line at all.
struct LanguageFixture {
    QString folder;
    QStringList startupTexts;
};

LanguageFixture makeFixture() {
    LanguageFixture fixture;
    fixture.folder = scratchFolder() + QStringLiteral("/i18n");
    QDir().mkpath(fixture.folder);
    QByteArray content("\xEF\xBB\xBF");
    content += "INFO lines without a brace are comments\r\n";
    content += "{INFO:Translated By}Ada, Bo\r\n";
    for (int n = 0; n < 2998; ++n)
        content += (u'{' + englishText(n) + QStringLiteral("}Übersetzung Nummer %1\r\n").arg(n)).toUtf8();
    QFile file(fixture.folder + QStringLiteral("/German.lang.txt"));
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    for (int n = 0; n < 130; ++n)
        fixture.startupTexts << englishText(n * 23);
    for (int n = 0; n < 20; ++n)
        fixture.startupTexts << QStringLiteral("Text without translation %1").arg(n);
    return fixture;
}

} // namespace

TILLORA_BENCHMARK(benchTranslateText) {
    const LanguageFixture fixture = makeFixture();
    Language language;
    language.loadLanguageFile(fixture.folder, QStringLiteral("German.lang.txt"), NoLanguageId);
    const QStringList& lines = language.languageLines();

    qsizetype sink = 0;
    const double ours = medianMs(
        [&] {
            for (const QString& english : fixture.startupTexts)
                sink += language.translateText(english).size();
        },
        51);
    const double scan = medianMs(
        [&] {
            for (const QString& english : fixture.startupTexts) {
                const std::optional<QString> found = lookupTranslation(lines, english);
                sink += (found && !found->isEmpty() ? *found : english).size();
            }
        },
        51);

    const double load = medianMs(
        [&] {
            Language loaded;
            loaded.loadLanguageFile(fixture.folder, QStringLiteral("German.lang.txt"), NoLanguageId);
            sink += loaded.languageLines().size();
        },
        21);
    const double read = medianMs(
        [&] {
            QStringList read;
            readLanguageLines(fixture.folder + QStringLiteral("/German.lang.txt"), read);
            sink += read.size();
        },
        21);
    Q_UNUSED(sink);

    const QString size = QStringLiteral("150 texts, %1 lines").arg(lines.size());
    return {
        Row{QStringLiteral("translateText (start-up set)"), size, ours, scan, QStringLiteral("< 1 ms"),
            ours < 1.0},
        Row{QStringLiteral("loadLanguageFile (read + index)"), QStringLiteral("%1 lines").arg(lines.size()),
            load, read, QStringLiteral("< 10 ms"), load < 10.0},
    };
}
