#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

#include "FuzzCheck.h"
#include "d3dx9/PngDecoder.h"

namespace {

// Mutated chunks almost never keep a matching CRC, and libpng refuses them at once; rewriting
// every CRC the input's chunk lengths reach lets the fuzzer get past the chunk layer.
std::vector<std::uint8_t> withFixedCrcs(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    std::size_t chunk = 8;
    while (chunk + 12 <= bytes.size()) {
        const std::size_t length = std::size_t{bytes[chunk]} << 24 | bytes[chunk + 1] << 16 |
                                   bytes[chunk + 2] << 8 | bytes[chunk + 3];
        if (length > bytes.size() - chunk - 12) break;
        const uLong crc = crc32(0, bytes.data() + chunk + 4, static_cast<uInt>(length + 4));
        for (std::size_t i = 0; i < 4; ++i)
            bytes[chunk + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        chunk += length + 12;
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes = withFixedCrcs(data, size);
    fuzz::check(platform::d3dx9::decodePng(bytes));
    return 0;
}
