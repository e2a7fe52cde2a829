// Rasterizer.h: the pixel loop. It walks a set-up triangle row by row, finds each row's covered
// span exactly from the edge functions, and tests depth, samples, modulates and writes each
// pixel. One instance per depth mode, filter set and texture presence, picked once per draw.
#pragma once

#include <algorithm>
#include <cstdint>

#include <d3d9types.h>

#include "d3d9/Sampler.h"
#include "d3d9/TriangleSetup.h"

namespace platform::d3d9 {

enum class DepthMode {
    Off,             // no test, no write (D3DRS_ZENABLE FALSE or no depth buffer)
    LessEqualWrite,  // Direct3D's default: LESSEQUAL with writes
    Generic,         // any other function or write setting
};

struct PixelState {
    std::uint32_t* colour;  // the back buffer
    std::uint16_t* depth;   // the depth buffer, or null with DepthMode::Off
    int pitch;              // pixels, both buffers
    DepthMode depthMode;
    D3DCMPFUNC depthFunc;   // DepthMode::Generic only
    bool depthWrite;        // DepthMode::Generic only
    bool textured;          // false: every pixel takes the diffuse colour
    Filter mag;
    Filter min;
    MipFilter mip;
    SamplerSetup sampler;
    LevelLayout layout;     // of sampler's levels
    bool modulate;          // false when the diffuse colour is opaque white
    std::uint32_t diffuse;  // A8R8G8B8
};

// Pixels that passed the depth test and wait to be sampled, for a loop that samples several at
// a time: a triangle's rows are short, and a pass per row would run half empty. Whoever walks a
// draw's triangles on one thread keeps one queue and flushes it when the walk ends; pixels leave
// in the order they came, so a later triangle's pixel still lands over an earlier one's.
struct PixelQueue {
    alignas(32) float u[8] = {};
    alignas(32) float v[8] = {};
    alignas(32) float rho2[8] = {};  // squared step in level-0 texels, for the level of detail
    alignas(32) std::int32_t pixel[8] = {};  // index into the back buffer
    int count = 0;
    std::uint64_t shaded = 0;     // pixels queued or written so far, for the device's counters
    std::uint64_t triangles = 0;  // raster calls so far, counted by the caller
    // What a loop works out from the draw's state on its first triangle, kept for the draw's
    // other triangles: `derivedFor` is the state it came from, and the flush forgets it.
    const PixelState* derivedFor = nullptr;
    alignas(32) unsigned char derived[1024];
};

// Draws the triangle's rows from yBegin to yEnd, both inclusive and inside its box.
using RasterFunction = void (*)(const Triangle&, const PixelState&, int yBegin, int yEnd,
                                PixelQueue& queue);
// Writes the pixels still waiting in the queue.
using FlushFunction = void (*)(const PixelState&, PixelQueue& queue);

struct RasterLoop {
    RasterFunction raster;
    FlushFunction flush;  // null for a loop that writes each pixel at once
};

// The fastest loop the CPU has for `state`; all of them draw the same pixels.
RasterLoop selectRasterLoop(const PixelState& state) noexcept;
// The portable loop, which covers every state.
RasterLoop selectScalarRasterLoop(const PixelState& state) noexcept;

// Walks a triangle's rows downward from row y and gives each row's covered pixels, exactly as
// the edge functions decide on the rows of its box. Each edge's bound on x is floor(E / |a|) for
// the row's part E of the edge function, kept as quotient and remainder: the first row costs a
// division per edge, each further row a few additions.
class RowWalker {
public:
    RowWalker(const Triangle& t, int y) noexcept;

    // The covered pixels [xBegin, xEnd] of the current row, false when none; then steps down.
    bool next(int& xBegin, int& xEnd) noexcept;

private:
    struct Bound {
        std::int64_t quotient;   // floor(E / divisor) on the current row
        std::int64_t remainder;  // 0 <= remainder < divisor
        std::int64_t quotientStep;
        std::int64_t remainderStep;
        std::int64_t divisor;

        void step() noexcept {
            remainder += remainderStep;
            const bool carry = remainder >= divisor;
            quotient += quotientStep + carry;
            remainder -= carry ? divisor : 0;
        }
    };

    // The x coefficients of a triangle's edges sum to zero, so one edge bounds x from below and
    // one from above; the third does either, or lies along the rows, where set-up's box already
    // holds the rows it leaves in.
    static Bound boundOf(const EdgeFunction& e, int y) noexcept;

    Bound left_;
    Bound right_;
    Bound third_;
    // Added to the third edge's lower and upper bound: 0 on the side it bounds, and out of any
    // row's reach on the other (along the rows, on both), so every row takes it the same way.
    std::int64_t thirdLow_;
    std::int64_t thirdHigh_;
    int minX_;
    int maxX_;
};

inline bool RowWalker::next(int& xBegin, int& xEnd) noexcept {
    // -floor(e / a) = ceil(-e / a): the first x inside a left-hand edge.
    const std::int64_t lo = std::max(std::max<std::int64_t>(minX_, -left_.quotient),
                                     thirdLow_ - third_.quotient);
    const std::int64_t hi = std::min(std::min<std::int64_t>(maxX_, right_.quotient),
                                     third_.quotient + thirdHigh_);
    left_.step();
    right_.step();
    third_.step();
    if (lo > hi) return false;
    xBegin = static_cast<int>(lo);
    xEnd = static_cast<int>(hi);
    return true;
}

// The attributes at pixel (x, y). Along the row each pixel k steps on takes start + dx * k,
// computed afresh rather than summed, so a loop that handles several pixels at once gets the
// same values bit for bit.
struct RowStart {
    float z, q, uq, vq;
};

inline RowStart rowStart(const Triangle& t, int x, int y) noexcept {
    const float fx = static_cast<float>(x) - t.x0;
    const float fy = static_cast<float>(y) - t.y0;
    return {t.z0 + t.z.dx * fx + t.z.dy * fy, t.q0 + t.q.dx * fx + t.q.dy * fy,
            t.uq0 + t.uq.dx * fx + t.uq.dy * fy, t.vq0 + t.vq.dx * fx + t.vq.dy * fy};
}

// Depth in 0..1 to the 16-bit buffer's scale.
inline std::uint16_t depthValue(float z) noexcept {
    if (!(z > 0.0f)) return 0;
    if (z >= 1.0f) return 0xFFFF;
    return static_cast<std::uint16_t>(z * 65535.0f + 0.5f);
}

}  // namespace platform::d3d9
