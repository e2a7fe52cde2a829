#include <gtest/gtest.h>

#include "DecoderTesting.h"
#include "TestFiles.h"
#include "d3dx9/BmpDecoder.h"

namespace {

using platform::d3dx9::decodeBmp;
using test::BmpFile;
using test::Bytes;
using test::describe;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// The 3x2 picture most cases store: six distinct colours, so a swapped row, a mirrored row or a
// swapped channel each show.
const std::vector<std::uint32_t> kPicture = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                             0xFFFFFFFF, 0xFF000000, 0xFF102030};
const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF,
                                             0xFFFFFF, 0x000000, 0x102030};
const Bytes kBgrTop = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00};
const Bytes kBgrBottom = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x30, 0x20, 0x10};

BmpFile bmp24() {
    BmpFile bmp;
    bmp.rows = {kBgrBottom, kBgrTop};
    return bmp;
}

BmpFile paletted(std::uint16_t bits, std::vector<Bytes> rows) {
    BmpFile bmp;
    bmp.bitCount = bits;
    bmp.palette = kPalette;
    bmp.colorsUsed = 6;
    bmp.rows = std::move(rows);
    return bmp;
}

BmpFile masked(std::uint16_t bits, std::uint32_t compression, std::uint32_t headerSize,
               std::vector<std::uint32_t> masks, std::vector<Bytes> rows) {
    BmpFile bmp;
    bmp.bitCount = bits;
    bmp.compression = compression;
    bmp.headerSize = headerSize;
    bmp.masks = std::move(masks);
    bmp.rows = std::move(rows);
    return bmp;
}

struct ValidCase {
    int line;
    BmpFile file;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha;
};

std::vector<ValidCase> validCases() {
    BmpFile topDown = bmp24();
    topDown.height = -2;
    topDown.rows = {kBgrTop, kBgrBottom};
    BmpFile v4 = bmp24();
    v4.headerSize = 108;
    BmpFile v5 = bmp24();
    v5.headerSize = 124;
    BmpFile onebit;
    onebit.bitCount = 1;
    onebit.palette = {0x112233, 0xAABBCC};  // colorsUsed 0: the full 2 entries
    onebit.rows = {{0x60}, {0xA0}};         // bottom 0 1 1, top 1 0 1, leftmost in the high bit
    const std::uint32_t a = 0xFF112233;
    const std::uint32_t b = 0xFFAABBCC;

    return {
        {__LINE__, bmp24(), kPicture, false},
        {__LINE__, topDown, kPicture, false},  // negative height: first row is the top
        {__LINE__, v4, kPicture, false},
        {__LINE__, v5, kPicture, false},
        {__LINE__, onebit, {b, a, b, a, b, b}, false},
        {__LINE__, paletted(4, {{0x34, 0x50}, {0x01, 0x20}}), kPicture, false},
        {__LINE__, paletted(8, {{3, 4, 5}, {0, 1, 2}}), kPicture, false},
        // 16-bit BI_RGB is X1R5G5B5; 5 bits widen so that 31 is 255 and 1 is 8.
        {__LINE__,
         masked(16, kBiRgb, 40, {},
                {{0xFF, 0x7F, 0x00, 0x00, 0x21, 0x84}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}}),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF080808},
         false},
        {__LINE__,
         masked(16, kBiBitfields, 40, {0xF800, 0x07E0, 0x001F},
                {{0xFF, 0xFF, 0x00, 0x00, 0x41, 0x08}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}}),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF080808},
         false},
        // A4R4G4B4 through a V3 header, whose alpha mask makes the image translucent.
        {__LINE__,
         masked(16, kBiBitfields, 56, {0x0F00, 0x00F0, 0x000F, 0xF000},
                {{0xFF, 0xFF, 0x00, 0x10, 0x23, 0x71}, {0x00, 0xFF, 0xF0, 0x80, 0x0F, 0x00}}),
         {0xFFFF0000, 0x8800FF00, 0x000000FF, 0xFFFFFFFF, 0x11000000, 0x77112233},
         true},
        // BI_RGB 32-bit: the fourth byte is unused, whatever it holds.
        {__LINE__,
         masked(32, kBiRgb, 40, {},
                {{0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x7F, 0x30, 0x20, 0x10, 0x7F},
                 {0x00, 0x00, 0xFF, 0x7F, 0x00, 0xFF, 0x00, 0x7F, 0xFF, 0x00, 0x00, 0x7F}}),
         kPicture, false},
        // Masks in an unusual order, after a 40-byte header: red in the low byte.
        {__LINE__,
         masked(32, kBiBitfields, 40, {0x000000FF, 0x0000FF00, 0x00FF0000},
                {{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x20, 0x30, 0x00},
                 {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00}}),
         kPicture, false},
        {__LINE__,
         masked(32, kBiBitfields, 124, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                {{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x30, 0x20, 0x10, 0x40},
                 {0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0xC0, 0xFF, 0x00, 0x00, 0x00}}),
         {0x80FF0000, 0xC000FF00, 0x000000FF, 0xFFFFFFFF, 0x01000000, 0x40102030},
         true},
        {__LINE__,
         masked(32, kBiAlphaBitfields, 40, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                {{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x30, 0x20, 0x10, 0x40},
                 {0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0xC0, 0xFF, 0x00, 0x00, 0x00}}),
         {0x80FF0000, 0xC000FF00, 0x000000FF, 0xFFFFFFFF, 0x01000000, 0x40102030},
         true},
    };
}

