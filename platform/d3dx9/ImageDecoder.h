// ImageDecoder.h: picks the decoder for a file held in memory by its content, never its name.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "d3dx9/Image.h"

namespace platform::d3dx9 {

// BMP, PNG and JPEG by their signatures; any other file is tried as TGA, which has none (no valid
// TGA header begins like one of those signatures, whose second byte is never a colour-map type).
// A file that matches a signature and then fails to decode is not tried again as TGA.
std::optional<Image> decodeImage(std::span<const std::uint8_t> file);

}  // namespace platform::d3dx9
