// SurfaceBlit.h: draws a presented frame straight into a widget's area of its top-level
// window's backing store, stretched (nearest) to the widget, and flushes that area, without a
// paint event: a frame allocates nothing once the sizes are settled. It declines, drawing
// nothing, wherever the surface is not a plain 32-bit image of the window at one pixel per
// device pixel; the caller then repaints the widget instead.
#pragma once

#include <QRect>
#include <QRegion>

#include "win32/FrameStretch.h"

class QImage;
class QWidget;

namespace platform::mfc {

class SurfaceBlit {
public:
    // False when nothing was drawn. The frame is RGB32.
    bool draw(QWidget& widget, const QImage& frame);

private:
    QRect area_;              // the widget in its window's coordinates
    QRegion region_;          // area_, kept so a frame makes no region of its own
    bool areaShown_ = false;  // area_ has been flushed at least once
    win32::FrameStretch stretch_;
};

}  // namespace platform::mfc
