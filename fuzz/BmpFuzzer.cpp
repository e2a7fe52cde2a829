#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "d3dx9/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::check(platform::d3dx9::decodeBmp({data, size}));
    return 0;
}
