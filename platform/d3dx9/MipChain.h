// MipChain.h: the levels below a texture's top level, each box-filtered from the one above.
#pragma once

#include <cstdint>

#include "d3dx9/Image.h"

namespace platform::d3dx9 {

// Levels from width x height down to 1 x 1, both ends included: 1 + log2 of the larger side.
std::uint32_t mipLevelCount(std::uint32_t width, std::uint32_t height);

// The next level down: max(1, width / 2) x max(1, height / 2), each pixel the rounded mean of
// each channel, alpha included, over the 2 x 2 block above it (2 x 1 or 1 x 2 once a side is 1).
// An odd last row or column of the source has no pixel below it and is dropped.
Image halveImage(const Image& source);

}  // namespace platform::d3dx9
