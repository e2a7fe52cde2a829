#include "win32/FrameStretch.h"

#include <algorithm>
#include <cstring>

#include "win32/Window.h"

namespace platform::win32 {
namespace {

// Nearest source index for a target index, sampling at the target pixel's centre.
int nearest(int target, int sourceSize, int targetSize) {
    return static_cast<int>((2 * static_cast<std::int64_t>(target) + 1) * sourceSize /
                            (2 * static_cast<std::int64_t>(targetSize)));
}

constexpr std::uint32_t kOpaque = 0xFF000000u;

// Below this many pixels the copy stays on the calling thread: waking the others costs more.
constexpr std::int64_t kSpreadPixels = 1 << 18;
constexpr int kBandRows = 32;

struct BandCopy {
    const FrameStretch& stretch;
    PixelRows<const std::uint32_t> source;
    PixelRows<std::uint32_t> target;
    bool opaque;
};

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

void FrameStretch::rowsSpread(PixelRows<const std::uint32_t> source,
                              PixelRows<std::uint32_t> target, bool opaque,
                              const ParallelFor& split) const noexcept {
    const auto pixels = static_cast<std::int64_t>(target.width) * target.height;
    if (!split.run || split.threads < 2 || pixels < kSpreadPixels) {
        rows(source, target, 0, target.height, opaque);
        return;
    }
    BandCopy copy{*this, source, target, opaque};
    const auto bands = static_cast<unsigned>((target.height + kBandRows - 1) / kBandRows);
    split.run(split.pool, bands, &copy, [](void* context, unsigned index) noexcept {
        const auto& c = *static_cast<const BandCopy*>(context);
        const int first = static_cast<int>(index) * kBandRows;
        c.stretch.rows(c.source, c.target, first, std::min(first + kBandRows, c.target.height),
                       c.opaque);
    });
}

}  // namespace platform::win32
