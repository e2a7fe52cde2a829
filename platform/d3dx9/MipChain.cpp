#include "d3dx9/MipChain.h"

#include <algorithm>
#include <bit>

namespace platform::d3dx9 {

std::uint32_t mipLevelCount(std::uint32_t width, std::uint32_t height) {
    return static_cast<std::uint32_t>(std::bit_width(std::max({width, height, 1u})));
}

Image halveImage(const Image& source) {
    Image level;
    level.width = std::max(1u, source.width / 2);
    level.height = std::max(1u, source.height / 2);
    level.hasAlpha = source.hasAlpha;
    level.pixels.resize(std::size_t{level.width} * level.height);

    // With a side of 1 the block's second column (or row) is its first again.
    const std::uint32_t dx = source.width > 1 ? 1 : 0;
    const std::uint32_t dy = source.height > 1 ? 1 : 0;
    const auto at = [&](std::uint32_t x, std::uint32_t y) {
        return source.pixels[std::size_t{y} * source.width + x];
    };
    for (std::uint32_t y = 0; y < level.height; ++y) {
        for (std::uint32_t x = 0; x < level.width; ++x) {
            const std::uint32_t sx = 2 * x;
            const std::uint32_t sy = 2 * y;
            const std::uint32_t block[] = {at(sx, sy), at(sx + dx, sy), at(sx, sy + dy),
                                           at(sx + dx, sy + dy)};
            std::uint32_t mean = 0;
            for (unsigned shift = 0; shift < 32; shift += 8) {
                std::uint32_t sum = 2;
                for (std::uint32_t pixel : block) sum += pixel >> shift & 0xFF;
                mean |= (sum / 4) << shift;
            }
            level.pixels[std::size_t{y} * level.width + x] = mean;
        }
    }
    return level;
}

}  // namespace platform::d3dx9
