#include "d3dx9/ImageDecoder.h"

#include "d3dx9/BmpDecoder.h"
#include "d3dx9/JpegDecoder.h"
#include "d3dx9/PngDecoder.h"
#include "d3dx9/TgaDecoder.h"

namespace platform::d3dx9 {

std::optional<Image> decodeImage(std::span<const std::uint8_t> file) {
    if (hasBmpSignature(file)) return decodeBmp(file);
    if (hasPngSignature(file)) return decodePng(file);
    if (hasJpegSignature(file)) return decodeJpeg(file);
    return decodeTga(file);
}

}  // namespace platform::d3dx9
