#include "i18n/language.h"
#include "i18n/locale.h"
#include "i18n/textcodec.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTest>

using namespace tillora;

using Environment = QMap<QString, QString>;
Q_DECLARE_METATYPE(Environment)

class TestLocale : public QObject {
    Q_OBJECT
private slots:
    void userLanguage_data();
    void userLanguage();
    void shippedTableCoversEveryNumber();
};

void TestLocale::userLanguage_data() {
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<int>("id");

    QTest::newRow("LANG") << Environment{{"LANG", "de_DE.UTF-8"}} << 1031;
    QTest::newRow("LC_MESSAGES over LANG")
        << Environment{{"LC_MESSAGES", "fr_FR"}, {"LANG", "de_DE"}} << 1036;
    QTest::newRow("LC_ALL over LC_MESSAGES")
        << Environment{{"LC_ALL", "tr_TR.UTF-8"}, {"LC_MESSAGES", "fr_FR"}, {"LANG", "de_DE"}} << 1055;
    QTest::newRow("LANGUAGE over LC_ALL")
        << Environment{{"LANGUAGE", "pt_BR:de"}, {"LC_ALL", "en_US.UTF-8"}} << 1046;
    QTest::newRow("LANGUAGE empty entries skipped")
        << Environment{{"LANGUAGE", ":it_IT:de"}, {"LANG", "en_US.UTF-8"}} << 1040;
    QTest::newRow("empty values skipped")
        << Environment{{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "ru_RU.KOI8-R"}}
        << 1049;
    QTest::newRow("LANGUAGE ignored under C")
        << Environment{{"LANGUAGE", "de"}, {"LANG", "C"}} << NoLanguageId;
    QTest::newRow("LANGUAGE ignored without locale") << Environment{{"LANGUAGE", "de"}} << NoLanguageId;
    QTest::newRow("LANGUAGE naming C") << Environment{{"LANGUAGE", "C"}, {"LANG", "de_DE"}} << NoLanguageId;
    QTest::newRow("nothing set") << Environment{} << NoLanguageId;
    QTest::newRow("POSIX") << Environment{{"LC_ALL", "POSIX"}, {"LANG", "de_DE"}} << NoLanguageId;
    QTest::newRow("C.UTF-8") << Environment{{"LANG", "C.UTF-8"}} << NoLanguageId;
    QTest::newRow("codeset and modifier") << Environment{{"LANG", "de_AT.ISO-8859-15@euro"}} << 3079;
    QTest::newRow("modifier only") << Environment{{"LANG", "sr_RS@latin"}} << 10266;
    QTest::newRow("en_GB") << Environment{{"LANG", "en_GB.UTF-8"}} << 2057;
    QTest::newRow("es_ES") << Environment{{"LANG", "es_ES.UTF-8"}} << 3082;
    QTest::newRow("zh_TW") << Environment{{"LANG", "zh_TW.Big5"}} << 1028;
    QTest::newRow("ar_SA") << Environment{{"LANG", "ar_SA"}} << 1025;
    QTest::newRow("de without territory") << Environment{{"LANG", "de"}} << 1031;
    QTest::newRow("en without territory") << Environment{{"LANG", "en.UTF-8"}} << 1033;
    QTest::newRow("pt without territory") << Environment{{"LANG", "pt"}} << 1046;
    QTest::newRow("zh without territory") << Environment{{"LANG", "zh"}} << 2052;
    QTest::newRow("unlisted territory") << Environment{{"LANG", "fr_SN.UTF-8"}} << 1036;
    QTest::newRow("letter case and hyphen") << Environment{{"LANG", "DE-ch"}} << 2055;
    QTest::newRow("unmapped language") << Environment{{"LANG", "eo.UTF-8"}} << NoLanguageId;
    QTest::newRow("unmapped locale") << Environment{{"LANG", "xx_YY"}} << NoLanguageId;
}

void TestLocale::userLanguage() {
    QFETCH(Environment, environment);
    QFETCH(int, id);
    QCOMPARE(userLanguageId([&](const char* name) { return environment.value(QString::fromLatin1(name)); }),
             id);
}

void TestLocale::shippedTableCoversEveryNumber() {
    QFile file(QStringLiteral(TILLORA_LANGUAGE_CODES));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QSet<int> numbers;
    for (const QString& line : splitTextLines(decodeText(file.readAll()))) {
        const QStringList fields = line.split(u',');
        QCOMPARE(fields.size(), 2);
        bool ok = false;
        numbers.insert(fields[0].toInt(&ok));
        QVERIFY2(ok, qPrintable(line));
        QVERIFY2(!languageNameOf(fields[1]).isEmpty(), qPrintable(line));
    }
    for (int id : knownLanguageIds())
        QVERIFY2(numbers.contains(id), qPrintable(QString::number(id)));
}

QTEST_GUILESS_MAIN(TestLocale)
#include "test_locale.moc"
