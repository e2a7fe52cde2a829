// make_data: writes the program's data files (the map, the ground's and the cube's textures) into
// a directory. Every face picture carries an "F" (mirrored, it reads backwards), an arrow
// pointing to its top edge and a dark square in its top-left corner, on a tint of its own, so a
// screenshot shows at once whether a face is upright and unmirrored, and which file it is.
//
// Usage: make_data <output directory>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// Rows top to bottom, pixels left to right: the order a viewer reads them.
struct Picture {
    int width;
    int height;
    std::vector<Rgb> pixels;

    Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }

    // Clipped to the picture; right and bottom exclusive.
    void fillRect(int left, int top, int right, int bottom, Rgb colour) {
        for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, width); ++x) at(x, y) = colour;
    }
};

class File {
public:
    explicit File(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
    ~File() {
        if (file_) std::fclose(file_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    std::FILE* get() const { return file_; }
    // False once any write failed or the file could not be opened.
    bool write(const void* data, std::size_t size) {
        ok_ = ok_ && file_ && std::fwrite(data, 1, size, file_) == size;
        return ok_;
    }
    void u8(std::uint8_t v) { write(&v, 1); }
    void u16(std::uint16_t v) {
        const std::uint8_t b[] = {std::uint8_t(v), std::uint8_t(v >> 8)};
        write(b, sizeof b);
    }
    void u32(std::uint32_t v) {
        const std::uint8_t b[] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                                  std::uint8_t(v >> 24)};
        write(b, sizeof b);
    }
    bool close() {
        if (!file_) return false;
        ok_ = std::fclose(file_) == 0 && ok_;
        file_ = nullptr;
        return ok_;
    }

private:
    std::FILE* file_;
    bool ok_ = true;
};

// 24-bit BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows of BGR padded to four bytes.
bool writeBmp(const std::string& path, const Picture& picture) {
    const std::uint32_t rowBytes = (std::uint32_t(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(picture.height);
    File out(path);
    out.write("BM", 2);
    out.u32(54 + imageBytes);
    out.u16(0);
    out.u16(0);
    out.u32(54);
    out.u32(40);
    out.u32(std::uint32_t(picture.width));
    out.u32(std::uint32_t(picture.height));  // positive: bottom-up
    out.u16(1);
    out.u16(24);
    out.u32(0);  // BI_RGB
    out.u32(imageBytes);
    out.u32(2835);  // 72 dpi
    out.u32(2835);
    out.u32(0);
    out.u32(0);
    std::vector<std::uint8_t> row(rowBytes, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& p = picture.at(x, y);
            row[std::size_t(x) * 3 + 0] = p.b;
            row[std::size_t(x) * 3 + 1] = p.g;
            row[std::size_t(x) * 3 + 2] = p.r;
        }
        out.write(row.data(), row.size());
    }
    return out.close();
}

// Uncompressed true-colour TGA, 24 bits, rows bottom-up (descriptor 0: origin bottom-left).
bool writeTga(const std::string& path, const Picture& picture) {
    File out(path);
    out.u8(0);  // no image id
    out.u8(0);  // no colour map
    out.u8(2);  // uncompressed true colour
    for (int i = 0; i < 5; ++i) out.u8(0);  // colour map specification
    out.u16(0);
    out.u16(0);
    out.u16(std::uint16_t(picture.width));
    out.u16(std::uint16_t(picture.height));
    out.u8(24);
    out.u8(0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& p = picture.at(x, y);
            const std::uint8_t bgr[] = {p.b, p.g, p.r};
            out.write(bgr, sizeof bgr);
        }
    }
    return out.close();
}

bool writeJpeg(const std::string& path, const Picture& picture) {
    File out(path);
    if (!out.get()) return false;
    // The default error handler ends the program, which is all a build tool needs.
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out.get());
    cinfo.image_width = JDIMENSION(picture.width);
    cinfo.image_height = JDIMENSION(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 92, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    static_assert(sizeof(Rgb) == 3);
    for (int y = 0; y < picture.height; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(
            reinterpret_cast<const JSAMPLE*>(&picture.pixels[std::size_t(y) * picture.width]));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return out.close();
}

Rgb scaled(Rgb c, int percent) {
    return {std::uint8_t(c.r * percent / 100), std::uint8_t(c.g * percent / 100),
            std::uint8_t(c.b * percent / 100)};
}

// 128 x 128: tint, a dark frame, a dark square in the top-left corner, an "F" on the left half
// and an arrow on the right half pointing to the top edge.
Picture facePicture(Rgb tint) {
    constexpr int kSize = 128;
    const Rgb ink = scaled(tint, 25);
    Picture p(kSize, kSize, tint);
    p.fillRect(0, 0, kSize, 4, ink);
    p.fillRect(0, kSize - 4, kSize, kSize, ink);
    p.fillRect(0, 0, 4, kSize, ink);
    p.fillRect(kSize - 4, 0, kSize, kSize, ink);
    p.fillRect(4, 4, 24, 24, ink);

    // "F": stem, top bar, shorter middle bar.
    p.fillRect(16, 32, 28, 112, ink);
    p.fillRect(16, 32, 60, 44, ink);
    p.fillRect(16, 64, 50, 76, ink);

    // Arrow: shaft, then a head that narrows to a point at the top.
    p.fillRect(88, 44, 100, 112, ink);
    for (int row = 0; row < 24; ++row) {
        const int half = row;
        p.fillRect(94 - half, 20 + row, 94 + half, 21 + row, ink);
    }
    return p;
}

// 256 x 256, squares of 32 texels: one copy covers the whole ground.
Picture checkerboard() {
    constexpr int kSize = 256;
    constexpr int kSquare = 32;
    const Rgb light{220, 220, 210};
    const Rgb dark{70, 110, 70};
    Picture p(kSize, kSize, light);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if ((x / kSquare + y / kSquare) % 2 == 1) p.at(x, y) = dark;
    return p;
}

// The ground is shaped only by the map's width and height; the pixels are a plain gradient.
Picture mapPicture() {
    constexpr int kSize = 128;
    Picture p(kSize, kSize, {0, 0, 0});
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) p.at(x, y) = {std::uint8_t(x * 2), std::uint8_t(y * 2), 96};
    return p;
}

Picture tilePicture() {
    constexpr int kSize = 64;
    Picture p(kSize, kSize, {180, 150, 110});
    for (int i = 0; i < kSize; i += 16) {
        p.fillRect(i, 0, i + 2, kSize, {90, 70, 50});
        p.fillRect(0, i, kSize, i + 2, {90, 70, 50});
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n"
                             "writes map1.bmp, check.bmp, lumra.bmp, tile2.tga, zUp.jpg,\n"
                             "zWhite.jpg, zLeft.jpg and zRight.jpg there\n",
                     argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    struct Output {
        const char* name;
        bool (*write)(const std::string&, const Picture&);
        Picture picture;
    };
    const Output outputs[] = {
        {"map1.bmp", writeBmp, mapPicture()},
        {"check.bmp", writeBmp, checkerboard()},
        {"lumra.bmp", writeBmp, facePicture({235, 190, 60})},  // amber
        {"tile2.tga", writeTga, tilePicture()},
        {"zUp.jpg", writeJpeg, facePicture({90, 150, 235})},      // blue
        {"zWhite.jpg", writeJpeg, facePicture({240, 240, 240})},  // white
        {"zLeft.jpg", writeJpeg, facePicture({230, 90, 90})},     // red
        {"zRight.jpg", writeJpeg, facePicture({90, 200, 110})},   // green
    };
    int failures = 0;
    for (const Output& output : outputs) {
        if (!output.write(dir + output.name, output.picture)) {
            std::fprintf(stderr, "make_data: cannot write %s%s\n", dir.c_str(), output.name);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
