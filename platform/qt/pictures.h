#pragma once
// The program's pictures: SVG files drawn for it (platform/qt/pictures/), kept in the resource
// folder ":/pictures/". Each has a dark outline inside a white rim, so it reads on the light
// and the dark themes alike, and is drawn from its SVG at the size and pixel ratio of every
// use, so it stays sharp at any scale.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace tillora {

// The picture of that name (its file name without ".svg"), a null icon when there is none.
// A picture that comes with a "<name>-small.svg" drawing uses that one wherever it is drawn
// 32 device pixels or smaller (16 pixels at scale 1 and 2), the other one above.
QIcon picture(const QString& name);

// A picture for a label of the given size, drawn for the pixel ratio of the screen.
QPixmap picturePixmap(const QString& name, const QSize& size, qreal devicePixelRatio);

// The names of all pictures (without the small drawings).
QStringList pictureNames();

} // namespace tillora
