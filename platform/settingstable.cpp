#include "platform/settingstable.h"

#include "buildinfo.h"
#include "common/errors.h"

namespace tillora {

namespace {

QString quoted(const QString& name) {
    return QLatin1Char('\'') + name + QLatin1Char('\'');
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

AppError SettingsWriteFailures::failure(const QString& name) {
    const bool first = !reported_.contains(name.toCaseFolded());
    reported_.insert(name.toCaseFolded());
    return AppError(QStringLiteral("Failed to set data for ") + quoted(name), !first);
}

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

} // namespace tillora
