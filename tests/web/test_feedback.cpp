// The feedback window against servers of the test's own on 127.0.0.1: what is sent, https
// first and plain http only after https could not connect or timed out, and the answers.
#include "buildinfo.h"
#include "localserver.h"
#include "platform/scripted/scripted.h"
#include "web/feedback.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

#include <memory>

using namespace tillora;

namespace {

// The fields of a posted form body, in order.
QList<QPair<QString, QString>> formFields(const QByteArray& body) {
    QByteArray spaced = body;
    spaced.replace('+', ' ');
    return QUrlQuery(QString::fromUtf8(spaced)).queryItems(QUrl::FullyDecoded);
}

QString field(const ReceivedRequest& request, const QString& name) {
    for (const auto& [key, value] : formFields(request.body)) {
        if (key == name)
            return value;
    }
    return QStringLiteral("<none>");
}

} // namespace

class TestFeedback : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void captionsAndLimits();
    void opinionPanels();
    void emptyFeedbackBeeps();
    void likeWithEmptyText();
    void dislikeTranslated();
    void blankEmailSendsNoField();
    void invalidEmailRefused();
    void answers_data();
    void answers();
    void httpsUnreachableHttpAnswers();
    void httpsTimesOutHttpAnswers();
    void tlsFailureSendsNothingOverHttp();
    void bothUnreachable();
    void sendingStateRefusesSecondSend();
    void escapeClosesWithoutSending();

private:
    // The window posting to the local servers; https trusted unless said otherwise.
    void open(const Translate& translate = {}, bool trusted = true);
    void type(const QString& text) const { memo()->setPlainText(text); }
    void send() const { QTest::mouseClick(sendButton(), Qt::LeftButton); }
    // Waits until the post has ended and its answer box was shown.
    bool waitForAnswer() const;
    QPlainTextEdit* memo() const { return form_->findChild<QPlainTextEdit*>(QStringLiteral("Memo1")); }
    QLineEdit* email() const { return form_->findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    QPushButton* sendButton() const { return form_->findChild<QPushButton*>(QStringLiteral("BitBtn1")); }
    QFrame* panel(const char* name) const { return form_->findChild<QFrame*>(QString::fromLatin1(name)); }
    const ShownMessage& lastBox() const { return fake_->messages.shown.last(); }

    QTemporaryDir certificates_;
    TestCertificate certificate_;
    std::unique_ptr<ScriptedServices> fake_;
    std::unique_ptr<LocalServer> https_;
    std::unique_ptr<LocalServer> http_;
    FeedbackServer server_;
    std::unique_ptr<TFeedbackForm> form_;
};

void TestFeedback::initTestCase() {
    QVERIFY(QSslSocket::supportsSsl());
    certificate_ = TestCertificate::make(certificates_.path());
    QVERIFY2(certificate_.error.isEmpty(), qPrintable(certificate_.error));
}

void TestFeedback::init() {
    fake_ = std::make_unique<ScriptedServices>();
    https_ = std::make_unique<LocalServer>(certificate_.certificate, certificate_.key);
    http_ = std::make_unique<LocalServer>();
    server_ = FeedbackServer{};
    server_.host = QStringLiteral("127.0.0.1");
    server_.httpsPort = https_->port();
    server_.httpPort = http_->port();
}

void TestFeedback::cleanup() {
    form_.reset();
    https_.reset();
    http_.reset();
}

void TestFeedback::open(const Translate& translate, bool trusted) {
    if (trusted)
        server_.trustedCertificates = {certificate_.certificate};
    form_ = std::make_unique<TFeedbackForm>(fake_->messages, translate, server_);
    form_->show();
}

bool TestFeedback::waitForAnswer() const {
    return QTest::qWaitFor([this]() { return !form_->sending() && !fake_->messages.shown.isEmpty(); }, 20000);
}

