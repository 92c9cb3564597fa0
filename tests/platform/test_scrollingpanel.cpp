#include "platform/qt/scrollingpanel.h"

#include <QAccessible>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

using namespace tillora;

Q_DECLARE_METATYPE(Qt::Orientation)

// The scrolling panel of the screens too large for a small window: it scrolls where the window
// is too small, and its accessibility tree keeps its children counted while its scroll bars come
// and go (a screen reader reads the tree while screens are shown and hidden).
class TestScrollingPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scrollsOnlyWhereTooSmall_data();
    void scrollsOnlyWhereTooSmall();
    void childrenStayCountedWhileItsScrollBarsComeAndGo_data();
    void childrenStayCountedWhileItsScrollBarsComeAndGo();

private:
    static void addDirections();
};

void TestScrollingPanel::addDirections() {
    QTest::addColumn<Qt::Orientation>("scrolls");
    QTest::newRow("upright") << Qt::Vertical;
    QTest::newRow("sideways") << Qt::Horizontal;
}

void TestScrollingPanel::scrollsOnlyWhereTooSmall_data() {
    addDirections();
}

void TestScrollingPanel::scrollsOnlyWhereTooSmall() {
    QFETCH(Qt::Orientation, scrolls);
    QWidget window;
    auto* content = new QWidget;
    content->setMinimumSize(300, 200);
    content->setFixedWidth(300);
    auto* panel = new ScrollingPanel(content, scrolls, &window);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    QScrollBar* bar = scrolls == Qt::Vertical ? panel->verticalScrollBar() : panel->horizontalScrollBar();
    window.resize(400, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!bar->isVisible());
    window.resize(scrolls == Qt::Vertical ? QSize(400, 100) : QSize(150, 400));
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(bar->maximum() > 0);
    // Across the scrolling direction the content keeps its whole size.
    if (scrolls == Qt::Vertical)
        QVERIFY(panel->viewport()->width() >= 300);
    else
        QTRY_VERIFY(panel->viewport()->height() >= 200);
}

void TestScrollingPanel::childrenStayCountedWhileItsScrollBarsComeAndGo_data() {
    addDirections();
}

void TestScrollingPanel::childrenStayCountedWhileItsScrollBarsComeAndGo() {
    QFETCH(Qt::Orientation, scrolls);
    QAccessible::setActive(true);
    QWidget window;
    auto* content = new QWidget;
    content->setMinimumSize(300, 200);
    auto* panel = new ScrollingPanel(content, scrolls, &window);
    panel->resize(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(panel);
    QVERIFY(node != nullptr);
    const int shown = node->childCount();
    panel->hide();
    QCOMPARE(node->childCount(), shown);
    for (int i = 0; i < shown; ++i)
        QVERIFY(node->child(i) != nullptr && node->child(i)->isValid());
    QCOMPARE(node->child(shown), nullptr);
}

QTEST_MAIN(TestScrollingPanel)
#include "test_scrollingpanel.moc"
