// TGA decoding: an 18-byte header, an image id, an optional colour map, then the pixels in file
// order, plain or as run-length packets that may run on from one row into the next.
#include "d3dx9/TgaDecoder.h"

#include <algorithm>
#include <vector>

#include "d3dx9/ByteReader.h"

namespace platform::d3dx9 {
namespace {

constexpr std::uint8_t kColorMapped = 1;
constexpr std::uint8_t kTrueColor = 2;
constexpr std::uint8_t kGrey = 3;
constexpr std::uint8_t kRunLengthBit = 8;
constexpr std::size_t kMaxPacketPixels = 128;

struct Header {
    std::uint8_t idLength = 0;
    std::uint8_t colorMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixelBits = 0;
    std::uint8_t descriptor = 0;

    std::uint8_t kind() const { return imageType & ~kRunLengthBit; }
    bool runLength() const { return (imageType & kRunLengthBit) != 0; }
    bool attributeBits() const { return (descriptor & 0x0F) != 0; }
    bool rightToLeft() const { return (descriptor & 0x10) != 0; }
    bool topDown() const { return (descriptor & 0x20) != 0; }
};

Header readHeader(ByteReader& reader) {
    Header h;
    h.idLength = reader.u8();
    h.colorMapType = reader.u8();
    h.imageType = reader.u8();
    h.mapFirst = reader.u16();
    h.mapLength = reader.u16();
    h.mapEntryBits = reader.u8();
    reader.skip(4);  // x and y origin: screen placement, not the row order
    h.width = reader.u16();
    h.height = reader.u16();
    h.pixelBits = reader.u8();
    h.descriptor = reader.u8();
    return h;
}

bool isColorDepth(std::uint8_t bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

std::size_t bytesFor(std::uint8_t bits) {
    return (bits + 7u) / 8u;
}

bool isValid(const Header& h) {
    if (h.colorMapType > 1 || h.width == 0 || h.height == 0) return false;
    if (h.imageType != kColorMapped && h.imageType != kTrueColor && h.imageType != kGrey &&
        h.imageType != (kColorMapped | kRunLengthBit) &&
        h.imageType != (kTrueColor | kRunLengthBit) && h.imageType != (kGrey | kRunLengthBit))
        return false;
    if (h.colorMapType == 1 && (!isColorDepth(h.mapEntryBits) || h.mapLength == 0)) return false;
    switch (h.kind()) {
        case kColorMapped:
            return h.colorMapType == 1 && h.pixelBits == 8;
        case kTrueColor:
            return isColorDepth(h.pixelBits);
        default:
            return h.pixelBits == 8;
    }
}

// Attribute bits mean alpha in the top bit of 16 bits or the top byte of 32 bits.
bool carriesAlpha(const Header& h, std::uint8_t colorBits) {
    return h.attributeBits() && (colorBits == 16 || colorBits == 32);
}

std::uint32_t widen5(std::uint32_t value) {
    return value << 3 | value >> 2;
}

// One stored colour (a pixel or a map entry) of 15/16, 24 or 32 bits, blue first.
std::uint32_t toArgb(const std::uint8_t* bytes, std::uint8_t bits, bool withAlpha) {
    if (bits <= 16) {
        const std::uint32_t v = bytes[0] | bytes[1] << 8;
        const std::uint32_t a = withAlpha && (v & 0x8000) == 0 ? 0 : 0xFF;
        return a << 24 | widen5(v >> 10 & 31) << 16 | widen5(v >> 5 & 31) << 8 | widen5(v & 31);
    }
    const std::uint32_t a = withAlpha ? bytes[3] : 0xFF;
    return a << 24 | std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[1]} << 8 | bytes[0];
}

// Turns the bytes of consecutive pixels into colours: directly, as grey levels, or through the
// colour map.
class PixelFormat {
public:
    PixelFormat(const Header& h, std::vector<std::uint32_t> map)
        : bits_(h.pixelBits),
          kind_(h.kind()),
          withAlpha_(h.kind() != kGrey &&
                     carriesAlpha(h, h.kind() == kColorMapped ? h.mapEntryBits : h.pixelBits)),
          mapFirst_(h.mapFirst),
          map_(std::move(map)) {}

    std::size_t bytesPerPixel() const { return bytesFor(bits_); }
    bool hasAlpha() const { return withAlpha_; }

