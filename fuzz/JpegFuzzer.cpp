#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "d3dx9/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::check(platform::d3dx9::decodeJpeg({data, size}));
    return 0;
}
