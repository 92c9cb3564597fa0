#pragma once
#include <QList>
#include <QString>

#include <functional>

namespace tillora {

// Looks up one environment variable; the empty text when it is not set.
using EnvironmentLookup = std::function<QString(const char* name)>;

// The locale name that decides the language of messages, chosen as gettext does: the first
// entry of LANGUAGE, provided the locale itself (the first non-empty of LC_ALL, LC_MESSAGES,
// LANG) is set and is not "C" or "POSIX"; else that locale. Empty when nothing is set.
QString messagesLocaleName(const EnvironmentLookup& environment);

// The Windows language identifier of a locale name of the form
// language[_TERRITORY][.codeset][@modifier]. A language without territory, or with one the
// table does not know, gives the language's main identifier. NoLanguageId for "C", "POSIX",
// empty and unknown languages.
int languageIdForLocale(const QString& localeName);

// The user's language number, standing in for the Windows display language identifier;
// NoLanguageId when the environment names no known language.
int userLanguageId(const EnvironmentLookup& environment);
int userLanguageId(); // from the process environment

// Every identifier the locale table can give, in table order.
QList<int> knownLanguageIds();

} // namespace tillora
