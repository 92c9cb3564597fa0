#include "localserver.h"

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

LocalServer::LocalServer() : server_(std::make_unique<QTcpServer>()) {
    listen();
}

LocalServer::LocalServer(const QSslCertificate& certificate, const QSslKey& key) {
    auto server = std::make_unique<QSslServer>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    server->setSslConfiguration(tls);
    server_ = std::move(server);
    listen();
}

LocalServer::~LocalServer() = default;

void LocalServer::listen() {
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, &LocalServer::accept);
    server_->listen(QHostAddress::LocalHost, 0);
}

quint16 LocalServer::port() const {
    return server_->serverPort();
}

void LocalServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        ++connections;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket]() { pending_.remove(socket); });
        read(socket);
    }
}

void LocalServer::read(QTcpSocket* socket) {
    QByteArray& data = pending_[socket];
    data += socket->readAll();
    const qsizetype headerEnd = data.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    ReceivedRequest request;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (data.size() < headerEnd + 4 + length)
        return;
    request.body = data.mid(headerEnd + 4, length);
    data.clear();
    requests.append(request);
    if (silent)
        return;
    const QByteArray reply =
        "HTTP/1.1 " + QByteArray::number(status) +
        " Answer\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(answer.size()) +
        "\r\nConnection: close\r\n\r\n" + answer;
    socket->write(reply);
    socket->disconnectFromHost();
}

TestCertificate TestCertificate::make(const QString& folder) {
    TestCertificate made;
    const QString keyPath = folder + QStringLiteral("/key.pem");
    const QString certPath = folder + QStringLiteral("/cert.pem");
    QProcess openssl;
    openssl.start(
        QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
         QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
         QStringLiteral("-keyout"), keyPath, QStringLiteral("-out"), certPath, QStringLiteral("-days"),
         QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
         QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1")});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        made.error =
            QStringLiteral("openssl failed: ") + QString::fromLocal8Bit(openssl.readAllStandardError());
        return made;
    }
    QFile cert(certPath);
    QFile key(keyPath);
    if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
        made.error = QStringLiteral("cannot read the certificate");
        return made;
    }
    made.certificate = QSslCertificate(cert.readAll(), QSsl::Pem);
    made.key = QSslKey(key.readAll(), QSsl::Ec, QSsl::Pem);
    if (made.certificate.isNull() || made.key.isNull())
        made.error = QStringLiteral("cannot load the certificate");
    return made;
}

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
