#pragma once
// The form post of the feedback sender: https first and, only when https could not connect or
// timed out, plain http; never a second attempt after a certificate or other TLS failure. The
// post runs in the background of the event loop, so the window that started it stays usable;
// finished() tells the outcome once.
#include "web/feedbackrules.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace tillora {

// Where the post goes and how long each step may take.
struct FeedbackServer {
    // The maker's host (the build constant TILLORA_WEB_HOST).
    QString host = defaultHost();
    // Ports other than the schemes' own (443, 80); -1 keeps the scheme's port.
    int httpsPort = -1;
    int httpPort = -1;
    int connectTimeoutMs = 3000;
    int responseTimeoutMs = 3000;
    // Certificates trusted besides the system's authorities (a test server's own).
    QList<QSslCertificate> trustedCertificates;

    static QString defaultHost();
};

class FeedbackPost : public QObject {
    Q_OBJECT

public:
    explicit FeedbackPost(FeedbackServer server, QObject* parent = nullptr);
    ~FeedbackPost() override;

    // Posts body (an url-encoded form); does nothing while a post is running.
    void start(const QByteArray& body);
    bool running() const { return reply_ != nullptr; }
    // Stops a running post without telling its outcome.
    void abandon();

    // How the last attempt ended.
    PostEnd lastEnd() const { return lastEnd_; }
    // Whether the last post was delivered: the server answered "OK".
    bool delivered() const { return delivered_; }

Q_SIGNALS:
    // The post has ended; delivered() tells how.
    void finished();

private:
    void attempt(bool https);
    void attemptFinished();
    void phaseTimeout();
    PostEnd classify(QNetworkReply* reply) const;

    FeedbackServer server_;
    QNetworkAccessManager* manager_ = nullptr;
    QTimer* timer_ = nullptr;
    QNetworkReply* reply_ = nullptr; // the attempt running, if any
    QByteArray body_;
    bool https_ = false;
    bool connected_ = false; // the request went out (over TLS for https)
    bool tlsTrouble_ = false;
    bool timedOut_ = false;
    PostEnd lastEnd_ = PostEnd::Answered;
    bool delivered_ = false;
};

} // namespace tillora
