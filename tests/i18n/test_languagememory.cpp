// A language file is read with bounded memory: a file with one 50 MB line (damaged, or no
// language file at all) is not loaded and costs the program little, and an overlong line in a
// real language file is dropped while its other lines still translate. An executable of its
// own, so that the peak memory it measures is this reading alone.
#include "i18n/language.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

using namespace tillora;

namespace {

// The largest memory the process has held so far, in MB.
qint64 peakMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Writes head, a line of `length` characters, then tail, a megabyte at a time.
bool writeWithLongLine(const QString& path, const QByteArray& head, qint64 length, const QByteArray& tail) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(head);
    const QByteArray chunk(1024 * 1024, 'x');
    for (qint64 left = length; left > 0; left -= chunk.size())
        file.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    file.write(tail);
    return file.error() == QFileDevice::NoError;
}

} // namespace

class TestLanguageMemory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fiftyMegabyteLine();
    void overlongLineIsDropped();
};

void TestLanguageMemory::fiftyMegabyteLine() {
    QTemporaryDir dir;
    QVERIFY(writeWithLongLine(dir.filePath(QStringLiteral("Big.lang.txt")), "{OK}", 50LL * 1024 * 1024,
                              "\r\n{Cancel}Abbrechen\r\n"));
    const qint64 before = peakMb();
    Language language;
    language.loadLanguageFile(dir.path(), QStringLiteral("Big.lang.txt"), NoLanguageId);
    QVERIFY(!language.isLoaded());
    QCOMPARE(language.translateText(QStringLiteral("Cancel")), QStringLiteral("Cancel"));
    const qint64 grown = peakMb() - before;
    qInfo("peak memory grew by %lld MB reading a 50 MB line", static_cast<long long>(grown));
    QVERIFY2(grown < 64, qPrintable(QStringLiteral("%1 MB").arg(grown)));
}

void TestLanguageMemory::overlongLineIsDropped() {
    QTemporaryDir dir;
    QVERIFY(writeWithLongLine(dir.filePath(QStringLiteral("Deutsch.lang.txt")), "{OK}Gut\r\n{Cancel}",
                              LanguageLineLimit + 1, "\r\n{Yes}Ja\r\n{Cancel}Abbrechen\r\n"));
    Language language;
    language.loadLanguageFile(dir.path(), QStringLiteral("Deutsch.lang.txt"), NoLanguageId);
    QVERIFY(language.isLoaded());
    QCOMPARE(language.translateText(QStringLiteral("OK")), QStringLiteral("Gut"));
    QCOMPARE(language.translateText(QStringLiteral("Yes")), QStringLiteral("Ja"));
    // The overlong line answers nothing; the next line with the key does.
    QCOMPARE(language.translateText(QStringLiteral("Cancel")), QStringLiteral("Abbrechen"));
    QCOMPARE(language.languageLines().size(), 3);
}

QTEST_GUILESS_MAIN(TestLanguageMemory)
#include "test_languagememory.moc"
