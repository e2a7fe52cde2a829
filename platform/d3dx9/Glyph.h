// Glyph.h: one rendered glyph, as the text drawing places and blends it.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::d3dx9 {

struct Glyph {
    int advance = 0;  // pixels the pen moves right after this glyph
    int left = 0;     // pixels from the pen to the coverage's left column
    int top = 0;      // pixels from the baseline up to the coverage's top row
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;  // width * height, row by row, 0 empty to 255 full
};

}  // namespace platform::d3dx9
