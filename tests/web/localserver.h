#pragma once
// A small HTTP server on 127.0.0.1 for the feedback tests, over TLS with a certificate of the
// test's own or plain. It records each request and answers with a fixed status and body, or
// stays silent to make the client wait.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

#include <memory>

class QTcpServer;
class QTcpSocket;

struct ReceivedRequest {
    QByteArray method;
    QByteArray path;
    QHash<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

class LocalServer : public QObject {
    Q_OBJECT

public:
    // Plain HTTP.
    LocalServer();
    // HTTPS with this certificate and key.
    LocalServer(const QSslCertificate& certificate, const QSslKey& key);
    ~LocalServer() override;

    quint16 port() const;

    int status = 200;
    QByteArray answer = "OK";
    bool silent = false; // reads requests but never answers
    QList<ReceivedRequest> requests;
    int connections = 0;

private:
    void listen();
    void accept();
    void read(QTcpSocket* socket);

    std::unique_ptr<QTcpServer> server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// A self-signed certificate for 127.0.0.1 made with openssl, with its key.
struct TestCertificate {
    QSslCertificate certificate;
    QSslKey key;
    QString error;
    static TestCertificate make(const QString& folder);
};

// A port on 127.0.0.1 that nothing listens on.
quint16 closedPort();
