#include "i18n/language.h"
#include "i18n/locale.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tillora;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

// The answer of a plain scan, as a loaded language must give it.
QString scanned(const QStringList& lines, const QString& english) {
    const std::optional<QString> found = lookupTranslation(lines, english);
    return found && !found->isEmpty() ? *found : english;
}

const int german = 1031;

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void init();
    void translate_data();
    void translate();
    void indexAnswersLikeScan();
    void automaticChoiceFoldsLetterCase();
    void missingChosenFileStaysEnglish();
    void blankChosenMeansAutomatic();
    void languageCodes_data();
    void languageCodes();
    void fileWithoutLangSuffixLoads();
    void foldersAreSkipped();
    void noLanguagesFolder();

private:
    QString folder() const { return dir_->path() + QStringLiteral("/Languages"); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestLanguage::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(folder()));
}

void TestLanguage::translate_data() {
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing after the brace") << "OK"
                                             << "OK";
    QTest::newRow("leading blank kept") << "Cancel" << QString::fromUtf8(" Vazgeç");
    QTest::newRow("first of two lines") << "Product" << QString::fromUtf8("Ürün");
    QTest::newRow("other letter case") << "product"
                                       << "klein";
    QTest::newRow("upper case has no line") << "PRODUCT"
                                            << "PRODUCT";
    QTest::newRow("colon is part of the key") << "Product:" << QString::fromUtf8("Ürün:");
    QTest::newRow("comment never matches") << "Save"
                                           << "Save";
    QTest::newRow("empty first line wins") << "Empty"
                                           << "Empty";
    QTest::newRow("key before inner brace") << "a"
                                            << "b}xyz";
    QTest::newRow("key with inner brace") << "a}b"
                                          << "b}xyz";
    QTest::newRow("key past the line") << "a}b}xyz}"
                                       << "a}b}xyz}";
    QTest::newRow("cr-only line end") << "Exit"
                                      << "Beenden";
    QTest::newRow("last line without break") << "Last"
                                             << "Letzte";
    QTest::newRow("unknown") << "Missing"
                             << "Missing";
}

void TestLanguage::translate() {
    QFETCH(QString, english);
    QFETCH(QString, expected);

    // With a byte-order mark and all three kinds of line end.
    const QByteArray content = QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("{OK}\r\n"
                                                                              "{Cancel} Vazgeç\n"
                                                                              "{Product}Ürün\r\n"
                                                                              "{Product}Second\n"
                                                                              "{product}klein\n"
                                                                              "{Product:}Ürün:\n"
                                                                              "comment {Save}Sichern\n"
                                                                              "{Empty}\n"
                                                                              "{Empty}Later\n"
                                                                              "{a}b}xyz\n"
                                                                              "{Exit}Beenden\r"
                                                                              "{Last}Letzte")
                                                                .toUtf8();
    writeFile(folder() + "/German.lang.txt", content);
    Language language;
    language.loadLanguageFile(folder(), QStringLiteral("German.lang.txt"), NoLanguageId);
    QVERIFY(language.isLoaded());
    QCOMPARE(language.languageName(), QStringLiteral("German"));
    QCOMPARE(language.loadedPath(), folder() + "/German.lang.txt");
    QCOMPARE(language.languageLines().size(), 12);
    QCOMPARE(language.languageLines().first(), QStringLiteral("{OK}"));
    QCOMPARE(language.translateText(english), expected);
    QCOMPARE(language.translateText(english), scanned(language.languageLines(), english));
}

void TestLanguage::indexAnswersLikeScan() {
    // Tricky lines: braces inside keys and translations, repeated and empty keys, comments.
    QStringList lines = {"{a}b}xyz", "{a}first-a", "{a}b}",      "{}empty key", "{}",
                         "{{x}}y",   "{ a}blank",  "{a }blank2", "x{a}comment", "{}}}",
                         "{a}}",     "{unclosed",  "}{a}",       "{A}upper"};
    // And lines drawn at random from a small alphabet, so braces meet in every way.
    QRandomGenerator random(20240611);
    const QString alphabet = QStringLiteral("{}ab ");
    for (int i = 0; i < 400; ++i) {
        QString line = QStringLiteral("{");
        const int length = random.bounded(8);
        for (int k = 0; k < length; ++k)
            line += alphabet[random.bounded(int(alphabet.size()))];
        lines += line;
    }
    QFile file(folder() + "/Tricky.lang.txt");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join(u'\n').toUtf8());
    file.close();

    Language language;
    language.loadLanguageFile(folder(), QStringLiteral("Tricky.lang.txt"), NoLanguageId);
    QVERIFY(language.isLoaded());
    QCOMPARE(language.languageLines(), lines);

    // Every text a line could answer (each prefix ending before one of its braces), and its neighbours.
    QStringList englishTexts = {"", "b", "zzz", "{", "}"};
    for (const QString& line : std::as_const(lines)) {
        for (qsizetype at = line.indexOf(u'}'); at > 0; at = line.indexOf(u'}', at + 1)) {
            const QString key = line.mid(1, at - 1);
            englishTexts << key << key + u'}' << key + u'a' << key.chopped(key.isEmpty() ? 0 : 1);
        }
    }
    for (const QString& english : std::as_const(englishTexts))
        QCOMPARE(language.translateText(english), scanned(lines, english));
}

void TestLanguage::automaticChoiceFoldsLetterCase() {
    writeFile(folder() + "/GERMAN.lang.txt", "{Product}Produkt\n");
    writeFile(folder() + "/LanguageCodes.csv", "1036,French.lang.txt\n1031,German.lang.txt\n");
    Language language;
    language.loadLanguageFile(folder(), QString(), german);
    QVERIFY(language.isLoaded());
    QCOMPARE(language.languageName(), QStringLiteral("GERMAN"));
    QCOMPARE(language.loadedPath(), folder() + "/GERMAN.lang.txt");
    QCOMPARE(language.translateText("Product"), QStringLiteral("Produkt"));
}

