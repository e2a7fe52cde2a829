// SurfaceBlit.h: draws a presented frame straight into a widget's area of its top-level
// window's backing store, stretched (nearest) to the widget, and flushes that area, without a
// paint event: a frame allocates nothing once the sizes are settled, and a large one is copied
// by the device's threads. It declines, drawing nothing, wherever the surface is not a plain
// 32-bit image of the window at one pixel per device pixel; the caller then repaints the widget
// instead.
#pragma once

#include <cstdint>

#include <QRect>
#include <QRegion>

#include "win32/FrameStretch.h"
#include "win32/Window.h"

class QWidget;

namespace platform::mfc {

// The widget's area in its top-level window, where a frame can be drawn straight into that
// window: a visible, exposed widget with updates on and no native window of its own, at one
// pixel per device pixel. Empty elsewhere, or for an empty frame.
QRect directFrameArea(const QWidget& widget, win32::PixelRows<const std::uint32_t> frame);

class SurfaceBlit {
public:
    // False when nothing was drawn. The frame is X8R8G8B8.
    bool draw(QWidget& widget, win32::PixelRows<const std::uint32_t> frame,
              const win32::ParallelFor& split);

private:
    QRect area_;              // the widget in its window's coordinates
    QRegion region_;          // area_, kept so a frame makes no region of its own
    bool areaShown_ = false;  // area_ has been flushed at least once
    win32::FrameStretch stretch_;
};

}  // namespace platform::mfc
