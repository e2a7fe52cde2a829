#include "mfc/SurfaceBlit.h"

#include <algorithm>
#include <cstdint>

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QWindow>

namespace platform::mfc {
namespace {

// Below this many pixels the copy stays on the calling thread: waking the others costs more.
constexpr qsizetype kSplitPixels = 1 << 18;
constexpr int kChunkRows = 32;

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

// One copy of the rows, spread over the device's threads when the area is large.
class RowCopy {
public:
    RowCopy(const win32::FrameStretch& stretch, win32::PixelRows<const std::uint32_t> source,
            win32::PixelRows<std::uint32_t> target, bool opaque)
        : stretch_(stretch), source_(source), target_(target), opaque_(opaque) {}

    void run(const win32::ParallelFor& split) {
        const auto pixels = static_cast<qsizetype>(target_.width) * target_.height;
        if (!split.run || split.threads < 2 || pixels < kSplitPixels) {
            stretch_.rows(source_, target_, 0, target_.height, opaque_);
            return;
        }
        const auto chunks = static_cast<unsigned>((target_.height + kChunkRows - 1) / kChunkRows);
        split.run(split.pool, chunks, this, [](void* context, unsigned index) noexcept {
            auto& copy = *static_cast<RowCopy*>(context);
            const int first = static_cast<int>(index) * kChunkRows;
            copy.stretch_.rows(copy.source_, copy.target_, first,
                               std::min(first + kChunkRows, copy.target_.height), copy.opaque_);
        });
    }

private:
    const win32::FrameStretch& stretch_;
    win32::PixelRows<const std::uint32_t> source_;
    win32::PixelRows<std::uint32_t> target_;
    bool opaque_;
};

}  // namespace

bool SurfaceBlit::draw(QWidget& widget, win32::PixelRows<const std::uint32_t> frame,
                       const win32::ParallelFor& split) {
    QWidget* top = widget.window();
    QBackingStore* store = top->backingStore();
    QWindow* window = top->windowHandle();
    if (!store || !window || !window->isExposed() || !widget.isVisible() ||
        !widget.updatesEnabled() || !frame.pixels || frame.width <= 0 || frame.height <= 0)
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
        stretch_.prepare(frame.width, area_.width());
        RowCopy(stretch_, frame, {origin, area_.width(), area_.height(), pitch},
                surface.format() != QImage::Format_RGB32)
            .run(split);
    }
    store->endPaint();
    if (!drawn) return false;
    if (!areaShown_ || flushShowsFrames()) store->flush(region_, window);
    areaShown_ = true;
    return true;
}

}  // namespace platform::mfc
