// Windows bitmap decoding: file header, information header (40 bytes up to the 124-byte V5),
// optional colour masks and palette, then rows padded to four bytes.
#include "d3dx9/BmpDecoder.h"

#include <array>
#include <bit>

#include "d3dx9/ByteReader.h"

namespace platform::d3dx9 {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// One channel of a masked pixel: a run of contiguous bits, widened or narrowed to 8 bits.
class Channel {
public:
    Channel() = default;

    // Nothing for a mask whose bits are not contiguous.
    static std::optional<Channel> fromMask(std::uint32_t mask) {
        Channel channel;
        if (mask == 0) return channel;
        channel.mask_ = mask;
        channel.shift_ = static_cast<unsigned>(std::countr_zero(mask));
        channel.bits_ = static_cast<unsigned>(std::popcount(mask));
        if (channel.bits_ != 32 - channel.shift_ - static_cast<unsigned>(std::countl_zero(mask)))
            return std::nullopt;
        return channel;
    }

    bool present() const { return mask_ != 0; }

    std::uint32_t extract(std::uint32_t pixel) const {
        if (!present()) return 0;
        const std::uint32_t value = (pixel & mask_) >> shift_;
        if (bits_ >= 8) return value >> (bits_ - 8);
        const std::uint32_t max = (std::uint32_t{1} << bits_) - 1;
        return (value * 255 + max / 2) / max;
    }

private:
    std::uint32_t mask_ = 0;
    unsigned shift_ = 0;
    unsigned bits_ = 0;
};

// Red, green, blue, alpha.
using Masks = std::array<std::uint32_t, 4>;

struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    unsigned bitCount = 0;
    std::array<Channel, 4> channels;        // for 16 and 32 bits
    std::span<const std::uint8_t> palette;  // 4 bytes an entry (blue, green, red, unused)
    std::span<const std::uint8_t> rows;
    std::size_t stride = 0;
};

bool isSupportedHeaderSize(std::uint32_t size) {
    return size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 || size == 124;
}

