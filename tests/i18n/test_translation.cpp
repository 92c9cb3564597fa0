// The language dialog: its list, the translators box, the restart question and what OK stores.
#include "buildinfo.h"
#include "i18n/language.h"
#include "i18n/languagechoice.h"
#include "i18n/translation.h"
#include "platform/scripted/scripted.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tillora;

class TestTranslation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void translateWithLines_data();
    void translateWithLines();
    void translatorLines_data();
    void translatorLines();
    void noLanguagesFolder();
    void languagesSortedWithEnglish();
    void loadedLanguageSelected();
    void shippedLanguagesListed();
    void translators_data();
    void translators();
    void unreadableFileGivesEmptyTranslators();
    void captionsTranslated();
    void changedLanguageYes();
    void englishChosenWhileLanguageLoaded();
    void changedLanguageNo();
    void unchangedLanguageClosesWithoutQuestion();
    void cancelStoresNothing();
    void failedStoreDoesNotRestart();
    void contributeTranslationOpensPage();

private:
    QString folder() const { return dir_->path() + QStringLiteral("/Languages"); }
    void writeLanguage(const QString& name, const QByteArray& bytes) const;
    // The dialog over the language loaded from folder() with the stored choice chosen (or over
    // the language as loaded before, when load is false).
    std::unique_ptr<TTranslateForm> open(const QString& chosen = {}, bool load = true);
    QComboBox* list() const { return form_->findChild<QComboBox*>(QStringLiteral("ComboBox1")); }
    QString translatorsBox() const {
        return form_->findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1"))->toPlainText();
    }
    QStringList items() const;
    void select(const QString& item) const { list()->setCurrentIndex(list()->findText(item)); }
    void clickOk() const {
        QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedServices> fake_;
    Language language_;
    TTranslateForm* form_ = nullptr;
    int restarts_ = 0;
};

void TestTranslation::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(folder()));
    fake_ = std::make_unique<ScriptedServices>();
    restarts_ = 0;
}

void TestTranslation::writeLanguage(const QString& name, const QByteArray& bytes) const {
    QFile file(folder() + u'/' + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::unique_ptr<TTranslateForm> TestTranslation::open(const QString& chosen, bool load) {
    if (load)
        language_.loadLanguageFile(folder(), chosen, NoLanguageId);
    auto form = std::make_unique<TTranslateForm>(
        language_, folder(), fake_->settings, fake_->messages, fake_->shell,
        [this](const QString& english) { return language_.translateText(english); },
        [this]() { ++restarts_; });
    form->show();
    form_ = form.get();
    return form;
}

QStringList TestTranslation::items() const {
    QStringList out;
    for (int i = 0; i < list()->count(); ++i)
        out << list()->itemText(i);
    return out;
}

void TestTranslation::translateWithLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString key = QStringLiteral("INFO:Translated By");
    QTest::newRow("no lines") << QStringList() << key << key;
    QTest::newRow("no matching line") << QStringList{QStringLiteral("{OK}Tamam")} << key << key;
    QTest::newRow("nothing after the brace is empty")
        << QStringList{QStringLiteral("{INFO:Translated By}")} << key << QString();
    QTest::newRow("first of two lines")
        << QStringList{QStringLiteral("{INFO:Translated By}A"), QStringLiteral("{INFO:Translated By}B")}
        << key << QStringLiteral("A");
    QTest::newRow("letter case counts") << QStringList{QStringLiteral("{info:translated by}A")} << key << key;
    QTest::newRow("leading blank kept")
        << QStringList{QStringLiteral("{OK} Gut")} << QStringLiteral("OK") << QStringLiteral(" Gut");
}

void TestTranslation::translateWithLines() {
    QFETCH(QStringList, lines);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(TranslateWithLines(lines, key), expected);
}

void TestTranslation::translatorLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("comma and blank") << QStringLiteral("Ayşe Demir, Jean Dupont")
                                     << QStringList{QStringLiteral("Ayşe Demir"),
                                                    QStringLiteral("Jean Dupont")};
    QTest::newRow("empty pieces kept")
        << QStringLiteral("A,,B,")
        << QStringList{QStringLiteral("A"), QString(), QStringLiteral("B"), QString()};
    QTest::newRow("tabs and blanks trimmed") << QStringLiteral("\t A \t") << QStringList{QStringLiteral("A")};
    QTest::newRow("empty") << QString() << QStringList{QString()};
}

