// GlyphBlend.h: puts a glyph's coverage onto 32-bit ARGB pixels in one colour, the colour's alpha
// times the coverage blended over what is there. Only pixels inside the clip box and the image
// are written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3dx9/Glyph.h"

namespace platform::d3dx9 {

struct PixelTarget {
    std::uint8_t* bits = nullptr;  // the top row
    std::ptrdiff_t pitch = 0;      // bytes from one row to the next, at least width * 4
    int width = 0;
    int height = 0;
};

// Right and bottom are exclusive; the box may reach outside the target.
struct ClipBox {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

// left, top: where the glyph's top-left coverage pixel goes.
void blendGlyph(const Glyph& glyph, std::int64_t left, std::int64_t top, const ClipBox& clip,
                const PixelTarget& target, std::uint32_t colour) noexcept;

}  // namespace platform::d3dx9
