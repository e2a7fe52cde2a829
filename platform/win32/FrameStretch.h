// FrameStretch.h: how a window shows a frame of another size: each target pixel takes the
// source pixel under its centre. The column table is kept between frames, so a frame of a size
// seen before allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::win32 {

struct ParallelFor;

// 32-bit pixels, row after row, `pitch` pixels apart.
template <class Pixel>
struct PixelRows {
    Pixel* pixels;
    int width;
    int height;
    std::ptrdiff_t pitch;
};

class FrameStretch {
public:
    // The whole target, pixels copied as they are.
    void operator()(PixelRows<const std::uint32_t> source, PixelRows<std::uint32_t> target);

    // In parts: prepare() for the widths, then rows() for target rows [first, end); rows() of
    // separate ranges may run on several threads at once. `opaque` sets each pixel's top byte,
    // which X8R8G8B8 leaves undefined, for a target that reads it as alpha.
    void prepare(int sourceWidth, int targetWidth);
    void rows(PixelRows<const std::uint32_t> source, PixelRows<std::uint32_t> target, int first,
              int end, bool opaque) const noexcept;
    // rows() for the whole target after prepare(), in bands over `split`'s threads when the
    // target is large enough to repay waking them.
    void rowsSpread(PixelRows<const std::uint32_t> source, PixelRows<std::uint32_t> target,
                    bool opaque, const ParallelFor& split) const noexcept;

private:
    std::vector<int> columns_;  // the source column of each target column
    int columnsSource_ = 0;     // the source width columns_ was made for
};

}  // namespace platform::win32
