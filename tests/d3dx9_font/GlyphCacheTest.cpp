// Runs against the installed fonts: Liberation Sans stands in for Arial, and a Korean face
// (Nanum) covers Hangul.
#include <gtest/gtest.h>

#include "d3dx9/FontMatch.h"
#include "d3dx9/GlyphCache.h"

namespace {

using namespace platform::d3dx9;

constexpr char32_t kGa = 0xAC00;           // 가
constexpr char32_t kNa = 0xB098;           // 나
constexpr char32_t kNoFontHasIt = 0x10FFFF;  // a noncharacter

const FontRequest kArialBold{"Arial", 700, false};

TEST(FontMatch, ArialResolvesToItsMetricCompatibleBoldFace) {
    const auto face = matchFont(kArialBold);
    ASSERT_TRUE(face);
    EXPECT_EQ("Liberation Sans", face->family);
    EXPECT_NE(std::string::npos, face->file.find("Bold")) << face->file;
}

TEST(FontMatch, AnUnknownOrEmptyNameGivesTheDefaultFace) {
    for (const char* name : {"No Such Face 31f9", ""}) {
        const auto face = matchFont({name, 400, false});
        ASSERT_TRUE(face) << '"' << name << '"';
        EXPECT_FALSE(face->file.empty());
    }
}

TEST(FontMatch, CoveringFindsAKoreanFaceForHangulAndNothingForANoncharacter) {
    const auto korean = matchFontCovering(kArialBold, kGa);
    ASSERT_TRUE(korean);
    EXPECT_NE("Liberation Sans", korean->family);
    EXPECT_FALSE(matchFontCovering(kArialBold, kNoFontHasIt));
}

class GlyphCacheTest : public ::testing::Test {
protected:
    GlyphCacheTest() : cache(GlyphCache::create(kArialBold, {20, 0, true, false})) {}
    std::unique_ptr<GlyphCache> cache;
};

TEST_F(GlyphCacheTest, TheCellIsTheRequestedHeightWithTheBaselineInside) {
    ASSERT_TRUE(cache);
    EXPECT_EQ(20, cache->cellHeight());
    EXPECT_GT(cache->ascent(), 10);
    EXPECT_LT(cache->ascent(), 20);
}

TEST_F(GlyphCacheTest, AGlyphIsRenderedOnceAndKept) {
    ASSERT_TRUE(cache);
    const Glyph& first = cache->glyph(U'W');
    EXPECT_EQ(&first, &cache->glyph(U'W'));
    EXPECT_GT(first.advance, 0);
    EXPECT_EQ(std::size_t(first.width) * first.height, first.coverage.size());
    // Bold stems are wider than a pixel, so some pixel is fully covered.
    EXPECT_NE(first.coverage.end(), std::find(first.coverage.begin(), first.coverage.end(), 255));
}

TEST_F(GlyphCacheTest, HangulComesFromTheFallbackNotAsTheMissingBox) {
    ASSERT_TRUE(cache);
    const Glyph& missing = cache->glyph(kNoFontHasIt);
    const Glyph& ga = cache->glyph(kGa);
    const Glyph& na = cache->glyph(kNa);
    EXPECT_FALSE(ga.coverage.empty());
    EXPECT_NE(missing.coverage, ga.coverage);
    // Boxes would all look alike; two syllables do not.
    EXPECT_NE(ga.coverage, na.coverage);
    // A syllable block is about as tall as the Latin capitals, not the size of the whole cell.
    EXPECT_GT(ga.height, 8);
    EXPECT_LE(ga.height, 20);
}

TEST_F(GlyphCacheTest, ASpaceHasAnAdvanceAndNoCoverage) {
    ASSERT_TRUE(cache);
    const Glyph& space = cache->glyph(U' ');
    EXPECT_GT(space.advance, 0);
    EXPECT_TRUE(space.coverage.empty());
}

}  // namespace
