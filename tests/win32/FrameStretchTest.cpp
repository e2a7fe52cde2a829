// Stretching a frame to a window's size: each target pixel takes the source pixel under its
// centre, rows and columns alike, whatever the pitches.
#include <cstdint>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "win32/FrameStretch.h"
#include "win32/Window.h"

namespace {

using platform::win32::FrameStretch;
using platform::win32::ParallelFor;

// A source whose pixel at (x, y) is 100 * y + x, with a pitch wider than its rows.
std::vector<std::uint32_t> numbered(int width, int height, int pitch) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(pitch) * height, 0xDEADu);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * pitch + x] = static_cast<std::uint32_t>(100 * y + x);
    return pixels;
}

TEST(FrameStretch, TakesThePixelUnderEachTargetCentre) {
    struct Case {
        int line;
        int sourceWidth, sourceHeight, targetWidth, targetHeight;
        std::vector<int> columns;  // the source column of each target column
        std::vector<int> rows;
    };
    const Case kCases[] = {
        {__LINE__, 2, 2, 4, 4, {0, 0, 1, 1}, {0, 0, 1, 1}},  // doubled
        {__LINE__, 3, 2, 2, 3, {0, 2}, {0, 1, 1}},           // narrower, taller
        {__LINE__, 4, 1, 3, 2, {0, 2, 3}, {0, 0}},           // thirds of four
        {__LINE__, 3, 3, 3, 3, {0, 1, 2}, {0, 1, 2}},        // same size
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const int sourcePitch = c.sourceWidth + 3;
        const int targetPitch = c.targetWidth + 2;
        const std::vector<std::uint32_t> source =
            numbered(c.sourceWidth, c.sourceHeight, sourcePitch);
        std::vector<std::uint32_t> target(static_cast<std::size_t>(targetPitch) * c.targetHeight,
                                          0xBEEFu);
        FrameStretch stretch;
        stretch({source.data(), c.sourceWidth, c.sourceHeight, sourcePitch},
                {target.data(), c.targetWidth, c.targetHeight, targetPitch});
        for (int y = 0; y < c.targetHeight; ++y) {
            for (int x = 0; x < c.targetWidth; ++x)
                EXPECT_EQ(static_cast<std::uint32_t>(100 * c.rows[y] + c.columns[x]),
                          target[y * targetPitch + x])
                    << x << "," << y;
            // The padding past each row stays untouched.
            EXPECT_EQ(0xBEEFu, target[y * targetPitch + c.targetWidth]);
        }
    }
}

// One stretcher serves frames of changing sizes, as a window that is resized does.
TEST(FrameStretch, FollowsAChangeOfSourceWidth) {
    FrameStretch stretch;
    std::vector<std::uint32_t> target(2);
    const std::vector<std::uint32_t> wide = numbered(4, 1, 4);
    stretch({wide.data(), 4, 1, 4}, {target.data(), 2, 1, 2});
    EXPECT_EQ((std::vector<std::uint32_t>{1, 3}), target);
    const std::vector<std::uint32_t> narrow = numbered(3, 1, 3);
    stretch({narrow.data(), 3, 1, 3}, {target.data(), 2, 1, 2});
    EXPECT_EQ((std::vector<std::uint32_t>{0, 2}), target);
}

// Threads copy separate row ranges: the parts make the whole, rows repeated across a part's
// first row included, and an opaque copy differs only in the top byte.
TEST(FrameStretch, RowsInPartsMakeTheWholeFrame) {
    const std::vector<std::uint32_t> source = numbered(3, 2, 3);
    for (const int targetWidth : {3, 5}) {
        SCOPED_TRACE(targetWidth);
        std::vector<std::uint32_t> whole(static_cast<std::size_t>(targetWidth) * 5);
        std::vector<std::uint32_t> parts(whole.size());
        FrameStretch stretch;
        stretch({source.data(), 3, 2, 3}, {whole.data(), targetWidth, 5, targetWidth});
        stretch.prepare(3, targetWidth);
        for (const auto& [first, end] : {std::pair{0, 1}, std::pair{1, 4}, std::pair{4, 5}})
            stretch.rows({source.data(), 3, 2, 3}, {parts.data(), targetWidth, 5, targetWidth},
                         first, end, true);
        for (std::size_t i = 0; i < whole.size(); ++i)
            EXPECT_EQ(whole[i] | 0xFF000000u, parts[i]) << i;
    }
}

// A large target copied in bands over a pool (here the calling thread, bands in reverse order)
// holds the same pixels as one whole copy; a small one is not split at all.
TEST(FrameStretch, RowsSpreadOverThreadsMakeTheWholeFrame) {
    static unsigned bandsRun;
    const ParallelFor reversed{
        [](void*, unsigned count, void* context, ParallelFor::Chunk chunk) noexcept {
            for (unsigned i = count; i-- > 0;) {
                chunk(context, i);
                ++bandsRun;
            }
        },
        nullptr, 4};
    struct Case {
        int targetWidth, targetHeight;
        bool split;
    };
    const std::vector<std::uint32_t> source = numbered(50, 40, 64);
    for (const Case c : {Case{1024, 300, true}, Case{50, 40, false}}) {
        SCOPED_TRACE(c.targetWidth);
        const auto size = static_cast<std::size_t>(c.targetWidth) * c.targetHeight;
        std::vector<std::uint32_t> whole(size), spread(size);
        FrameStretch stretch;
        stretch({source.data(), 50, 40, 64},
                {whole.data(), c.targetWidth, c.targetHeight, c.targetWidth});
        bandsRun = 0;
        stretch.rowsSpread({source.data(), 50, 40, 64},
                           {spread.data(), c.targetWidth, c.targetHeight, c.targetWidth}, false,
                           reversed);
        EXPECT_EQ(whole, spread);
        EXPECT_EQ(c.split, bandsRun > 1);
    }
}

}  // namespace
