#pragma once
#include <QString>

namespace tillora {

// The typeface of every window. The windows are laid out for Tahoma, which Linux does not
// have; DejaVu Sans Condensed (Debian's fonts-dejavu-extra) has its widths within a few per
// cent, in regular and bold, and the same x-height and capital height. The application uses
// it at 8 pt; windows and controls with a pixel height of their own set it with this family.
inline QString fontFamily() {
    return QStringLiteral("DejaVu Sans Condensed");
}

} // namespace tillora
