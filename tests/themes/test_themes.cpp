#include "app/themes.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QtTest>

using namespace tillora;

namespace {

enum class Tone { Any, Light, Dark };

// The style a theme builds on, also when it draws its buttons through a proxy.
QString baseStyleName() {
    QStyle* style = QApplication::style();
    if (auto* proxy = qobject_cast<QProxyStyle*>(style))
        style = proxy->baseStyle();
    return style->name().toLower();
}

struct RolePair {
    QPalette::ColorRole text;
    QPalette::ColorRole background;
    const char* what;
};

const QList<RolePair> TextPairs{
    {QPalette::WindowText, QPalette::Window, "WindowText/Window"},
    {QPalette::Text, QPalette::Base, "Text/Base"},
    {QPalette::Text, QPalette::AlternateBase, "Text/AlternateBase"},
    {QPalette::ButtonText, QPalette::Button, "ButtonText/Button"},
    {QPalette::HighlightedText, QPalette::Highlight, "HighlightedText/Highlight"},
    {QPalette::ToolTipText, QPalette::ToolTipBase, "ToolTipText/ToolTipBase"},
    {QPalette::PlaceholderText, QPalette::Base, "PlaceholderText/Base"},
    {QPalette::BrightText, QPalette::Dark, "BrightText/Dark"},
    {QPalette::Link, QPalette::Base, "Link/Base"},
    {QPalette::LinkVisited, QPalette::Base, "LinkVisited/Base"},
};

} // namespace

Q_DECLARE_METATYPE(Tone)

class TestThemes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void namesInOrder();
    void indexFromSetting_data();
    void indexFromSetting();
    void nextIndexWraps_data();
    void nextIndexWraps();
    void contrast_data();
    void contrast();
    void everyThemeIsLegible_data();
    void everyThemeIsLegible();
    void applyingReachesEveryWindow();
    void buttonFaceIsDrawn_data();
    void buttonFaceIsDrawn();
    void fontsSurviveThemeChanges();
    void plainLookComesBack();
    void outOfRangeIsPlain_data();
    void outOfRangeIsPlain();

private:
    QString startStyle;
    QPalette startPalette;
};

void TestThemes::initTestCase() {
    // Start from a style other than Fusion, so that going back to the plain look is visible.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    startStyle = QApplication::style()->name().toLower();
    startPalette = QApplication::palette();
    QCOMPARE(startStyle, QStringLiteral("windows"));
}

void TestThemes::namesInOrder() {
    const QStringList expected{"Windows",
                               "Amakrits",
                               "Amethyst Kamri",
                               "Aqua Graphite",
                               "Aqua Light Slate",
                               "Auric",
                               "Carbon",
                               "Charcoal Dark Slate",
                               "Cobalt XEMedia",
                               "Cyan Dusk",
                               "Cyan Night",
                               "Emerald Light Slate",
                               "Glossy",
                               "Golden Graphite",
                               "Iceberg Classico",
                               "Lavender Classico",
                               "Light",
                               "Luna",
                               "Metropolis UI Black",
                               "Metropolis UI Blue",
                               "Metropolis UI Dark",
                               "Metropolis UI Green",
                               "Obsidian",
                               "Ruby Graphite",
                               "Sapphire Kamri",
                               "Silver",
                               "Sky",
                               "Slate Classico",
                               "Smokey Quartz Kamri",
                               "Tablet Light",
                               "TabletDark",
                               "Turquoise Gray"};
    QCOMPARE(ThemeNames().size(), ThemeCount);
    QCOMPARE(ThemeNames(), expected);
}

void TestThemes::indexFromSetting_data() {
    QTest::addColumn<QString>("vcl");
    QTest::addColumn<int>("index");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("one digit") << "5" << 5;
    QTest::newRow("last") << "31" << 31;
    QTest::newRow("leading zeros") << "031" << 31;
    QTest::newRow("one past the last") << "32" << 0;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("plus sign") << "+3" << 0;
    QTest::newRow("leading blank") << " 5" << 0;
    QTest::newRow("trailing blank") << "5 " << 0;
    QTest::newRow("word") << "Carbon" << 0;
    QTest::newRow("decimal") << "3.0" << 0;
    QTest::newRow("exponent") << "1e1" << 0;
    QTest::newRow("overflowing") << "99999999999999999999" << 0;
    QTest::newRow("other script digit") << QString(QChar(0x0663)) << 0;
}

