// FuzzCheck.h: what every fuzz target asserts about a decoder's result, beyond not crashing:
// the image keeps the size limits and its own contract, and its whole mip chain can be made.
#pragma once

#include <cstdlib>
#include <optional>

#include "d3dx9/Image.h"
#include "d3dx9/MipChain.h"

namespace fuzz {

inline void check(const std::optional<platform::d3dx9::Image>& image) {
    using namespace platform::d3dx9;
    if (!image) return;
    if (!isAcceptableSize(image->width, image->height) ||
        image->pixels.size() != std::size_t{image->width} * image->height)
        std::abort();
    if (!image->hasAlpha)
        for (std::uint32_t pixel : image->pixels)
            if (pixel >> 24 != 0xFF) std::abort();

    Image level = *image;
    for (std::uint32_t i = 1; i < mipLevelCount(image->width, image->height); ++i)
        level = halveImage(level);
    if (level.width != 1 || level.height != 1) std::abort();
}

}  // namespace fuzz