void TestFeedback::captionsAndLimits() {
    open([](const QString& english) {
        return english == QStringLiteral("feedback") ? QStringLiteral("Geri Bildirim") : english;
    });
    QCOMPARE(form_->windowTitle(), QStringLiteral("Tillora Geri Bildirim"));
    QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("Panel4Caption"))->text(),
             QStringLiteral("I like it!"));
    QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("Label3"))->text(),
             QStringLiteral("Include my e-mail:"));
    QCOMPARE(form_->size(), QSize(525, 326));
    QCOMPARE(email()->maxLength(), 100);
    // A paste beyond 10,000 characters is cut off where it was added.
    memo()->setPlainText(QString(9990, u'a'));
    memo()->moveCursor(QTextCursor::End);
    memo()->insertPlainText(QString(50, u'b'));
    QCOMPARE(memo()->toPlainText().size(), 10000);
    QVERIFY(memo()->toPlainText().endsWith(QString(10, u'b')));
    memo()->setPlainText(QString(10001, u'c'));
    QCOMPARE(memo()->toPlainText().size(), 10000);
}

void TestFeedback::opinionPanels() {
    open();
    QFrame* like = panel("Panel4");
    QFrame* dislike = panel("Panel5");
    const QPalette colours = form_->palette();
    QCOMPARE(form_->opinion(), Opinion::None);
    QCOMPARE(like->frameShadow(), QFrame::Raised);
    QTest::mouseClick(like, Qt::LeftButton);
    QCOMPARE(form_->opinion(), Opinion::Like);
    QCOMPARE(like->frameShadow(), QFrame::Sunken);
    QCOMPARE(like->palette().color(QPalette::Window), colours.color(QPalette::Highlight));
    QCOMPARE(
        form_->findChild<QLabel*>(QStringLiteral("Panel4Caption"))->palette().color(QPalette::WindowText),
        colours.color(QPalette::HighlightedText));
    // A click on the other panel's picture moves the selection.
    QTest::mouseClick(form_->findChild<QLabel*>(QStringLiteral("Panel5Picture")), Qt::LeftButton);
    QCOMPARE(form_->opinion(), Opinion::Dislike);
    QCOMPARE(like->frameShadow(), QFrame::Raised);
    QCOMPARE(like->palette().color(QPalette::Window), colours.color(QPalette::Button));
    QCOMPARE(dislike->frameShadow(), QFrame::Sunken);
    // Clicking the selected panel again changes nothing: no way back to none.
    QTest::mouseClick(dislike, Qt::LeftButton);
    QCOMPARE(form_->opinion(), Opinion::Dislike);
    QCOMPARE(dislike->frameShadow(), QFrame::Sunken);
}

void TestFeedback::emptyFeedbackBeeps() {
    open();
    type(QStringLiteral("  \n\t "));
    send();
    QCOMPARE(fake_->messages.beeps, 1);
    QVERIFY(fake_->messages.shown.isEmpty());
    QVERIFY(!form_->sending());
    QTest::qWait(100);
    QCOMPARE(https_->connections + http_->connections, 0);
}

