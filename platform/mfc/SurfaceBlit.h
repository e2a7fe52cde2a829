// SurfaceBlit.h: draws a presented frame straight into a widget's area of its top-level
// window's backing store, stretched (nearest) to the widget, and flushes that area, without a
// paint event: a frame allocates nothing once the sizes are settled. It declines, drawing
// nothing, wherever the surface is not a plain 32-bit image of the window at one pixel per
// device pixel; the caller then repaints the widget instead.
#pragma once

#include <vector>

#include <QRect>
#include <QRegion>

class QImage;
class QWidget;

namespace platform::mfc {

class SurfaceBlit {
public:
    // False when nothing was drawn. The frame is RGB32.
    bool draw(QWidget& widget, const QImage& frame);

private:
    void stretch(const QImage& frame, QImage& surface);
    void mapColumns(int sourceWidth);

    QRect area_;       // the widget in its window's coordinates
    QRegion region_;   // area_, kept so a frame makes no region of its own
    bool areaShown_ = false;  // area_ has been flushed at least once
    std::vector<int> columns_;  // the source column of each of the area's columns
    int columnsSource_ = 0;     // the source width columns_ was made for
};

}  // namespace platform::mfc
