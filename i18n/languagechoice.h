#pragma once
// The rules of the language dialog apart from its window: the list of languages, the
// translators of a language file, storing the choice and the restart question.
#include "common/translate.h"
#include "platform/messages.h"

#include <QString>
#include <QStringList>

namespace tillora {

class ISettingsStore;

// The list item that stands for the program's own texts; it has no language file.
inline QString englishLanguage() {
    return QStringLiteral("English");
}

// The key whose translation names the translators of a language file.
inline QString translatedByKey() {
    return QStringLiteral("INFO:Translated By");
}

// The lookup of english in the lines of a language file, as the loaded language does it, but
// a matching line with nothing after its first "}" gives the empty text. When no line matches
// (or there are no lines) the result is english itself.
QString TranslateWithLines(const QStringList& lines, const QString& english);

// The items of the language list: "English" and, for each language file, its name before
// ".lang.txt", sorted alphabetically in the user's locale without regard to letter case. A name without
// ".lang.txt" would be a blank item and a name already listed a second, identical one: both
// are left out.
QStringList languageListItems(const QStringList& languageFiles);

// The translators' text split at every comma (empty pieces kept), each piece without blanks
// and control characters at both ends: the lines of the translators box.
QStringList translatorLines(const QString& translators);

// The translators of a language, as the translators box shows them: "Kestrum" for English,
// else the "INFO:Translated By" text of languagesFolder/<language>.lang.txt (empty when the
// file cannot be read).
QString translatorsOf(const QString& languagesFolder, const QString& language);

// The language file name stored for a list item: "German" gives "German.lang.txt", "English"
// gives "English.lang.txt".
QString languageFileName(const QString& language);

// Stores the chosen language file in the setting LanguageFile and does nothing else: the texts
// in use stay until the program starts again. A failed write raises the store's AppError.
void SetLanguageFile(ISettingsStore& settings, const QString& Filename);

// The maker's page about translating its programs.
QString contributeTranslationUrl(const QString& host);

// A message box of the given kind whose window caption is caption and whose buttons take
// buttonTexts in the order of buttons (Yes before No), as long as texts remain.
MsgButton TranslatedMessageDlg(IMessages& messages, const QString& caption, const QString& text, MsgIcon icon,
                               const MsgButtons& buttons, MsgButton defaultButton,
                               const QStringList& buttonTexts);

// The question before the restart into another language: "Restart Application?" with Yes and
// No, caption and buttons translated through translate (which must be set). True for Yes.
bool askRestartForLanguage(IMessages& messages, const Translate& translate);

} // namespace tillora
