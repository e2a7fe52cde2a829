#include "d3d9/HeadlessWindow.h"

namespace platform::d3d9 {

void HeadlessWindow::present(const std::uint32_t* pixels, int width, int height,
                             int pitchPixels) noexcept {
    ++presents_;
    if (width <= 0 || height <= 0 || width_ <= 0 || height_ <= 0) return;
    // Sized on the first frame only: the benchmark's frames must not allocate.
    frame_.resize(std::size_t(width_) * height_);
    stretch_({pixels, width, height, pitchPixels}, {frame_.data(), width_, height_, width_});
}

}  // namespace platform::d3d9