void TestFeedback::likeWithEmptyText() {
    open();
    QTest::mouseClick(panel("Panel4"), Qt::LeftButton);
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(https_->requests.size(), 1);
    const ReceivedRequest& request = https_->requests[0];
    QCOMPARE(request.method, QByteArray("POST"));
    QCOMPARE(request.path, QByteArray("/php/feedback.php"));
    QCOMPARE(request.headers.value("connection").toLower(), QByteArray("close"));
    QCOMPARE(request.headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(request.body, QByteArray("cmd=feedback&appname=KESTRUM+-+Tillora&version=") +
                               versionText(QString::fromLatin1(buildinfo::Version)).toUtf8() +
                               QByteArray("&feedback=I+like+it%21%0D"));
    QCOMPARE(http_->requests.size(), 0);
    QCOMPARE(lastBox().caption, QStringLiteral("Success"));
    QCOMPARE(lastBox().text, QStringLiteral("Your feedback is received.\n\nThank you!"));
    QCOMPARE(lastBox().icon, MsgIcon::Information);
    QVERIFY(!form_->isVisible());
    QCOMPARE(form_->result(), int(QDialog::Accepted));
}

void TestFeedback::dislikeTranslated() {
    open([](const QString& english) {
        return english == QStringLiteral("I dislike it!") ? QString::fromUtf8("Beğenmedim!") : english;
    });
    QTest::mouseClick(panel("Panel5"), Qt::LeftButton);
    type(QStringLiteral("  Çok yavaş\n"));
    email()->setText(QStringLiteral("  ayse@example.com  "));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(https_->requests.size(), 1);
    QCOMPARE(field(https_->requests[0], QStringLiteral("feedback")),
             QString::fromUtf8("I dislike it! (Beğenmedim!)\rÇok yavaş"));
    QCOMPARE(field(https_->requests[0], QStringLiteral("email")), QStringLiteral("ayse@example.com"));
    QStringList names;
    for (const auto& [key, value] : formFields(https_->requests[0].body))
        names << key;
    QCOMPARE(names, (QStringList{QStringLiteral("cmd"), QStringLiteral("appname"), QStringLiteral("version"),
                                 QStringLiteral("feedback"), QStringLiteral("email")}));
}

void TestFeedback::blankEmailSendsNoField() {
    open();
    type(QStringLiteral("Fine"));
    email()->setText(QStringLiteral("    "));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(https_->requests.size(), 1);
    QCOMPARE(field(https_->requests[0], QStringLiteral("email")), QStringLiteral("<none>"));
    QVERIFY(!https_->requests[0].body.contains("email"));
}

void TestFeedback::invalidEmailRefused() {
    open();
    type(QStringLiteral("Fine"));
    email()->setText(QStringLiteral("ayse@localhost"));
    send();
    QCOMPARE(fake_->messages.shown.size(), 1);
    QCOMPARE(lastBox().caption, QStringLiteral("Failure"));
    QCOMPARE(lastBox().text, QStringLiteral("Invalid e-mail address!"));
    QCOMPARE(lastBox().icon, MsgIcon::Error);
    QVERIFY(!form_->sending());
    QVERIFY(form_->isVisible());
    QTest::qWait(100);
    QCOMPARE(https_->connections + http_->connections, 0);
}

void TestFeedback::answers_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("OK and a line break") << 200 << QByteArray("OK\r\n") << true;
    QTest::newRow("empty body") << 200 << QByteArray() << false;
    QTest::newRow("other text") << 200 << QByteArray("ERROR") << false;
    // The server was reached over https: an error status is its answer, not a reason to
    // send the text again unencrypted.
    QTest::newRow("error status") << 500 << QByteArray("OK") << false;
    QTest::newRow("redirect") << 302 << QByteArray("OK") << false;
}

void TestFeedback::answers() {
    QFETCH(int, status);
    QFETCH(QByteArray, answer);
    QFETCH(bool, delivered);
    https_->status = status;
    https_->answer = answer;
    open();
    type(QStringLiteral("Fine"));
    email()->setText(QStringLiteral("a@b.cd"));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(https_->requests.size(), 1);
    QCOMPARE(http_->requests.size(), 0);
    QCOMPARE(fake_->messages.shown.size(), 1);
    if (delivered) {
        QCOMPARE(lastBox().caption, QStringLiteral("Success"));
        QVERIFY(!form_->isVisible());
    } else {
        QCOMPARE(lastBox().caption, QStringLiteral("Failure"));
        QCOMPARE(lastBox().text,
                 QStringLiteral("Something went wrong. Your feedback could not be delivered.\n\n"
                                "Please try again later."));
        QCOMPARE(lastBox().icon, MsgIcon::Error);
        // The window stays open with everything typed, ready for another try.
        QVERIFY(form_->isVisible());
        QCOMPARE(memo()->toPlainText(), QStringLiteral("Fine"));
        QCOMPARE(email()->text(), QStringLiteral("a@b.cd"));
        QVERIFY(sendButton()->isEnabled());
        QVERIFY(!memo()->isReadOnly());
    }
}

