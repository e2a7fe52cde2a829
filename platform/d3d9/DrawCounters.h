// DrawCounters.h: what the software device has drawn since it was made, for benchmarks that
// state their cost per triangle and per pixel.
#pragma once

#include <d3d9.h>

#include <atomic>
#include <cstdint>

namespace platform::d3d9 {

struct DrawCounts {
    std::uint64_t triangles;  // rasterized: set up, then walked (once per stripe it touches)
    std::uint64_t pixels;     // shaded: inside a triangle and past the depth test
};

// Summed by every thread at the end of each stripe of a frame it draws.
struct DrawCounters {
    std::atomic<std::uint64_t> triangles{0};
    std::atomic<std::uint64_t> pixels{0};

    void add(std::uint64_t moreTriangles, std::uint64_t morePixels) noexcept {
        triangles.fetch_add(moreTriangles, std::memory_order_relaxed);
        pixels.fetch_add(morePixels, std::memory_order_relaxed);
    }
};

// The counts of the software device behind `device`; zeros for any other device.
DrawCounts drawCounts(IDirect3DDevice9* device) noexcept;

}  // namespace platform::d3d9