    bool convert(std::span<const std::uint8_t> bytes, std::uint32_t* out) const {
        const std::size_t step = bytesPerPixel();
        for (std::size_t i = 0; i * step < bytes.size(); ++i) {
            const std::uint8_t* p = bytes.data() + i * step;
            if (kind_ == kTrueColor) {
                out[i] = toArgb(p, bits_, withAlpha_);
            } else if (kind_ == kGrey) {
                out[i] = 0xFF000000u | p[0] * 0x010101u;
            } else {
                if (p[0] < mapFirst_ || p[0] - mapFirst_ >= map_.size()) return false;
                out[i] = map_[p[0] - mapFirst_];
            }
        }
        return true;
    }

private:
    std::uint8_t bits_;
    std::uint8_t kind_;
    bool withAlpha_;
    std::size_t mapFirst_;
    std::vector<std::uint32_t> map_;
};

bool decodePlain(ByteReader& reader, const PixelFormat& format, std::vector<std::uint32_t>& out) {
    const auto bytes = reader.take(out.size() * format.bytesPerPixel());
    return reader.ok() && format.convert(bytes, out.data());
}

bool decodeRunLength(ByteReader& reader, const PixelFormat& format,
                     std::vector<std::uint32_t>& out) {
    const std::size_t step = format.bytesPerPixel();
    std::size_t done = 0;
    while (done < out.size()) {
        const std::uint8_t packet = reader.u8();
        const std::size_t count = (packet & 0x7Fu) + 1;
        if (count > out.size() - done) return false;
        if (packet & 0x80) {
            const auto bytes = reader.take(step);
            if (!reader.ok() || !format.convert(bytes, &out[done])) return false;
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(done + 1), count - 1, out[done]);
        } else {
            const auto bytes = reader.take(count * step);
            if (!reader.ok() || !format.convert(bytes, &out[done])) return false;
        }
        done += count;
    }
    return true;
}

// The fewest bytes that can hold the pixels: a bounded claim before anything is allocated.
std::uint64_t minimumPixelBytes(const Header& h, std::size_t bytesPerPixel) {
    const std::uint64_t pixels = std::uint64_t{h.width} * h.height;
    if (!h.runLength()) return pixels * bytesPerPixel;
    return (pixels + kMaxPacketPixels - 1) / kMaxPacketPixels * (1 + bytesPerPixel);
}

void toTopDownLeftToRight(const Header& h, Image& image) {
    const auto rowBegin = [&](std::uint32_t y) {
        return image.pixels.begin() + static_cast<std::ptrdiff_t>(std::size_t{y} * image.width);
    };
    if (h.rightToLeft())
        for (std::uint32_t y = 0; y < image.height; ++y) std::reverse(rowBegin(y), rowBegin(y + 1));
    if (!h.topDown())
        for (std::uint32_t y = 0; y < image.height / 2; ++y)
            std::swap_ranges(rowBegin(y), rowBegin(y + 1), rowBegin(image.height - 1 - y));
}

}  // namespace

std::optional<Image> decodeTga(std::span<const std::uint8_t> file) {
    ByteReader reader(file);
    const Header header = readHeader(reader);
    if (!reader.ok() || !isValid(header)) return std::nullopt;
    reader.skip(header.idLength);

    std::vector<std::uint32_t> map;
    if (header.colorMapType == 1) {
        const std::size_t entryBytes = bytesFor(header.mapEntryBits);
        const auto entries = reader.take(std::size_t{header.mapLength} * entryBytes);
        if (!reader.ok()) return std::nullopt;
        if (header.kind() == kColorMapped) {
            map.resize(header.mapLength);
            for (std::size_t i = 0; i < map.size(); ++i)
                map[i] = toArgb(&entries[i * entryBytes], header.mapEntryBits,
                                carriesAlpha(header, header.mapEntryBits));
        }
    }

    const PixelFormat format(header, std::move(map));
    if (minimumPixelBytes(header, format.bytesPerPixel()) > reader.remaining()) return std::nullopt;
    auto image = allocateImage(header.width, header.height, format.hasAlpha());
    if (!image) return std::nullopt;
    const bool decoded = header.runLength() ? decodeRunLength(reader, format, image->pixels)
                                            : decodePlain(reader, format, image->pixels);
    if (!decoded) return std::nullopt;
    toTopDownLeftToRight(header, *image);
    return image;
}

}  // namespace platform::d3dx9
