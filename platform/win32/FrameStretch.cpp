#include "win32/FrameStretch.h"

#include <cstring>

namespace platform::win32 {
namespace {

// Nearest source index for a target index, sampling at the target pixel's centre.
int nearest(int target, int sourceSize, int targetSize) {
    return static_cast<int>((2 * static_cast<std::int64_t>(target) + 1) * sourceSize /
                            (2 * static_cast<std::int64_t>(targetSize)));
}

constexpr std::uint32_t kOpaque = 0xFF000000u;

}  // namespace

void FrameStretch::operator()(PixelRows<const std::uint32_t> source,
                              PixelRows<std::uint32_t> target) {
    prepare(source.width, target.width);
    rows(source, target, 0, target.height, false);
}

void FrameStretch::prepare(int sourceWidth, int targetWidth) {
    if (sourceWidth == targetWidth) return;  // rows() copies whole rows then
    if (columnsSource_ == sourceWidth && static_cast<int>(columns_.size()) == targetWidth) return;
    columnsSource_ = sourceWidth;
    columns_.resize(targetWidth);
    for (int x = 0; x < targetWidth; ++x) columns_[x] = nearest(x, sourceWidth, targetWidth);
}

void FrameStretch::rows(PixelRows<const std::uint32_t> source, PixelRows<std::uint32_t> target,
                        int first, int end, bool opaque) const noexcept {
    const bool sameWidth = source.width == target.width;
    const std::size_t rowBytes = static_cast<std::size_t>(target.width) * sizeof(std::uint32_t);
    const std::uint32_t set = opaque ? kOpaque : 0u;
    int previousRow = -1;
    for (int y = first; y < end; ++y) {
        std::uint32_t* to = target.pixels + y * target.pitch;
        const int row = nearest(y, source.height, target.height);
        if (row == previousRow) {
            // Enlarged: this row repeats the one above.
            std::memcpy(to, to - target.pitch, rowBytes);
            continue;
        }
        previousRow = row;
        const std::uint32_t* from = source.pixels + row * source.pitch;
        if (sameWidth && !opaque) {
            std::memcpy(to, from, rowBytes);
        } else if (sameWidth) {
            for (int x = 0; x < target.width; ++x) to[x] = from[x] | set;
        } else {
            for (int x = 0; x < target.width; ++x) to[x] = from[columns_[x]] | set;
        }
    }
}

}  // namespace platform::win32
