#include <climits>
#include <memory>
#include <string>

#include "FontTesting.h"

namespace test {
namespace {

// The overlay's five lines at their tops; the Korean texts in UTF-8, this platform's narrow
// code page.
struct OverlayLine {
    int top;
    const char* text;
};
constexpr OverlayLine kOverlay[] = {
    {5, "FPS: 60.500000"},
    {25, "일정 영역에서 반응; P_모으기/ O_흩트리기/ K_때리기"},
    {45, "ASDW_이동/ QE_회전"},
    {65, "1_모드 변환"},
    {85, "현재; 1인칭 모드( 마우스 오른쪽 클릭후 이동 = 회전 "},
};

class FontDraw : public FontFixture {
protected:
    ComRef<ID3DXFont> font = overlayFont();
};

bool isYellowShade(std::uint32_t pixel) {
    const std::uint32_t red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF;
    return red == green && (pixel & 0xFF) == 0 && red > 0;
}

TEST_F(FontDraw, YellowTextStartsAtTheRectanglesTopLeftAndStaysInItsLine) {
    clear();
    RECT rect{5, 5, 0, 0};
    EXPECT_EQ(20, font->DrawTextA(nullptr, kOverlay[0].text, -1, &rect, DT_NOCLIP, kYellow));
    const Picture p = picture();
    const Extent e = p.changed();
    ASSERT_FALSE(e.empty());
    EXPECT_GE(e.left, 5);
    EXPECT_LE(e.left, 7);
    EXPECT_GE(e.top, 5);
    EXPECT_LE(e.top, 9);  // the capitals reach close to the cell's top
    EXPECT_LE(e.bottom, 25);
    EXPECT_GT(e.right, 5 + 14 * 6);  // fourteen characters of a 20-pixel bold face
    int opaque = 0;
    for (std::uint32_t pixel : p.pixels) {
        if (pixel == kBackground) continue;
        EXPECT_TRUE(isYellowShade(pixel)) << std::hex << pixel;
        opaque += pixel == kYellow;
    }
    EXPECT_GT(opaque, 50);
}

TEST_F(FontDraw, TextLandsOnTheSceneAndChangesNothingElse) {
    const D3DCOLOR blue = 0xFF2040C0;
    clear(blue);
    RECT rect{5, 45, 0, 0};
    font->DrawTextA(nullptr, "ASDW", -1, &rect, DT_NOCLIP, kYellow);
    const Picture p = picture();
    const Extent e = p.changed(blue);
    ASSERT_FALSE(e.empty());
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (x < e.left || x >= e.right || y < e.top || y >= e.bottom) {
                ASSERT_EQ(blue, p.at(x, y)) << x << ", " << y;
            }
        }
    }
    EXPECT_GE(e.top, 45);
    EXPECT_LE(e.bottom, 65);
}

TEST_F(FontDraw, TheFiveOverlayLinesEachKeepToTheirOwnTwentyRows) {
    for (const OverlayLine& line : kOverlay) {
        const Extent e = drawn(*font.get(), line.text, 5, line.top).changed();
        ASSERT_FALSE(e.empty()) << line.text;
        EXPECT_GE(e.left, 5) << line.text;
        EXPECT_GE(e.top, line.top) << line.text;
        EXPECT_LE(e.bottom, line.top + 20) << line.text;
    }
}

TEST_F(FontDraw, HangulDrawsItsOwnShapesNotTheMissingBox) {
    const Picture missing = drawn(*font.get(), "\xF4\x8F\xBF\xBF", 5, 5);  // U+10FFFF
    const Picture ga = drawn(*font.get(), "가", 5, 5);
    const Picture na = drawn(*font.get(), "나", 5, 5);
    EXPECT_FALSE(ga.changed().empty());
    EXPECT_NE(missing, ga);
    EXPECT_NE(ga, na);
}

TEST_F(FontDraw, InvalidUtf8DrawsReplacementCharacters) {
    const Picture replaced = drawn(*font.get(), "A\xEF\xBF\xBD" "B", 5, 5);
    EXPECT_EQ(replaced, drawn(*font.get(), "A\xFF" "B", 5, 5));
    EXPECT_EQ(replaced, drawn(*font.get(), "A\xE2\x82" "B", 5, 5));  // cut short
    EXPECT_NE(replaced, drawn(*font.get(), "AB", 5, 5));
}

TEST_F(FontDraw, ACountStopsTheTextAndNothingPastItIsRead) {
    // No terminating zero: the sanitizer build catches a read past the count.
    const std::string text = "AB가";
    const auto block = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), block.get());
    EXPECT_EQ(drawn(*font.get(), "A", 5, 5), drawn(*font.get(), block.get(), 5, 5, DT_NOCLIP,
                                                    kYellow, 1));
    // A count that cuts the syllable's three bytes to two leaves one replacement character.
    EXPECT_EQ(drawn(*font.get(), "AB\xEF\xBF\xBD", 5, 5),
              drawn(*font.get(), block.get(), 5, 5, DT_NOCLIP, kYellow, 4));
    EXPECT_EQ(drawn(*font.get(), "AB가", 5, 5),
              drawn(*font.get(), block.get(), 5, 5, DT_NOCLIP, kYellow, int(text.size())));
}

