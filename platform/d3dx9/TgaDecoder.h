// TgaDecoder.h: Truevision TGA: true-colour 15/16, 24 and 32-bit, grey 8-bit and colour-mapped
// 8-bit (map entries of 15/16, 24 or 32 bits), plain or run-length encoded, with the origin at
// the bottom-left or the top-left (right-to-left rows are mirrored back). The format carries no
// signature: a header that does not describe one of these images is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "d3dx9/Image.h"

namespace platform::d3dx9 {

// Alpha is taken from 16 and 32-bit pixels (or map entries) when the descriptor counts
// attribute bits; otherwise the image is opaque. Nothing for a malformed or truncated file, a
// run-length packet that passes the image's end, or an index outside the colour map.
std::optional<Image> decodeTga(std::span<const std::uint8_t> file);

}  // namespace platform::d3dx9
