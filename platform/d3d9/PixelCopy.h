// PixelCopy.h: copies of whole frames into memory the device does not read again.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::d3d9 {

// Copies `count` pixels with stores that go around the caches: the target's old contents are
// not read in first, and the frame just drawn is not pushed out by its copy.
void streamPixels(std::uint32_t* to, const std::uint32_t* from, std::size_t count) noexcept;

}  // namespace platform::d3d9
