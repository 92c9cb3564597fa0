#include "platform/files.h"
#include "platform/guard.h"
#include "platform/messages.h"
#include "platform/qt/qtmessages.h"
#include "platform/scripted/scripted.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace tillora;

class TestPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullStop_data();
    void fullStop();
    void defaultErrorBox();
    void confirmationStaysEnglish();
    void defaultExtension_data();
    void defaultExtension();
    void scriptedPromptsAnswerInOrder();
    void maskedPromptShowsStars();
    void filterLeavesAClosingWindowAlone();
};

void TestPlatform::fullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letter") << "Printer not found"
                            << "Printer not found.";
    QTest::newRow("digit") << "Error 5"
                           << "Error 5.";
    QTest::newRow("non-ascii letter") << QString::fromUtf8("Geçersiz ğ") << QString::fromUtf8("Geçersiz ğ.");
    QTest::newRow("exclamation") << "Printer not found!"
                                 << "Printer not found!";
    QTest::newRow("quote") << "'x' is not a valid floating point value'"
                           << "'x' is not a valid floating point value'";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPlatform::fullStop() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(withFullStop(text), expected);
}

void TestPlatform::defaultErrorBox() {
    ScriptedMessages messages;
    showDefaultError(messages, QStringLiteral("Failed to set data for 'VCL'"));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].caption, QStringLiteral("Tillora"));
    QCOMPARE(messages.shown[0].text, QStringLiteral("Failed to set data for 'VCL'"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
    QCOMPARE(messages.shown[0].buttons, MsgButtons{MsgButton::Ok});
}

void TestPlatform::confirmationStaysEnglish() {
    ScriptedMessages messages;
    messages.answers << MsgButton::No << MsgButton::Yes;
    QVERIFY(!confirm(messages, QStringLiteral("Confirm?")));
    QVERIFY(confirm(messages, QStringLiteral("Confirm?")));
    QVERIFY(confirm(messages, QStringLiteral("Confirm?"))); // empty queue: the default button, Yes
    QCOMPARE(messages.shown[0].caption, QStringLiteral("Confirm"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Question);
    QCOMPARE(messages.shown[0].buttons, (MsgButtons{MsgButton::Yes, MsgButton::No}));
}

void TestPlatform::defaultExtension_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("expected");
    QTest::newRow("appended") << "/tmp/products"
                              << "csv"
                              << "/tmp/products.csv";
    QTest::newRow("dot given") << "/tmp/products"
                               << ".csv"
                               << "/tmp/products.csv";
    QTest::newRow("kept") << "/tmp/products.txt"
                          << "csv"
                          << "/tmp/products.txt";
    QTest::newRow("dotted folder") << "/tmp/a.b/products"
                                   << "csv"
                                   << "/tmp/a.b/products.csv";
    QTest::newRow("cancelled") << ""
                               << "csv"
                               << "";
}

void TestPlatform::defaultExtension() {
    QFETCH(QString, path);
    QFETCH(QString, ext);
    QFETCH(QString, expected);
    QCOMPARE(withDefaultExtension(path, ext), expected);
}

void TestPlatform::scriptedPromptsAnswerInOrder() {
    ScriptedPrompts prompts;
    prompts.answers << QStringLiteral("EUR") << std::nullopt;
    QString value;
    QVERIFY(prompts.prompt("Currency Symbol", "Please enter new currency symbol:", value, "OK", "Cancel"));
    QCOMPARE(value, QStringLiteral("EUR"));
    QVERIFY(!prompts.prompt("Currency Symbol", "Please enter new currency symbol:", value, "OK", "Cancel"));
    QVERIFY(!prompts.prompt("Currency Symbol", "Please enter new currency symbol:", value, "OK", "Cancel"));
    QCOMPARE(value, QStringLiteral("EUR"));
    QCOMPARE(prompts.shown.size(), 3);
    QCOMPARE(prompts.shown[0].caption, QStringLiteral("Currency Symbol"));
}

void TestPlatform::maskedPromptShowsStars() {
    QtPrompts prompts;
    bool checked = false;
    QTimer::singleShot(0, [&checked]() {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("PromptEdit"));
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("PromptOK"));
        auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("PromptCancel"));
        QVERIFY(edit && ok && cancel);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(ok->text(), QStringLiteral("Tamam"));
        QCOMPARE(cancel->text(), QStringLiteral("Vazgeç"));
        QTest::keyClicks(edit, QStringLiteral("s3cret"));
        checked = true;
        ok->click();
    });
    QString value;
    const bool accepted =
        prompts.prompt(QStringLiteral("Password"), QChar(31) + QStringLiteral("Please enter password:"),
                       value, QStringLiteral("Tamam"), QString::fromUtf8("Vazgeç"));
    QVERIFY(checked);
    QVERIFY(accepted);
    QCOMPARE(value, QStringLiteral("s3cret"));
}

namespace {
// A window whose child's events go through a guarded filter that counts into the window.
class FilteredWindow : public QWidget {
public:
    FilteredWindow(const Guard& guard, bool& gone, int& callsAfterDestructor) : gone_(gone) {
        box_ = new QLineEdit(this);
        guard.filter(this, box_, [this, &callsAfterDestructor](QObject*, QEvent*) {
            if (gone_)
                ++callsAfterDestructor;
            ++seen_;
            return false;
        });
    }
    ~FilteredWindow() override { gone_ = true; }
    QLineEdit* box() const { return box_; }

private:
    bool& gone_;
    QLineEdit* box_ = nullptr;
    int seen_ = 0;
};
} // namespace

// Destroying a shown window with a focused child hides and unfocuses the child after the
// window's own destructor has run; the filter must not call into it then.
void TestPlatform::filterLeavesAClosingWindowAlone() {
    ScriptedMessages messages;
    const Guard guard(messages);
    bool gone = false;
    int callsAfterDestructor = 0;
    auto* window = new FilteredWindow(guard, gone, callsAfterDestructor);
    window->show();
    window->activateWindow();
    window->box()->setFocus();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(window->box()->hasFocus());
    delete window;
    QVERIFY(gone);
    QCOMPARE(callsAfterDestructor, 0);
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
