#include "i18n/mnemonics.h"

#include <QSet>

#include <functional>

namespace tillora {

namespace {

bool isPlainLetterOrDigit(QChar c) {
    const char16_t u = c.toUpper().unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

bool startsWord(const QString& text, qsizetype at) {
    return at == 0 || !text.at(at - 1).isLetterOrNumber();
}

} // namespace

QStringList withMnemonics(const QStringList& captions) {
    using Rule = std::function<bool(const QString&, qsizetype)>;
    const Rule rules[] = {
        [](const QString& t, qsizetype i) { return isPlainLetterOrDigit(t.at(i)) && startsWord(t, i); },
        [](const QString& t, qsizetype i) { return isPlainLetterOrDigit(t.at(i)); },
        [](const QString& t, qsizetype i) { return t.at(i).isLetter() && startsWord(t, i); },
        [](const QString& t, qsizetype i) { return t.at(i).isLetter(); },
    };
    QSet<QChar> taken;
    QStringList result;
    result.reserve(captions.size());
    for (const QString& caption : captions) {
        qsizetype chosen = -1;
        for (const Rule& rule : rules) {
            for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
                if (rule(caption, i) && !taken.contains(caption.at(i).toUpper()))
                    chosen = i;
            }
            if (chosen >= 0)
                break;
        }
        QString marked;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (i == chosen)
                marked += QLatin1Char('&');
            marked += caption.at(i);
            if (caption.at(i) == QLatin1Char('&'))
                marked += QLatin1Char('&');
        }
        if (chosen >= 0)
            taken.insert(caption.at(chosen).toUpper());
        result.append(marked);
    }
    return result;
}

QString withoutMnemonic(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption.at(i) == QLatin1Char('&'))
            continue;
        plain += caption.at(i);
    }
    return plain;
}

} // namespace tillora