void TestTranslation::translatorLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(tillora::translatorLines(text), expected);
}

void TestTranslation::noLanguagesFolder() {
    QDir(folder()).removeRecursively();
    auto form = open();
    QCOMPARE(items(), QStringList{QStringLiteral("English")});
    QCOMPARE(translatorsBox(), QStringLiteral("Kestrum"));
    clickOk();
    QVERIFY(!form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(fake_->messages.shown.isEmpty());
    QCOMPARE(restarts_, 0);
    QVERIFY(!fake_->settings.valueExists(QStringLiteral("LanguageFile")));
}

void TestTranslation::languagesSortedWithEnglish() {
    writeLanguage(QStringLiteral("Turkish.lang.txt"), "{OK}Tamam\n");
    writeLanguage(QStringLiteral("deutsch.lang.txt"), "{OK}Gut\n");
    writeLanguage(QStringLiteral("Français.lang.txt"), "{OK}OK\n");
    // Neither a name without ".lang.txt" nor a second "English" makes an item of its own.
    writeLanguage(QStringLiteral("xlang.txt"), "{OK}X\n");
    writeLanguage(QStringLiteral("English.lang.txt"), "{OK}Okay\n");
    auto form = open();
    QCOMPARE(items(), (QStringList{QStringLiteral("deutsch"), QStringLiteral("English"),
                                   QString::fromUtf8("Français"), QStringLiteral("Turkish")}));
    QCOMPARE(list()->currentText(), QStringLiteral("English"));
    QCOMPARE(form->openingLanguage(), QStringLiteral("English"));
}

void TestTranslation::loadedLanguageSelected() {
    writeLanguage(QStringLiteral("Turkish.lang.txt"), "{INFO:Translated By}Ay\xc5\x9f"
                                                      "e\n");
    writeLanguage(QStringLiteral("German.lang.txt"), "{INFO:Translated By}Jonas\n");
    auto form = open(QStringLiteral("Turkish.lang.txt"));
    QCOMPARE(list()->currentText(), QStringLiteral("Turkish"));
    QCOMPARE(form->openingLanguage(), QStringLiteral("Turkish"));
    QCOMPARE(translatorsBox(), QString::fromUtf8("Ayşe"));
    select(QStringLiteral("German"));
    QCOMPARE(translatorsBox(), QStringLiteral("Jonas"));
    select(QStringLiteral("English"));
    QCOMPARE(translatorsBox(), QStringLiteral("Kestrum"));
}

void TestTranslation::shippedLanguagesListed() {
    Language shipped;
    shipped.loadLanguageFile(QStringLiteral(TILLORA_SHIPPED_LANGUAGES), QStringLiteral("Spanish.lang.txt"),
                             NoLanguageId);
    TTranslateForm form(
        shipped, QStringLiteral(TILLORA_SHIPPED_LANGUAGES), fake_->settings, fake_->messages, fake_->shell,
        [&](const QString& english) { return shipped.translateText(english); }, [this]() { ++restarts_; });
    form_ = &form;
    QCOMPARE(items(),
             (QStringList{QStringLiteral("English"), QStringLiteral("French"), QStringLiteral("German"),
                          QStringLiteral("Spanish"), QStringLiteral("Turkish")}));
    QCOMPARE(list()->currentText(), QStringLiteral("Spanish"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Idioma"));
    QVERIFY(!translatorsBox().isEmpty());
    form_ = nullptr;
}

void TestTranslation::translators_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no translators line")
        << QByteArray("{OK}Tamam\r\n") << QStringLiteral("INFO:Translated By");
    QTest::newRow("nothing after the brace") << QByteArray("{INFO:Translated By}\r\n") << QString();
    QTest::newRow("two names") << QByteArray("\xEF\xBB\xBF{INFO:Translated By}Ana Ruiz, Luis Gil\r\n")
                               << QStringLiteral("Ana Ruiz\nLuis Gil");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("INFO:Translated By");
}

void TestTranslation::translators() {
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    writeLanguage(QStringLiteral("Spanish.lang.txt"), file);
    auto form = open();
    select(QStringLiteral("Spanish"));
    QCOMPARE(translatorsBox(), expected);
}

void TestTranslation::unreadableFileGivesEmptyTranslators() {
    writeLanguage(QStringLiteral("Spanish.lang.txt"), "{INFO:Translated By}Ana\n");
    language_.loadLanguageFile(folder(), QString(), NoLanguageId);
    QVERIFY(QFile::remove(folder() + QStringLiteral("/Spanish.lang.txt"))); // gone since the start
    auto form = open({}, false);
    select(QStringLiteral("Spanish"));
    QCOMPARE(translatorsBox(), QString());
    // It can still be chosen.
    fake_->messages.answers << MsgButton::Yes;
    clickOk();
    QCOMPARE(fake_->settings.readString(QStringLiteral("LanguageFile")), QStringLiteral("Spanish.lang.txt"));
    QCOMPARE(restarts_, 1);
}

void TestTranslation::captionsTranslated() {
    writeLanguage(QStringLiteral("German.lang.txt"),
                  "{Language}Sprache\n{User Interface Language:}Sprache der Oberfl\xc3\xa4"
                  "che:\n"
                  "{Translated by:}\xc3\x9c"
                  "bersetzt von:\n{OK}Gut\n{Cancel}Abbrechen\n"
                  "{Contribute Translation}Mithelfen\n");
    auto form = open(QStringLiteral("German.lang.txt"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Sprache"));
    QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QString::fromUtf8("Sprache der Oberfläche:"));
    QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QString::fromUtf8("Übersetzt von:"));
    QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label3"))->text(), QStringLiteral("Mithelfen"));
    QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->text(), QStringLiteral("Gut"));
    QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->text(), QStringLiteral("Abbrechen"));
    QVERIFY(form->width() >= 622 && form->height() >= 227);
}

