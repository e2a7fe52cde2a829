// The overlay in the presented frames: five lines of opaque yellow text at the top left, over
// the scene, and not a yellow pixel anywhere else.
#include "OverlayPixels.h"
#include "SceneFixture.h"

namespace test {
namespace {

class OverlayTest : public SceneTest {
protected:
    void SetUp() override {
        if (!view().m_pFont) GTEST_SKIP() << "no font could be made for the overlay";
        placeBoxesAway();
        settle();
    }
};

TEST_F(OverlayTest, YellowTextStandsAtTheTopLeftAndNowhereElse) {
    const QImage& frame = picture();
    int opaque = 0;
    ForEachPixelIn(frame, kOverlayArea, [&](int, int, QRgb c) {
        opaque += (c & 0xFFFFFF) == 0xFFFF00 ? 1 : 0;
    });
    EXPECT_GT(opaque, 500) << "the glyphs' cores are exactly the overlay's yellow";

    const int everywhere = CountOverlayPixels(frame, frame.rect());
    EXPECT_EQ(CountOverlayPixels(frame, kOverlayArea), everywhere) << "yellow outside the overlay";
    ForEachPixelIn(frame, frame.rect(), [&](int x, int, QRgb c) {
        if (IsOverlayYellow(c)) {
            ASSERT_GE(x, 5) << "left of the lines' left edge";
        }
    });
}

TEST_F(OverlayTest, EachOfTheFiveLinesHasText) {
    for (int line = 1; line <= 5; ++line) {
        const QRect band = OverlayLine(line);
        EXPECT_GT(CountOverlayPixels(picture(), band.adjusted(0, 2, 0, -2)), 50) << "line " << line;
    }
    // Line 2, the longest help text, reaches furthest.
    const int longest = RightmostOverlayPixel(picture(), OverlayLine(2));
    for (int line : {1, 3, 4, 5})
        EXPECT_LT(RightmostOverlayPixel(picture(), OverlayLine(line)), longest) << "line " << line;
}

}  // namespace
}  // namespace test
