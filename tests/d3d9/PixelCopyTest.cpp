// The read-back's streamed copy: every run of pixels, wherever it starts against the 16-byte
// units the streaming stores take, copies exactly its own pixels.
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "d3d9/PixelCopy.h"

namespace test {
namespace {

TEST(PixelCopy, CopiesExactlyTheRunFromAnyOffset) {
    constexpr std::uint32_t kUntouched = 0xDEADBEEFu;
    for (std::size_t toOffset = 0; toOffset < 4; ++toOffset) {
        for (std::size_t fromOffset : {0u, 1u, 3u}) {
            for (std::size_t count : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 1000u}) {
                SCOPED_TRACE(testing::Message()
                             << toOffset << ", " << fromOffset << " + " << count);
                std::vector<std::uint32_t> from(count + 8);
                std::iota(from.begin(), from.end(), 1u);
                std::vector<std::uint32_t> to(count + 8, kUntouched);
                platform::d3d9::streamPixels(to.data() + toOffset, from.data() + fromOffset, count);
                for (std::size_t i = 0; i < to.size(); ++i) {
                    const bool inside = i >= toOffset && i < toOffset + count;
                    ASSERT_EQ(inside ? from[i - toOffset + fromOffset] : kUntouched, to[i]) << i;
                }
            }
        }
    }
}

}  // namespace
}  // namespace test
