#include "TestFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace test {

ByteWriter& ByteWriter::u8(std::uint32_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    return *this;
}

ByteWriter& ByteWriter::u16(std::uint32_t value) {
    return u8(value).u8(value >> 8);
}

ByteWriter& ByteWriter::u32(std::uint32_t value) {
    return u16(value).u16(value >> 16);
}

ByteWriter& ByteWriter::bytes(const Bytes& values) {
    bytes_.insert(bytes_.end(), values.begin(), values.end());
    return *this;
}

Bytes writeBmp(const BmpFile& bmp) {
    const bool masksInHeader = bmp.headerSize > 40;
    const std::uint32_t maskBytes =
        masksInHeader ? 0 : static_cast<std::uint32_t>(4 * bmp.masks.size());
    const std::uint32_t pixelOffset =
        static_cast<std::uint32_t>(14 + bmp.headerSize + maskBytes + 4 * bmp.palette.size());
    Bytes pixels;
    for (Bytes row : bmp.rows) {
        row.resize((row.size() + 3) / 4 * 4);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }

    ByteWriter w;
    w.u8('B').u8('M').u32(pixelOffset + static_cast<std::uint32_t>(pixels.size())).u32(0);
    w.u32(pixelOffset);
    w.u32(bmp.headerSize).u32(static_cast<std::uint32_t>(bmp.width));
    w.u32(static_cast<std::uint32_t>(bmp.height)).u16(1).u16(bmp.bitCount).u32(bmp.compression);
    w.u32(static_cast<std::uint32_t>(pixels.size())).u32(2835).u32(2835).u32(bmp.colorsUsed).u32(0);
    std::uint32_t written = 40;
    for (std::uint32_t mask : bmp.masks) {
        w.u32(mask);
        if (masksInHeader) written += 4;
    }
    for (; written < bmp.headerSize; ++written) w.u8(0);
    for (std::uint32_t entry : bmp.palette) w.u32(entry);
    return w.bytes(pixels).take();
}

Bytes writeTga(const TgaFile& tga) {
    ByteWriter w;
    w.u8(static_cast<std::uint32_t>(tga.id.size())).u8(tga.colorMapType).u8(tga.imageType);
    w.u16(tga.mapFirst).u16(tga.mapLength).u8(tga.mapEntryBits);
    w.u16(0).u16(0).u16(tga.width).u16(tga.height).u8(tga.pixelBits).u8(tga.descriptor);
    return w.bytes(tga.id).bytes(tga.colorMap).bytes(tga.pixels).take();
}

namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

std::uint32_t bigEndian16(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

}  // namespace

// libpng's default error handling aborts here: a fixture it refuses to write is a broken test.
Bytes writePng(const PngFile& file) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    png_set_IHDR(png, info, file.width, file.height, file.bitDepth, file.colorType,
                 file.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::uint32_t entry : file.palette)
        palette.push_back({static_cast<png_byte>(entry >> 16), static_cast<png_byte>(entry >> 8),
                           static_cast<png_byte>(entry)});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!file.transparency.empty()) {
        png_color_16 color{};
        if (file.colorType == PNG_COLOR_TYPE_GRAY) {
            color.gray = static_cast<png_uint_16>(bigEndian16(file.transparency, 0));
        } else if (file.colorType == PNG_COLOR_TYPE_RGB) {
            color.red = static_cast<png_uint_16>(bigEndian16(file.transparency, 0));
            color.green = static_cast<png_uint_16>(bigEndian16(file.transparency, 2));
            color.blue = static_cast<png_uint_16>(bigEndian16(file.transparency, 4));
        }
        const bool palettized = file.colorType == PNG_COLOR_TYPE_PALETTE;
        png_set_tRNS(png, info, palettized ? file.transparency.data() : nullptr,
                     palettized ? static_cast<int>(file.transparency.size()) : 1,
                     palettized ? nullptr : &color);
    }
    std::vector<png_bytep> rows;
    std::vector<Bytes> rowCopies = file.rows;
    for (Bytes& row : rowCopies) rows.push_back(row.data());
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes pngChunkStart(std::string_view type, std::uint32_t length, const Bytes& data) {
    Bytes chunk;
    for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<std::uint8_t>(length >> (24 - 8 * i)));
    for (char letter : type) chunk.push_back(static_cast<std::uint8_t>(letter));
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

Bytes pngWithClaimingChunk(std::string_view type, std::uint32_t length, const Bytes& data) {
    PngFile png;
    png.rows = {Bytes(9, 0x80), Bytes(9, 0x40)};
    Bytes file = writePng(png);
    file.resize(kPngAfterHeader);
    const Bytes chunk = pngChunkStart(type, length, data);
    file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

void fixPngCrc(Bytes& file, std::size_t typeOffset) {
    const std::size_t length = static_cast<std::size_t>(file[typeOffset - 4]) << 24 |
                               file[typeOffset - 3] << 16 | file[typeOffset - 2] << 8 |
                               file[typeOffset - 1];
    const uLong crc = crc32(0, file.data() + typeOffset, static_cast<uInt>(length + 4));
    for (int i = 0; i < 4; ++i)
        file[typeOffset + 4 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
}

Bytes writeJpeg(std::uint32_t width, std::uint32_t height, int components, const Bytes& samples,
                bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < height) {
        JSAMPROW row[] = {const_cast<JSAMPLE*>(samples.data()) +
                          std::size_t{info.next_scanline} * width * components};
        jpeg_write_scanlines(&info, row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace test
