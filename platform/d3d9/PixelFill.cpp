#include "d3d9/PixelFill.h"

namespace platform::d3d9 {

namespace {

// 64 bytes of a repeated 32-bit pattern; may alias the pixels it is stored over.
using Line = std::uint32_t __attribute__((vector_size(64), may_alias));

// Cloned for the vector widths the CPU may have, the widest picked when the program loads: the
// whole frame's clear is store bandwidth, which the widest stores use best.
[[gnu::target_clones("avx512f", "avx2", "default")]] void fillLines(
    Line* first, std::size_t count, std::uint32_t pattern) noexcept {
    const Line line = Line{} + pattern;
    for (std::size_t i = 0; i < count; ++i) first[i] = line;
}

template <class Pixel>
void fillRun(Pixel* first, std::size_t count, Pixel value, std::uint32_t pattern) noexcept {
    constexpr std::size_t kPerLine = sizeof(Line) / sizeof(Pixel);
    for (; count > 0 && reinterpret_cast<std::uintptr_t>(first) % sizeof(Line) != 0; --count) {
        *first++ = value;
    }
    fillLines(reinterpret_cast<Line*>(first), count / kPerLine, pattern);
    first += count / kPerLine * kPerLine;
    for (count %= kPerLine; count > 0; --count) *first++ = value;
}

}  // namespace

void fillPixels(std::uint32_t* first, std::size_t count, std::uint32_t value) noexcept {
    fillRun(first, count, value, value);
}

void fillPixels(std::uint16_t* first, std::size_t count, std::uint16_t value) noexcept {
    fillRun(first, count, value, value * 0x00010001u);
}

}  // namespace platform::d3d9
