#include "app/settingsfile.h"

#include "app/errors.h"
#include "buildinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <sys/stat.h>

#include <utility>

namespace tillora {

namespace {

const QString lockName = QStringLiteral("settings.lock");
constexpr int lockWaitMs = 5000;

QString quoted(const QString& name) {
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}

AppError setFailure(const QString& name) {
    return AppError(QStringLiteral("Failed to set data for ") + quoted(name));
}

AppError typeFailure(const QString& name) {
    return AppError(QStringLiteral("Invalid data type for ") + quoted(name));
}

void appendUnicodeEscape(QString& out, char16_t code) {
    out += QStringLiteral("\\u");
    out += QStringLiteral("%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
}

// Characters that a text editor or a line-based reader could change or take as a line break.
bool needsEscape(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0xFEFF;
}

QString escape(const QString& text, bool isName) {
    QString out;
    out.reserve(text.size() + 8);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\r') {
            out += QStringLiteral("\\r");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (needsEscape(c) || QChar::isSurrogate(c) || (isName && c == u'=') ||
                   (c == u' ' && (i == 0 || i == n - 1))) {
            // A lone half of a surrogate pair survives only as an escape.
            appendUnicodeEscape(out, c);
        } else {
            out += text[i];
        }
    }
    return out;
}

// The text of an escaped field; false when an escape is damaged.
bool unescape(QStringView field, QString& out) {
    out.clear();
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i >= field.size())
            return false;
        switch (field[i].unicode()) {
        case u'\\':
            out += QLatin1Char('\\');
            break;
        case u'n':
            out += QLatin1Char('\n');
            break;
        case u'r':
            out += QLatin1Char('\r');
            break;
        case u't':
            out += QLatin1Char('\t');
            break;
        case u'u': {
            if (i + 4 >= field.size())
                return false;
            bool ok = false;
            const uint code = field.sliced(i + 1, 4).toUInt(&ok, 16);
            if (!ok)
                return false;
            out += QChar(static_cast<char16_t>(code));
            i += 4;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

// Reads one line of the file into value; false for comments, blank and damaged lines.
bool parseLine(QStringView line, SettingValue& value) {
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return false;
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (blank <= 0 || equals <= blank + 1)
        return false;
    const QStringView kind = line.first(blank);
    if (kind == QLatin1String("integer"))
        value.isInteger = true;
    else if (kind == QLatin1String("text"))
        value.isInteger = false;
    else
        return false;
    if (!unescape(line.sliced(blank + 1, equals - blank - 1), value.name) || value.name.isEmpty())
        return false;
    const QStringView field = line.sliced(equals + 1);
    if (value.isInteger) {
        bool ok = false;
        value.integer = field.toInt(&ok, 10);
        value.text.clear();
        return ok;
    }
    value.integer = 0;
    return unescape(field, value.text);
}

} // namespace

const SettingValue* SettingsTable::find(const QString& name) const {
    const auto it = index_.constFind(name.toCaseFolded());
    return it == index_.cend() ? nullptr : &values_[*it];
}

QString SettingsTable::readString(const QString& name) const {
    const SettingValue* value = find(name);
    if (!value)
        return QString();
    if (value->isInteger)
        throw typeFailure(name);
    return value->text;
}

qint32 SettingsTable::readInteger(const QString& name) const {
    const SettingValue* value = find(name);
    if (!value)
        throw AppError(QStringLiteral("Failed to get data for ") + quoted(name));
    if (!value->isInteger)
        throw typeFailure(name);
    return value->integer;
}

bool SettingsTable::set(SettingValue value) {
    const QString key = value.name.toCaseFolded();
    const auto it = index_.constFind(key);
    if (it == index_.cend()) {
        index_.insert(key, values_.size());
        values_.append(std::move(value));
        return true;
    }
    SettingValue& existing = values_[*it];
    value.name = existing.name;
    if (existing == value)
        return false;
    existing = std::move(value);
    return true;
}

bool SettingsTable::setString(const QString& name, const QString& value) {
    return set(SettingValue{name, false, value, 0});
}

bool SettingsTable::setInteger(const QString& name, qint32 value) {
    return set(SettingValue{name, true, QString(), value});
}

void SettingsTable::clear() {
    values_.clear();
    index_.clear();
}

QStringList SettingsTable::names() const {
    QStringList names;
    for (const SettingValue& value : values_)
        names << value.name;
    return names;
}

QByteArray SettingsTable::toText() const {
    QString text = QStringLiteral("# %1 settings. One value per line: text Name=... or integer Name=...\n")
                       .arg(QString::fromLatin1(buildinfo::ProductName));
    for (const SettingValue& value : values_) {
        text += value.isInteger ? QStringLiteral("integer ") : QStringLiteral("text ");
        text += escape(value.name, true);
        text += QLatin1Char('=');
        text += value.isInteger ? QString::number(value.integer) : escape(value.text, false);
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

SettingsTable SettingsTable::fromText(const QByteArray& text) {
    SettingsTable table;
    const QString decoded = QString::fromUtf8(text);
    SettingValue value;
    for (QStringView line : QStringView(decoded).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1); // a file saved with Windows line ends
        if (parseLine(line, value))
            table.set(value);
    }
    return table;
}

FileSettingsStore::FileSettingsStore() : FileSettingsStore(settingsFolder()) {}

FileSettingsStore::FileSettingsStore(const QString& folder) : folder_(QDir::cleanPath(folder)) {
    // Opened with create-if-missing; when this fails the first write reports it.
    ensureFolder();
}

bool FileSettingsStore::ensureFolder() const {
    if (QFileInfo(folder_).isDir())
        return true;
    if (!QDir().mkpath(folder_))
        return false;
    // The store holds the passwords: only its owner may look into it.
    QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

QString FileSettingsStore::settingsFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QLatin1Char('/') + QString::fromLatin1(buildinfo::CompanyName) +
                           QLatin1Char('/') + QString::fromLatin1(buildinfo::ProductName));
}

QString FileSettingsStore::filePath() const {
    return folder_ + QLatin1Char('/') + fileName();
}

FileSettingsStore::Stamp FileSettingsStore::currentStamp() const {
    struct stat info {};
    if (::stat(QFile::encodeName(filePath()).constData(), &info) != 0)
        return Stamp{};
    return Stamp{true, static_cast<qint64>(info.st_ino), static_cast<qint64>(info.st_size),
                 static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                 static_cast<qint64>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

bool FileSettingsStore::refresh() const {
    const Stamp now = currentStamp();
    if (loaded_ && now == stamp_)
        return readable_;
    loaded_ = true;
    stamp_ = now;
    table_.clear();
    readable_ = true;
    if (!now.exists)
        return true;
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        readable_ = false;
        return false;
    }
    table_ = SettingsTable::fromText(file.readAll());
    return true;
}

bool FileSettingsStore::valueExists(const QString& name) const {
    refresh();
    return table_.contains(name);
}

QString FileSettingsStore::readString(const QString& name) const {
    refresh();
    return table_.readString(name);
}

qint32 FileSettingsStore::readInteger(const QString& name) const {
    refresh();
    return table_.readInteger(name);
}

template <typename Apply> void FileSettingsStore::write(const QString& name, Apply&& apply) {
    // A value that already holds exactly this needs no write (the column-width saver writes
    // the same widths again and again).
    if (refresh()) {
        SettingsTable probe = table_;
        if (!apply(probe))
            return;
    }
    if (!ensureFolder())
        throw setFailure(name);
    // The lock keeps another instance from writing between our re-read and our commit, so
    // neither undoes the other's values.
    QLockFile lock(folder_ + QLatin1Char('/') + lockName);
    if (!lock.tryLock(lockWaitMs))
        throw setFailure(name);
    // A file that exists but cannot be read is never replaced: its values would be lost.
    if (!refresh())
        throw setFailure(name);
    SettingsTable next = table_;
    if (!apply(next))
        return;
    const QByteArray text = next.toText();
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        throw setFailure(name);
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        throw setFailure(name);
    }
    if (!file.commit())
        throw setFailure(name);
    table_ = std::move(next);
    stamp_ = currentStamp();
    readable_ = true;
}

void FileSettingsStore::writeString(const QString& name, const QString& value) {
    write(name, [&](SettingsTable& table) { return table.setString(name, value); });
}

void FileSettingsStore::writeInteger(const QString& name, qint32 value) {
    write(name, [&](SettingsTable& table) { return table.setInteger(name, value); });
}

bool FileSettingsStore::deleteKey() {
    QDir dir(folder_);
    const bool removed = !dir.exists() || dir.removeRecursively();
    table_.clear();
    stamp_ = Stamp{};
    loaded_ = false;
    readable_ = true;
    return removed;
}

} // namespace tillora
