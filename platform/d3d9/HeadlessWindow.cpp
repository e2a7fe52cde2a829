#include "d3d9/HeadlessWindow.h"

#include <algorithm>

namespace platform::d3d9 {

namespace {

// Rows a band of the copy; a frame smaller than two bands is copied on the calling thread.
constexpr int kBandRows = 32;

struct BandCopy {
    const win32::FrameStretch& stretch;
    win32::PixelRows<const std::uint32_t> source;
    win32::PixelRows<std::uint32_t> target;
};

}  // namespace

void HeadlessWindow::present(const std::uint32_t* pixels, int width, int height,
                             int pitchPixels) noexcept {
    show({pixels, width, height, pitchPixels}, {});
}

void HeadlessWindow::presentKept(std::shared_ptr<const std::uint32_t> pixels, int width,
                                 int height, int pitchPixels,
                                 const win32::ParallelFor& split) noexcept {
    show({pixels.get(), width, height, pitchPixels}, split);
}

void HeadlessWindow::show(win32::PixelRows<const std::uint32_t> source,
                          const win32::ParallelFor& split) noexcept {
    ++presents_;
    if (source.width <= 0 || source.height <= 0 || width_ <= 0 || height_ <= 0) return;
    // Sized on the first frame only: the benchmark's frames must not allocate.
    frame_.resize(std::size_t(width_) * height_);
    stretch_.prepare(source.width, width_);
    BandCopy copy{stretch_, source, {frame_.data(), width_, height_, width_}};
    const auto bands = static_cast<unsigned>((height_ + kBandRows - 1) / kBandRows);
    if (!split.run || split.threads < 2 || bands < 2) {
        stretch_.rows(copy.source, copy.target, 0, height_, false);
        return;
    }
    split.run(split.pool, bands, &copy, [](void* context, unsigned index) noexcept {
        const auto& c = *static_cast<const BandCopy*>(context);
        const int first = static_cast<int>(index) * kBandRows;
        c.stretch.rows(c.source, c.target, first, std::min(first + kBandRows, c.target.height),
                       false);
    });
}

}  // namespace platform::d3d9
