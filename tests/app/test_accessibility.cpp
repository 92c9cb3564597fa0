#include "app/appform.h"
#include "platform/scripted/scripted.h"
#include "tests/support/datafile.h"
#include "tests/support/mainwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace tillora;

namespace {

// The roles of what a user operates, with the names the failures show them by.
const QHash<QAccessible::Role, const char*>& controlRoles() {
    static const QHash<QAccessible::Role, const char*> roles{
        {QAccessible::PushButton, "button"},
        {QAccessible::CheckBox, "check box"},
        {QAccessible::RadioButton, "radio button"},
        {QAccessible::ComboBox, "combo box"},
        {QAccessible::SpinBox, "spin box"},
        {QAccessible::EditableText, "text box"},
        {QAccessible::List, "list"},
        {QAccessible::Table, "table"},
        {QAccessible::Tree, "tree"},
        {QAccessible::MenuItem, "menu item"},
        {QAccessible::ButtonMenu, "menu button"},
        {QAccessible::ButtonDropDown, "drop-down button"},
        {QAccessible::Slider, "slider"},
        {QAccessible::PageTab, "tab"},
    };
    return roles;
}

// Controls whose parts (the rows of a list, the line of a spin box, the drop-down of a combo
// box) are named by the control and its items.
bool isWhole(QAccessible::Role role) {
    return role == QAccessible::ComboBox || role == QAccessible::SpinBox || role == QAccessible::List ||
           role == QAccessible::Table || role == QAccessible::Tree;
}

void collect(QAccessibleInterface* node, QStringList& unnamed, QHash<QString, QString>& names) {
    if (node == nullptr || !node->isValid())
        return;
    const QAccessible::Role role = node->role();
    const QString name = node->text(QAccessible::Name);
    const QString objectName = node->object() != nullptr ? node->object()->objectName() : QString();
    if (!objectName.isEmpty())
        names.insert(objectName, name);
    if (controlRoles().contains(role) && name.trimmed().isEmpty()) {
        const QObject* object = node->object();
        unnamed << QStringLiteral("%1 %2 (%3)")
                       .arg(QString::fromLatin1(controlRoles().value(role)),
                            object != nullptr ? object->objectName() : QString(),
                            object != nullptr ? QString::fromLatin1(object->metaObject()->className())
                                              : QString());
    }
    if (isWhole(role))
        return;
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), unnamed, names);
}

// What the accessibility tree of a window and of its menus (menu bar, context and button
// menus) shows: the controls without a name, and the name of every named object.
struct Walk {
    QStringList unnamed;
    QHash<QString, QString> names;
};

Walk walk(QWidget* window) {
    Walk result;
    collect(QAccessible::queryAccessibleInterface(window), result.unnamed, result.names);
    for (QMenu* menu : window->findChildren<QMenu*>())
        collect(QAccessible::queryAccessibleInterface(menu), result.unnamed, result.names);
    return result;
}

QWidget* shownWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

// Runs then on the window of that name as soon as it shows (also inside its modal loop), then
// closes it.
void whenShown(QObject* owner, const QString& window, std::function<void(QWidget*)> then) {
    auto* poll = new QTimer(owner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, owner, [poll, window, then]() {
        QWidget* shown = shownWindow(window);
        if (shown == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        then(shown);
        shown->close();
    });
    poll->start();
}

using Step = std::function<void(TAppForm&)>;

} // namespace

Q_DECLARE_METATYPE(Step)

// Every control of every window has an accessible name, the one a screen reader says and the
// end-to-end tests find it by: a button's caption, a box's label, a picture button's hint.
class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void saleScreenBoxesAndPictureButtons_data();
    void saleScreenBoxesAndPictureButtons();

private:
    QTemporaryDir folder;
    ScriptedServices fake;
    std::unique_ptr<TAppForm> form;
    Walk walked;
    bool seen = false;
};

void TestAccessibility::initTestCase() {
    QAccessible::setActive(true);
    const QString data = folder.filePath(QStringLiteral("data.db"));
    QVERIFY(
        test::makeDataFile(data, QStringLiteral("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES "
                                                "('5901234123457', 'MILK', '1.5', 4);"
                                                "INSERT INTO musteriler (musteriadi) VALUES ('ANNA');")));
    form = std::make_unique<TAppForm>(fake.services);
    form->setDataFile(data);
    QSignalSpy started(form.get(), &TAppForm::startupFinished);
    form->show();
    QVERIFY(form->startupDone() || started.wait(5000));
}

void TestAccessibility::cleanupTestCase() {
    form.reset();
}