void TestThemes::indexFromSetting() {
    QFETCH(QString, vcl);
    QFETCH(int, index);
    QCOMPARE(themeIndexFromSetting(vcl), index);
}

void TestThemes::nextIndexWraps_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("next");
    QTest::newRow("plain to first skin") << 0 << 1;
    QTest::newRow("middle") << 17 << 18;
    QTest::newRow("last wraps") << 31 << 0;
    QTest::newRow("out of range counts as plain") << 40 << 1;
}

void TestThemes::nextIndexWraps() {
    QFETCH(int, current);
    QFETCH(int, next);
    QCOMPARE(nextThemeIndex(current), next);
}

void TestThemes::contrast_data() {
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("either order") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("same colour") << QColor(0x336699) << QColor(0x336699) << 1.0;
    QTest::newRow("grey 767676 just passes") << QColor(0x767676) << QColor(Qt::white) << 4.54;
    QTest::newRow("half black is drawn grey") << QColor(0, 0, 0, 128) << QColor(Qt::white) << 4.00;
}

void TestThemes::contrast() {
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(double, ratio);
    QVERIFY2(qAbs(contrastRatio(text, background) - ratio) < 0.01, qPrintable(QString::number(ratio)));
}

void TestThemes::everyThemeIsLegible_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<Tone>("tone");
    const QList<Tone> tones{Tone::Any,   Tone::Dark,  Tone::Light, Tone::Dark,  Tone::Light, Tone::Light,
                            Tone::Dark,  Tone::Dark,  Tone::Dark,  Tone::Dark,  Tone::Dark,  Tone::Light,
                            Tone::Light, Tone::Dark,  Tone::Light, Tone::Light, Tone::Light, Tone::Light,
                            Tone::Dark,  Tone::Light, Tone::Dark,  Tone::Light, Tone::Dark,  Tone::Dark,
                            Tone::Light, Tone::Light, Tone::Light, Tone::Light, Tone::Dark,  Tone::Light,
                            Tone::Dark,  Tone::Light};
    QCOMPARE(tones.size(), ThemeCount);
    const QStringList names = ThemeNames();
    for (int i = 0; i < ThemeCount; ++i)
        QTest::newRow(qPrintable(names.at(i))) << i << tones.at(i);
}

// Every text colour reads at 4.5:1 or better on its background in the active and inactive
// groups, the themes' own button colours included; named tones hold; skins set every role of every group.
void TestThemes::everyThemeIsLegible() {
    QFETCH(int, index);
    QFETCH(Tone, tone);
    const QPalette palette = themePalette(index);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const RolePair& pair : TextPairs) {
            const double ratio =
                contrastRatio(palette.color(group, pair.text), palette.color(group, pair.background));
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("%1 group %2: %3").arg(pair.what).arg(group).arg(ratio)));
        }
    }
    for (const ThemeColourPair& pair : themeButtonColours(index)) {
        const double ratio = contrastRatio(pair.text, pair.background);
        QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2").arg(pair.part).arg(ratio)));
    }

    const QColor window = palette.color(QPalette::Window);
    if (tone == Tone::Dark)
        QVERIFY2(contrastRatio(Qt::white, window) >= 8.0, qPrintable(window.name()));
    if (tone == Tone::Light)
        QVERIFY2(contrastRatio(Qt::black, window) >= 10.0, qPrintable(window.name()));

    if (index > 0) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            for (int role = 0; role < QPalette::NColorRoles; ++role) {
                if (role != QPalette::NoRole)
                    QVERIFY2(palette.isBrushSet(group, static_cast<QPalette::ColorRole>(role)),
                             qPrintable(QStringLiteral("group %1 role %2").arg(group).arg(role)));
            }
        }
    }
}

