#include "platform/scripted/memorysettings.h"
#include "platform/scripted/scripted.h"
#include "receipts/printtemplate.h"
#include "receipts/receipts.h"
#include "receipts/receiptsform.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace tillora;

namespace {

QString marked(const QString& text) {
    return QStringLiteral("<") + text + QStringLiteral(">");
}

template <typename T> T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

} // namespace

// The template editor and the Receipts dialog, driven through their named controls.
class TestReceiptForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void editorShowsTemplateWithCrLf();
    void editorMenu();
    void editorOkStoresAndUsesAtOnce();
    void editorCancelChangesNothing();
    void receiptsDialogShowsStoredValues_data();
    void receiptsDialogShowsStoredValues();
    void receiptsDialogOkPutsValuesIntoUse();
    void receiptsDialogCancelWritesNothing();
    void folderButtonRemembersTheChoice();

private:
    std::unique_ptr<ScriptedServices> fake;
    ReceiptSettings receipts;
};

void TestReceiptForms::init() {
    fake = std::make_unique<ScriptedServices>();
    receipts.load(fake->settings, marked);
    TFormReceipts::forgetChosenFolder();
}

void TestReceiptForms::editorShowsTemplateWithCrLf() {
    receipts.printTemplate = QStringLiteral("a\rb\nc\r\nd");
    TPrintTemplateForm form(receipts, fake->settings, fake->messages, marked);
    QCOMPARE(form.windowTitle(), QStringLiteral("<Print Template>"));
    QCOMPARE(child<QPushButton>(&form, "BitBtn1")->text(), QStringLiteral("<OK>"));
    QCOMPARE(child<QPushButton>(&form, "BitBtn2")->text(), QStringLiteral("<Cancel>"));
    QVERIFY(child<QPlainTextEdit>(&form, "Memo1")->font().fixedPitch());
    QCOMPARE(form.templateText(), QStringLiteral("a\r\nb\r\nc\r\nd"));
}

void TestReceiptForms::editorMenu() {
    receipts.printTemplate = QStringLiteral("Mine");
    TPrintTemplateForm form(receipts, fake->settings, fake->messages, marked);
    QMenu* menu = child<QMenu>(&form, "PopupMenu1");
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(captions, (QStringList{"<Reset>", "-", "<Add> [DATE]", "<Add> [DATETIME]", "<Add> [LIST]",
                                    "Add [RECEIPTNO]", "<Add> [TIME]", "<Add> [TOTAL]"}));

    const QStringList names{"AddDATE1", "AddDATETIME1", "AddLIST1", "AddRECEIPTNO1", "AddTIME1", "AddTOTAL1"};
    for (const QString& name : names)
        form.findChild<QAction*>(name)->trigger();
    QCOMPARE(form.templateText(),
             QStringLiteral("Mine\r\n[DATE]\r\n[DATETIME]\r\n[LIST]\r\n[RECEIPTNO]\r\n[TIME]\r\n[TOTAL]"));

    child<QAction>(&form, "Reset1")->trigger();
    QCOMPARE(form.templateText(), DefaultPrintTemplate(marked));
    // Nothing is stored before OK.
    QVERIFY(!fake->settings.valueExists(PrintTemplateSetting));
    QCOMPARE(receipts.printTemplate, QStringLiteral("Mine"));

    // An emptied box gets its placeholder as the only line.
    child<QPlainTextEdit>(&form, "Memo1")->clear();
    form.findChild<QAction*>(QStringLiteral("AddLIST1"))->trigger();
    QCOMPARE(form.templateText(), QStringLiteral("[LIST]"));

    // The button drops the menu below itself.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QToolButton* button = child<QToolButton>(&form, "SpeedButton1");
    button->click();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos().y(), button->mapToGlobal(QPoint(0, button->height())).y());
    // The click that closes the menu does not open it again.
    menu->hide();
    button->click();
    QVERIFY(!menu->isVisible());
}

void TestReceiptForms::editorOkStoresAndUsesAtOnce() {
    TPrintTemplateForm form(receipts, fake->settings, fake->messages, marked);
    child<QPlainTextEdit>(&form, "Memo1")->setPlainText(QStringLiteral("Shop\n[LIST]\n[total]\u00a0!"));
    child<QPushButton>(&form, "BitBtn1")->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    const QString expected = QStringLiteral("Shop\r\n[LIST]\r\n[total]\u00a0!");
    QCOMPARE(receipts.printTemplate, expected);
    QCOMPARE(fake->settings.readString(PrintTemplateSetting), expected);

    // An emptied template stays empty for the run.
    TPrintTemplateForm again(receipts, fake->settings, fake->messages, marked);
    child<QPlainTextEdit>(&again, "Memo1")->clear();
    child<QPushButton>(&again, "BitBtn1")->click();
    QCOMPARE(receipts.printTemplate, QString());
}

