#include <gtest/gtest.h>

#include "DecoderTesting.h"
#include "TestFiles.h"
#include "d3dx9/TgaDecoder.h"

namespace {

using platform::d3dx9::decodeTga;
using test::Bytes;
using test::describe;
using test::TgaFile;

constexpr std::uint8_t kMapped = 1;
constexpr std::uint8_t kTrue = 2;
constexpr std::uint8_t kGrey = 3;
constexpr std::uint8_t kMappedRle = 9;
constexpr std::uint8_t kTrueRle = 10;
constexpr std::uint8_t kGreyRle = 11;
constexpr std::uint8_t kTopLeft = 0x20;
constexpr std::uint8_t kRightToLeft = 0x10;

const std::vector<std::uint32_t> kPicture = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                             0xFFFFFFFF, 0xFF000000, 0xFF102030};
const Bytes kBgrTop = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00};
const Bytes kBgrBottom = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x30, 0x20, 0x10};
// kPicture's colours as a colour map of 24-bit entries.
const Bytes kBgrMap = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00,
                       0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x30, 0x20, 0x10};
// A1R5G5B5: red, green with its alpha bit clear, blue; white, black, (1, 1, 1).
const Bytes kArgb1555Top = {0x00, 0xFC, 0xE0, 0x03, 0x1F, 0x80};
const Bytes kArgb1555Bottom = {0xFF, 0xFF, 0x00, 0x80, 0x21, 0x84};
const std::vector<std::uint32_t> kArgb1555Picture = {0xFFFF0000, 0x0000FF00, 0xFF0000FF,
                                                     0xFFFFFFFF, 0xFF000000, 0xFF080808};
// 32-bit blue, green, red, alpha.
const Bytes kBgraTop = {0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0xC0, 0xFF, 0x00, 0x00, 0x00};
const Bytes kBgraBottom = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x30, 0x20, 0x10, 0x40};
const std::vector<std::uint32_t> kBgraPicture = {0x80FF0000, 0xC000FF00, 0x000000FF,
                                                 0xFFFFFFFF, 0x01000000, 0x40102030};

Bytes join(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

TgaFile tga(std::uint8_t type, std::uint8_t bits, std::uint8_t descriptor, Bytes pixels) {
    TgaFile file;
    file.imageType = type;
    file.pixelBits = bits;
    file.descriptor = descriptor;
    file.pixels = std::move(pixels);
    return file;
}

TgaFile mapped(std::uint8_t type, std::uint8_t entryBits, std::uint8_t descriptor, Bytes map,
               Bytes indices) {
    TgaFile file = tga(type, 8, descriptor, std::move(indices));
    file.colorMapType = 1;
    file.mapFirst = 2;  // indices start at 2, so an index used as an offset shows
    file.mapEntryBits = entryBits;
    file.mapLength = static_cast<std::uint16_t>(map.size() / ((entryBits + 7) / 8));
    file.colorMap = std::move(map);
    return file;
}

struct ValidCase {
    int line;
    TgaFile file;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha;
};

std::vector<ValidCase> validCases() {
    TgaFile withIdAndUnusedMap = tga(kTrue, 24, 0, join(kBgrBottom, kBgrTop));
    withIdAndUnusedMap.id = {'o', 'r', 'v', 'e', 'k'};
    withIdAndUnusedMap.colorMapType = 1;
    withIdAndUnusedMap.mapEntryBits = 24;
    withIdAndUnusedMap.mapLength = 2;
    withIdAndUnusedMap.colorMap = Bytes(6, 0xEE);
    const Bytes kArgb1555Map = join(kArgb1555Top, kArgb1555Bottom);
    const Bytes kBgraMap = join(kBgraTop, kBgraBottom);
    const std::uint32_t w = 0xFFFFFFFF, g = 0xFF00FF00, b = 0xFF0000FF;

    return {
        {__LINE__, tga(kTrue, 24, 0, join(kBgrBottom, kBgrTop)), kPicture, false},
        {__LINE__, tga(kTrue, 24, kTopLeft, join(kBgrTop, kBgrBottom)), kPicture, false},
        {__LINE__,
         tga(kTrue, 24, kTopLeft | kRightToLeft,
             {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,    // blue green red
              0x30, 0x20, 0x10, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF}),  // dark black white
         kPicture, false},
        {__LINE__, withIdAndUnusedMap, kPicture, false},
        {__LINE__, tga(kTrue, 32, kTopLeft | 8, join(kBgraTop, kBgraBottom)), kBgraPicture, true},
        // No attribute bits counted: the fourth byte is not alpha.
        {__LINE__,
         tga(kTrue, 32, kTopLeft, join(kBgraTop, kBgraBottom)),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF102030},
         false},
        {__LINE__, tga(kTrue, 16, kTopLeft | 1, join(kArgb1555Top, kArgb1555Bottom)),
         kArgb1555Picture, true},
        {__LINE__,
         tga(kTrue, 15, kTopLeft, join(kArgb1555Top, kArgb1555Bottom)),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF080808},
         false},
        {__LINE__,
         tga(kGrey, 8, 0, {0x10, 0x20, 0x30, 0x00, 0x7F, 0xFF}),
         {0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF, 0xFF101010, 0xFF202020, 0xFF303030},
         false},
        {__LINE__, mapped(kMapped, 24, 0, kBgrMap, {5, 6, 7, 2, 3, 4}), kPicture, false},
        {__LINE__, mapped(kMapped, 32, kTopLeft | 8, kBgraMap, {2, 3, 4, 5, 6, 7}), kBgraPicture,
         true},
        {__LINE__, mapped(kMapped, 16, kTopLeft | 1, kArgb1555Map, {2, 3, 4, 5, 6, 7}),
         kArgb1555Picture, true},
        // A run of four white pixels carries on from the bottom row into the top one.
        {__LINE__,
         tga(kTrueRle, 24, 0, {0x83, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00}),
         {w, g, b, w, w, w},
         false},
        {__LINE__,
         tga(kTrueRle, 32, kTopLeft | 8,
             join({0x02}, join(kBgraTop, {0x82, 0x10, 0x20, 0x30, 0x40}))),
         {0x80FF0000, 0xC000FF00, 0x000000FF, 0x40302010, 0x40302010, 0x40302010},
         true},
        {__LINE__,
         tga(kGreyRle, 8, 0, {0x00, 0x10, 0x84, 0x80}),
         {0xFF808080, 0xFF808080, 0xFF808080, 0xFF101010, 0xFF808080, 0xFF808080},
         false},
        {__LINE__,
         mapped(kMappedRle, 24, kTopLeft, kBgrMap, {0x02, 2, 3, 4, 0x82, 7}),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF102030, 0xFF102030, 0xFF102030},
         false},
    };
}

