#include "app/themes.h"

#include "platform/qt/pictures.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace tillora {

namespace {

// How a theme's push buttons are drawn on top of Fusion.
enum class Shape {
    Classic, // Fusion's own buttons, no style sheet
    Glossy,  // rounded buttons with a two-tone gloss
    Flat,    // square flat buttons
    Accent,  // square flat buttons filled with the accent colour
    Tablet,  // flat, rounded and large enough to touch
};

// One theme: a few base colours from which the whole palette is derived.
struct ThemeColours {
    const char* name;
    QRgb window; // windows, panels, menus
    QRgb base;   // entry fields and lists
    QRgb button; // buttons and list headers
    QRgb accent; // selection, pressed buttons, focus
    Shape shape;
};

// clang-format off
constexpr std::array<ThemeColours, ThemeCount> Themes{{
    {"Windows",             0,        0,        0,        0,        Shape::Classic}, // the plain look
    {"Amakrits",            0x3b3430, 0x2b2623, 0x4a403a, 0xe08a2e, Shape::Glossy},
    {"Amethyst Kamri",      0xebe4f1, 0xffffff, 0xddd2ea, 0x8a4fbf, Shape::Glossy},
    {"Aqua Graphite",       0x2e3236, 0x23272a, 0x3b4045, 0x2bb5c9, Shape::Classic},
    {"Aqua Light Slate",    0xdde3e9, 0xffffff, 0xcdd6df, 0x1296a8, Shape::Classic},
    {"Auric",               0xf4ecd6, 0xfffdf6, 0xe8d9a8, 0xb8860b, Shape::Glossy},
    {"Carbon",              0x262626, 0x1c1c1c, 0x333333, 0x4a90d9, Shape::Flat},
    {"Charcoal Dark Slate", 0x2f353d, 0x252a31, 0x3c444e, 0x6f8fb5, Shape::Classic},
    {"Cobalt XEMedia",      0x1b2840, 0x121c2e, 0x25375a, 0x2f7bff, Shape::Glossy},
    {"Cyan Dusk",           0x3a3f4f, 0x2d3140, 0x474d60, 0x26c6da, Shape::Classic},
    {"Cyan Night",          0x121a21, 0x0b1116, 0x1b2731, 0x00bcd4, Shape::Flat},
    {"Emerald Light Slate", 0xdfe5e8, 0xffffff, 0xcfd8dc, 0x17a05d, Shape::Classic},
    {"Glossy",              0xe9edf2, 0xffffff, 0xd6e0ec, 0x2f7ed8, Shape::Glossy},
    {"Golden Graphite",     0x2f2f2f, 0x242424, 0x3d3d3d, 0xd4a017, Shape::Classic},
    {"Iceberg Classico",    0xe4eef5, 0xffffff, 0xd2e2ee, 0x3b7fc4, Shape::Classic},
    {"Lavender Classico",   0xece8f5, 0xffffff, 0xddd6ee, 0x7b5fb0, Shape::Classic},
    {"Light",               0xf5f5f5, 0xffffff, 0xe6e6e6, 0x2a7ae2, Shape::Flat},
    {"Luna",                0xece9d8, 0xffffff, 0xf4f3ee, 0x316ac5, Shape::Glossy},
    {"Metropolis UI Black", 0x000000, 0x111111, 0x1f1f1f, 0x1ba1e2, Shape::Flat},
    {"Metropolis UI Blue",  0xeef3f8, 0xffffff, 0xdfe7f0, 0x0063b1, Shape::Accent},
    {"Metropolis UI Dark",  0x2d2d30, 0x1e1e1e, 0x3e3e42, 0x007acc, Shape::Flat},
    {"Metropolis UI Green", 0xeef5ee, 0xffffff, 0xdcebdc, 0x107c10, Shape::Accent},
    {"Obsidian",            0x18181d, 0x101014, 0x25252c, 0x6c7fd8, Shape::Classic},
    {"Ruby Graphite",       0x2e2e30, 0x232325, 0x3c3c3f, 0xc62838, Shape::Classic},
    {"Sapphire Kamri",      0xe3e9f3, 0xffffff, 0xd0dcee, 0x1f4fa8, Shape::Glossy},
    {"Silver",              0xdcdfe3, 0xf7f8f9, 0xe8eaed, 0x5a7896, Shape::Glossy},
    {"Sky",                 0xdcecf9, 0xffffff, 0xc8e0f4, 0x2b8ad8, Shape::Classic},
    {"Slate Classico",      0xc8d0d8, 0xf4f6f8, 0xb9c3cd, 0x45617d, Shape::Classic},
    {"Smokey Quartz Kamri", 0x4a4440, 0x3a3532, 0x524a45, 0xc9a27e, Shape::Glossy},
    {"Tablet Light",        0xf2f2f2, 0xffffff, 0xe0e0e0, 0x0a84ff, Shape::Tablet},
    {"TabletDark",          0x1f1f1f, 0x141414, 0x2e2e2e, 0x0a84ff, Shape::Tablet},
    {"Turquoise Gray",      0xe1e5e6, 0xffffff, 0xcfd6d8, 0x1aa39a, Shape::Classic},
}};
// clang-format on

// Main texts aim higher than the 4.5:1 floor where the background allows it.
constexpr double BodyContrast = 7.0;
constexpr double MinimumContrast = 4.5;

int validIndex(int index) {
    return index >= 0 && index < ThemeCount ? index : 0;
}

double channel(double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// a blended towards b by t (0: a, 1: b), channel by channel.
QColor mix(const QColor& a, const QColor& b, double t) {
    const auto blend = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(blend(a.red(), b.red()), blend(a.green(), b.green()), blend(a.blue(), b.blue()));
}

bool isDark(const QColor& c) {
    return luminance(c) < 0.18;
}

double worstContrast(const QColor& text, const QList<QColor>& backgrounds) {
    double worst = 21.0;
    for (const QColor& background : backgrounds)
        worst = std::min(worst, contrastRatio(text, background));
    return worst;
}

// The colour nearest to wish (moving towards black or white, whichever reads better) that
// reaches target against every background; black or white itself when nothing closer does.
QColor readableOnAll(const QList<QColor>& backgrounds, const QColor& wish, double target) {
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    const QColor extreme =
        worstContrast(white, backgrounds) >= worstContrast(black, backgrounds) ? white : black;
    constexpr int Steps = 40;
    for (int step = 0; step <= Steps; ++step) {
        const QColor candidate = mix(wish, extreme, static_cast<double>(step) / Steps);
        if (worstContrast(candidate, backgrounds) >= target)
            return candidate;
    }
    return extreme;
}

QColor readableOn(const QColor& background, const QColor& wish, double target) {
    return readableOnAll({background}, wish, target);
}

// A text colour for a background: a deep or pale shade of the background's own hue.
QColor inkFor(const QColor& background) {
    const int hue = std::max(background.hslHue(), 0);
    const int saturation = std::min(background.hslSaturation(), 60);
    const QColor wish =
        isDark(background) ? QColor::fromHsl(hue, saturation, 238) : QColor::fromHsl(hue, saturation, 30);
    return readableOn(background, wish, BodyContrast);
}

// Text colours of the disabled group fade towards their background; contrast is not required.
QColor faded(const QColor& text, const QColor& background) {
    return mix(text, background, 0.55);
}

void setAll(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    palette.setColor(QPalette::Disabled, role, colour);
}

QPalette derivePalette(const ThemeColours& colours) {
    const QColor window(colours.window);
    const QColor base(colours.base);
    const QColor button(colours.button);
    const QColor accent(colours.accent);
    const bool dark = isDark(window);
    const QColor white(Qt::white);
    const QColor black(Qt::black);

    const QColor windowText = inkFor(window);
    const QColor text = inkFor(base);
    const QColor buttonText = inkFor(button);
    const QColor alternateBase = mix(base, text, dark ? 0.06 : 0.045);
    const QColor toolTipBase = dark ? mix(window, accent, 0.18) : mix(white, accent, 0.12);
    const QColor toolTipText = inkFor(toolTipBase);
    const QColor highlightedText = readableOn(accent, white, MinimumContrast);
    const QColor placeholder = readableOnAll({base, alternateBase}, mix(text, base, 0.45), MinimumContrast);
    const QColor link = readableOnAll({base, alternateBase, window}, accent, MinimumContrast);
    const QColor visited =
        readableOnAll({base, alternateBase, window}, mix(link, QColor(0x8e44ad), 0.5), MinimumContrast);

    // Bevel shades around the button colour; dark themes keep their light edges subtle.
    const QColor light = mix(button, white, dark ? 0.18 : 0.6);
    const QColor midlight = mix(button, white, dark ? 0.09 : 0.3);
    const QColor mid = mix(button, black, dark ? 0.3 : 0.2);
    const QColor darkShade = mix(button, black, dark ? 0.5 : 0.35);
    const QColor shadow = mix(button, black, dark ? 0.8 : 0.65);
    const QColor brightText = readableOn(darkShade, white, MinimumContrast);

    QPalette palette;
    setAll(palette, QPalette::Window, window);
    setAll(palette, QPalette::Base, base);
    setAll(palette, QPalette::AlternateBase, alternateBase);
    setAll(palette, QPalette::Button, button);
    setAll(palette, QPalette::Light, light);
    setAll(palette, QPalette::Midlight, midlight);
    setAll(palette, QPalette::Mid, mid);
    setAll(palette, QPalette::Dark, darkShade);
    setAll(palette, QPalette::Shadow, shadow);
    setAll(palette, QPalette::ToolTipBase, toolTipBase);
    setAll(palette, QPalette::Highlight, accent);

    const auto setText = [&palette](QPalette::ColorRole role, const QColor& colour,
                                    const QColor& background) {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
        palette.setColor(QPalette::Disabled, role, faded(colour, background));
    };
    setText(QPalette::WindowText, windowText, window);
    setText(QPalette::Text, text, base);
    setText(QPalette::ButtonText, buttonText, button);
    setText(QPalette::HighlightedText, highlightedText, accent);
    setText(QPalette::ToolTipText, toolTipText, toolTipBase);
    setText(QPalette::PlaceholderText, placeholder, base);
    setText(QPalette::BrightText, brightText, darkShade);
    setText(QPalette::Link, link, base);
    setText(QPalette::LinkVisited, visited, base);
    // A disabled selection is drawn muted, so that it does not look like a live one.
    palette.setColor(QPalette::Disabled, QPalette::Highlight, mix(accent, window, 0.6));
    return palette;
}

// The look the application had before the first theme was applied.
struct PlainLook {
    QString styleName;
    QPalette palette;
};

// Makes the plain palette legible: each text role that reads below 4.5:1 against its
// background is moved just far enough; the disabled group is left as the platform made it.
QPalette legible(QPalette palette) {
    struct Pair {
        QPalette::ColorRole text;
        QList<QPalette::ColorRole> backgrounds;
    };
    const QList<Pair> pairs{
        {QPalette::WindowText, {QPalette::Window}},
        {QPalette::Text, {QPalette::Base, QPalette::AlternateBase}},
        {QPalette::ButtonText, {QPalette::Button}},
        {QPalette::HighlightedText, {QPalette::Highlight}},
        {QPalette::ToolTipText, {QPalette::ToolTipBase}},
        {QPalette::PlaceholderText, {QPalette::Base}},
        {QPalette::BrightText, {QPalette::Dark}},
        {QPalette::Link, {QPalette::Base}},
        {QPalette::LinkVisited, {QPalette::Base}},
    };
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const Pair& pair : pairs) {
            QList<QColor> backgrounds;
            for (const QPalette::ColorRole role : pair.backgrounds)
                backgrounds.append(palette.color(group, role));
            const QColor text = palette.color(group, pair.text);
            if (worstContrast(text, backgrounds) < MinimumContrast) {
                // Lay a translucent colour over its background first, so the result is opaque.
                const QColor flat =
                    text.alpha() == 255 ? text : mix(backgrounds.first(), text, text.alphaF());
                palette.setColor(group, pair.text, readableOnAll(backgrounds, flat, MinimumContrast));
            }
        }
    }
    return palette;
}

