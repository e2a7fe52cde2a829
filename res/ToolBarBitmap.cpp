// The toolbar's button images, one 16 x 15 image per button in button order, side by side:
// scissors, two overlapping pages, a clipboard with a page, a printer, a question mark.
#include "Palette.h"
#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::BitmapResource;

// clang-format off
constexpr std::string_view kToolBarRows[] = {
    // cut                copy               paste              print              about
    "................" "................" "....#####......." "................" "................",
    "....#.....#....." ".########......." ".####aaa####...." "....#######....." ".....######.....",
    "....#.....#....." ".#WWWWWW#......." ".#oo#####oo#...." "....#WWWWW#....." "....##YYYY##....",
    ".....#...#......" ".#WnnnnW#......." ".#ooooooooo#...." "....#WnnnW#....." "...##YY##YY##...",
    ".....#...#......" ".#WWW#########.." ".#ooooooooo#...." "....#WWWWW#....." "...#YY#..#YY#...",
    "......#.#......." ".#Wnn#WWWWWWW#.." ".#oooo#########." ".#############.." "....##...#YY#...",
    ".......#........" ".#WWW#WnnnnnW#.." ".#oooo#WWWWWWW#." ".#...........#.." "........#YY#....",
    "......#.#......." ".#Wnn#WWWWWWW#.." ".#oooo#WnnnnnW#." ".#........GG.#.." ".......#YY#.....",
    ".....#...#......" ".#WWW#WnnnnnW#.." ".#oooo#WWWWWWW#." ".#...........#.." "......#YY#......",
    "...nnn...nnn...." ".#####WWWWWWW#.." ".#oooo#WnnnnnW#." ".#aaaaaaaaaaa#.." "......#YY#......",
    "..n...n.n...n..." ".....#WnnnnnW#.." ".#oooo#WWWWWWW#." ".#############.." "......####......",
    "..n...n.n...n..." ".....#WWWWWWW#.." ".#oooo#WnnnnnW#." "...#WWWWWWW#...." "................",
    "..n...n.n...n..." ".....#WnnnnnW#.." ".######WWWWWWW#." "...#WnnnnnW#...." "......####......",
    "...nnn...nnn...." ".....#WWWWWWW#.." "......#WWWWWWW#." "...#WWWWWWW#...." "......#YY#......",
    "................" ".....#########.." "......#########." "...#########...." "......####......",
};
// clang-format on

constexpr BitmapResource kBitmaps[] = {
    {IDR_MAINFRAME, {80, 15, kPaletteChars, kPaletteColors, kToolBarRows}},
};

}  // namespace

std::span<const BitmapResource> bitmaps() {
    return kBitmaps;
}

}  // namespace res
