#include <cstdlib>

#include <gtest/gtest.h>

#include "DecoderTesting.h"
#include "PeakMemory.h"
#include "TestFiles.h"
#include "d3dx9/JpegDecoder.h"

namespace {

using platform::d3dx9::decodeJpeg;
using platform::d3dx9::Image;
using test::Bytes;
using test::describe;

// 16 x 16 in four flat 8 x 8 blocks: red, green on top; blue, white below. Flat blocks at
// quality 100 without chroma subsampling come back within a step or two of the input.
Bytes quadrants(int components, const std::uint32_t (&colours)[4]) {
    Bytes samples;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t c = colours[(y / 8) * 2 + x / 8];
            if (components == 1) {
                samples.push_back(static_cast<std::uint8_t>(c));
            } else {
                samples.insert(samples.end(),
                               {static_cast<std::uint8_t>(c >> 16),
                                static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
            }
        }
    }
    return samples;
}

constexpr std::uint32_t kColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
constexpr std::uint32_t kGreys[4] = {0x20, 0x60, 0xA0, 0xE0};

// Returns the first pixel off by more than the tolerance in any channel, as text, or "".
std::string firstMismatch(const Image& image, const std::uint32_t (&expected)[4], bool grey) {
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            std::uint32_t want = expected[(y / 8) * 2 + x / 8];
            if (grey) want *= 0x010101;
            want |= 0xFF000000;
            const std::uint32_t got = image.pixels[y * image.width + x];
            for (int shift = 0; shift < 32; shift += 8) {
                const int diff =
                    static_cast<int>(got >> shift & 0xFF) - static_cast<int>(want >> shift & 0xFF);
                if (std::abs(diff) > 3) {
                    char text[64];
                    std::snprintf(text, sizeof text, "(%u, %u): %08x, want %08x", x, y, got, want);
                    return text;
                }
            }
        }
    }
    return "";
}

struct ValidCase {
    int line;
    int components;
    bool progressive;
};
const ValidCase kValidCases[] = {
    {__LINE__, 3, false},
    {__LINE__, 3, true},
    {__LINE__, 1, false},
    {__LINE__, 1, true},
};

Bytes validFile(const ValidCase& c) {
    const auto& colours = c.components == 1 ? kGreys : kColours;
    return test::writeJpeg(16, 16, c.components, quadrants(c.components, colours), c.progressive);
}

TEST(JpegDecoder, DecodesGreyAndColourTopRowFirst) {
    for (const ValidCase& c : kValidCases) {
        SCOPED_TRACE(c.line);
        const auto image = decodeJpeg(validFile(c));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(16u, image->width);
        EXPECT_EQ(16u, image->height);
        EXPECT_FALSE(image->hasAlpha);
        EXPECT_EQ("",
                  firstMismatch(*image, c.components == 1 ? kGreys : kColours, c.components == 1));
    }
}

TEST(JpegDecoder, RefusesEveryTruncation) {
    for (const ValidCase& c : kValidCases) {
        SCOPED_TRACE(c.line);
        test::expectEveryTruncationFails([](const Bytes& f) { return decodeJpeg(f); },
                                         validFile(c));
    }
}

TEST(JpegDecoder, RefusesCmyk) {
    EXPECT_EQ("no image", describe(decodeJpeg(test::writeJpeg(8, 8, 4, Bytes(8 * 8 * 4, 0x40)))));
}

constexpr std::uint8_t kBaseline = 0xC0;     // the start-of-frame markers
constexpr std::uint8_t kProgressive = 0xC2;

// The file with the size fields of its frame header replaced.
Bytes withFrameSize(Bytes file, std::uint8_t frameMarker, std::uint16_t width,
                    std::uint16_t height) {
    std::size_t frame = 2;
    while (frame + 9 < file.size() && !(file[frame] == 0xFF && file[frame + 1] == frameMarker))
        ++frame;
    EXPECT_LT(frame + 9, file.size()) << "no frame header";
    if (frame + 9 >= file.size()) return {};
    file[frame + 5] = static_cast<std::uint8_t>(height >> 8);
    file[frame + 6] = static_cast<std::uint8_t>(height);
    file[frame + 7] = static_cast<std::uint8_t>(width >> 8);
    file[frame + 8] = static_cast<std::uint8_t>(width);
    return file;
}

// The frame header's size fields, edited in a valid baseline file.
TEST(JpegDecoder, RefusesBadFrameSizes) {
    struct Case {
        int line;
        std::uint16_t width;
        std::uint16_t height;
    };
    const Case kCases[] = {
        {__LINE__, 0, 16},
        {__LINE__, 16, 0},  // a height given later by a DNL marker: not supported
        {__LINE__, 16385, 16},
        {__LINE__, 16, 65535},
        {__LINE__, 4200, 4200},  // within the side limit, past the pixel budget
        {__LINE__, 32, 16},      // more blocks than the scan holds
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const Bytes file = withFrameSize(validFile(kValidCases[0]), kBaseline, c.width, c.height);
        EXPECT_EQ("no image", describe(decodeJpeg(file)));
    }
}

// A progressive file keeps every coefficient, sized from the frame header before any scan is
// read: a few hundred bytes claiming 4096 x 4096 without chroma subsampling would ask for 96 MiB
// of coefficients and then 64 MiB of pixels. Within the budget the missing scans refuse it.
TEST(JpegDecoder, RefusesAProgressiveFileThatClaimsMoreThanItHoldsWithinABoundedPeak) {
    struct Case {
        int line;
        std::uint16_t side;
        std::size_t peakMiB;
    };
    const Case kCases[] = {
        {__LINE__, 4096, 4},   // past libjpeg's budget: refused before the coefficients
        {__LINE__, 2048, 28},  // within it: 24 MiB of coefficients, refused at the end of data
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const Bytes file = withFrameSize(validFile(kValidCases[1]), kProgressive, c.side, c.side);
        std::string decoded;
        EXPECT_LT(test::PeakGrowthBytes([&] { decoded = describe(decodeJpeg(file)); }),
                  c.peakMiB * test::kMiB);
        EXPECT_EQ("no image", decoded);
    }
}

TEST(JpegDecoder, RefusesCorruptEntropyData) {
    Bytes file = validFile(kValidCases[0]);
    // A marker in the middle of the scan data: libjpeg warns and would fill in grey.
    file[file.size() - 40] = 0xFF;
    file[file.size() - 39] = 0xD0;
    EXPECT_EQ("no image", describe(decodeJpeg(file)));
}

}  // namespace
