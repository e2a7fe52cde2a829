// JPEG decoding through libjpeg. libjpeg reports errors by calling error_exit, which must not
// return: ours longjmps back into the small guarded step that made the call. Every libjpeg call
// runs inside such a step, and the objects with destructors live outside them.
#include "d3dx9/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace platform::d3dx9 {
namespace {

// A progressive file can repeat scans without end, each one a pass over the whole picture.
constexpr int kMaxScans = 256;
// libjpeg's own memory for one file. A progressive or multi-scan file keeps every coefficient of
// the picture, two bytes a sample, sized from the header alone before any scan is read: this
// holds a 4:2:0 colour picture of the largest accepted size (three bytes a pixel) and refuses
// more, since libjpeg has no backing store to fall back on and gives up.
constexpr long kMaxWorkingBytes = static_cast<long>(kMaxImagePixels * 4);

struct ErrorState {
    jpeg_error_mgr manager;  // first: libjpeg hands back a pointer to it as cinfo->err
    std::jmp_buf jump;
};

[[noreturn]] void failDecode(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
}

// Level -1 is a warning: corrupt data, or the end of the file before the end of the picture.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) failDecode(cinfo);
}

void discardMessage(j_common_ptr) {}

void onProgress(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) failDecode(cinfo);
}

// Owns the decompressor; its destructor is the one libjpeg call made outside a guarded step,
// and jpeg_destroy_decompress is safe on a zeroed or half-made object.
class Decompressor {
public:
    Decompressor() {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = failDecode;
        errors.manager.emit_message = onMessage;
        errors.manager.output_message = discardMessage;
        progress.progress_monitor = onProgress;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    // Runs one step of libjpeg calls; false when libjpeg gave up on the file.
    template <class Step>
    bool guarded(Step step) {
        if (setjmp(errors.jump)) return false;
        return step();
    }

    jpeg_decompress_struct info{};
    ErrorState errors{};
    jpeg_progress_mgr progress{};
};

bool readHeader(Decompressor& d, std::span<const std::uint8_t> file) {
    return d.guarded([&] {
        jpeg_create_decompress(&d.info);
        d.info.mem->max_memory_to_use = kMaxWorkingBytes;
        d.info.progress = &d.progress;
        jpeg_mem_src(&d.info, file.data(), static_cast<unsigned long>(file.size()));
        if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
        switch (d.info.jpeg_color_space) {
            case JCS_GRAYSCALE:
                d.info.out_color_space = JCS_GRAYSCALE;
                break;
            case JCS_YCbCr:
            case JCS_RGB:
                d.info.out_color_space = JCS_RGB;
                break;
            default:
                return false;
        }
        return true;
    });
}

void packRow(const std::uint8_t* samples, int components, std::uint32_t width, std::uint32_t* out) {
    for (std::uint32_t x = 0; x < width; ++x) {
        const std::uint8_t* s = samples + std::size_t{x} * components;
        const std::uint32_t r = s[0];
        const std::uint32_t g = components == 3 ? s[1] : s[0];
        const std::uint32_t b = components == 3 ? s[2] : s[0];
        out[x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
}

}  // namespace

bool hasJpegSignature(std::span<const std::uint8_t> file) {
    return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

std::optional<Image> decodeJpeg(std::span<const std::uint8_t> file) {
    if (!hasJpegSignature(file)) return std::nullopt;
    Decompressor d;
    if (!readHeader(d, file)) return std::nullopt;
    // Checked before jpeg_start_decompress, which sizes libjpeg's own buffers from the header
    // (and reads a progressive file whole); the picture is allocated only once that succeeded.
    if (!isAcceptableSize(d.info.image_width, d.info.image_height)) return std::nullopt;
    if (!d.guarded([&] { return jpeg_start_decompress(&d.info) == TRUE; })) return std::nullopt;
    auto image = allocateImage(d.info.image_width, d.info.image_height, false);
    if (!image) return std::nullopt;
    if (d.info.output_width != image->width || d.info.output_height != image->height)
        return std::nullopt;

    const int components = d.info.output_components;
    std::vector<JSAMPLE> row(std::size_t{image->width} * components);
    for (std::uint32_t y = 0; y < image->height; ++y) {
        JSAMPROW rows[] = {row.data()};
        if (!d.guarded([&] { return jpeg_read_scanlines(&d.info, rows, 1) == 1; }))
            return std::nullopt;
        packRow(row.data(), components, image->width,
                image->pixels.data() + std::size_t{y} * image->width);
    }
    if (!d.guarded([&] { return jpeg_finish_decompress(&d.info) == TRUE; })) return std::nullopt;
    return image;
}

}  // namespace platform::d3dx9