bool isSupportedBitCount(unsigned bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// BI_RGB's fixed layouts: 16 bits are X1R5G5B5; the top byte of 32 bits is unused.
Masks defaultMasks(unsigned bitCount) {
    if (bitCount == 16) return {0x7C00, 0x03E0, 0x001F, 0};
    return {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
}

std::optional<Layout> readLayout(std::span<const std::uint8_t> file) {
    ByteReader reader(file);
    reader.skip(10);  // signature, file size and reserved words: writers disagree on the size
    const std::uint32_t pixelOffset = reader.u32();
    const std::uint32_t headerSize = reader.u32();
    const std::int32_t width = reader.i32();
    const std::int32_t height = reader.i32();
    const std::uint16_t planes = reader.u16();
    const std::uint16_t bitCount = reader.u16();
    const std::uint32_t compression = reader.u32();
    reader.skip(12);  // image size (may be 0 for BI_RGB) and resolution
    const std::uint32_t colorsUsed = reader.u32();
    reader.skip(4);
    if (!reader.ok() || !isSupportedHeaderSize(headerSize) || planes != 1 ||
        !isSupportedBitCount(bitCount))
        return std::nullopt;

    const bool masked = compression == kBiBitfields || compression == kBiAlphaBitfields;
    if (compression != kBiRgb && !(masked && (bitCount == 16 || bitCount == 32)))
        return std::nullopt;

    // Masks live in the header from V2 on (alpha from V3 on); after a 40-byte header they follow
    // it. Without BI_BITFIELDS the header's masks mean nothing.
    Masks masks = defaultMasks(bitCount);
    if (masked) {
        const bool alphaMask =
            headerSize >= 56 || (headerSize == kInfoHeaderSize && compression == kBiAlphaBitfields);
        masks = {};
        for (std::size_t i = 0; i < (alphaMask ? 4u : 3u); ++i) masks[i] = reader.u32();
    }
    if (headerSize > kInfoHeaderSize) reader.seek(kFileHeaderSize + headerSize);

    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    Layout layout;
    layout.width = static_cast<std::uint32_t>(width);
    layout.topDown = height < 0;
    layout.height = static_cast<std::uint32_t>(layout.topDown ? -height : height);
    layout.bitCount = bitCount;
    if (!isAcceptableSize(layout.width, layout.height)) return std::nullopt;

    if (bitCount == 16 || bitCount == 32) {
        const std::uint64_t pixelRange = (std::uint64_t{1} << bitCount) - 1;
        for (std::size_t i = 0; i < masks.size(); ++i) {
            const auto channel = Channel::fromMask(masks[i]);
            if (!channel || masks[i] > pixelRange) return std::nullopt;
            layout.channels[i] = *channel;
        }
    }

    if (bitCount <= 8) {
        const std::uint32_t entries = colorsUsed != 0 ? colorsUsed : 1u << bitCount;
        if (entries > 1u << bitCount) return std::nullopt;
        layout.palette = reader.take(std::size_t{entries} * 4);
    }
    if (!reader.ok() || pixelOffset < reader.position() || pixelOffset > file.size())
        return std::nullopt;

    layout.stride = (std::size_t{layout.width} * bitCount + 31) / 32 * 4;
    const std::uint64_t dataSize = std::uint64_t{layout.stride} * layout.height;
    if (dataSize > file.size() - pixelOffset) return std::nullopt;
    layout.rows = file.subspan(pixelOffset, static_cast<std::size_t>(dataSize));
    return layout;
}

std::uint32_t opaque(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return 0xFF000000u | r << 16 | g << 8 | b;
}

bool decodePaletteRow(const Layout& layout, std::span<const std::uint8_t> row, std::uint32_t* out) {
    const unsigned bits = layout.bitCount;
    const unsigned perByte = 8 / bits;
    const unsigned indexMask = (1u << bits) - 1;
    const std::size_t entries = layout.palette.size() / 4;
    for (std::uint32_t x = 0; x < layout.width; ++x) {
        // The leftmost pixel sits in the most significant bits of its byte.
        const unsigned shift = 8 - bits * (x % perByte + 1);
        const unsigned index = row[x / perByte] >> shift & indexMask;
        if (index >= entries) return false;
        const auto entry = layout.palette.subspan(std::size_t{index} * 4, 4);
        out[x] = opaque(entry[2], entry[1], entry[0]);
    }
    return true;
}

void decodeMaskedRow(const Layout& layout, std::span<const std::uint8_t> row, std::uint32_t* out) {
    const std::size_t bytesPerPixel = layout.bitCount / 8;
    const auto& [red, green, blue, alpha] = layout.channels;
    for (std::uint32_t x = 0; x < layout.width; ++x) {
        std::uint32_t pixel = 0;
        for (std::size_t i = 0; i < bytesPerPixel; ++i)
            pixel |= std::uint32_t{row[x * bytesPerPixel + i]} << (8 * i);
        const std::uint32_t a = alpha.present() ? alpha.extract(pixel) : 0xFF;
        out[x] =
            a << 24 | red.extract(pixel) << 16 | green.extract(pixel) << 8 | blue.extract(pixel);
    }
}

void decodeBgrRow(const Layout& layout, std::span<const std::uint8_t> row, std::uint32_t* out) {
    for (std::uint32_t x = 0; x < layout.width; ++x)
        out[x] = opaque(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
}

}  // namespace

bool hasBmpSignature(std::span<const std::uint8_t> file) {
    return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

std::optional<Image> decodeBmp(std::span<const std::uint8_t> file) {
    if (!hasBmpSignature(file)) return std::nullopt;
    const auto layout = readLayout(file);
    if (!layout) return std::nullopt;

    auto image = allocateImage(layout->width, layout->height, layout->channels[3].present());
    if (!image) return std::nullopt;
    for (std::uint32_t y = 0; y < layout->height; ++y) {
        const auto row = layout->rows.subspan(y * layout->stride, layout->stride);
        const std::uint32_t top = layout->topDown ? y : layout->height - 1 - y;
        std::uint32_t* out = image->pixels.data() + std::size_t{top} * layout->width;
        if (layout->bitCount <= 8) {
            if (!decodePaletteRow(*layout, row, out)) return std::nullopt;
        } else if (layout->bitCount == 24) {
            decodeBgrRow(*layout, row, out);
        } else {
            decodeMaskedRow(*layout, row, out);
        }
    }
    return image;
}

}  // namespace platform::d3dx9
