// The language files shipped in the program folder: each one well formed, naming its
// translators, and chosen automatically for the language numbers of its language.
#include "i18n/language.h"
#include "i18n/languagechoice.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace tillora;

namespace {

const QString shipped = QStringLiteral(TILLORA_SHIPPED_LANGUAGES);

} // namespace

class TestShippedLanguages : public QObject {
    Q_OBJECT
private slots:
    void wellFormed_data();
    void wellFormed();
    void chosenByLanguageNumber_data();
    void chosenByLanguageNumber();
};

void TestShippedLanguages::wellFormed_data() {
    QTest::addColumn<QString>("file");
    for (const char* name : {"Turkish.lang.txt", "German.lang.txt", "French.lang.txt", "Spanish.lang.txt"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestShippedLanguages::wellFormed() {
    QFETCH(QString, file);
    QFile raw(shipped + u'/' + file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QVERIFY2(QString::fromUtf8(bytes).toUtf8() == bytes, "not UTF-8");
    QStringList lines;
    QVERIFY(readLanguageLines(raw.fileName(), lines));
    QSet<QString> keys;
    for (const QString& line : lines) {
        if (!line.startsWith(u'{'))
            continue;
        const qsizetype close = line.indexOf(u'}');
        QVERIFY2(close > 1, qPrintable(line));
        const QString key = line.mid(1, close - 1);
        // A second line for a key would never be used; an empty translation keeps English.
        QVERIFY2(!keys.contains(key), qPrintable(QStringLiteral("twice: ") + line));
        keys.insert(key);
        QVERIFY2(!line.sliced(close + 1).trimmed().isEmpty(), qPrintable(QStringLiteral("empty: ") + line));
    }
    QVERIFY(keys.size() > 100);
    const QString translators = TranslateWithLines(lines, translatedByKey());
    QVERIFY(translators != translatedByKey());
    QVERIFY(!translatorLines(translators).first().isEmpty());

    Language language;
    language.loadLanguageFile(shipped, file, NoLanguageId);
    QVERIFY(language.isLoaded());
    QCOMPARE(language.languageName(), languageNameOf(file));
    QVERIFY(language.translateText(QStringLiteral("Restart Application?")) !=
            QStringLiteral("Restart Application?"));
}

void TestShippedLanguages::chosenByLanguageNumber_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("language");
    const QList<std::pair<QString, QList<int>>> table{
        {QStringLiteral("Turkish"), {1055}},
        {QStringLiteral("German"), {1031, 2055, 3079, 4103, 5127}},
        {QStringLiteral("French"), {1036, 2060, 3084, 4108, 5132, 6156}},
        {QStringLiteral("Spanish"),
         {3082,  1034,  2058,  4106,  5130,  6154,  7178,  8202,  9226,  10250, 11274,
          12298, 13322, 14346, 15370, 16394, 17418, 18442, 19466, 20490, 21514}},
    };
    for (const auto& [language, numbers] : table) {
        for (int number : numbers)
            QTest::addRow("%d", number) << number << language;
    }
}

void TestShippedLanguages::chosenByLanguageNumber() {
    QFETCH(int, number);
    QFETCH(QString, language);
    Language loaded;
    loaded.loadLanguageFile(shipped, QString(), number);
    QVERIFY(loaded.isLoaded());
    QCOMPARE(loaded.languageName(), language);
}

QTEST_GUILESS_MAIN(TestShippedLanguages)
#include "test_shippedlanguages.moc"