void TestReceiptForms::editorCancelChangesNothing() {
    const QString before = receipts.printTemplate;
    TPrintTemplateForm form(receipts, fake->settings, fake->messages, marked);
    child<QPlainTextEdit>(&form, "Memo1")->setPlainText(QStringLiteral("changed"));
    child<QPushButton>(&form, "BitBtn2")->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(receipts.printTemplate, before);
    QVERIFY(!fake->settings.valueExists(PrintTemplateSetting));
}

void TestReceiptForms::receiptsDialogShowsStoredValues_data() {
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("folder");
    QTest::newRow("nothing stored") << false << 1 << "";
    QTest::newRow("stored values") << true << 41 << "/shop/receipts";
}

void TestReceiptForms::receiptsDialogShowsStoredValues() {
    QFETCH(bool, stored);
    QFETCH(int, number);
    QFETCH(QString, folder);
    if (stored) {
        fake->settings.writeInteger(ReceiptNumberSetting, number);
        fake->settings.writeString(ReceiptFolderSetting, folder);
    }
    receipts.NextReceiptNumber = 77; // the dialog shows the stored value, not the one in use
    QPointer<TFormReceipts> form =
        new TFormReceipts(receipts, fake->settings, fake->files, fake->messages, marked);
    QCOMPARE(form->windowTitle(), QStringLiteral("<Receipts>"));
    QVERIFY(!form->isModal());
    QCOMPARE(child<QLabel>(form, "Label1")->text(), QStringLiteral("<Next Receipt Number:>"));
    QCOMPARE(child<QLabel>(form, "Label2")->text(), QStringLiteral("<Directory:>"));
    QCOMPARE(child<QPushButton>(form, "BitBtn1")->text(), QStringLiteral("<OK>"));
    QCOMPARE(child<QPushButton>(form, "BitBtn2")->text(), QStringLiteral("<Cancel>"));
    QSpinBox* spin = child<QSpinBox>(form, "SpinEdit1");
    QCOMPARE(spin->minimum(), 1);
    QCOMPARE(spin->maximum(), 999999999);
    QCOMPARE(spin->value(), number);
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), folder);
    delete form;
}

void TestReceiptForms::receiptsDialogOkPutsValuesIntoUse() {
    fake->settings.writeInteger(ReceiptNumberSetting, 41);
    receipts.NextReceiptNumber = 41;
    QPointer<TFormReceipts> form =
        new TFormReceipts(receipts, fake->settings, fake->files, fake->messages, marked);
    form->show();
    child<QSpinBox>(form, "SpinEdit1")->setValue(100);
    child<QLineEdit>(form, "Edit1")->setText(QStringLiteral("not/checked"));
    child<QPushButton>(form, "BitBtn1")->click();
    QCOMPARE(fake->settings.readInteger(ReceiptNumberSetting), 100);
    QCOMPARE(fake->settings.readString(ReceiptFolderSetting), QStringLiteral("not/checked"));
    QCOMPARE(receipts.NextReceiptNumber, 100);
    QCOMPARE(receipts.ReceiptFolderInUse, QStringLiteral("not/checked"));
    QTRY_VERIFY(form.isNull()); // closed and deleted
}

void TestReceiptForms::receiptsDialogCancelWritesNothing() {
    QPointer<TFormReceipts> form =
        new TFormReceipts(receipts, fake->settings, fake->files, fake->messages, marked);
    form->show();
    child<QSpinBox>(form, "SpinEdit1")->setValue(5);
    child<QPushButton>(form, "BitBtn2")->click();
    QTRY_VERIFY(form.isNull());
    QVERIFY(fake->settings.names().isEmpty());
    QCOMPARE(receipts.NextReceiptNumber, 1);
}

void TestReceiptForms::folderButtonRemembersTheChoice() {
    QPointer<TFormReceipts> form =
        new TFormReceipts(receipts, fake->settings, fake->files, fake->messages, marked);
    fake->files.answers << QStringLiteral("/first") << QString();
    QToolButton* button = child<QToolButton>(form, "SpeedButton1");
    button->click();
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("/first"));
    button->click(); // cancelled: the text stays
    QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("/first"));
    delete form;

    // A new dialog starts the chooser in the folder chosen last; the first use started nowhere.
    form = new TFormReceipts(receipts, fake->settings, fake->files, fake->messages, marked);
    fake->files.answers << QStringLiteral("/second");
    child<QToolButton>(form, "SpeedButton1")->click();
    QCOMPARE(fake->files.requests.size(), 3);
    QCOMPARE(fake->files.requests[0].kind, QStringLiteral("folder"));
    QCOMPARE(fake->files.requests[0].caption, QStringLiteral("<Select folder:>"));
    QCOMPARE(fake->files.requests[0].suggestedName, QString());
    QCOMPARE(fake->files.requests[2].suggestedName, QStringLiteral("/first"));
    QCOMPARE(TFormReceipts::lastChosenFolder(), QStringLiteral("/second"));
    delete form;
}

QTEST_MAIN(TestReceiptForms)
#include "test_receiptforms.moc"
