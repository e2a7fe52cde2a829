#include "d3d9/PixelCopy.h"

#include <emmintrin.h>

#include <cstring>

namespace platform::d3d9 {

void streamPixels(std::uint32_t* to, const std::uint32_t* from, std::size_t count) noexcept {
    // Streaming stores take whole 16-byte units; the few pixels before the first go as usual.
    std::size_t head = (16 - reinterpret_cast<std::uintptr_t>(to) % 16) / 4 % 4;
    if (reinterpret_cast<std::uintptr_t>(to) % 4 != 0 || head > count) head = count;
    std::memcpy(to, from, head * sizeof(std::uint32_t));
    std::size_t i = head;
    for (; i + 4 <= count; i += 4) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
    }
    std::memcpy(to + i, from + i, (count - i) * sizeof(std::uint32_t));
    _mm_sfence();  // the copy is seen whole by whichever thread reads it next
}

}  // namespace platform::d3d9
