// PngDecoder.h: PNG of every colour type and bit depth, interlaced or not, through libpng:
// palettes, grey levels below 8 bits and tRNS are expanded, 16-bit samples scaled to 8 bits.
// Gamma and colour-space chunks are not applied.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "d3dx9/Image.h"

namespace platform::d3dx9 {

bool hasPngSignature(std::span<const std::uint8_t> file);

// hasAlpha for grey-alpha and RGBA images and for those with a tRNS chunk. Nothing for a
// malformed or truncated file (the image must run through IEND) or a bad CRC in a critical chunk.
std::optional<Image> decodePng(std::span<const std::uint8_t> file);

}  // namespace platform::d3dx9
