#include "web/feedbackrules.h"

#include <QRegularExpression>

namespace tillora {

QString trimmedText(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.sliced(begin, end - begin);
}

QString opinionText(const QString& english, const QString& shownCaption) {
    if (shownCaption == english)
        return english;
    return english + QStringLiteral(" (") + shownCaption + u')';
}

QString feedbackText(Opinion opinion, const QString& likeCaption, const QString& dislikeCaption,
                     const QString& typed) {
    QString text;
    if (opinion == Opinion::Like)
        text = opinionText(QStringLiteral("I like it!"), likeCaption) + u'\r';
    else if (opinion == Opinion::Dislike)
        text = opinionText(QStringLiteral("I dislike it!"), dislikeCaption) + u'\r';
    return text + trimmedText(typed);
}

bool isValidEmail(const QString& email) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+")));
    return pattern.match(email).hasMatch();
}

QList<FormField> feedbackFields(const QString& appName, const QString& version, const QString& feedback,
                                const QString& email) {
    QList<FormField> fields{{QStringLiteral("cmd"), QStringLiteral("feedback")},
                            {QStringLiteral("appname"), appName},
                            {QStringLiteral("version"), version},
                            {QStringLiteral("feedback"), feedback}};
    if (!email.isEmpty())
        fields.append({QStringLiteral("email"), email});
    return fields;
}

namespace {

void appendEncoded(QByteArray& out, const QString& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char ch : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            byte == '-' || byte == '.' || byte == '_' || byte == '*') {
            out.append(ch);
        } else if (byte == ' ') {
            out.append('+');
        } else {
            out.append('%');
            out.append(hex[byte >> 4]);
            out.append(hex[byte & 0x0F]);
        }
    }
}

} // namespace

QByteArray formBody(const QList<FormField>& fields) {
    QByteArray body;
    for (const FormField& field : fields) {
        if (!body.isEmpty())
            body.append('&');
        appendEncoded(body, field.name);
        body.append('=');
        appendEncoded(body, field.value);
    }
    return body;
}

bool isDeliveredAnswer(const QByteArray& body) {
    qsizetype begin = 0;
    qsizetype end = body.size();
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (begin < end && blank(body.at(begin)))
        ++begin;
    while (end > begin && blank(body.at(end - 1)))
        --end;
    return body.sliced(begin, end - begin) == "OK";
}

QString versionText(const QString& version) {
    const QStringList parts = version.split(u'.');
    return parts.value(0, QStringLiteral("0")) + u'.' + parts.value(1, QStringLiteral("0"));
}

bool fallsBackToHttp(PostEnd end) {
    return end == PostEnd::NotConnected || end == PostEnd::TimedOut;
}

} // namespace tillora
