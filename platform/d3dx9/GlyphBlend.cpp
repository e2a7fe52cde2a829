#include "d3dx9/GlyphBlend.h"

#include <algorithm>

namespace platform::d3dx9 {
namespace {

// x * y / 255, rounded to nearest, for x, y in 0..255.
constexpr std::uint32_t scale(std::uint32_t x, std::uint32_t y) noexcept {
    const std::uint32_t product = x * y + 128;
    return (product + (product >> 8)) >> 8;
}
static_assert(scale(255, 255) == 255 && scale(255, 0) == 0 && scale(128, 255) == 128);

std::uint32_t blendPixel(std::uint32_t under, std::uint32_t colour, std::uint32_t alpha) noexcept {
    const std::uint32_t keep = 255 - alpha;
    std::uint32_t out = (alpha + scale(under >> 24, keep)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t channel =
            scale((colour >> shift) & 0xFF, alpha) + scale((under >> shift) & 0xFF, keep);
        out |= channel << shift;
    }
    return out;
}

}  // namespace

void blendGlyph(const Glyph& glyph, std::int64_t left, std::int64_t top, const ClipBox& clip,
                const PixelTarget& target, std::uint32_t colour) noexcept {
    const std::uint32_t colourAlpha = colour >> 24;
    if (colourAlpha == 0 || glyph.coverage.empty()) return;
    const std::int64_t x0 = std::max({left, clip.left, std::int64_t{0}});
    const std::int64_t y0 = std::max({top, clip.top, std::int64_t{0}});
    const std::int64_t x1 = std::min({left + glyph.width, clip.right, std::int64_t{target.width}});
    const std::int64_t y1 = std::min({top + glyph.height, clip.bottom, std::int64_t{target.height}});
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::uint8_t* coverage =
            glyph.coverage.data() + static_cast<std::size_t>((y - top) * glyph.width + (x0 - left));
        auto* row = reinterpret_cast<std::uint32_t*>(target.bits + y * target.pitch);
        for (std::int64_t x = x0; x < x1; ++x, ++coverage) {
            if (*coverage == 0) continue;
            row[x] = blendPixel(row[x], colour, scale(colourAlpha, *coverage));
        }
    }
}

}  // namespace platform::d3dx9