std::optional<PlainLook>& plainLookSlot() {
    static std::optional<PlainLook> slot;
    return slot;
}

// Remembered on first use, while the application still shows the platform's look.
const PlainLook* plainLook() {
    auto& slot = plainLookSlot();
    if (!slot) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return nullptr;
        PlainLook look;
        look.styleName = QApplication::style()->name();
        look.palette = QApplication::palette();
        // Tool tips draw with their own palette; the plain look keeps its colours.
        const QPalette tips = QToolTip::palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            look.palette.setColor(group, QPalette::ToolTipBase, tips.color(group, QPalette::ToolTipBase));
            look.palette.setColor(group, QPalette::ToolTipText, tips.color(group, QPalette::ToolTipText));
        }
        look.palette = legible(look.palette);
        slot = look;
    }
    return &*slot;
}

// The colours and shape a theme draws its push buttons with.
struct ButtonLook {
    QColor body;               // the button's own colour
    QList<QColor> face;        // background, top to bottom (one colour for a flat button)
    QList<QColor> hoverFace;   // under the mouse
    QList<QColor> pressedFace; // pressed or checked
    QColor text;
    QColor pressedText;
    QColor border;
    QColor focusBorder;
    QColor disabledFace;
    QColor disabledText;
    int radius = 0;
    QSize padding; // added to Fusion's size of a button, both sides together
    int minHeight = 0;
};

