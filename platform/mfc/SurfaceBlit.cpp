#include "mfc/SurfaceBlit.h"

#include <cstdint>

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QWindow>

namespace platform::mfc {
namespace {

// Formats that store a frame's pixels unchanged, the top byte set where it is alpha.
bool takesFrame(const QImage& surface, const QRect& area) {
    const QImage::Format format = surface.format();
    const bool plain = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                       format == QImage::Format_ARGB32_Premultiplied;
    return plain && surface.devicePixelRatio() == 1.0 && surface.rect().contains(area);
}

// Qt's offscreen platform has no screen beyond the store's image: its flush only notes the
// window's area for grabs, and builds two regions each time. Once noted, a frame needs none.
bool flushShowsFrames() {
    // The platform is chosen once, when the application starts.
    static const bool shows = QGuiApplication::platformName() != QLatin1String("offscreen");
    return shows;
}

}  // namespace

QRect directFrameArea(const QWidget& widget, win32::PixelRows<const std::uint32_t> frame) {
    const QWidget* top = widget.window();
    const QWindow* window = top->windowHandle();
    if (!window || !window->isExposed() || !widget.isVisible() || !widget.updatesEnabled() ||
        !frame.pixels || frame.width <= 0 || frame.height <= 0)
        return {};
    // A native child has a window of its own, which the top-level's surface does not reach.
    if (&widget != top && widget.internalWinId()) return {};
    if (window->devicePixelRatio() != 1.0) return {};
    return {widget.mapTo(top, QPoint(0, 0)), widget.size()};
}

bool SurfaceBlit::draw(QWidget& widget, win32::PixelRows<const std::uint32_t> frame,
                       const win32::ParallelFor& split) {
    QWidget* top = widget.window();
    QBackingStore* store = top->backingStore();
    const QRect area = directFrameArea(widget, frame);
    if (!store || area.isEmpty() || store->size() != top->size()) return false;
    if (area != area_) {
        area_ = area;
        region_ = QRegion(area);
        areaShown_ = false;
    }

    store->beginPaint(region_);
    QPaintDevice* device = store->paintDevice();
    const bool drawn = device && device->devType() == QInternal::Image &&
                       takesFrame(*static_cast<QImage*>(device), area_);
    if (drawn) {
        auto& surface = *static_cast<QImage*>(device);
        const qsizetype pitch = surface.bytesPerLine() / qsizetype{sizeof(std::uint32_t)};
        auto* origin =
            reinterpret_cast<std::uint32_t*>(surface.bits()) + area_.y() * pitch + area_.x();
        stretch_.prepare(frame.width, area_.width());
        stretch_.rowsSpread(frame, {origin, area_.width(), area_.height(), pitch},
                            surface.format() != QImage::Format_RGB32, split);
    }
    store->endPaint();
    if (!drawn) return false;
    if (!areaShown_ || flushShowsFrames()) store->flush(region_, top->windowHandle());
    areaShown_ = true;
    return true;
}

}  // namespace platform::mfc
