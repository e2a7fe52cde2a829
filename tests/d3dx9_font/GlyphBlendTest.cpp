#include <array>
#include <cstdint>

#include <gtest/gtest.h>

#include "d3dx9/GlyphBlend.h"

namespace {

using namespace platform::d3dx9;

// A 4 x 3 image of one grey, with a 2 x 2 glyph: full, half / none, full coverage.
class GlyphBlendTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kGrey = 0xFF404040;

    GlyphBlendTest() {
        pixels.fill(kGrey);
        glyph.width = 2;
        glyph.height = 2;
        glyph.coverage = {255, 128, 0, 255};
    }

    void blend(std::int64_t left, std::int64_t top, std::uint32_t colour,
               ClipBox clip = {0, 0, 4, 3}) {
        const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), 4 * 4, 4, 3};
        blendGlyph(glyph, left, top, clip, target, colour);
    }
    std::uint32_t at(int x, int y) const { return pixels[y * 4 + x]; }

    std::array<std::uint32_t, 12> pixels{};
    Glyph glyph;
};

TEST_F(GlyphBlendTest, CoverageWeighsTheColourOverThePixel) {
    blend(1, 1, 0xFFFFFF00);
    EXPECT_EQ(0xFFFFFF00u, at(1, 1));
    // Half of yellow over a quarter grey: 0x40 + (0xFF - 0x40) / 2, rounded, and half of 0x40.
    EXPECT_EQ(0xFFA0A020u, at(2, 1));
    EXPECT_EQ(kGrey, at(1, 2));
    EXPECT_EQ(0xFFFFFF00u, at(2, 2));
    EXPECT_EQ(kGrey, at(0, 0));
    EXPECT_EQ(kGrey, at(3, 1));
}

TEST_F(GlyphBlendTest, TheColoursAlphaScalesTheCoverage) {
    blend(0, 0, 0x80FFFFFF);
    EXPECT_EQ(0xFFA0A0A0u, at(0, 0));
    blend(2, 0, 0x00FFFFFF);
    EXPECT_EQ(kGrey, at(2, 0));
}

TEST_F(GlyphBlendTest, WritesOnlyInsideTheClipBoxAndTheImage) {
    struct Case {
        std::int64_t left, top;
        ClipBox clip;
        int written;
    };
    const Case cases[] = {
        {-1, -1, {0, 0, 4, 3}, 1},          // only the glyph's bottom-right pixel lands
        {3, 2, {0, 0, 4, 3}, 1},            // only its top-left pixel lands
        {1, 1, {2, 0, 4, 3}, 2},            // the clip box cuts its left column
        {1, 1, {-100, -100, 100, 100}, 3},  // a box larger than the image
        {INT64_MAX / 2, 0, {0, 0, 4, 3}, 0},
        {INT64_MIN / 2, INT64_MIN / 2, {0, 0, 4, 3}, 0},
        {0, 0, {3, 0, 1, 3}, 0},            // an inverted box
    };
    for (const Case& c : cases) {
        pixels.fill(kGrey);
        blend(c.left, c.top, 0xFFFFFFFF, c.clip);
        int written = 0;
        for (std::uint32_t p : pixels) written += p != kGrey;
        EXPECT_EQ(c.written, written) << "glyph at " << c.left << ", " << c.top;
    }
}

}  // namespace