QList<QColor> gloss(const QColor& colour, bool dark) {
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    return dark ? QList<QColor>{mix(colour, white, 0.16), mix(colour, white, 0.07), colour,
                                mix(colour, black, 0.2)}
                : QList<QColor>{mix(colour, white, 0.7), mix(colour, white, 0.35), colour,
                                mix(colour, black, 0.08)};
}

std::optional<ButtonLook> buttonLook(int index) {
    index = validIndex(index);
    const ThemeColours& colours = Themes.at(index);
    if (index == 0 || colours.shape == Shape::Classic)
        return std::nullopt;
    const QColor window(colours.window);
    const QColor button(colours.button);
    const QColor accent(colours.accent);
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    const bool dark = isDark(window);

    ButtonLook look;
    look.body = colours.shape == Shape::Accent ? accent : button;
    switch (colours.shape) {
    case Shape::Glossy:
        look.face = gloss(button, dark);
        look.hoverFace = gloss(mix(button, accent, dark ? 0.12 : 0.18), dark);
        // Pressed: the gloss goes and the button sinks into one even accent tone.
        look.pressedFace = {mix(accent, black, 0.1)};
        look.radius = 4;
        look.padding = QSize(4, 2);
        break;
    case Shape::Accent:
        look.face = {accent};
        look.hoverFace = {mix(accent, black, 0.12)};
        look.pressedFace = {mix(accent, black, 0.3)};
        look.padding = QSize(4, 2);
        break;
    case Shape::Flat:
    case Shape::Tablet:
        look.face = {button};
        look.hoverFace = {mix(button, accent, 0.2)};
        look.pressedFace = {accent};
        look.radius = colours.shape == Shape::Tablet ? 6 : 0;
        look.padding = colours.shape == Shape::Tablet ? QSize(8, 10) : QSize(4, 2);
        look.minHeight = colours.shape == Shape::Tablet ? 36 : 0;
        break;
    case Shape::Classic:
        break;
    }
    look.text = readableOnAll(look.face + look.hoverFace, inkFor(look.body), BodyContrast);
    look.pressedText = readableOnAll(look.pressedFace, white, MinimumContrast);
    look.border =
        colours.shape == Shape::Accent ? mix(accent, black, 0.2) : mix(button, dark ? white : black, 0.28);
    look.focusBorder = colours.shape == Shape::Accent ? (dark ? white : black) : accent;
    look.disabledFace = mix(look.body, window, 0.6);
    look.disabledText = faded(look.text, look.disabledFace);
    return look;
}

