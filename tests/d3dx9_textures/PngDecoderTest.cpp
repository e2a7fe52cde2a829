#include <string_view>

#include <gtest/gtest.h>
#include <png.h>

#include "DecoderTesting.h"
#include "PeakMemory.h"
#include "TestFiles.h"
#include "d3dx9/PngDecoder.h"

namespace {

using platform::d3dx9::decodePng;
using test::Bytes;
using test::describe;
using test::PngFile;

const std::vector<std::uint32_t> kPicture = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                             0xFFFFFFFF, 0xFF000000, 0xFF102030};
const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF,
                                             0xFFFFFF, 0x000000, 0x102030};
const std::vector<Bytes> kRgbRows = {{0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF},
                                     {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10, 0x20, 0x30}};
const std::vector<Bytes> kRgbaRows = {
    {0xFF, 0x00, 0x00, 0x80, 0x00, 0xFF, 0x00, 0xC0, 0x00, 0x00, 0xFF, 0x00},
    {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x10, 0x20, 0x30, 0x40}};
const std::vector<std::uint32_t> kRgbaPicture = {0x80FF0000, 0xC000FF00, 0x000000FF,
                                                 0xFFFFFFFF, 0x01000000, 0x40102030};
const std::vector<Bytes> kGreyRows = {{0x00, 0x7F, 0xFF}, {0x10, 0x20, 0x30}};
const std::vector<std::uint32_t> kGreyPicture = {0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF,
                                                 0xFF101010, 0xFF202020, 0xFF303030};
const std::vector<Bytes> kGreyAlphaRows = {{0x00, 0x80, 0x7F, 0xC0, 0xFF, 0x00},
                                           {0x10, 0xFF, 0x20, 0x01, 0x30, 0x40}};
const std::vector<std::uint32_t> kGreyAlphaPicture = {0x80000000, 0xC07F7F7F, 0x00FFFFFF,
                                                      0xFF101010, 0x01202020, 0x40303030};

// 16-bit samples b * 257 (the byte twice) scale back to exactly b.
std::vector<Bytes> widened(const std::vector<Bytes>& rows) {
    std::vector<Bytes> out;
    for (const Bytes& row : rows) {
        Bytes wide;
        for (std::uint8_t b : row) wide.insert(wide.end(), {b, b});
        out.push_back(wide);
    }
    return out;
}

PngFile png(int colorType, int bitDepth, std::vector<Bytes> rows) {
    PngFile file;
    file.colorType = colorType;
    file.bitDepth = bitDepth;
    file.rows = std::move(rows);
    return file;
}

PngFile paletted(int bitDepth, std::vector<std::uint32_t> palette, std::vector<Bytes> rows,
                 Bytes transparency = {}) {
    PngFile file = png(PNG_COLOR_TYPE_PALETTE, bitDepth, std::move(rows));
    file.palette = std::move(palette);
    file.transparency = std::move(transparency);
    return file;
}

PngFile withTransparency(PngFile file, Bytes transparency) {
    file.transparency = std::move(transparency);
    return file;
}

struct ValidCase {
    int line;
    PngFile file;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha;
};

