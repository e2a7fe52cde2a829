// Palette.h: the classic sixteen colours that the toolbar bitmap and the icon are drawn in, and
// the character that stands for each colour in the pictures' rows.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace res {

//   # black      r maroon    g green     o olive     n navy      p purple    t teal     . silver
//   a grey       R red       G lime      Y yellow    B blue      M fuchsia   C aqua     W white
// Silver is the toolbar's background: the button face shows through it.
inline constexpr std::string_view kPaletteChars = "#rgonpt.aRGYBMCW";
inline constexpr std::array<std::uint32_t, 16> kPaletteColors = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};
static_assert(kPaletteColors.size() == kPaletteChars.size());

// The icon's palette: the sixteen colours and, last, ' ' for the pixels its mask leaves clear.
inline constexpr std::string_view kIconPaletteChars = "#rgonpt.aRGYBMCW ";
inline constexpr std::array<std::uint32_t, 17> kIconPaletteColors = [] {
    std::array<std::uint32_t, 17> colors{};
    std::ranges::copy(kPaletteColors, colors.begin());
    colors.back() = 0x00000000;
    return colors;
}();
static_assert(kIconPaletteColors.size() == kIconPaletteChars.size());

}  // namespace res
