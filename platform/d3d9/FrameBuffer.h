// FrameBuffer.h: the device's X8R8G8B8 back buffer and its 16-bit depth buffer, sized once when
// the device is made. Rows are tightly packed: the pitch is the width. The colour pixels are
// shared, so that a window can keep a presented frame while the next is drawn into another
// buffer of the same size.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::d3d9 {

struct FrameBuffer {
    using Pixels = std::vector<std::uint32_t>;

    FrameBuffer(int w, int h, bool withDepth)
        : width(w),
          height(h),
          colour(std::make_shared<Pixels>(static_cast<std::size_t>(w) * h, 0xFF000000u)),
          depth(withDepth ? static_cast<std::size_t>(w) * h : 0, 0xFFFF) {}

    int width;
    int height;
    std::shared_ptr<Pixels> colour;    // never null
    std::vector<std::uint16_t> depth;  // empty when the device has no depth buffer
};

}  // namespace platform::d3d9
