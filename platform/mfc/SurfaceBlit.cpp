#include "mfc/SurfaceBlit.h"

#include <cstdint>
#include <cstring>

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

// Nearest source index for a target index, sampling at the target pixel's centre.
int nearest(int target, int sourceSize, int targetSize) {
    return static_cast<int>((2 * static_cast<std::int64_t>(target) + 1) * sourceSize /
                            (2 * static_cast<std::int64_t>(targetSize)));
}

// Qt's offscreen platform has no screen beyond the store's image: its flush only notes the
// window's area for grabs, and builds two regions each time. Once noted, a frame needs none.
bool flushShowsFrames() {
    return QGuiApplication::platformName() != QLatin1String("offscreen");
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
    if (drawn) stretch(frame, *static_cast<QImage*>(device));
    store->endPaint();
    if (!drawn) return false;
    if (!areaShown_ || flushShowsFrames()) store->flush(region_, window);
    areaShown_ = true;
    return true;
}

void SurfaceBlit::stretch(const QImage& frame, QImage& surface) {
    const int width = area_.width();
    const int height = area_.height();
    const bool sameWidth = frame.width() == width;
    if (!sameWidth) mapColumns(frame.width());
    const qsizetype pitch = surface.bytesPerLine();
    uchar* origin = surface.bits() + area_.y() * pitch + area_.x() * qsizetype{4};
    int previousRow = -1;
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<std::uint32_t*>(origin + y * pitch);
        const int row = nearest(y, frame.height(), height);
        if (row == previousRow) {
            // Enlarged: this row repeats the one above.
            std::memcpy(target, origin + (y - 1) * pitch, width * sizeof(std::uint32_t));
            continue;
        }
        previousRow = row;
        const auto* source = reinterpret_cast<const std::uint32_t*>(frame.constScanLine(row));
        if (sameWidth) {
            std::memcpy(target, source, width * sizeof(std::uint32_t));
            continue;
        }
        for (int x = 0; x < width; ++x) target[x] = source[columns_[x]];
    }
}

void SurfaceBlit::mapColumns(int sourceWidth) {
    const int width = area_.width();
    if (columnsSource_ == sourceWidth && static_cast<int>(columns_.size()) == width) return;
    columnsSource_ = sourceWidth;
    columns_.resize(width);
    for (int x = 0; x < width; ++x) columns_[x] = nearest(x, sourceWidth, width);
}

}  // namespace platform::mfc
