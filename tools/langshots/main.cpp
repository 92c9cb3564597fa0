// Draws the real main window with a cart in English and in every shipped language, with the
// language dialog and the feedback window beside it, and saves PNG files in the folder given
// as the only argument: <language>-main.png, <language>-language.png, <language>-feedback.png
// (language in lower case). The language files are read from the Languages folder beside this
// program, which the langshots target fills from i18n/.
#include "app/appform.h"
#include "app/application.h"
#include "i18n/language.h"
#include "i18n/translation.h"
#include "platform/scripted/scripted.h"
#include "tools/common/samplecart.h"
#include "web/feedback.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

using namespace tillora;

namespace {

bool save(QWidget& window, const QString& path) {
    QCoreApplication::processEvents();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && window.grab().save(&file, "PNG") && file.commit())
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The three pictures of one language; English when file is empty.
int drawLanguage(const QString& folder, const QString& name, const QString& file) {
    ScriptedServices fake;
    if (!file.isEmpty())
        fake.settings.writeString(QStringLiteral("LanguageFile"), file);
    TAppForm form(fake.services);
    form.setDataFile(QTemporaryDir().path() + QStringLiteral("/none.db")); // the cart is made by hand
    form.show();
    while (!form.startupDone())
        QCoreApplication::processEvents();
    fillSampleCart(form);

    const QString base = QDir(folder).filePath(name.toLower());
    int failures = save(form, base + QStringLiteral("-main.png")) ? 0 : 1;

    TTranslateForm languageDialog(
        form.language(), languagesFolder(), fake.settings, fake.messages, fake.shell,
        [&form](const QString& text) { return form.TranslateText(text); }, []() {}, &form);
    languageDialog.show();
    failures += save(languageDialog, base + QStringLiteral("-language.png")) ? 0 : 1;
    languageDialog.hide();

    TFeedbackForm feedback(
        fake.messages, [&form](const QString& text) { return form.TranslateText(text); }, FeedbackServer{},
        &form);
    feedback.show();
    failures += save(feedback, base + QStringLiteral("-feedback.png")) ? 0 : 1;
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TilloraApplication app(argc, argv); // the program's font
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    int failures = drawLanguage(folder, QStringLiteral("English"), QString());
    Language shipped;
    shipped.loadLanguageFile(languagesFolder(), QString(), NoLanguageId);
    QStringList files = shipped.languageFiles();
    files.sort();
    if (files.isEmpty()) {
        std::fprintf(stderr, "no language files in %s\n", qPrintable(languagesFolder()));
        return 1;
    }
    for (const QString& file : files)
        failures += drawLanguage(folder, languageNameOf(file), file);
    return failures == 0 ? 0 : 1;
}
