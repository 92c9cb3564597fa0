#include "i18n/language.h"

#include "i18n/textcodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tillora {

namespace {

const QString languageSuffix = QStringLiteral(".lang.txt");
const QString languageCodesFile = QStringLiteral("LanguageCodes.csv");

QString asciiLower(const QString& text) {
    QString folded = text;
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

// Reads a file of at most LanguageFileLimit bytes: a larger one is refused before it is read,
// so a damaged or foreign file cannot take the memory of the program.
bool readWhole(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.read(LanguageFileLimit + 1);
    return file.error() == QFileDevice::NoError && bytes.size() <= LanguageFileLimit;
}

QStringList listLanguageFiles(const QString& folder) {
    // Unsorted keeps the order in which the folder lists its entries. Hidden files count too;
    // only regular files (or links to them) are language files.
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*lang.txt")});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    dir.setSorting(QDir::Unsorted);
    return dir.entryList();
}

} // namespace

QString languagesFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Languages");
}

QString languageNameOf(const QString& fileName) {
    const qsizetype at = fileName.indexOf(languageSuffix);
    return at < 0 ? QString() : fileName.left(at);
}

bool readLanguageLines(const QString& path, QStringList& lines) {
    lines.clear();
    QByteArray bytes;
    if (!readWhole(path, bytes))
        return false;
    lines = languageLinesOf(std::move(bytes));
    return true;
}

QStringList languageLinesOf(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringList lines = splitTextLines(QString::fromUtf8(bytes));
    lines.removeIf([](const QString& line) { return line.size() > LanguageLineLimit; });
    return lines;
}

QString languageFileForId(const QByteArray& codes, int userLanguageId) {
    const QString searchKey = QString::number(userLanguageId);
    for (const QString& line : splitTextLines(decodeText(codes))) {
        const qsizetype comma = line.indexOf(u',');
        if (comma < 0)
            continue;
        if (trimBlanksAndControls(line.left(comma)) == searchKey)
            return trimBlanksAndControls(line.sliced(comma + 1));
    }
    return {};
}

std::optional<QString> lookupTranslation(const QStringList& lines, const QString& english) {
    const QString key = u'{' + english + u'}';
    for (const QString& line : lines) {
        if (line.startsWith(key))
            return line.sliced(line.indexOf(u'}') + 1);
    }
    return std::nullopt;
}

void Language::clear() {
    files_.clear();
    name_.clear();
    path_.clear();
    loaded_ = false;
    lines_.clear();
    index_.clear();
}

QString Language::automaticChoice(const QString& folder, int userLanguageId) const {
    if (userLanguageId <= 0)
        return {};
    const QString codesPath = folder + u'/' + languageCodesFile;
    if (!QFileInfo(codesPath).isFile())
        return {};
    QByteArray bytes;
    if (!readWhole(codesPath, bytes))
        return {}; // an unreadable table counts as an empty one
    const QString wanted = languageFileForId(bytes, userLanguageId);
    if (wanted.isEmpty())
        return {};
    const QString wantedFolded = asciiLower(wanted);
    for (const QString& name : files_) {
        if (asciiLower(name) == wantedFolded)
            return name;
    }
    return {};
}

void Language::loadLanguageFile(const QString& folder, const QString& chosen, int userLanguageId) {
    clear();
    if (!QFileInfo(folder).isDir())
        return;
    files_ = listLanguageFiles(folder);

    QString name = chosen;
    if (trimBlanksAndControls(name).isEmpty())
        name = automaticChoice(folder, userLanguageId);
    // A language file is a name directly in the folder: an empty name or one that leads
    // elsewhere names no language file.
    if (name.isEmpty() || name.contains(u'/') || name == u"." || name == u"..")
        return;
    const QString path = folder + u'/' + name;
    if (!QFileInfo(path).isFile())
        return;
    QStringList lines;
    if (!readLanguageLines(path, lines))
        return; // an unreadable file leaves the program in English, like a missing one
    name_ = languageNameOf(name);
    path_ = path;
    lines_ = std::move(lines);
    loaded_ = true;
    buildIndex();
}

void Language::buildIndex() {
    // A line answers the key up to its first "}"; for a key without "}" that is the only key
    // it can answer, so the first line listed under the key is the one a scan would find.
    index_.reserve(lines_.size());
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString& line = lines_.at(i);
        if (!line.startsWith(u'{'))
            continue;
        const qsizetype close = line.indexOf(u'}');
        if (close < 0)
            continue;
        const QStringView key = QStringView(line).sliced(1, close - 1);
        if (!index_.contains(key))
            index_.insert(key, i);
    }
}

QString Language::translateText(const QString& english) const {
    if (!loaded_)
        return english;
    std::optional<QString> found;
    if (english.contains(u'}')) {
        // Keys holding "}" are answered by lines whose first "}" lies inside the key: scan.
        found = lookupTranslation(lines_, english);
    } else {
        const auto it = index_.constFind(QStringView(english));
        if (it != index_.cend()) {
            const QString& line = lines_.at(*it);
            found = line.sliced(english.size() + 2);
        }
    }
    return found && !found->isEmpty() ? *found : english;
}

} // namespace tillora
