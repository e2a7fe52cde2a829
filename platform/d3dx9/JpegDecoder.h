// JpegDecoder.h: baseline and progressive JPEG, grey or colour (YCbCr or RGB), through libjpeg.
// CMYK and YCCK files are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "d3dx9/Image.h"

namespace platform::d3dx9 {

bool hasJpegSignature(std::span<const std::uint8_t> file);

// Always opaque. Nothing for a malformed or truncated file: libjpeg's warnings about corrupt
// data or a premature end count as failures, where libjpeg alone would pad the picture with grey.
std::optional<Image> decodeJpeg(std::span<const std::uint8_t> file);

}  // namespace platform::d3dx9
