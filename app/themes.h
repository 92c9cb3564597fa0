#pragma once
#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>

namespace tillora {

// The visual themes. Index 0 is the platform's plain look; every other theme is Qt's Fusion
// style with a full palette of its own, and some draw their push buttons their own way
// (flat, glossy, accent-filled or large enough to touch). No theme uses a style sheet.
inline constexpr int ThemeCount = 32;

// The fixed, ordered list of the theme names; the stored setting is an index into it.
QStringList ThemeNames();

// The stored theme setting (decimal text) as an index: only plain decimal digits naming
// 0..31 count; anything else (empty, signs, blanks, other text, out of range) gives 0.
int themeIndexFromSetting(const QString& vcl);

// The theme after current, wrapping from the last back to 0; an out-of-range current gives 1.
int nextThemeIndex(int current);

// The palette of a theme; an out-of-range index counts as 0. Index 0 is the palette the
// application had when the themes were first used (the platform's own), with any text colour
// that would read below 4.5:1 against its background darkened or lightened just enough.
// Needs a QApplication; without one an empty palette is returned.
QPalette themePalette(int index);

// A text colour and the background a theme draws it on outside the palette's own pairs.
struct ThemeColourPair {
    QString part; // what is drawn, e.g. "button pressed"
    QColor text;
    QColor background;
};

// The text/background pairs of a theme's own push buttons: resting, under the mouse and
// pressed, one pair per colour of a gradient face. Empty for themes with Fusion's buttons.
QList<ThemeColourPair> themeButtonColours(int index);

// Applies a theme to every window of the program at once: the application style and palette
// (tool tips included). Windows pick the change up from posted events, so it shows once the
// event loop runs. An out-of-range index counts as 0, which gives back the style and palette
// the application started with. The first call of any theme function remembers that plain
// look, so it must come before anything else changes the application's style or palette.
// Widget fonts are left alone.
void applyTheme(int index);

// The contrast ratio of two colours by relative luminance (1 to 21). A translucent text
// colour is first laid over the background, as it is when drawn.
double contrastRatio(const QColor& text, const QColor& background);

} // namespace tillora
