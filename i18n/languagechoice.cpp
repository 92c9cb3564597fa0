#include "i18n/languagechoice.h"

#include "i18n/language.h"
#include "i18n/textcodec.h"
#include "platform/settingsstore.h"

#include <QCollator>

#include <algorithm>

namespace tillora {

QString TranslateWithLines(const QStringList& lines, const QString& english) {
    const std::optional<QString> found = lookupTranslation(lines, english);
    return found ? *found : english;
}

QStringList languageListItems(const QStringList& languageFiles) {
    QStringList items{englishLanguage()};
    for (const QString& file : languageFiles) {
        const QString name = languageNameOf(file);
        if (!name.isEmpty() && !items.contains(name))
            items.append(name);
    }
    // Alphabetical in the user's locale, letter case aside; names that differ only in case
    // keep a fixed order.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return items;
}

QStringList translatorLines(const QString& translators) {
    QStringList lines;
    for (const QString& piece : translators.split(u','))
        lines.append(trimBlanksAndControls(piece));
    return lines;
}

QString translatorsOf(const QString& languagesFolder, const QString& language) {
    if (language == englishLanguage())
        return QStringLiteral("Kestrum");
    QStringList lines;
    if (!readLanguageLines(languagesFolder + u'/' + languageFileName(language), lines))
        return {};
    return TranslateWithLines(lines, translatedByKey());
}

QString languageFileName(const QString& language) {
    return language + QStringLiteral(".lang.txt");
}

void SetLanguageFile(ISettingsStore& settings, const QString& Filename) {
    settings.writeString(QStringLiteral("LanguageFile"), Filename);
}

QString contributeTranslationUrl(const QString& host) {
    return QStringLiteral("https://") + host + QStringLiteral("/blog/multilingual-software/");
}

MsgButton TranslatedMessageDlg(IMessages& messages, const QString& caption, const QString& text, MsgIcon icon,
                               const MsgButtons& buttons, MsgButton defaultButton,
                               const QStringList& buttonTexts) {
    return messages.showCaptioned(caption, text, icon, buttons, defaultButton, buttonTexts);
}

bool askRestartForLanguage(IMessages& messages, const Translate& translate) {
    return TranslatedMessageDlg(messages, translate(QStringLiteral("Confirmation")),
                                translate(QStringLiteral("Restart Application?")), MsgIcon::Question,
                                {MsgButton::Yes, MsgButton::No}, MsgButton::Yes,
                                {translate(QStringLiteral("Yes")), translate(QStringLiteral("No"))}) ==
           MsgButton::Yes;
}

} // namespace tillora
