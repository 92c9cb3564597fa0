#include "app/appform.h"
#include "app/themes.h"
#include "platform/qt/pictures.h"
#include "platform/scripted/scripted.h"
#include "tests/support/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QtTest>

#include <cmath>

using namespace tillora;

namespace {

// The part of a picture that stands out against a background: the pixels that, laid over it,
// reach a contrast of 3:1 (what a graphic needs to be seen), and the part drawn at all.
struct Extent {
    QRect standsOut;
    QRect drawn;
};

Extent extentOn(const QImage& picture, const QColor& background) {
    Extent extent;
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 128)
                continue;
            extent.drawn |= QRect(x, y, 1, 1);
            if (contrastRatio(QColor::fromRgba(line[x]), background) >= 3.0)
                extent.standsOut |= QRect(x, y, 1, 1);
        }
    }
    return extent;
}

// The sizes a picture is drawn at, at scale 1 and 2: the size it is drawn for (the large
// pictures, scaled to their screens, at a small screen's size), and the compact list's tiles
// for the product.
QList<int> sizesOf(const QString& name) {
    const int natural = QSvgRenderer(QStringLiteral(":/pictures/%1.svg").arg(name)).defaultSize().width();
    QList<int> sizes{std::min(natural, 96)};
    if (QFile::exists(QStringLiteral(":/pictures/%1-small.svg").arg(name)))
        sizes << 16;
    QList<int> scaled;
    for (const int size : sizes)
        scaled << size << 2 * size;
    return scaled;
}

// The backgrounds a theme puts pictures on: windows and menus, lists and boxes, buttons (each
// colour of a drawn button face) and selected rows and menu items.
QList<std::pair<QString, QColor>> backgroundsOf(int theme) {
    const QPalette palette = themePalette(theme);
    QList<std::pair<QString, QColor>> backgrounds{
        {QStringLiteral("window"), palette.color(QPalette::Window)},
        {QStringLiteral("base"), palette.color(QPalette::Base)},
        {QStringLiteral("alternate base"), palette.color(QPalette::AlternateBase)},
        {QStringLiteral("button"), palette.color(QPalette::Button)},
        {QStringLiteral("highlight"), palette.color(QPalette::Highlight)},
    };
    for (const ThemeColourPair& face : themeButtonColours(theme))
        backgrounds.append({face.part, face.background});
    return backgrounds;
}

} // namespace

// The program's pictures: drawn from their SVG files, sharp at scale factors 1 and 2, and seen
// on every theme's backgrounds, dark ones included.
class TestPictures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void controlsShowThem_data();
    void controlsShowThem();
    void sharpAtEveryScale_data();
    void sharpAtEveryScale();
    void seenOnEveryTheme_data();
    void seenOnEveryTheme();
};

void TestPictures::initTestCase() {
    QVERIFY(!pictureNames().isEmpty());
    for (const QString& name : pictureNames())
        QVERIFY2(!picture(name).isNull(), qPrintable(name));
    QVERIFY(picture(QStringLiteral("no such picture")).isNull());
}

void TestPictures::controlsShowThem_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("picture");
    QTest::newRow("picker button") << "BitBtn22"
                                   << "product-list";
    QTest::newRow("discount button") << "Button1"
                                     << "discount";
    QTest::newRow("Exit") << "Exit1"
                          << "exit";
    QTest::newRow("Online Help") << "OnlineHelp1"
                                 << "help";
    QTest::newRow("Language...") << "Language1"
                                 << "language";
    QTest::newRow("Send Feedback...") << "SendFeedback1"
                                      << "feedback";
}

void TestPictures::controlsShowThem() {
    QFETCH(QString, control);
    QFETCH(QString, picture);
    ScriptedServices fake;
    TAppForm form(fake.services);
    QIcon icon;
    if (auto* button = form.findChild<QAbstractButton*>(control))
        icon = button->icon();
    else if (auto* action = form.findChild<QAction*>(control))
        icon = action->icon();
    QCOMPARE(icon.name(), picture);
}

void TestPictures::sharpAtEveryScale_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("scale");
    for (const QString& name : pictureNames()) {
        for (const qreal scale : {1.0, 2.0})
            QTest::addRow("%s at %g", qPrintable(name), scale) << name << scale;
    }
}

// Drawn for the device pixels of each scale, never a smaller image stretched.
void TestPictures::sharpAtEveryScale() {
    QFETCH(QString, name);
    QFETCH(qreal, scale);
    for (const int size : {16, 24, 48}) {
        const QPixmap drawn = picture(name).pixmap(QSize(size, size), scale);
        QCOMPARE(drawn.size(), QSize(size, size) * scale);
        QCOMPARE(drawn.devicePixelRatio(), scale);
    }
}

void TestPictures::seenOnEveryTheme_data() {
    QTest::addColumn<int>("theme");
    const QStringList names = ThemeNames();
    for (int theme = 0; theme < names.size(); ++theme)
        QTest::newRow(qPrintable(names[theme])) << theme;
}

// Against each background every picture stands out to its edges: only its white rim (two
// twelfths of its size at most) may melt into a light background.
void TestPictures::seenOnEveryTheme() {
    QFETCH(int, theme);
    QStringList faded;
    const QList<std::pair<QString, QColor>> backgrounds = backgroundsOf(theme);
    for (const QString& name : pictureNames()) {
        for (const int size : sizesOf(name)) {
            const QImage drawn = picture(name).pixmap(QSize(size, size), 1.0).toImage();
            const int rim = static_cast<int>(std::ceil(size / 12.0));
            for (const auto& [part, background] : backgrounds) {
                const Extent extent = extentOn(drawn, background);
                if (!extent.standsOut.adjusted(-rim, -rim, rim, rim).contains(extent.drawn))
                    faded << QStringLiteral("%1 at %2 on %3 %4")
                                 .arg(name)
                                 .arg(size)
                                 .arg(part, background.name());
            }
        }
    }
    QVERIFY2(faded.isEmpty(), qPrintable(faded.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