void TestLanguage::missingChosenFileStaysEnglish() {
    writeFile(folder() + "/German.lang.txt", "{Product}Produkt\n");
    writeFile(folder() + "/LanguageCodes.csv", "1031,German.lang.txt\n");
    Language language;
    language.loadLanguageFile(folder(), QStringLiteral("English.lang.txt"), german);
    QVERIFY(!language.isLoaded());
    QCOMPARE(language.languageName(), QString());
    QCOMPARE(language.loadedPath(), QString());
    QCOMPARE(language.languageFiles(), QStringList{"German.lang.txt"});
    QCOMPARE(language.translateText("Product"), QStringLiteral("Product"));
}

void TestLanguage::blankChosenMeansAutomatic() {
    writeFile(folder() + "/German.lang.txt", "{Product}Produkt\n");
    writeFile(folder() + "/LanguageCodes.csv", "1031,German.lang.txt\n");
    Language language;
    language.loadLanguageFile(folder(), QStringLiteral(" \t"), german);
    QCOMPARE(language.languageName(), QStringLiteral("German"));

    // Without a user language number nothing is chosen, even for a line with the number 0.
    writeFile(folder() + "/LanguageCodes.csv", "0,German.lang.txt\n");
    language.loadLanguageFile(folder(), QString(), NoLanguageId);
    QVERIFY(!language.isLoaded());
}

void TestLanguage::languageCodes_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("loaded");

    const QString french = QString::fromUtf8("Français.lang.txt");
    const QString table = "1036 , " + french + "\r\n1031,German.lang.txt\r\n";
    QByteArray le("\xFF\xFE");
    for (QChar c : table)
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    QTest::newRow("utf-16 with mark") << le << "German";
    QTest::newRow("windows-1252") << QByteArray("1031,Fran\xE7"
                                                "ais.lang.txt\n")
                                  << french.chopped(9);
    QTest::newRow("utf-8 without mark") << ("1031," + french).toUtf8() << french.chopped(9);
    QTest::newRow("blanks around fields") << QByteArray("  1031 \t,  German.lang.txt  \n") << "German";
    QTest::newRow("line without comma")
        << QByteArray("1031 German.lang.txt\n1031,German.lang.txt") << "German";
    QTest::newRow("cr-only line ends") << QByteArray("1036,French\r1031,German.lang.txt\r") << "German";
    QTest::newRow("only the first comma separates") << QByteArray("1031,German.lang.txt,x\n") << "";
    QTest::newRow("first matching line counts")
        << QByteArray("1031,Missing.lang.txt\n1031,German.lang.txt\n") << "";
    QTest::newRow("leading zero") << QByteArray("01031,German.lang.txt\n") << "";
    QTest::newRow("number not listed") << QByteArray("1055,German.lang.txt\n") << "";
    QTest::newRow("empty table") << QByteArray() << "";
}

void TestLanguage::languageCodes() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, loaded);

    writeFile(folder() + "/German.lang.txt", "{OK}Tamam\n");
    writeFile(folder() + "/" + QString::fromUtf8("Français.lang.txt"), "{OK}D'accord\n");
    writeFile(folder() + "/LanguageCodes.csv", csv);
    Language language;
    language.loadLanguageFile(folder(), QString(), german);
    QCOMPARE(language.isLoaded(), !loaded.isEmpty());
    QCOMPARE(language.languageName(), loaded);
}

void TestLanguage::fileWithoutLangSuffixLoads() {
    writeFile(folder() + "/xlang.txt", "{OK}Yes sir\n");
    writeFile(folder() + "/notes.txt", "{OK}no\n");
    Language language;
    language.loadLanguageFile(folder(), QStringLiteral("xlang.txt"), NoLanguageId);
    QCOMPARE(language.languageFiles(), QStringList{"xlang.txt"});
    QVERIFY(language.isLoaded());
    QCOMPARE(language.languageName(), QString());
    QCOMPARE(language.translateText("OK"), QStringLiteral("Yes sir"));
}

void TestLanguage::foldersAreSkipped() {
    QVERIFY(QDir().mkpath(folder() + "/Folder.lang.txt"));
    writeFile(folder() + "/Dutch.lang.txt", "{OK}Oké\n");
    writeFile(folder() + "/LanguageCodes.csv", "1031,Folder.lang.txt\n");
    Language language;
    language.loadLanguageFile(folder(), QStringLiteral("Folder.lang.txt"), NoLanguageId);
    QCOMPARE(language.languageFiles(), QStringList{"Dutch.lang.txt"});
    QVERIFY(!language.isLoaded());
    language.loadLanguageFile(folder(), QString(), german);
    QVERIFY(!language.isLoaded());
    // Names that lead out of the folder name no language file.
    language.loadLanguageFile(folder(), QStringLiteral("../Languages/Dutch.lang.txt"), NoLanguageId);
    QVERIFY(!language.isLoaded());
}

void TestLanguage::noLanguagesFolder() {
    Language language;
    language.loadLanguageFile(dir_->path() + "/Nothing", QString(), german);
    QVERIFY(language.languageFiles().isEmpty());
    QVERIFY(!language.isLoaded());
    QCOMPARE(language.translateText("OK"), QStringLiteral("OK"));
    QVERIFY(languagesFolder().endsWith(QStringLiteral("/Languages")));
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "test_language.moc"
