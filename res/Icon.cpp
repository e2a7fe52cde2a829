// The program's icon, shown by the About box: a cube seen from above a corner, lit from the top,
// drawn at 32 x 32 and 16 x 16. Blank pixels are clear, the icon's mask.
#include "Palette.h"
#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::IconResource;
using platform::mfc::PictureResource;

// clang-format off
constexpr std::string_view kLargeRows[] = {
    "              ####              ",
    "            ##CCCC##            ",
    "          ##CCCCCCCC##          ",
    "        ##CCCCCCCCCCCC##        ",
    "      ##CCCCCCCCCCCCCCCC##      ",
    "    ##CCCCCCCCCCCCCCCCCCCC##    ",
    "  ##CCCCCCCCCCCCCCCCCCCCCCCC##  ",
    "##CCCCCCCCCCCCCCCCCCCCCCCCCCCC##",
    "##CCCCCCCCCCCCCCCCCCCCCCCCCCCC##",
    "#B##CCCCCCCCCCCCCCCCCCCCCCCC##n#",
    "#BBB##CCCCCCCCCCCCCCCCCCCC##nnn#",
    "#BBBBB##CCCCCCCCCCCCCCCC##nnnnn#",
    "#BBBBBBB##CCCCCCCCCCCC##nnnnnnn#",
    "#BBBBBBBBB##CCCCCCCC##nnnnnnnnn#",
    "#BBBBBBBBBBB##CCCC##nnnnnnnnnnn#",
    "#BBBBBBBBBBBBB####nnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "#BBBBBBBBBBBBBB##nnnnnnnnnnnnnn#",
    "##BBBBBBBBBBBBB##nnnnnnnnnnnnn##",
    "  ##BBBBBBBBBBB##nnnnnnnnnnn##  ",
    "    ##BBBBBBBBB##nnnnnnnnn##    ",
    "      ##BBBBBBB##nnnnnnn##      ",
    "        ##BBBBB##nnnnn##        ",
    "          ##BBB##nnn##          ",
    "            ##B##n##            ",
    "              ####              ",
};

constexpr std::string_view kSmallRows[] = {
    "      ####      ",
    "    ##CCCC##    ",
    "  ##CCCCCCCC##  ",
    "##CCCCCCCCCCCC##",
    "##CCCCCCCCCCCC##",
    "#B##CCCCCCCC##n#",
    "#BBB##CCCC##nnn#",
    "#BBBBB####nnnnn#",
    "#BBBBBB##nnnnnn#",
    "#BBBBBB##nnnnnn#",
    "#BBBBBB##nnnnnn#",
    "#BBBBBB##nnnnnn#",
    "##BBBBB##nnnnn##",
    "  ##BBB##nnn##  ",
    "    ##B##n##    ",
    "      ####      ",
};
// clang-format on

constexpr PictureResource kMainFrameImages[] = {
    {32, 32, kIconPaletteChars, kIconPaletteColors, kLargeRows},
    {16, 16, kIconPaletteChars, kIconPaletteColors, kSmallRows},
};

constexpr IconResource kIcons[] = {
    {IDR_MAINFRAME, kMainFrameImages},
};

}  // namespace

std::span<const IconResource> icons() {
    return kIcons;
}

}  // namespace res