void TestTranslation::changedLanguageYes() {
    writeLanguage(QStringLiteral("German.lang.txt"), "{OK}Gut\n");
    auto form = open();
    select(QStringLiteral("German"));
    fake_->messages.answers << MsgButton::Yes;
    clickOk();
    QCOMPARE(fake_->messages.shown.size(), 1);
    const ShownMessage& question = fake_->messages.shown[0];
    QCOMPARE(question.caption, QStringLiteral("Confirmation"));
    QCOMPARE(question.text, QStringLiteral("Restart Application?"));
    QCOMPARE(question.icon, MsgIcon::Question);
    QCOMPARE(question.buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
    QCOMPARE(question.buttonTexts, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    QCOMPARE(fake_->settings.readString(QStringLiteral("LanguageFile")), QStringLiteral("German.lang.txt"));
    QCOMPARE(restarts_, 1);
    QVERIFY(!form->isVisible());
}

void TestTranslation::englishChosenWhileLanguageLoaded() {
    writeLanguage(
        QStringLiteral("German.lang.txt"),
        "{Confirmation}Best\xc3\xa4tigung\n{Restart Application?}Neu starten?\n{Yes}Ja\n{No}Nein\n");
    fake_->settings.writeString(QStringLiteral("LanguageFile"), QStringLiteral("German.lang.txt"));
    auto form = open(fake_->settings.readString(QStringLiteral("LanguageFile")));
    QCOMPARE(list()->currentText(), QStringLiteral("German"));
    select(QStringLiteral("English"));
    fake_->messages.answers << MsgButton::Yes;
    clickOk();
    const ShownMessage& question = fake_->messages.shown.value(0);
    QCOMPARE(question.caption, QString::fromUtf8("Bestätigung"));
    QCOMPARE(question.text, QStringLiteral("Neu starten?"));
    QCOMPARE(question.buttonTexts, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
    QCOMPARE(fake_->settings.readString(QStringLiteral("LanguageFile")), QStringLiteral("English.lang.txt"));
    QCOMPARE(restarts_, 1);

    // The next start stays English even where the user's language would choose German.
    QFile codes(folder() + QStringLiteral("/LanguageCodes.csv"));
    QVERIFY(codes.open(QIODevice::WriteOnly));
    codes.write("1031,German.lang.txt\n");
    codes.close();
    Language next;
    next.loadLanguageFile(folder(), fake_->settings.readString(QStringLiteral("LanguageFile")), 1031);
    QVERIFY(!next.isLoaded());
}

void TestTranslation::changedLanguageNo() {
    writeLanguage(QStringLiteral("German.lang.txt"), "{OK}Gut\n");
    auto form = open();
    select(QStringLiteral("German"));
    fake_->messages.answers << MsgButton::No;
    clickOk();
    QCOMPARE(fake_->messages.shown.size(), 1);
    QVERIFY(form->isVisible());
    QCOMPARE(list()->currentText(), QStringLiteral("German"));
    QVERIFY(!fake_->settings.valueExists(QStringLiteral("LanguageFile")));
    QCOMPARE(restarts_, 0);
}

void TestTranslation::unchangedLanguageClosesWithoutQuestion() {
    writeLanguage(QStringLiteral("German.lang.txt"), "{OK}Gut\n");
    auto form = open(QStringLiteral("German.lang.txt"));
    select(QStringLiteral("English"));
    select(QStringLiteral("German")); // back to the opening language
    clickOk();
    QVERIFY(fake_->messages.shown.isEmpty());
    QVERIFY(!form->isVisible());
    QVERIFY(!fake_->settings.valueExists(QStringLiteral("LanguageFile")));
    QCOMPARE(restarts_, 0);
}

void TestTranslation::cancelStoresNothing() {
    writeLanguage(QStringLiteral("German.lang.txt"), "{OK}Gut\n");
    auto form = open();
    select(QStringLiteral("German"));
    QTest::keyClick(list(), Qt::Key_Escape);
    QVERIFY(!form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Rejected));
    form = open();
    select(QStringLiteral("German"));
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QVERIFY(fake_->messages.shown.isEmpty());
    QVERIFY(!fake_->settings.valueExists(QStringLiteral("LanguageFile")));
    QCOMPARE(restarts_, 0);
}

// A choice that cannot be stored would restart into the old language: the error shows and
// the program keeps running with the dialog open.
void TestTranslation::failedStoreDoesNotRestart() {
    writeLanguage(QStringLiteral("German.lang.txt"), "{OK}Gut\n");
    auto form = open();
    select(QStringLiteral("German"));
    fake_->settings.setWritesFail(true);
    fake_->messages.answers << MsgButton::Yes;
    clickOk();
    QCOMPARE(fake_->messages.shown.size(), 2);
    QCOMPARE(fake_->messages.shown[1].icon, MsgIcon::Error);
    QVERIFY(fake_->messages.shown[1].text.contains(QStringLiteral("LanguageFile")));
    QCOMPARE(restarts_, 0);
    QVERIFY(form->isVisible());
}

void TestTranslation::contributeTranslationOpensPage() {
    auto form = open();
    QTest::mouseClick(form->findChild<QLabel*>(QStringLiteral("Label3")), Qt::LeftButton);
    QCOMPARE(fake_->shell.openedUrls,
             QStringList{QStringLiteral("https://") + QString::fromLatin1(buildinfo::WebHost) +
                         QStringLiteral("/blog/multilingual-software/")});
    // A failure to open it is ignored.
    fake_->shell.succeeds = false;
    QTest::mouseClick(form->findChild<QLabel*>(QStringLiteral("Label3")), Qt::LeftButton);
    QVERIFY(fake_->messages.shown.isEmpty());
    QVERIFY(form->isVisible());
}

QTEST_MAIN(TestTranslation)
#include "test_translation.moc"
