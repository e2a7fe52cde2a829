#include "d3d9/HeadlessWindow.h"

namespace platform::d3d9 {

void HeadlessWindow::present(const std::uint32_t* pixels, int width, int height,
                             int pitchPixels) noexcept {
    show({pixels, width, height, pitchPixels}, {});
}

void HeadlessWindow::presentKept(std::shared_ptr<const std::uint32_t> pixels, int width, int height,
                                 int pitchPixels, const win32::ParallelFor& split) noexcept {
    show({pixels.get(), width, height, pitchPixels}, split);
}

void HeadlessWindow::show(win32::PixelRows<const std::uint32_t> source,
                          const win32::ParallelFor& split) noexcept {
    ++presents_;
    if (source.width <= 0 || source.height <= 0 || width_ <= 0 || height_ <= 0) return;
    // Sized on the first frame only: the benchmark's frames must not allocate.
    frame_.resize(std::size_t(width_) * height_);
    stretch_.prepare(source.width, width_);
    stretch_.rowsSpread(source, {frame_.data(), width_, height_, width_}, false, split);
}

}  // namespace platform::d3d9
