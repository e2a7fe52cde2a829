#include <gtest/gtest.h>

#include <vector>

#include "ResourceTesting.h"
#include "resource.h"

namespace {

using platform::mfc::applicationResources;
using platform::mfc::PictureResource;
using test::findById;
using test::pictureFault;

constexpr std::uint32_t kSilver = 0xFFC0C0C0;  // the toolbar's background: the button face
constexpr std::uint32_t kYellow = 0xFFFFFF00;

std::uint32_t colorAt(const PictureResource& picture, int x, int y) {
    return picture.argb[picture.palette.find(picture.rows[y][x])];
}

TEST(MainFrameToolBar, HasSevenItemsOfSixteenByFifteen) {
    const auto* toolBar = findById(applicationResources().toolBars, IDR_MAINFRAME);
    ASSERT_NE(nullptr, toolBar);
    EXPECT_EQ(1, toolBar->version);
    EXPECT_EQ(16, toolBar->imageWidth);
    EXPECT_EQ(15, toolBar->imageHeight);
    const std::vector<UINT> kItems = {ID_EDIT_CUT,   ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
                                      ID_FILE_PRINT, ID_SEPARATOR, ID_APP_ABOUT};
    EXPECT_EQ(kItems, std::vector<UINT>(toolBar->items.begin(), toolBar->items.end()));
}

// The checker the tables are held to, on pictures with one fault each.
TEST(PictureFault, NamesWhatIsWrong) {
    constexpr std::uint32_t kTwo[] = {0xFF000000, 0xFFFFFFFF};
    constexpr std::uint32_t kOne[] = {0xFF000000};
    constexpr std::string_view kGood[] = {"#.", ".#"};
    constexpr std::string_view kShortRow[] = {"#.", "#"};
    constexpr std::string_view kLongRow[] = {"#..", ".#"};
    constexpr std::string_view kStray[] = {"#.", ".x"};
    constexpr std::string_view kOneRow[] = {"#."};
    struct Case {
        int line;
        PictureResource picture;
        std::optional<std::string> fault;
    };
    const Case kCases[] = {
        {__LINE__, {2, 2, "#.", kTwo, kGood}, std::nullopt},
        {__LINE__, {2, 2, "#.", kTwo, kShortRow}, "row 1 is 1 wide"},
        {__LINE__, {2, 2, "#.", kTwo, kLongRow}, "row 0 is 3 wide"},
        {__LINE__, {2, 2, "#.", kTwo, kStray}, "row 1 column 1 is 'x'"},
        {__LINE__, {2, 2, "#.", kTwo, kOneRow}, "has 1 rows"},
        {__LINE__, {2, 2, "#.", kOne, kGood}, "palette and colours differ in count"},
        {__LINE__, {2, 2, "##", kTwo, kGood}, "a palette character stands for two colours"},
        {__LINE__, {0, 2, "#.", kTwo, kGood}, "empty size"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.fault, pictureFault(c.picture));
    }
}

TEST(Pictures, EveryRowHasTheDeclaredWidthAndOnlyPaletteCharacters) {
    const auto& resources = applicationResources();
    for (const auto& bitmap : resources.bitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(bitmap.id));
        EXPECT_EQ(std::nullopt, pictureFault(bitmap.picture));
    }
    for (const auto& icon : resources.icons) {
        for (const auto& image : icon.images) {
            SCOPED_TRACE("icon " + std::to_string(icon.id) + " at " + std::to_string(image.width));
            EXPECT_EQ(std::nullopt, pictureFault(image));
        }
    }
}

// One image per button, side by side; each framed by background at its corners, so an image
// shifted by a column or drawn too wide shows up here.
TEST(ToolBarBitmap, HoldsOneFramedImagePerButton) {
    const auto& resources = applicationResources();
    const auto* toolBar = findById(resources.toolBars, IDR_MAINFRAME);
    const auto* bitmap = findById(resources.bitmaps, IDR_MAINFRAME);
    ASSERT_TRUE(toolBar && bitmap);
    const PictureResource& picture = bitmap->picture;
    ASSERT_EQ(std::nullopt, pictureFault(picture));
    EXPECT_EQ(16u, picture.argb.size());
    const auto buttons = std::ranges::count_if(toolBar->items, [](UINT id) { return id != 0; });
    EXPECT_EQ(toolBar->imageWidth * buttons, picture.width);
    EXPECT_EQ(toolBar->imageHeight, picture.height);

    const int w = toolBar->imageWidth;
    const int h = toolBar->imageHeight;
    for (int image = 0; (image + 1) * w <= picture.width; ++image) {
        SCOPED_TRACE(image);
        const int left = image * w;
        EXPECT_EQ(kSilver, colorAt(picture, left, 0));
        EXPECT_EQ(kSilver, colorAt(picture, left + w - 1, 0));
        EXPECT_EQ(kSilver, colorAt(picture, left, h - 1));
        EXPECT_EQ(kSilver, colorAt(picture, left + w - 1, h - 1));
        int drawn = 0;
        for (int y = 0; y < h; ++y)
            for (int x = left; x < left + w; ++x) drawn += colorAt(picture, x, y) != kSilver;
        EXPECT_GT(drawn, w * h / 8);
    }
}

TEST(ToolBarBitmap, AboutImageIsAYellowQuestionMark) {
    const auto* bitmap = findById(applicationResources().bitmaps, IDR_MAINFRAME);
    ASSERT_NE(nullptr, bitmap);
    const PictureResource& picture = bitmap->picture;
    ASSERT_EQ(std::nullopt, pictureFault(picture));
    ASSERT_GE(picture.width, 16);
    int yellow = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = picture.width - 16; x < picture.width; ++x)
            yellow += colorAt(picture, x, y) == kYellow;
    EXPECT_GT(yellow, 10);
}

// An icon file stores sixteen colours and a mask: every pixel is opaque in one of at most sixteen
// colours, or fully clear.
TEST(MainFrameIcon, HasLargeAndSmallImagesInSixteenColours) {
    const auto* icon = findById(applicationResources().icons, IDR_MAINFRAME);
    ASSERT_NE(nullptr, icon);
    ASSERT_EQ(2u, icon->images.size());
    EXPECT_EQ(32, icon->images[0].width);
    EXPECT_EQ(32, icon->images[0].height);
    EXPECT_EQ(16, icon->images[1].width);
    EXPECT_EQ(16, icon->images[1].height);
    for (const auto& image : icon->images) {
        SCOPED_TRACE(image.width);
        const auto opaque =
            std::ranges::count_if(image.argb, [](std::uint32_t c) { return c >> 24 == 0xFF; });
        const auto clear =
            std::ranges::count_if(image.argb, [](std::uint32_t c) { return c >> 24 == 0; });
        EXPECT_LE(opaque, 16);
        EXPECT_EQ(image.argb.size(), static_cast<std::size_t>(opaque + clear));
    }
}

}  // namespace
