// BmpDecoder.h: Windows bitmaps: 1, 4 and 8-bit palette, 16, 24 and 32-bit, bottom-up and
// top-down, BI_RGB and BI_BITFIELDS, BITMAPINFOHEADER and the V2 to V5 headers.
// Run-length compressed bitmaps and the OS/2 core header are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "d3dx9/Image.h"

namespace platform::d3dx9 {

bool hasBmpSignature(std::span<const std::uint8_t> file);

// Nothing for a malformed or truncated file (every row must be there, padding included), a size
// outside the image limits, or a pixel that names a colour past the palette.
std::optional<Image> decodeBmp(std::span<const std::uint8_t> file);

}  // namespace platform::d3dx9