void TestThemes::applyingReachesEveryWindow() {
    QWidget first;
    QDialog second;
    auto* button = new QPushButton(QStringLiteral("OK"), &second);
    const int carbon = ThemeNames().indexOf(QStringLiteral("Carbon"));

    applyTheme(carbon);
    QCoreApplication::processEvents(); // windows take the new palette from a posted event
    const QColor window = themePalette(carbon).color(QPalette::Window);
    QCOMPARE(QApplication::palette().color(QPalette::Window), window);
    QCOMPARE(first.palette().color(QPalette::Window), window);
    QCOMPARE(second.palette().color(QPalette::Window), window);
    QCOMPARE(button->palette().color(QPalette::ButtonText), themePalette(carbon).color(QPalette::ButtonText));
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase),
             themePalette(carbon).color(QPalette::ToolTipBase));
    QCOMPARE(baseStyleName(), QStringLiteral("fusion"));
    QCOMPARE(button->style(), QApplication::style());

    const int aquaGraphite = ThemeNames().indexOf(QStringLiteral("Aqua Graphite"));
    applyTheme(aquaGraphite);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    QCOMPARE(first.palette().color(QPalette::Window), themePalette(aquaGraphite).color(QPalette::Window));
    QVERIFY(qApp->styleSheet().isEmpty());
}

// Themes that draw their own buttons: the face shows the theme's colour.
void TestThemes::buttonFaceIsDrawn_data() {
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QColor>("face");
    const int blue = ThemeNames().indexOf(QStringLiteral("Metropolis UI Blue"));
    const int light = ThemeNames().indexOf(QStringLiteral("Light"));
    QTest::newRow("accent filled") << "Metropolis UI Blue" << themePalette(blue).color(QPalette::Highlight);
    QTest::newRow("flat") << "Light" << themePalette(light).color(QPalette::Button);
}

void TestThemes::buttonFaceIsDrawn() {
    QFETCH(QString, theme);
    QFETCH(QColor, face);
    applyTheme(ThemeNames().indexOf(theme));
    QPushButton button(QStringLiteral("SALES"));
    button.resize(200, 60);
    const QImage image = button.grab().toImage();
    QCOMPARE(image.pixelColor(10, image.height() / 2).rgb(), face.rgb());
}

// Switching themes leaves widget fonts alone: inherited fonts keep following their window
// and explicitly set ones stay.
void TestThemes::fontsSurviveThemeChanges() {
    QWidget window;
    window.setFont(QFont(QStringLiteral("Tahoma"), 8));
    auto* inherits = new QLabel(QStringLiteral("GRAND TOTAL:"), &window);
    auto* own = new QPushButton(QStringLiteral("SELL BY CASH"), &window);
    QFont big = own->font();
    big.setPointSize(28);
    own->setFont(big);
    window.show();
    for (int i = 0; i < ThemeCount; ++i) {
        applyTheme(i);
        QCoreApplication::processEvents();
        QCOMPARE(inherits->font().pointSize(), 8);
        QCOMPARE(own->font().pointSize(), 28);
    }
    window.setFont(QFont(QStringLiteral("Tahoma"), 12));
    QCOMPARE(inherits->font().pointSize(), 12);
    QCOMPARE(own->font().pointSize(), 28);
}

void TestThemes::plainLookComesBack() {
    applyTheme(ThemeNames().indexOf(QStringLiteral("Metropolis UI Green")));
    QCOMPARE(baseStyleName(), QStringLiteral("fusion"));
    applyTheme(0);
    QCOMPARE(QApplication::style()->name().toLower(), startStyle);
    const QPalette palette = QApplication::palette();
    for (const QPalette::ColorRole role :
         {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text, QPalette::Button,
          QPalette::ButtonText, QPalette::Highlight})
        QCOMPARE(palette.color(role), startPalette.color(role));
    QCOMPARE(palette.color(QPalette::PlaceholderText), themePalette(0).color(QPalette::PlaceholderText));
}

void TestThemes::outOfRangeIsPlain_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the last") << ThemeCount;
    QTest::newRow("far out") << 1000;
}

void TestThemes::outOfRangeIsPlain() {
    QFETCH(int, index);
    applyTheme(ThemeNames().indexOf(QStringLiteral("Ruby Graphite")));
    QCOMPARE(themePalette(index).color(QPalette::Window), themePalette(0).color(QPalette::Window));
    QVERIFY(themeButtonColours(index).isEmpty());
    applyTheme(index);
    QCOMPARE(QApplication::style()->name().toLower(), startStyle);
    QCOMPARE(QApplication::palette().color(QPalette::Window), startPalette.color(QPalette::Window));
}

QTEST_MAIN(TestThemes)
#include "test_themes.moc"