TEST(BmpDecoder, DecodesEverySupportedLayoutTopRowFirst) {
    for (const ValidCase& c : validCases()) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(describe(3, 2, c.hasAlpha, c.pixels), describe(decodeBmp(writeBmp(c.file))));
    }
}

TEST(BmpDecoder, RefusesEveryTruncation) {
    for (const ValidCase& c : validCases()) {
        SCOPED_TRACE(c.line);
        test::expectEveryTruncationFails([](const Bytes& f) { return decodeBmp(f); },
                                         writeBmp(c.file));
    }
}

TEST(BmpDecoder, RefusesMalformedHeaders) {
    struct Case {
        int line;
        BmpFile file;
    };
    const auto with = [](auto change) {
        BmpFile bmp = bmp24();
        change(bmp);
        return bmp;
    };
    const Case kCases[] = {
        {__LINE__, with([](BmpFile& b) { b.width = 0; })},
        {__LINE__, with([](BmpFile& b) { b.height = 0; })},
        {__LINE__, with([](BmpFile& b) { b.width = -3; })},
        {__LINE__, with([](BmpFile& b) { b.height = INT32_MIN; })},
        {__LINE__, with([](BmpFile& b) { b.width = 16385; })},   // past the side limit
        {__LINE__, with([](BmpFile& b) { b.height = 20000; })},  // and more rows than stored
        {__LINE__, with([](BmpFile& b) { b.bitCount = 7; })},
        {__LINE__, with([](BmpFile& b) { b.bitCount = 0; })},
        {__LINE__, with([](BmpFile& b) { b.headerSize = 64; })},  // OS/2 2.x: not supported
        {__LINE__, with([](BmpFile& b) { b.headerSize = 12; })},
        {__LINE__, with([](BmpFile& b) { b.compression = kBiRle8; })},
        {__LINE__, with([](BmpFile& b) {
             b.compression = kBiBitfields;
             b.masks = {0xFF0000, 0xFF00, 0xFF};
         })},
        {__LINE__,
         masked(16, kBiBitfields, 40, {0xF0F0, 0x0F00, 0x000F}, {Bytes(6), Bytes(6)})},  // gaps
        {__LINE__, masked(16, kBiBitfields, 40, {0x1F0000, 0x07E0, 0x001F},
                          {Bytes(6), Bytes(6)})},         // wider than 16 bits
        {__LINE__, paletted(8, {{3, 4, 5}, {0, 1, 6}})},  // index 6 of a 6-colour palette
        {__LINE__,
         [] {
             BmpFile b = paletted(4, {{0x34, 0x50}, {0x01, 0x20}});
             b.colorsUsed = 17;
             return b;
         }()},
        {__LINE__,
         [] {
             BmpFile b = paletted(8, {{3, 4, 5}, {0, 1, 2}});
             b.colorsUsed = 0;
             return b;
         }()},  // 256 entries claimed, 6 stored
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ("no image", describe(decodeBmp(writeBmp(c.file))));
    }
}

// Fields the writer computes, edited in place.
TEST(BmpDecoder, RefusesBadOffsetsAndPlanes) {
    struct Case {
        int line;
        std::size_t offset;
        std::size_t size;
        std::uint32_t value;
    };
    const Case kCases[] = {
        {__LINE__, 10, 4, 0xFFFFFFF0},  // pixels far past the end
        {__LINE__, 10, 4, 58},          // pixels past the end by a few bytes
        {__LINE__, 10, 4, 20},          // pixels inside the header
        {__LINE__, 26, 2, 2},           // two planes
        {__LINE__, 18, 4, 5000},        // 5000 pixels a row, far more bytes than stored
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        Bytes file = writeBmp(bmp24());
        for (std::size_t i = 0; i < c.size; ++i)
            file[c.offset + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
        EXPECT_EQ("no image", describe(decodeBmp(file)));
    }
}

// 1-bit rows keep even the largest files here small, so only the limits can refuse them.
TEST(BmpDecoder, EnforcesTheSideAndPixelLimits) {
    struct Case {
        int line;
        std::int32_t width;
        std::int32_t height;
        bool decodes;
    };
    const Case kCases[] = {
        {__LINE__, 16384, 1, true},    {__LINE__, 16385, 1, false},
        {__LINE__, 1, 16385, false},   {__LINE__, 4096, 4096, true},  // exactly the pixel budget
        {__LINE__, 4097, 4096, false},                                // one column past it
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        BmpFile bmp;
        bmp.bitCount = 1;
        bmp.width = c.width;
        bmp.height = c.height;
        bmp.palette = {0x000000, 0xFFFFFF};
        bmp.rows.assign(static_cast<std::size_t>(c.height),
                        Bytes(static_cast<std::size_t>(c.width + 7) / 8, 0xFF));
        const auto image = decodeBmp(writeBmp(bmp));
        ASSERT_EQ(c.decodes, image.has_value());
        if (image) {
            EXPECT_EQ(0xFFFFFFFFu, image->pixels.back());
        }
    }
}

TEST(BmpDecoder, IgnoresTheStoredFileSize) {
    Bytes file = writeBmp(bmp24());
    file[2] = file[3] = file[4] = file[5] = 0;
    EXPECT_EQ(describe(3, 2, false, kPicture), describe(decodeBmp(file)));
}

}  // namespace
