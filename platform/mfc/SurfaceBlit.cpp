#include "mfc/SurfaceBlit.h"

#include <cstdint>

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QWindow>

namespace platform::mfc {
namespace {

// The frame's pixels are opaque RGB32, which these formats store unchanged.
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

bool SurfaceBlit::draw(QWidget& widget, const QImage& frame) {
    QWidget* top = widget.window();
    QBackingStore* store = top->backingStore();
    QWindow* window = top->windowHandle();
    if (!store || !window || !window->isExposed() || !widget.isVisible() ||
        !widget.updatesEnabled() || frame.isNull())
        return false;
    // A native child has a window of its own, which this store's flush does not reach.
    if (&widget != top && widget.internalWinId()) return false;
    if (window->devicePixelRatio() != 1.0 || store->size() != top->size()) return false;
    const QRect area(widget.mapTo(top, QPoint(0, 0)), widget.size());
    if (area.isEmpty()) return false;
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
        stretch_({reinterpret_cast<const std::uint32_t*>(frame.constBits()), frame.width(),
                  frame.height(), frame.bytesPerLine() / qsizetype{sizeof(std::uint32_t)}},
                 {origin, area_.width(), area_.height(), pitch});
    }
    store->endPaint();
    if (!drawn) return false;
    if (!areaShown_ || flushShowsFrames()) store->flush(region_, window);
    areaShown_ = true;
    return true;
}

}  // namespace platform::mfc
