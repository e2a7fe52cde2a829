// PNG decoding through libpng. libpng reports errors through our error function, which must not
// return: it longjmps back into the small guarded step that made the call. Every libpng call runs
// inside such a step, and the objects with destructors live outside them.
#include "d3dx9/PngDecoder.h"

#include <bit>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace platform::d3dx9 {
namespace {

// libpng writes blue, green, red, alpha bytes: an A8R8G8B8 value only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

constexpr std::size_t kSignatureSize = 8;
// Text, palette-suggestion and profile chunks are the only ones libpng buffers whole. We use
// none of them: they are skipped without being buffered, and the cap stays as a second guard.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_byte kIgnoredChunks[] = {'i', 'C', 'C', 'P', '\0', 'i', 'T', 'X', 't', '\0',
                                       's', 'P', 'L', 'T', '\0', 't', 'E', 'X', 't', '\0',
                                       'z', 'T', 'X', 't', '\0'};

struct Source {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

void readFromSource(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (count > source->bytes.size() - source->position) png_error(png, "truncated");
    std::memcpy(out, source->bytes.data() + source->position, count);
    source->position += count;
}

[[noreturn]] void failDecode(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool hasAlpha = false;
};

// Owns libpng's read and info structures. The libpng calls made outside a guarded step (making
// and destroying the structures) report failure by their results, never through failDecode.
class PngReader {
public:
    explicit PngReader(std::span<const std::uint8_t> file) : source_{file} {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failDecode, ignoreWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool valid() const { return png_ && info_; }

    bool readHeader(Header& header) {
        return guarded([&] {
            png_set_read_fn(png_, &source_, readFromSource);
            png_set_user_limits(png_, kMaxImageSide, kMaxImageSide);
            png_set_chunk_malloc_max(png_, kMaxChunkBytes);
            // libpng reports a chunk past its limits as a benign error, by default only a
            // warning, and then allocates the whole declared length anyway: make it fatal.
            png_set_benign_errors(png_, 0);
            png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                                        sizeof kIgnoredChunks / 5);
            png_read_info(png_, info_);
            header.width = png_get_image_width(png_, info_);
            header.height = png_get_image_height(png_, info_);
            const int colorType = png_get_color_type(png_, info_);
            header.hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 ||
                              png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
            setTransforms(colorType, header.hasAlpha);
            png_read_update_info(png_, info_);
            return png_get_rowbytes(png_, info_) == std::size_t{header.width} * 4;
        });
    }

    bool readPixels(png_bytepp rows) {
        return guarded([&] {
            png_read_image(png_, rows);
            png_read_end(png_, nullptr);
            return true;
        });
    }

private:
    // Runs one step of libpng calls; false when libpng gave up on the file.
    template <class Step>
    bool guarded(Step step) {
        if (setjmp(png_jmpbuf(png_))) return false;
        return step();
    }

    // Every colour type comes out as 8-bit blue, green, red, alpha.
    void setTransforms(int colorType, bool hasAlpha) {
        png_set_expand(png_);
        png_set_scale_16(png_);
        if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png_);
        png_set_bgr(png_);
        if (!hasAlpha) png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png_);
    }

    Source source_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

bool hasPngSignature(std::span<const std::uint8_t> file) {
    return file.size() >= kSignatureSize && png_sig_cmp(file.data(), 0, kSignatureSize) == 0;
}

std::optional<Image> decodePng(std::span<const std::uint8_t> file) {
    if (!hasPngSignature(file)) return std::nullopt;
    PngReader reader(file);
    Header header;
    if (!reader.valid() || !reader.readHeader(header)) return std::nullopt;
    auto image = allocateImage(header.width, header.height, header.hasAlpha);
    if (!image) return std::nullopt;

    std::vector<png_bytep> rows(image->height);
    for (std::uint32_t y = 0; y < image->height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(image->pixels.data() + std::size_t{y} * image->width);
    if (!reader.readPixels(rows.data())) return std::nullopt;
    return image;
}

}  // namespace platform::d3dx9
