// SharedImageBlit.h: on X11, puts a presented frame straight into the widget's area of its
// window on the server, from images in memory shared with the server, stretched (nearest) to
// the widget. Qt's backing store would do the same with one image, but before each paint it
// waits for the server to finish reading the last one: a round trip a frame, and the server's
// copy on the frame's path. Here two images take turns, and an image is waited for only when
// it comes round again, by then long done. The backing store keeps its older pixels: when the
// window is exposed, the widget is marked for repainting, so that its paint, which shows the
// kept frame, comes before Qt shows the store.
//
// It declines, drawing nothing, off X11, without the shared memory extension (a remote
// server), and wherever the surface is not the widget's top-level window at one pixel per
// device pixel with 24 or 32 bits of x8r8g8b8 colour; the caller then uses the backing store.
#pragma once

#include <cstdint>
#include <memory>

#include <QRect>

#include "win32/FrameStretch.h"
#include "win32/Window.h"

class QWidget;

namespace platform::mfc {

class SharedImageBlit {
public:
    SharedImageBlit();
    ~SharedImageBlit();
    SharedImageBlit(const SharedImageBlit&) = delete;
    SharedImageBlit& operator=(const SharedImageBlit&) = delete;

    // True on X11 when the server offers shared images, as a server on this machine does: its
    // copy of each frame then runs in its own process, on one of this machine's processors.
    static bool serverCopiesFrames();

    // False when nothing was drawn. The frame is X8R8G8B8.
    bool draw(QWidget& widget, win32::PixelRows<const std::uint32_t> frame,
              const win32::ParallelFor& split);

private:
    class Target;
    class Segment;

    bool prepare(QWidget& widget, const QRect& area);

    std::unique_ptr<Target> target_;    // the window drawn into
    std::unique_ptr<Segment> segment_;  // the two images, for the area's size at least
    int turn_ = 0;                      // the image the next frame goes into
    win32::FrameStretch stretch_;
};

}  // namespace platform::mfc