TEST_F(FontDraw, NothingToDrawReturnsZero) {
    RECT rect{5, 5, 0, 0};
    EXPECT_EQ(0, font->DrawTextA(nullptr, "", -1, &rect, DT_NOCLIP, kYellow));
    EXPECT_EQ(0, font->DrawTextA(nullptr, "A", 0, &rect, DT_NOCLIP, kYellow));
    EXPECT_EQ(0, font->DrawTextA(nullptr, "A", -2, &rect, DT_NOCLIP, kYellow));
    EXPECT_EQ(0, font->DrawTextA(nullptr, nullptr, -1, &rect, DT_NOCLIP, kYellow));
    EXPECT_EQ(0, font->DrawTextA(nullptr, "A", -1, nullptr, DT_NOCLIP, kYellow));
    clear();
    font->DrawTextA(nullptr, "A", -1, &rect, DT_NOCLIP, 0x00FFFF00);  // fully transparent
    EXPECT_TRUE(picture().changed().empty());
}

// Text at or past the back buffer's edges: the part inside is exactly the text drawn in full
// elsewhere, moved; nothing is written outside (the sanitizer build checks the writes).
TEST_F(FontDraw, TextAtOrPastTheBackBuffersEdgesIsClipped) {
    const char* text = "MWgj|가";
    const Picture whole = drawn(*font.get(), text, 100, 50);
    const Extent inside = whole.changed();
    ASSERT_FALSE(inside.empty());
    struct Case {
        int x, y;
        bool visible;
    };
    const Case cases[] = {
        {-10, -8, true},
        {-1000, 5, false},
        {kWidth - 20, kHeight - 10, true},
        {kWidth, 5, false},
        {5, kHeight, false},
        {5, -20, false},
        {INT_MAX - 5, INT_MAX - 5, false},
        {INT_MIN, INT_MIN, false},
        {INT_MIN + 3, 40, false},
    };
    for (const Case& c : cases) {
        const Picture p = drawn(*font.get(), text, c.x, c.y);
        EXPECT_EQ(c.visible, !p.changed().empty()) << c.x << ", " << c.y;
        const long dx = long{c.x} - 100, dy = long{c.y} - 50;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const long fromX = x - dx, fromY = y - dy;
                const bool covered = fromX >= 0 && fromX < kWidth && fromY >= 0 && fromY < kHeight;
                const std::uint32_t expected = covered ? whole.at(int(fromX), int(fromY))
                                                       : kBackground;
                ASSERT_EQ(expected, p.at(x, y)) << "text at " << c.x << ", " << c.y;
            }
    }
}

TEST_F(FontDraw, WithoutNoClipTheRectangleClips) {
    const Picture free = drawn(*font.get(), "MMMM", 5, 5);
    ASSERT_GT(free.changed().right, 20);
    clear();
    RECT rect{5, 5, 20, 14};
    EXPECT_EQ(20, font->DrawTextA(nullptr, "MMMM", -1, &rect, 0, kYellow));
    const Picture clipped = picture();
    EXPECT_FALSE(clipped.changed().empty());
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            ASSERT_EQ(inside ? free.at(x, y) : kBackground, clipped.at(x, y)) << x << ", " << y;
        }
    }
    // The overlay's rectangle has its right and bottom above and left of its corner: without
    // DT_NOCLIP nothing of it would show.
    EXPECT_TRUE(drawn(*font.get(), "MMMM", 5, 5, 0).changed().empty());
}

TEST_F(FontDraw, LineBreaksStartLinesOneCellApart) {
    clear();
    RECT rect{5, 5, 0, 0};
    EXPECT_EQ(60, font->DrawTextA(nullptr, "A\nB\r\nC", -1, &rect, DT_NOCLIP, kYellow));
    const Picture three = picture();
    drawn(*font.get(), "A", 5, 5);
    RECT second{5, 25, 0, 0}, third{5, 45, 0, 0};
    font->DrawTextA(nullptr, "B", -1, &second, DT_NOCLIP, kYellow);
    font->DrawTextA(nullptr, "C", -1, &third, DT_NOCLIP, kYellow);
    EXPECT_EQ(picture(), three);
    // On a single line the breaks take no room.
    EXPECT_EQ(drawn(*font.get(), "AB", 5, 5),
              drawn(*font.get(), "A\nB", 5, 5, DT_NOCLIP | DT_SINGLELINE));
}

TEST_F(FontDraw, CalcRectMeasuresWithoutDrawing) {
    clear();
    RECT rect{5, 5, 0, 0};
    EXPECT_EQ(40, font->DrawTextA(nullptr, "MMMM\nM", -1, &rect, DT_CALCRECT, kYellow));
    EXPECT_TRUE(picture().changed().empty());
    EXPECT_EQ(45, rect.bottom);
    const Extent drawnExtent = drawn(*font.get(), "MMMM", 5, 5).changed();
    EXPECT_GE(rect.right, drawnExtent.right - 1);
    EXPECT_LE(rect.right, drawnExtent.right + 3);
}

TEST_F(FontDraw, AlignmentPlacesTheTextInTheRectangle) {
    RECT measure{0, 0, 0, 0};
    font->DrawTextA(nullptr, "MM", -1, &measure, DT_CALCRECT, kYellow);
    const int width = measure.right;
    struct Case {
        DWORD format;
        int shiftX, shiftY;  // from the top-left placement in a 200 x 100 rectangle at (10, 10)
    };
    const Case cases[] = {
        {DT_RIGHT, 200 - width, 0},
        {DT_CENTER, (200 - width) / 2, 0},
        {DT_BOTTOM, 0, 80},
        {DT_VCENTER | DT_CENTER, (200 - width) / 2, 40},
    };
    for (const Case& c : cases) {
        clear();
        RECT rect{10, 10, 210, 110};
        font->DrawTextA(nullptr, "MM", -1, &rect, c.format, kYellow);
        const Picture aligned = picture();
        EXPECT_EQ(drawn(*font.get(), "MM", 10 + c.shiftX, 10 + c.shiftY), aligned)
            << "format " << c.format;
    }
}

}  // namespace
}  // namespace test
