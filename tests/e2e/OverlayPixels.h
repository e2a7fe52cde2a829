// OverlayPixels.h: finds the overlay's text in a presented frame. The text is opaque yellow; its
// anti-aliased edges blend toward the scene, its cores are exactly 0xFFFF00. Nothing else in the
// scene comes near: the ground is green and grey, the sky blue, the player's faces pale.
#pragma once

#include <algorithm>

#include <QImage>
#include <QRect>

namespace test {

// The band of each overlay line: 20 pixels from its top (5, 25, 45, 65, 85).
inline QRect OverlayLine(int line) { return QRect(0, 5 + 20 * (line - 1), 640, 20); }
inline const QRect kModeLine = OverlayLine(5);
// Where the five lines may reach: left edge 5, tops 5 to 85, a 20-pixel font.
inline const QRect kOverlayArea(0, 0, 460, 112);

inline bool IsOverlayYellow(QRgb c) { return qRed(c) >= 200 && qGreen(c) >= 200 && qBlue(c) <= 80; }

template <typename Visit>
void ForEachPixelIn(const QImage& image, const QRect& area, Visit visit) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) visit(x, y, image.pixel(x, y));
}

inline int CountOverlayPixels(const QImage& image, const QRect& area) {
    int count = 0;
    ForEachPixelIn(image, area, [&](int, int, QRgb c) { count += IsOverlayYellow(c) ? 1 : 0; });
    return count;
}

// The rightmost column in the area holding overlay yellow; -1 when there is none.
inline int RightmostOverlayPixel(const QImage& image, const QRect& area) {
    int right = -1;
    ForEachPixelIn(image, area, [&](int x, int, QRgb c) {
        if (IsOverlayYellow(c)) right = std::max(right, x);
    });
    return right;
}

}  // namespace test