TEST(TgaDecoder, DecodesEverySupportedKindTopRowFirst) {
    for (const ValidCase& c : validCases()) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(describe(3, 2, c.hasAlpha, c.pixels), describe(decodeTga(writeTga(c.file))));
    }
}

TEST(TgaDecoder, RefusesEveryTruncation) {
    for (const ValidCase& c : validCases()) {
        SCOPED_TRACE(c.line);
        test::expectEveryTruncationFails([](const Bytes& f) { return decodeTga(f); },
                                         writeTga(c.file));
    }
}

TEST(TgaDecoder, RefusesMalformedHeadersAndData) {
    struct Case {
        int line;
        TgaFile file;
    };
    const auto with = [](TgaFile file, auto change) {
        change(file);
        return file;
    };
    const TgaFile plain = tga(kTrue, 24, 0, join(kBgrBottom, kBgrTop));
    const TgaFile indexed = mapped(kMapped, 24, 0, kBgrMap, {5, 6, 7, 2, 3, 4});
    const Case kCases[] = {
        {__LINE__, with(plain, [](TgaFile& t) { t.colorMapType = 2; })},
        {__LINE__, with(plain, [](TgaFile& t) { t.imageType = 0; })},  // no image data
        {__LINE__, with(plain, [](TgaFile& t) { t.imageType = 4; })},
        {__LINE__, with(plain, [](TgaFile& t) { t.imageType = 32; })},  // Huffman: not supported
        {__LINE__, with(plain, [](TgaFile& t) { t.width = 0; })},
        {__LINE__, with(plain, [](TgaFile& t) { t.height = 0; })},
        {__LINE__, with(plain, [](TgaFile& t) { t.pixelBits = 12; })},
        {__LINE__, with(plain, [](TgaFile& t) { t.width = 20000; })},  // side limit
        {__LINE__, with(plain,
                        [](TgaFile& t) {
                            t.width = 300;
                            t.height = 300;
                        })},  // too few bytes
        {__LINE__, tga(kGrey, 16, 0, Bytes(12))},
        {__LINE__, with(indexed,
                        [](TgaFile& t) {
                            t.colorMapType = 0;
                            t.colorMap.clear();
                        })},
        {__LINE__, with(indexed, [](TgaFile& t) { t.mapEntryBits = 8; })},
        {__LINE__, with(indexed,
                        [](TgaFile& t) {
                            t.mapLength = 0;
                            t.colorMap.clear();
                        })},
        {__LINE__, with(indexed,
                        [](TgaFile& t) {
                            t.pixelBits = 16;
                            t.pixels = Bytes(12, 2);
                        })},
        {__LINE__, with(indexed, [](TgaFile& t) { t.pixels[5] = 8; })},   // past the map's end
        {__LINE__, with(indexed, [](TgaFile& t) { t.pixels[0] = 1; })},   // below its first entry
        {__LINE__, tga(kGreyRle, 8, 0, {0x86, 0x10})},                    // run of 7 for 6 pixels
        {__LINE__, tga(kGreyRle, 8, 0, {0x84, 0x10, 0x01, 0x20, 0x30})},  // raw packet spills
        {__LINE__, tga(kGreyRle, 8, 0, {0x04, 0x10, 0x20, 0x30})},        // stops short
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ("no image", describe(decodeTga(writeTga(c.file))));
    }
}

}  // namespace
