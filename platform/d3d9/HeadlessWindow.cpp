#include "d3d9/HeadlessWindow.h"

#include <algorithm>

namespace platform::d3d9 {

void HeadlessWindow::present(const std::uint32_t* pixels, int width, int height,
                             int pitchPixels) noexcept {
    ++presents_;
    if (width <= 0 || height <= 0 || width_ <= 0 || height_ <= 0) return;
    // Sized on the first frame only: the benchmark's frames must not allocate.
    frame_.resize(std::size_t(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = pixels + std::size_t(y * height / height_) * pitchPixels;
        std::uint32_t* dst = frame_.data() + std::size_t(y) * width_;
        if (width == width_) {
            std::copy(src, src + width, dst);
            continue;
        }
        for (int x = 0; x < width_; ++x) dst[x] = src[x * width / width_];
    }
}

}  // namespace platform::d3d9
