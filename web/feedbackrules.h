#pragma once
// The rules of the feedback sender apart from its window and the network: the text that is
// sent, the e-mail check, the form body, the answer that counts as delivered and when the
// plain http attempt may follow the https one.
#include <QByteArray>
#include <QList>
#include <QString>

namespace tillora {

inline constexpr int FeedbackMaxLength = 10000; // characters of the feedback text box
inline constexpr int EmailMaxLength = 100;      // characters of the e-mail box

enum class Opinion { None, Like, Dislike };

// The opinion as sent: the English text, followed by " (" + the caption shown + ")" when a
// language shows it differently ("I dislike it! (Gefällt mir nicht!)").
QString opinionText(const QString& english, const QString& shownCaption);

// The feedback text: the opinion and a CR when one is chosen, then the typed text without
// blanks and control characters at both ends. Empty when there is nothing to send.
QString feedbackText(Opinion opinion, const QString& likeCaption, const QString& dislikeCaption,
                     const QString& typed);

// Blanks and control characters (everything up to U+0020) removed at both ends.
QString trimmedText(const QString& text);

// An e-mail address as the sender accepts it (the whole text must match).
bool isValidEmail(const QString& email);

struct FormField {
    QString name;
    QString value;
    bool operator==(const FormField& other) const = default;
};

// The fields of the post, in their order: cmd, appname, version, feedback and, for an address
// that is not empty, email.
QList<FormField> feedbackFields(const QString& appName, const QString& version, const QString& feedback,
                                const QString& email);

// The fields as an application/x-www-form-urlencoded body, values in UTF-8: letters, digits
// and "-._*" stay, a blank becomes "+", every other byte "%XX".
QByteArray formBody(const QList<FormField>& fields);

// The server's answer that means delivered: "OK" with blanks and line breaks around it.
bool isDeliveredAnswer(const QByteArray& body);

// The program version as sent: the two leading parts of the version number ("1.0.0" -> "1.0").
QString versionText(const QString& version);

// The path of the feedback form on the maker's server.
inline QString feedbackPath() {
    return QStringLiteral("/php/feedback.php");
}

// How one attempt of the post ended.
enum class PostEnd {
    Answered,     // the server answered; the answer decides
    NotConnected, // no connection could be made (refused, no route, unknown host)
    TimedOut,     // the connection or the answer took longer than allowed
    Refused,      // a certificate or other TLS failure, or any other error after connecting
};

// Whether a failed https attempt may be followed by the plain http one. Only when https could
// not connect or timed out: after a certificate or TLS failure the text and the address would
// go unencrypted to whoever answered.
bool fallsBackToHttp(PostEnd end);

} // namespace tillora
