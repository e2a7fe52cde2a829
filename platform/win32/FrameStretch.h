// FrameStretch.h: how a window shows a frame of another size: each target pixel takes the
// source pixel under its centre. The column table is kept between frames, so a frame of a size
// seen before allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::win32 {

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
    void operator()(PixelRows<const std::uint32_t> source, PixelRows<std::uint32_t> target);

private:
    void mapColumns(int sourceWidth, int targetWidth);

    std::vector<int> columns_;  // the source column of each target column
    int columnsSource_ = 0;     // the source width columns_ was made for
};

}  // namespace platform::win32