std::vector<ValidCase> validCases() {
    constexpr int kGrey = PNG_COLOR_TYPE_GRAY;
    constexpr int kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA;
    constexpr int kRgb = PNG_COLOR_TYPE_RGB;
    constexpr int kRgba = PNG_COLOR_TYPE_RGBA;
    const std::uint32_t w = 0xFFFFFFFF, k = 0xFF000000;
    PngFile interlaced = png(kRgb, 8, kRgbRows);
    interlaced.interlaced = true;
    const std::uint32_t a = 0xFF112233, b = 0xFFAABBCC;

    return {
        {__LINE__, png(kRgb, 8, kRgbRows), kPicture, false},
        {__LINE__, png(kRgb, 16, widened(kRgbRows)), kPicture, false},
        {__LINE__, interlaced, kPicture, false},
        {__LINE__, png(kRgba, 8, kRgbaRows), kRgbaPicture, true},
        {__LINE__, png(kRgba, 16, widened(kRgbaRows)), kRgbaPicture, true},
        {__LINE__, png(kGrey, 8, kGreyRows), kGreyPicture, false},
        {__LINE__, png(kGrey, 16, widened(kGreyRows)), kGreyPicture, false},
        // Low grey depths scale to the full range: 1 is 255 at 1 bit, 85 at 2 bits, 17 at 4.
        {__LINE__, png(kGrey, 1, {{0xA0}, {0x60}}), {w, k, w, k, w, w}, false},
        {__LINE__,
         png(kGrey, 2, {{0x18}, {0xE4}}),
         {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF, 0xFFAAAAAA, 0xFF555555},
         false},
        {__LINE__,
         png(kGrey, 4, {{0x05, 0xA0}, {0xF1, 0x20}}),
         {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF, 0xFF111111, 0xFF222222},
         false},
        {__LINE__, png(kGreyAlpha, 8, kGreyAlphaRows), kGreyAlphaPicture, true},
        {__LINE__, png(kGreyAlpha, 16, widened(kGreyAlphaRows)), kGreyAlphaPicture, true},
        {__LINE__, paletted(1, {0x112233, 0xAABBCC}, {{0xA0}, {0x60}}), {b, a, b, a, b, b}, false},
        {__LINE__,
         paletted(2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {{0x18}, {0xC4}}),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00},
         false},
        {__LINE__, paletted(4, kPalette, {{0x01, 0x20}, {0x34, 0x50}}), kPicture, false},
        {__LINE__, paletted(8, kPalette, {{0, 1, 2}, {3, 4, 5}}), kPicture, false},
        // tRNS: alpha for the first palette entries, the rest opaque...
        {__LINE__,
         paletted(8, kPalette, {{0, 1, 2}, {3, 4, 5}}, {0x00, 0x80}),
         {0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF102030},
         true},
        // ...or one grey level or one colour made fully transparent.
        {__LINE__,
         withTransparency(png(kGrey, 8, kGreyRows), {0x00, 0x7F}),
         {0xFF000000, 0x007F7F7F, 0xFFFFFFFF, 0xFF101010, 0xFF202020, 0xFF303030},
         true},
        {__LINE__,
         withTransparency(png(kRgb, 8, kRgbRows), {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00}),
         {0xFFFF0000, 0x0000FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF102030},
         true},
        {__LINE__,
         withTransparency(png(kRgb, 16, widened(kRgbRows)), {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}),
         {0xFFFF0000, 0x0000FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF102030},
         true},
    };
}

TEST(PngDecoder, DecodesEveryColourTypeAndDepthTopRowFirst) {
    for (const ValidCase& c : validCases()) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(describe(3, 2, c.hasAlpha, c.pixels), describe(decodePng(writePng(c.file))));
    }
}

TEST(PngDecoder, RefusesEveryTruncation) {
    for (const ValidCase& c : validCases()) {
        SCOPED_TRACE(c.line);
        test::expectEveryTruncationFails([](const Bytes& f) { return decodePng(f); },
                                         writePng(c.file));
    }
}

