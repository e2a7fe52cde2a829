// DialogUnits.h: dialog units to pixels. A horizontal unit is a quarter of the dialog font's
// average character width, a vertical unit an eighth of its height, rounded as the platform
// rounds them (the average over the 52 Latin letters).
#pragma once

#include <QFont>
#include <QRect>

namespace platform::mfc {

struct DialogBaseUnits {
    int x;  // average character width, pixels
    int y;  // character height, pixels
};

// The template's font: the face at the point size on a 96-dpi display, with Korean faces to
// fall back on where the face is missing.
QFont dialogFont(const QString& faceName, int pointSize);
DialogBaseUnits baseUnitsOf(const QFont& font);
QRect toPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy);

}  // namespace platform::mfc