void TestAccessibility::init() {
    walked = Walk();
    seen = false;
    fake.messages.clear();
    const test::MainWindowControls ui(*form);
    for (QPushButton* mainMenu : {ui.BitBtn10, ui.BitBtn12, ui.BitBtn20}) {
        if (mainMenu->isVisible())
            mainMenu->click();
    }
}

void TestAccessibility::everyControlIsNamed_data() {
    QTest::addColumn<Step>("open");
    QTest::addColumn<QString>("window");
    const auto click = [](const char* button) {
        return Step([button](TAppForm& f) { test::control<QAbstractButton>(f, button)->click(); });
    };
    const auto trigger = [](const char* action) {
        return Step([action](TAppForm& f) { test::control<QAction>(f, action)->trigger(); });
    };
    const QString main = QStringLiteral("AppForm");
    QTest::newRow("main window, sale screen with a cart")
        << Step([](TAppForm& f) { f.saleRegister().addByHand(QStringLiteral("MILK"), 1.5, 2); }) << main;
    QTest::newRow("main window, products screen") << click("BitBtn3") << main;
    QTest::newRow("main window, customers screen with the open credit area") << Step([](TAppForm& f) {
        test::control<QAbstractButton>(f, "BitBtn4")->click();
        test::control<QAbstractButton>(f, "BitBtn13")->click();
    }) << main;
    QTest::newRow("main window, sales records screen") << click("BitBtn17") << main;
    QTest::newRow("product picker") << click("BitBtn22") << QStringLiteral("TUrunlerForm");
    QTest::newRow("credit customer chooser") << Step([](TAppForm& f) {
        f.saleRegister().addByHand(QStringLiteral("MILK"), 1.5, 2);
        test::control<QAbstractButton>(f, "BitBtn2")->click();
    }) << QStringLiteral("TVeresiyeForm");
    QTest::newRow("receipts dialog") << trigger("Receipts1") << QStringLiteral("TFormReceipts");
    QTest::newRow("template editor") << trigger("PrintTemplate1") << QStringLiteral("TPrintTemplateForm");
    QTest::newRow("top selling window")
        << trigger("TopSellingProducts1") << QStringLiteral("TFormTopSelling");
    QTest::newRow("stock count sheet")
        << trigger("StockInventoryCount1") << QStringLiteral("TStockSheetForm");
    QTest::newRow("barcode window, from the stock count sheet") << Step([](TAppForm& f) {
        whenShown(&f, QStringLiteral("TStockSheetForm"), [](QWidget* sheet) {
            auto* list = test::control<QTableView>(*sheet, "ListView1");
            QVERIFY(QTest::qWaitFor([list]() { return list->model()->rowCount() > 0; }));
            list->selectRow(0);
            test::control<QAbstractButton>(*sheet, "BitBtn2")->click();
        });
        test::control<QAction>(f, "StockInventoryCount1")->trigger();
    }) << QStringLiteral("TGenerateBarcodeForm");
    QTest::newRow("language dialog") << trigger("Language1") << QStringLiteral("TTranslateForm");
    QTest::newRow("feedback window") << trigger("SendFeedback1") << QStringLiteral("TFeedbackForm");
}

void TestAccessibility::everyControlIsNamed() {
    QFETCH(Step, open);
    QFETCH(QString, window);
    if (window == form->objectName()) {
        open(*form);
        walked = walk(form.get());
        seen = true;
    } else {
        whenShown(this, window, [this](QWidget* shown) {
            walked = walk(shown);
            seen = true;
        });
        open(*form);
        QTRY_VERIFY(seen);
    }
    QVERIFY2(!walked.names.isEmpty(), "the window's accessibility tree shows its controls");
    QVERIFY2(walked.unnamed.isEmpty(),
             qPrintable(QStringLiteral("unnamed: ") + walked.unnamed.join(QStringLiteral("; "))));
    // The sale register's work (a hand-entered line) is dropped by the next row's start.
    form->saleRegister().clearSale();
}

void TestAccessibility::saleScreenBoxesAndPictureButtons_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("picker button: its hint") << "BitBtn22"
                                             << "Product List";
    QTest::newRow("entry box") << "Edit4"
                               << "Barcode or product name";
    QTest::newRow("quantity box") << "SpinEdit1"
                                  << "Quantity";
    QTest::newRow("cash box") << "Edit7"
                              << "Cash received";
    QTest::newRow("discount button: its hint") << "Button1"
                                               << "Discount";
}

void TestAccessibility::saleScreenBoxesAndPictureButtons() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto* widget = form->findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(node != nullptr);
    QCOMPARE(node->text(QAccessible::Name), name);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
