// FrameBuffer.h: the device's X8R8G8B8 back buffer and its 16-bit depth buffer, sized once when
// the device is made. Rows are tightly packed: the pitch is the width.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::d3d9 {

struct FrameBuffer {
    FrameBuffer(int w, int h, bool withDepth)
        : width(w),
          height(h),
          colour(static_cast<std::size_t>(w) * h, 0xFF000000u),
          depth(withDepth ? static_cast<std::size_t>(w) * h : 0, 0xFFFF) {}

    int width;
    int height;
    std::vector<std::uint32_t> colour;
    std::vector<std::uint16_t> depth;  // empty when the device has no depth buffer
};

}  // namespace platform::d3d9