// A style with the program's own picture where the style would look one up: the menu bar asks
// for the picture of its button for items that do not fit as it is made (under the start-up
// look, see main), and finding the style's own makes Qt load every image reader it has, a
// good part of the program's start.
class PictureStyle : public QProxyStyle {
public:
    explicit PictureStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
            return picture(QStringLiteral("more"));
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

// Fusion with the theme's own push buttons. Drawing them in the style rather than with an
// application style sheet matters: changing the application style sheet makes Qt reset the
// fonts of existing widgets (inherited fonts are lost, explicitly set ones revert), which
// would undo the window's fonts on every theme switch.
class ThemeStyle : public PictureStyle {
public:
    explicit ThemeStyle(ButtonLook look)
        : PictureStyle(QStyleFactory::create(QStringLiteral("Fusion"))), look_(std::move(look)) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        // Only push buttons: Fusion also draws combo boxes and tool buttons with this panel.
        if (element != PE_PanelButtonCommand || qobject_cast<const QPushButton*>(widget) == nullptr) {
            PictureStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const State state = option->state;
        const bool enabled = (state & State_Enabled) != 0;
        const bool pressed = enabled && (state & (State_Sunken | State_On)) != 0;
        const bool hover = enabled && !pressed && (state & State_MouseOver) != 0;
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        const bool marked =
            enabled && ((state & State_HasFocus) != 0 ||
                        (button != nullptr && (button->features & QStyleOptionButton::DefaultButton)));
        const QList<QColor> face = !enabled  ? QList<QColor>{look_.disabledFace}
                                   : pressed ? look_.pressedFace
                                   : hover   ? look_.hoverFace
                                             : look_.face;

        const QRectF frame = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        QBrush fill(face.first());
        if (face.size() > 1) {
            QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
            if (face.size() == 4) {
                // Gloss: a sharp step at half height between the shine and the body.
                gradient.setStops(
                    {{0.0, face.at(0)}, {0.49, face.at(1)}, {0.5, face.at(2)}, {1.0, face.at(3)}});
            } else {
                for (qsizetype i = 0; i < face.size(); ++i)
                    gradient.setColorAt(static_cast<double>(i) / static_cast<double>(face.size() - 1),
                                        face.at(i));
            }
            fill = QBrush(gradient);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, look_.radius > 0);
        painter->setPen(QPen(!enabled            ? look_.disabledFace
                             : marked || pressed ? look_.focusBorder
                                                 : look_.border,
                             1));
        painter->setBrush(fill);
        painter->drawRoundedRect(frame, look_.radius, look_.radius);
        painter->restore();
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element != CE_PushButtonLabel || button == nullptr ||
            qobject_cast<const QPushButton*>(widget) == nullptr) {
            PictureStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionButton label(*button);
        const State state = option->state;
        const bool enabled = (state & State_Enabled) != 0;
        const bool flatAtRest = (button->features & QStyleOptionButton::Flat) != 0 &&
                                (state & (State_Sunken | State_On | State_MouseOver)) == 0;
        if (!flatAtRest) { // a flat button at rest has no face: the palette's colours apply
            const QColor text = !enabled                                   ? look_.disabledText
                                : (state & (State_Sunken | State_On)) != 0 ? look_.pressedText
                                                                           : look_.text;
            label.palette.setColor(QPalette::ButtonText, text);
        }
        PictureStyle::drawControl(element, &label, painter, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = PictureStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_PushButton && qobject_cast<const QPushButton*>(widget) != nullptr) {
            result += look_.padding;
            result.setHeight(std::max(result.height(), look_.minHeight));
        }
        return result;
    }

private:
    ButtonLook look_;
};

} // namespace

