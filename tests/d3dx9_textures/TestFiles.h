// TestFiles.h: image files built in memory for the decoder and loader tests. BMP and TGA are
// laid out byte by byte from the fields given; PNG and JPEG go through libpng's and libjpeg's
// encoders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace test {

using Bytes = std::vector<std::uint8_t>;

// Appends little-endian fields.
class ByteWriter {
public:
    ByteWriter& u8(std::uint32_t value);
    ByteWriter& u16(std::uint32_t value);
    ByteWriter& u32(std::uint32_t value);
    ByteWriter& bytes(const Bytes& values);
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

struct BmpFile {
    std::int32_t width = 3;
    std::int32_t height = 2;  // negative: top-down
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;  // 40, 52, 56, 108 or 124
    std::uint32_t colorsUsed = 0;
    // Written after a 40-byte header, or in the header from 52 bytes on (the V4/V5 fields that
    // follow the masks are zero).
    std::vector<std::uint32_t> masks;
    std::vector<std::uint32_t> palette;  // as stored: 0x00RRGGBB
    std::vector<Bytes> rows;             // in file order, each padded to 4 bytes when written
};
Bytes writeBmp(const BmpFile& bmp);

struct TgaFile {
    std::uint8_t colorMapType = 0;
    std::uint8_t imageType = 2;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 3;
    std::uint16_t height = 2;
    std::uint8_t pixelBits = 24;
    std::uint8_t descriptor = 0;  // 0x20: top-left origin, 0x10: right to left, low 4: alpha bits
    Bytes id;
    Bytes colorMap;
    Bytes pixels;  // as stored, plain or run-length packets
};
Bytes writeTga(const TgaFile& tga);

struct PngFile {
    std::uint32_t width = 3;
    std::uint32_t height = 2;
    int colorType = 2;  // PNG_COLOR_TYPE_* values
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    Bytes transparency;                  // the tRNS chunk's payload as stored
    std::vector<Bytes> rows;             // packed, 16-bit samples big-endian, top row first
};
Bytes writePng(const PngFile& png);

// Where the first chunk after IHDR starts in a file writePng made.
constexpr std::size_t kPngAfterHeader = 33;
// A chunk's length field, type and data; the CRC, when wanted, is the caller's to add.
Bytes pngChunkStart(std::string_view type, std::uint32_t length, const Bytes& data);
// The signature and IHDR of a valid 3x2 file, then a chunk that declares `length` bytes and
// holds only `data`: the file ends there.
Bytes pngWithClaimingChunk(std::string_view type, std::uint32_t length, const Bytes& data);

// Recomputes the CRC of the chunk whose type starts at typeOffset after its fields were edited.
void fixPngCrc(Bytes& file, std::size_t typeOffset);

// Colour space: 1 component grey, 3 RGB (stored as YCbCr without chroma subsampling),
// 4 CMYK. Samples top row first, interleaved.
Bytes writeJpeg(std::uint32_t width, std::uint32_t height, int components, const Bytes& samples,
                bool progressive = false);

// The file's bytes, or nothing if it cannot be read.
Bytes readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace test
