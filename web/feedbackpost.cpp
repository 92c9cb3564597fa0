#include "web/feedbackpost.h"

#include "buildinfo.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

namespace tillora {

QString FeedbackServer::defaultHost() {
    return QString::fromLatin1(buildinfo::WebHost);
}

FeedbackPost::FeedbackPost(FeedbackServer server, QObject* parent)
    : QObject(parent), server_(std::move(server)), manager_(new QNetworkAccessManager(this)),
      timer_(new QTimer(this)) {
    // A redirect is not the answer of the feedback form: it counts as a failure.
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &FeedbackPost::phaseTimeout);
}

FeedbackPost::~FeedbackPost() {
    abandon();
}

void FeedbackPost::start(const QByteArray& body) {
    if (running())
        return;
    body_ = body;
    delivered_ = false;
    attempt(true);
}

void FeedbackPost::abandon() {
    timer_->stop();
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void FeedbackPost::attempt(bool https) {
    https_ = https;
    connected_ = false;
    tlsTrouble_ = false;
    timedOut_ = false;

    QUrl url;
    url.setScheme(https ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(server_.host);
    url.setPort(https ? server_.httpsPort : server_.httpPort);
    url.setPath(feedbackPath());
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("Connection", "close");
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (https && !server_.trustedCertificates.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(server_.trustedCertificates);
        request.setSslConfiguration(tls);
    }

    QNetworkReply* reply = manager_->post(request, body_);
    reply_ = reply;
    // The connection (with its TLS handshake) gets the connect time-out; once the request is
    // out, the answer gets the response time-out.
    connect(reply, &QNetworkReply::requestSent, this, [this]() {
        connected_ = true;
        timer_->start(server_.responseTimeoutMs);
    });
    connect(reply, &QNetworkReply::sslErrors, this, [this]() { tlsTrouble_ = true; });
    connect(reply, &QNetworkReply::finished, this, &FeedbackPost::attemptFinished);
    timer_->start(server_.connectTimeoutMs);
}

void FeedbackPost::phaseTimeout() {
    if (reply_ == nullptr)
        return;
    timedOut_ = true;
    reply_->abort(); // finishes the reply with OperationCanceledError
}

PostEnd FeedbackPost::classify(QNetworkReply* reply) const {
    if (timedOut_)
        return PostEnd::TimedOut;
    if (tlsTrouble_)
        return PostEnd::Refused;
    switch (reply->error()) {
    case QNetworkReply::NoError:
        return PostEnd::Answered;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
        // Failures of the connection itself, before anything was sent.
        return connected_ ? PostEnd::Refused : PostEnd::NotConnected;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return PostEnd::TimedOut;
    default:
        // An answer with an error status counts as an answer, not as a broken connection.
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() ? PostEnd::Answered
                                                                                    : PostEnd::Refused;
    }
}

void FeedbackPost::attemptFinished() {
    QNetworkReply* reply = reply_;
    if (reply == nullptr || sender() != reply)
        return;
    timer_->stop();
    reply_ = nullptr;
    reply->deleteLater();
    lastEnd_ = classify(reply);
    if (lastEnd_ == PostEnd::Answered) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        delivered_ = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300 &&
                     isDeliveredAnswer(reply->readAll());
        Q_EMIT finished();
        return;
    }
    if (https_ && fallsBackToHttp(lastEnd_)) {
        attempt(false);
        return;
    }
    Q_EMIT finished();
}

} // namespace tillora
