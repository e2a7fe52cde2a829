// The clears' fill: every run of pixels, wherever it starts and ends against the cache lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include <gtest/gtest.h>

#include "d3d9/PixelFill.h"

namespace test {
namespace {

using platform::d3d9::fillPixels;

// Runs starting at every offset within a cache line, of lengths around one and a few lines:
// exactly the run's pixels take the value, the head before the first whole line, the lines and
// the tail after them alike.
template <class Pixel>
void checkRuns(Pixel value, Pixel untouched) {
    constexpr std::size_t kLine = 64 / sizeof(Pixel);
    for (std::size_t offset = 0; offset <= kLine; ++offset) {
        for (std::size_t count : {0u, 1u, 3u, 15u, 16u, 17u, 31u, 32u, 33u, 63u, 64u, 65u, 200u}) {
            SCOPED_TRACE(testing::Message()
                         << sizeof(Pixel) << " bytes, " << offset << " + " << count);
            alignas(64) Pixel pixels[3 * 64 + 256];
            std::fill(std::begin(pixels), std::end(pixels), untouched);
            fillPixels(pixels + offset, count, value);
            for (std::size_t i = 0; i < std::size(pixels); ++i) {
                const bool inside = i >= offset && i < offset + count;
                ASSERT_EQ(inside ? value : untouched, pixels[i]) << i;
            }
        }
    }
}

TEST(PixelFill, FillsExactlyTheRun) {
    checkRuns<std::uint32_t>(0xFF6E93BFu, 0x12345678u);
    checkRuns<std::uint16_t>(0xFFFF, 0x1234);
    checkRuns<std::uint16_t>(0x00C0, 0xC000);  // the two halves of the pattern in their places
}

}  // namespace
}  // namespace test
