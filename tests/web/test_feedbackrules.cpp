// The feedback sender's rules: the text sent, the e-mail check, the form body, the answer.
#include "web/feedbackrules.h"

#include <QTest>

using namespace tillora;

class TestFeedbackRules : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void email_data();
    void email();
    void fields();
    void body_data();
    void body();
    void answer_data();
    void answer();
    void version();
    void fallback();
};

void TestFeedbackRules::text_data() {
    QTest::addColumn<int>("opinion");
    QTest::addColumn<QString>("like");
    QTest::addColumn<QString>("dislike");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    const QString like = QStringLiteral("I like it!");
    const QString dislike = QStringLiteral("I dislike it!");
    QTest::newRow("nothing") << int(Opinion::None) << like << dislike << QString() << QString();
    QTest::newRow("only blanks and breaks")
        << int(Opinion::None) << like << dislike << QStringLiteral(" \r\n\t ") << QString();
    QTest::newRow("like, empty text")
        << int(Opinion::Like) << like << dislike << QString() << QStringLiteral("I like it!\r");
    QTest::newRow("dislike translated")
        << int(Opinion::Dislike) << QStringLiteral("Gefällt mir!") << QStringLiteral("Gefällt mir nicht!")
        << QStringLiteral("Zu langsam") << QStringLiteral("I dislike it! (Gefällt mir nicht!)\rZu langsam");
    QTest::newRow("text trimmed, inner breaks kept")
        << int(Opinion::None) << like << dislike << QStringLiteral("\n  Fast.\nNice!  \n")
        << QStringLiteral("Fast.\nNice!");
}

void TestFeedbackRules::text() {
    QFETCH(int, opinion);
    QFETCH(QString, like);
    QFETCH(QString, dislike);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(feedbackText(Opinion(opinion), like, dislike, typed), expected);
}

void TestFeedbackRules::email_data() {
    QTest::addColumn<QString>("email");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << QStringLiteral("ayse@example.com") << true;
    QTest::newRow("plus, dot and dash") << QStringLiteral("a.b+c-d_e@shop-1.co.uk") << true;
    QTest::newRow("no dot after the at sign") << QStringLiteral("ayse@localhost") << false;
    QTest::newRow("no at sign") << QStringLiteral("ayse.example.com") << false;
    QTest::newRow("two at signs") << QStringLiteral("a@b@example.com") << false;
    QTest::newRow("ends with a dot") << QStringLiteral("ayse@example.com.") << false;
    QTest::newRow("inner blank") << QStringLiteral("ay se@example.com") << false;
    QTest::newRow("line break at the end") << QStringLiteral("ayse@example.com\n") << false;
    QTest::newRow("letters outside ASCII") << QStringLiteral("ayşe@example.com") << false;
    QTest::newRow("dot right after the at sign") << QStringLiteral("ayse@.example.com") << false;
}

void TestFeedbackRules::email() {
    QFETCH(QString, email);
    QFETCH(bool, valid);
    QCOMPARE(isValidEmail(email), valid);
}

void TestFeedbackRules::fields() {
    const QList<FormField> with = feedbackFields(QStringLiteral("KESTRUM - Tillora"), QStringLiteral("1.0"),
                                                 QStringLiteral("Hi"), QStringLiteral("a@b.cd"));
    QStringList names;
    for (const FormField& field : with)
        names << field.name;
    QCOMPARE(names, (QStringList{QStringLiteral("cmd"), QStringLiteral("appname"), QStringLiteral("version"),
                                 QStringLiteral("feedback"), QStringLiteral("email")}));
    QCOMPARE(with[0].value, QStringLiteral("feedback"));
    QCOMPARE(with[1].value, QStringLiteral("KESTRUM - Tillora"));
    const QList<FormField> without = feedbackFields(QStringLiteral("KESTRUM - Tillora"),
                                                    QStringLiteral("1.0"), QStringLiteral("Hi"), QString());
    QCOMPARE(without.size(), 4);
    QCOMPARE(without.last().name, QStringLiteral("feedback"));
}

void TestFeedbackRules::body_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("blank and punctuation")
        << QStringLiteral("I like it!\rGood") << QByteArray("I+like+it%21%0DGood");
    QTest::newRow("separators of the form") << QStringLiteral("a&b=c+d%") << QByteArray("a%26b%3Dc%2Bd%25");
    QTest::newRow("UTF-8") << QStringLiteral("Gefällt ş") << QByteArray("Gef%C3%A4llt+%C5%9F");
    QTest::newRow("kept as they are") << QStringLiteral("a-b.c_d*e~") << QByteArray("a-b.c_d*e%7E");
}

void TestFeedbackRules::body() {
    QFETCH(QString, value);
    QFETCH(QByteArray, encoded);
    QCOMPARE(formBody({{QStringLiteral("feedback"), value}}), QByteArray("feedback=") + encoded);
    QCOMPARE(formBody({{QStringLiteral("cmd"), QStringLiteral("feedback")}, {QStringLiteral("x"), value}}),
             QByteArray("cmd=feedback&x=") + encoded);
}

void TestFeedbackRules::answer_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("OK") << QByteArray("OK") << true;
    QTest::newRow("OK and a line break") << QByteArray("OK\r\n") << true;
    QTest::newRow("blanks around") << QByteArray("  \nOK  ") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("lower case") << QByteArray("ok") << false;
    QTest::newRow("more after OK") << QByteArray("OK, but") << false;
    QTest::newRow("error page") << QByteArray("<html>Not Found</html>") << false;
}

void TestFeedbackRules::answer() {
    QFETCH(QByteArray, body);
    QFETCH(bool, delivered);
    QCOMPARE(isDeliveredAnswer(body), delivered);
}

void TestFeedbackRules::version() {
    QCOMPARE(versionText(QStringLiteral("1.0.0")), QStringLiteral("1.0"));
    QCOMPARE(versionText(QStringLiteral("2.13.4.7")), QStringLiteral("2.13"));
    QCOMPARE(versionText(QStringLiteral("3")), QStringLiteral("3.0"));
}

void TestFeedbackRules::fallback() {
    QVERIFY(fallsBackToHttp(PostEnd::NotConnected));
    QVERIFY(fallsBackToHttp(PostEnd::TimedOut));
    QVERIFY(!fallsBackToHttp(PostEnd::Refused));
    QVERIFY(!fallsBackToHttp(PostEnd::Answered));
}

QTEST_GUILESS_MAIN(TestFeedbackRules)
#include "test_feedbackrules.moc"
