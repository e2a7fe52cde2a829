#include "FontTesting.h"

namespace test {
namespace {

using FontCreate = FontFixture;

ID3DXFont* const kUntouched = reinterpret_cast<ID3DXFont*>(0x1234);

TEST_F(FontCreate, TheOverlayFontIsMade) {
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, createOverlayFont(device_.get(), &font));
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(2u, font->AddRef());
    EXPECT_EQ(1u, font->Release());
    EXPECT_EQ(0u, font->Release());
}

TEST_F(FontCreate, BadArgumentsFailAndLeaveTheOutPointerAlone) {
    struct Case {
        const char* name;
        bool device;
        INT height;
        UINT width;
    };
    const Case cases[] = {
        {"no device", false, 20, 0},
        {"a cell taller than any back buffer", true, 100000, 0},
        {"a character height past the limit", true, INT_MIN, 0},
        {"a width past the limit", true, 20, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        ID3DXFont* font = kUntouched;
        EXPECT_EQ(D3DERR_INVALIDCALL,
                  D3DXCreateFontA(c.device ? device_.get() : nullptr, c.height, c.width, FW_BOLD,
                                  0, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "Arial", &font))
            << c.name;
        EXPECT_EQ(kUntouched, font) << c.name;
    }
    EXPECT_EQ(D3DERR_INVALIDCALL, createOverlayFont(device_.get(), nullptr));
}

TEST_F(FontCreate, AnUnknownOrMissingFaceNameStillDraws) {
    for (const char* face : {"No Such Face 31f9", "", static_cast<const char*>(nullptr)}) {
        ComRef<ID3DXFont> font;
        ASSERT_EQ(D3D_OK, createOverlayFont(device_.get(), font.put(), face));
        EXPECT_FALSE(drawn(*font.get(), "Text", 5, 5).changed().empty());
    }
}

TEST_F(FontCreate, TheHeightIsTheCellAndANegativeOneTheCharacterHeight) {
    struct Case {
        INT height;
        int lineLow, lineHigh;  // what DrawTextA returns for one line
    };
    const Case cases[] = {
        {20, 20, 20},
        {-20, 21, 26},  // the em square plus the face's room above and below it
        {0, 8, 32},     // a default size
        {1, 1, 1},
    };
    for (const Case& c : cases) {
        ComRef<ID3DXFont> font;
        ASSERT_EQ(D3D_OK, D3DXCreateFontA(device_.get(), c.height, 0, FW_NORMAL, 0, FALSE,
                                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                          DEFAULT_PITCH | FF_DONTCARE, "Arial", font.put()))
            << c.height;
        RECT rect{0, 0, 0, 0};
        const INT line = font->DrawTextA(nullptr, "Ag", -1, &rect, DT_CALCRECT, kYellow);
        EXPECT_GE(line, c.lineLow) << c.height;
        EXPECT_LE(line, c.lineHigh) << c.height;
    }
}

TEST_F(FontCreate, TheFontKeepsTheDeviceAliveAfterTheProgramReleasesIt) {
    ComRef<ID3DXFont> font = overlayFont();
    IDirect3DDevice9* device = device_.get();
    const ULONG withFont = device->AddRef() - 1;
    device->Release();
    EXPECT_EQ(2u, withFont);  // the fixture's reference and the font's

    // The view releases the device before the font.
    device_.reset();
    RECT rect{5, 5, 0, 0};
    EXPECT_EQ(20, font->DrawTextA(nullptr, "FPS", -1, &rect, DT_NOCLIP, kYellow));
    font.reset();  // the last reference on the device goes with the font
}

}  // namespace
}  // namespace test
