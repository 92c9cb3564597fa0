// The program's look that no theme changes: its typeface, installed by the set-up, resolves
// under its own family name (not a fallback) at the heights the windows use, and the icon set
// is in the program's resources.
#include "app/application.h"
#include "common/font.h"

#include <QFontInfo>
#include <QTest>

using namespace tillora;

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fontResolves_data();
    void fontResolves();
    void iconSet();
};

void TestApplication::initTestCase() {
    useProgramFont();
}

void TestApplication::fontResolves_data() {
    QTest::addColumn<int>("pixels"); // 0: the application font's own 8 pt
    QTest::addColumn<bool>("bold");
    QTest::newRow("main window, 8 pt") << 0 << false;
    QTest::newRow("report lists, 15 px") << 15 << false;
    QTest::newRow("screens, 21 px") << 21 << false;
    QTest::newRow("bar buttons, bold") << 0 << true;
}

void TestApplication::fontResolves() {
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFont font = QApplication::font();
    QCOMPARE(font.pointSize(), 8);
    if (pixels > 0)
        font.setPixelSize(pixels);
    font.setBold(bold);
    const QFontInfo info(font);
    QCOMPARE(info.family(), fontFamily());
    QCOMPARE(info.bold(), bold);
    if (pixels > 0)
        QCOMPARE(info.pixelSize(), pixels);
}

void TestApplication::iconSet() {
    const QIcon icon = programIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        QVERIFY2(!pixmap.isNull(), qPrintable(QStringLiteral("%1 pixels").arg(size)));
        QCOMPARE(pixmap.size(), QSize(size, size));
    }
}

QTEST_MAIN(TestApplication)
#include "test_application.moc"