QStringList ThemeNames() {
    QStringList names;
    names.reserve(ThemeCount);
    for (const ThemeColours& colours : Themes)
        names.append(QString::fromLatin1(colours.name));
    return names;
}

int themeIndexFromSetting(const QString& vcl) {
    if (vcl.isEmpty())
        return 0;
    int value = 0;
    for (const QChar c : vcl) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        value = value * 10 + (c.unicode() - u'0');
        if (value >= ThemeCount) // also keeps a long run of digits from overflowing
            return 0;
    }
    return value;
}

int nextThemeIndex(int current) {
    if (current < 0 || current >= ThemeCount)
        return 1;
    return (current + 1) % ThemeCount;
}

QPalette themePalette(int index) {
    index = validIndex(index);
    if (index == 0) {
        const PlainLook* plain = plainLook();
        return plain != nullptr ? plain->palette : QPalette();
    }
    return derivePalette(Themes.at(index));
}

QList<ThemeColourPair> themeButtonColours(int index) {
    const std::optional<ButtonLook> look = buttonLook(index);
    if (!look)
        return {};
    QList<ThemeColourPair> pairs;
    const auto add = [&pairs](const QString& part, const QColor& text, const QList<QColor>& face) {
        for (qsizetype i = 0; i < face.size(); ++i)
            pairs.append(
                {face.size() == 1 ? part : part + QStringLiteral(" %1").arg(i + 1), text, face.at(i)});
    };
    add(QStringLiteral("button"), look->text, look->face);
    add(QStringLiteral("button hover"), look->text, look->hoverFace);
    add(QStringLiteral("button pressed"), look->pressedText, look->pressedFace);
    return pairs;
}

void applyTheme(int index) {
    const PlainLook* plain = plainLook();
    if (plain == nullptr)
        return;
    index = validIndex(index);
    QStyle* style = nullptr;
    if (std::optional<ButtonLook> look = buttonLook(index))
        style = new ThemeStyle(std::move(*look));
    else
        style = QStyleFactory::create(index == 0 && !plain->styleName.isEmpty() ? plain->styleName
                                                                                : QStringLiteral("Fusion"));
    if (style != nullptr)
        QApplication::setStyle(style); // the application owns it and deletes the previous one
    const QPalette palette = themePalette(index);
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
}

double contrastRatio(const QColor& text, const QColor& background) {
    const QColor drawn = text.alpha() == 255 ? text : mix(background, text, text.alphaF());
    const double a = luminance(drawn);
    const double b = luminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace tillora
