#include <gtest/gtest.h>

#include "DecoderTesting.h"
#include "d3dx9/MipChain.h"

namespace {

using platform::d3dx9::halveImage;
using platform::d3dx9::Image;
using platform::d3dx9::mipLevelCount;
using test::describe;

TEST(MipChain, CountsLevelsDownToOneByOne) {
    struct Case {
        int line;
        std::uint32_t width;
        std::uint32_t height;
        std::uint32_t levels;
    };
    const Case kCases[] = {
        {__LINE__, 1, 1, 1},          {__LINE__, 2, 1, 2},     {__LINE__, 3, 2, 2},
        {__LINE__, 4, 4, 3},          {__LINE__, 5, 3, 3},     {__LINE__, 1, 1000, 10},
        {__LINE__, 256, 1, 9},        {__LINE__, 255, 1, 8},   {__LINE__, 16384, 16384, 15},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.levels, mipLevelCount(c.width, c.height));
    }
}

TEST(MipChain, BoxFiltersEachChannelOnItsOwn) {
    struct Case {
        int line;
        Image source;
        Image level;
    };
    const Case kCases[] = {
        // Two 2x2 blocks; alpha is averaged like the colours, and 0xFF bytes carry into nothing.
        {__LINE__,
         {4, 2, {0xFF000000, 0xFF0000FF, 0xFFFFFFFF, 0x00FFFFFF,
                 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF, 0x00FFFFFF}, true},
         {2, 1, {0xFF404040, 0x80FFFFFF}, true}},
        // Rounded to nearest: (1 + 2 + 2 + 2) / 4 = 1.75 gives 2, (0 + 0 + 0 + 1) / 4 gives 0.
        {__LINE__, {2, 2, {0x01010101, 0x02020200, 0x02020200, 0x02020200}, true},
         {1, 1, {0x02020200}, true}},
        // Odd sides: the last row and column have no pixel below them.
        {__LINE__, {3, 3, {0xFF000000, 0xFF000004, 0xFFFFFFFF,
                           0xFF000008, 0xFF00000C, 0xFFFFFFFF,
                           0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, false},
         {1, 1, {0xFF000006}, false}},
        // A side of 1 stays 1; the other halves.
        {__LINE__, {1, 4, {0xFF000000, 0xFF000002, 0xFF000010, 0xFF000020}, false},
         {1, 2, {0xFF000001, 0xFF000018}, false}},
        {__LINE__, {4, 1, {0xFF000000, 0xFF000002, 0xFF000010, 0xFF000020}, false},
         {2, 1, {0xFF000001, 0xFF000018}, false}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(describe(c.level), describe(halveImage(c.source)));
    }
}

}  // namespace
