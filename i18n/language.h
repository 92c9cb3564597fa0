#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace tillora {

// The user's language number when none is known: no language is chosen automatically then.
inline constexpr int NoLanguageId = 0;

// The folder "Languages" beside the program file.
QString languagesFolder();

// A language file's name up to, not including, the first ".lang.txt"; empty when the name
// does not contain ".lang.txt".
QString languageNameOf(const QString& fileName);

// A language file or language table larger than this is no such file: it is not read, and the
// program stays in English. The shipped files are some tens of kilobytes.
inline constexpr qint64 LanguageFileLimit = 4 * 1024 * 1024;
// A line longer than this (in characters) answers nothing and is dropped as it is read.
inline constexpr qsizetype LanguageLineLimit = 16 * 1024;

// Reads a language file: UTF-8 with or without byte-order mark, lines ending in CR LF, LF or
// CR. Returns false, with lines empty, when the file cannot be read or is larger than
// LanguageFileLimit.
bool readLanguageLines(const QString& path, QStringList& lines);
// The lines of a language file's bytes, as readLanguageLines reads them.
QStringList languageLinesOf(QByteArray bytes);

// The language file that the table "LanguageCodes.csv" (its bytes) names for a language
// number: the text after the first comma of the first line whose text before it is that
// number, blanks and control characters trimmed; empty when no line names it.
QString languageFileForId(const QByteArray& codes, int userLanguageId);

// The lookup of an English text in language lines, line by line from the first: the first line
// that begins with "{" + english + "}" answers with the rest of the line after its first "}"
// (which may be empty). No answer when no line begins with the key.
std::optional<QString> lookupTranslation(const QStringList& lines, const QString& english);

// The language loaded at start and kept for the whole run.
class Language {
public:
    // Lists the language files of languagesFolder and loads the chosen one. When chosen is
    // empty, the file that "LanguageCodes.csv" maps userLanguageId to is loaded instead (the
    // automatic choice is not stored anywhere). Without a folder, a match or the file, no
    // language is loaded and every text stays English.
    void loadLanguageFile(const QString& languagesFolder, const QString& chosen, int userLanguageId);

    // The translation of english, or english itself when there is none or it is empty.
    QString translateText(const QString& english) const;

    // Names (without folder) of the files matching "*lang.txt", in the order the folder lists them.
    const QStringList& languageFiles() const { return files_; }
    // The loaded file's name before ".lang.txt"; empty when no language is loaded.
    const QString& languageName() const { return name_; }
    bool isLoaded() const { return loaded_; }
    // Full path of the loaded file; empty when no language is loaded.
    const QString& loadedPath() const { return path_; }
    const QStringList& languageLines() const { return lines_; }

private:
    void clear();
    QString automaticChoice(const QString& folder, int userLanguageId) const;
    void buildIndex();

    QStringList files_;
    QString name_;
    QString path_;
    bool loaded_ = false;
    QStringList lines_;
    // Keys without "}" to the first line that begins with "{" + key + "}". The keys are views
    // into lines_, which stays unchanged from the load on.
    QHash<QStringView, qsizetype> index_;
};

} // namespace tillora