// The IHDR chunk's fields, edited in a valid file, its CRC recomputed (or broken on purpose).
TEST(PngDecoder, RefusesBadHeaders) {
    constexpr std::size_t kIhdrType = 12;
    struct Case {
        int line;
        std::uint32_t width;
        std::uint32_t height;
        std::uint8_t bitDepth;
        std::uint8_t colorType;
        bool fixCrc;
    };
    const Case kCases[] = {
        {__LINE__, 3, 2, 8, 2, false},  // fields intact, CRC wrong
        {__LINE__, 0, 2, 8, 2, true},          {__LINE__, 3, 0, 8, 2, true},
        {__LINE__, 16385, 2, 8, 2, true},    // past the side limit
        {__LINE__, 4097, 4096, 8, 2, true},  // past the pixel budget
        {__LINE__, 0x80000000, 2, 8, 2, true}, {__LINE__, 3, 2, 3, 0, true},  // no such bit depth
        {__LINE__, 3, 2, 8, 1, true},                                         // no such colour type
        {__LINE__, 3, 2, 16, 3, true},  // palettes stop at 8 bits
        {__LINE__, 3, 2, 8, 3, true},   // a palette image without PLTE
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        Bytes file = writePng(png(PNG_COLOR_TYPE_RGB, 8, kRgbRows));
        const auto put32 = [&](std::size_t offset, std::uint32_t value) {
            for (int i = 0; i < 4; ++i)
                file[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
        };
        put32(kIhdrType + 4, c.width);
        put32(kIhdrType + 8, c.height);
        file[kIhdrType + 12] = c.bitDepth;
        file[kIhdrType + 13] = c.colorType;
        if (c.fixCrc)
            test::fixPngCrc(file, kIhdrType);
        else
            file[kIhdrType + 4 + 13] ^= 0x01;  // the CRC's first byte
        EXPECT_EQ("no image", describe(decodePng(file)));
    }
}

// libpng would take (and zero) the whole declared length of a text or profile chunk before
// finding the data missing: 2 GiB for a 52-byte file.
TEST(PngDecoder, RefusesAChunkThatClaimsMoreThanTheFileHoldsWithinABoundedPeak) {
    const Bytes keyword = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0};
    Bytes text = keyword;
    text.insert(text.end(), {'a', 'b', 'c'});
    Bytes compressed = keyword;
    compressed.insert(compressed.end(), {0, 0x78, 0x9C});
    struct Case {
        int line;
        std::string_view type;
        std::uint32_t length;
        Bytes data;
    };
    const Case kCases[] = {
        {__LINE__, "tEXt", 0x7FFFFFFF, text},  // 52 bytes in all
        {__LINE__, "zTXt", 0x7FFFFFFF, compressed},
        {__LINE__, "iTXt", 0x7FFFFFFF, text},
        {__LINE__, "iCCP", 0x7FFFFFFF, compressed},
        {__LINE__, "sPLT", 0x7FFFFFFF, text},
        {__LINE__, "prVt", 0x7FFFFFFF, text},  // a private chunk libpng does not know
        {__LINE__, "IDAT", 0x7FFFFFFF, {0x78, 0x9C}},
        {__LINE__, "tEXt", 0x7FFFFF, text},    // within libpng's chunk cap
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const Bytes file = test::pngWithClaimingChunk(c.type, c.length, c.data);
        std::string decoded;
        EXPECT_LT(test::PeakGrowthBytes([&] { decoded = describe(decodePng(file)); }),
                  4 * test::kMiB);
        EXPECT_EQ("no image", decoded);
    }
    EXPECT_EQ(52u, test::pngWithClaimingChunk("tEXt", 0x7FFFFFFF, text).size());
}

// Text and profile chunks are skipped unread, so even a malformed one costs the picture nothing.
TEST(PngDecoder, DecodesAFileWithTextAndProfileChunksWhole) {
    for (const Bytes& data : {Bytes{'T', 'i', 't', 'l', 'e', 0, 'x'}, Bytes{'n', 'o', 'n', 'u', 'l'}}) {
        Bytes file = writePng(png(PNG_COLOR_TYPE_RGB, 8, kRgbRows));
        for (std::string_view type : {"tEXt", "zTXt", "iCCP"}) {
            Bytes chunk = test::pngChunkStart(type, static_cast<std::uint32_t>(data.size()), data);
            chunk.resize(chunk.size() + 4);
            file.insert(file.begin() + test::kPngAfterHeader, chunk.begin(), chunk.end());
            test::fixPngCrc(file, test::kPngAfterHeader + 4);
        }
        EXPECT_EQ(describe(3, 2, false, kPicture), describe(decodePng(file)));
    }
}

TEST(PngDecoder, RefusesCorruptImageData) {
    Bytes file = writePng(png(PNG_COLOR_TYPE_RGB, 8, kRgbRows));
    // The first IDAT follows IHDR (8 signature + 25 chunk bytes); flip its zlib header.
    ASSERT_EQ('I', file[37]);
    file[41] ^= 0xFF;
    test::fixPngCrc(file, 37);
    EXPECT_EQ("no image", describe(decodePng(file)));
}

}  // namespace
