// HeadlessWindow.h: a window with no screen behind it, for tests and benchmarks. Its client size
// is fixed; it shows the last frame presented to it (stretched to the client size as a real
// window would show it) and counts the frames. A kept frame of its own size it shows from the
// presenter's pixels, as a real window repaints from them; any other it copies.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "win32/FrameStretch.h"
#include "win32/Window.h"

namespace platform::d3d9 {

class HeadlessWindow final : public HWND__ {
public:
    HeadlessWindow(int width, int height) : width_(width), height_(height) {}

    SIZE clientSize() const noexcept override { return {width_, height_}; }
    void present(const std::uint32_t* pixels, int width, int height,
                 int pitchPixels) noexcept override;
    // Kept without a copy when it needs no stretch; otherwise the same copy as present(), in
    // bands of rows on the device's threads.
    void presentKept(std::shared_ptr<const std::uint32_t> pixels, int width, int height,
                     int pitchPixels, const win32::ParallelFor& split) noexcept override;

    // The last frame at the client size, row by row; empty before the first present.
    std::span<const std::uint32_t> lastFrame() const noexcept { return shown_; }
    std::uint32_t pixel(int x, int y) const noexcept { return shown_[std::size_t(y) * width_ + x]; }
    int presentCount() const noexcept { return presents_; }

private:
    void show(win32::PixelRows<const std::uint32_t> source,
              const win32::ParallelFor& split) noexcept;

    int width_;
    int height_;
    std::vector<std::uint32_t> frame_;            // the last frame, when it was copied
    std::shared_ptr<const std::uint32_t> kept_;  // ... or the presenter's, kept as they are
    std::span<const std::uint32_t> shown_;
    win32::FrameStretch stretch_;
    int presents_ = 0;
};

}  // namespace platform::d3d9