void TestFeedback::httpsUnreachableHttpAnswers() {
    server_.httpsPort = closedPort();
    open();
    type(QStringLiteral("Fine"));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(http_->requests.size(), 1);
    QCOMPARE(field(http_->requests[0], QStringLiteral("feedback")), QStringLiteral("Fine"));
    QCOMPARE(http_->requests[0].path, QByteArray("/php/feedback.php"));
    QCOMPARE(lastBox().caption, QStringLiteral("Success"));
}

// A server that takes the connection but never starts TLS: the https attempt times out.
void TestFeedback::httpsTimesOutHttpAnswers() {
    LocalServer stalled; // plain, never answers the TLS greeting
    stalled.silent = true;
    server_.httpsPort = stalled.port();
    server_.connectTimeoutMs = 300;
    open();
    type(QStringLiteral("Fine"));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(stalled.connections, 1);
    QCOMPARE(http_->requests.size(), 1);
    QCOMPARE(lastBox().caption, QStringLiteral("Success"));
}

void TestFeedback::tlsFailureSendsNothingOverHttp() {
    open({}, false); // the server's certificate is not trusted
    type(QStringLiteral("Private"));
    email()->setText(QStringLiteral("a@b.cd"));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(https_->requests.size(), 0);
    QCOMPARE(http_->connections, 0);
    QCOMPARE(lastBox().caption, QStringLiteral("Failure"));
    QVERIFY(form_->isVisible());
}

void TestFeedback::bothUnreachable() {
    server_.httpsPort = closedPort();
    server_.httpPort = closedPort();
    open();
    type(QStringLiteral("Fine"));
    send();
    QVERIFY(waitForAnswer());
    QCOMPARE(fake_->messages.shown.size(), 1);
    QCOMPARE(lastBox().caption, QStringLiteral("Failure"));
}

void TestFeedback::sendingStateRefusesSecondSend() {
    https_->silent = true;
    server_.responseTimeoutMs = 60000;
    open([](const QString& english) {
        return english == QStringLiteral("Sending...") ? QStringLiteral("Gönderiliyor...") : english;
    });
    type(QStringLiteral("Fine"));
    send();
    QVERIFY(form_->sending());
    QVERIFY(!sendButton()->isEnabled());
    QCOMPARE(sendButton()->text(), QStringLiteral("Gönderiliyor..."));
    QVERIFY(memo()->isReadOnly());
    // The window keeps working while the post runs.
    QVERIFY(QTest::qWaitFor([this]() { return https_->requests.size() == 1; }, 10000));
    QTest::keyClick(email(), Qt::Key_Return); // Enter on the default button
    QMetaObject::invokeMethod(sendButton(), "click");
    QTest::qWait(200);
    QCOMPARE(https_->requests.size(), 1);
    QCOMPARE(https_->connections, 1);
    QVERIFY(fake_->messages.shown.isEmpty());
    // Closing the window drops the post without an answer box.
    QTest::keyClick(memo(), Qt::Key_Escape);
    QVERIFY(!form_->isVisible());
    QVERIFY(!form_->sending());
    QTest::qWait(100);
    QVERIFY(fake_->messages.shown.isEmpty());
}

void TestFeedback::escapeClosesWithoutSending() {
    for (const char* where : {"Memo1", "Edit1", "BitBtn1"}) {
        open();
        type(QStringLiteral("Fine"));
        QTest::keyClick(form_->findChild<QWidget*>(QString::fromLatin1(where)), Qt::Key_Escape);
        QVERIFY2(!form_->isVisible(), where);
        QCOMPARE(form_->result(), int(QDialog::Rejected));
    }
    QTest::qWait(100);
    QCOMPARE(https_->connections + http_->connections, 0);
    QVERIFY(fake_->messages.shown.isEmpty());
}

QTEST_MAIN(TestFeedback)
#include "test_feedback.moc"
