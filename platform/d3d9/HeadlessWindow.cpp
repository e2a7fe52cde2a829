#include "d3d9/HeadlessWindow.h"

namespace platform::d3d9 {

void HeadlessWindow::present(const std::uint32_t* pixels, int width, int height,
                             int pitchPixels) noexcept {
    show({pixels, width, height, pitchPixels}, {});
}

void HeadlessWindow::presentKept(std::shared_ptr<const std::uint32_t> pixels, int width, int height,
                                 int pitchPixels, const win32::ParallelFor& split) noexcept {
    if (pixels && width == width_ && height == height_ && pitchPixels == width) {
        ++presents_;
        kept_ = std::move(pixels);
        shown_ = {kept_.get(), std::size_t(width_) * height_};
        return;
    }
    show({pixels.get(), width, height, pitchPixels}, split);
}

void HeadlessWindow::show(win32::PixelRows<const std::uint32_t> source,
                          const win32::ParallelFor& split) noexcept {
    ++presents_;
    if (source.width <= 0 || source.height <= 0 || width_ <= 0 || height_ <= 0) return;
    kept_.reset();
    // Sized on the first frame only: the benchmark's frames must not allocate.
    frame_.resize(std::size_t(width_) * height_);
    stretch_.prepare(source.width, width_);
    stretch_.rowsSpread(source, {frame_.data(), width_, height_, width_}, false, split);
    shown_ = frame_;
}

}  // namespace platform::d3d9
