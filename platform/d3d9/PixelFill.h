// PixelFill.h: runs of pixels set to one value, as clears write them, a cache line a store.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::d3d9 {

void fillPixels(std::uint32_t* first, std::size_t count, std::uint32_t value) noexcept;
void fillPixels(std::uint16_t* first, std::size_t count, std::uint16_t value) noexcept;

}  // namespace platform::d3d9
