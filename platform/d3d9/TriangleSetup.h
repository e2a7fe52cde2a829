// TriangleSetup.h: from three screen-space vertices to what the pixel loop steps: three edge
// functions in fixed point with the fill-rule bias folded in, the covered pixel box, and the
// screen-space gradients of depth, 1/w, u/w and v/w.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::d3d9 {

constexpr int kSubpixelBits = 8;
constexpr int kSubpixelScale = 1 << kSubpixelBits;

// After the viewport transform. Pixel centres lie on whole-number coordinates.
struct ScreenVertex {
    float x;   // pixels
    float y;   // pixels, downward
    float z;   // depth, MinZ..MaxZ
    float q;   // 1/w
    float uq;  // u/w
    float vq;  // v/w
};

enum class Cull { None, Clockwise, CounterClockwise };

// Pixels [left, right) x [top, bottom) that may be written.
struct Scissor {
    int left;
    int top;
    int right;
    int bottom;
};

// E(X, Y) = a*X + b*Y + c with X, Y in subpixels; a pixel is inside when E >= 0 for all three.
struct EdgeFunction {
    std::int64_t a;
    std::int64_t b;
    std::int64_t c;
};

struct Gradient {
    float dx;
    float dy;
};

// 1/w, u/w and v/w at a corner.
struct CornerValues {
    float q, uq, vq;
};

struct Triangle {
    EdgeFunction edge[3];
    int minX, maxX, minY, maxY;  // inclusive pixel box, inside the scissor
    float x0, y0;                // the point the attribute planes start from (vertex 0)
    float z0, q0, uq0, vq0;      // attribute values there
    Gradient z, q, uq, vq;
    // The planes at the other two corners, snapped as the edges are: with vertex 0's values the
    // extremes of any ratio of planes over the triangle, for the bounds in Magnification.h.
    CornerValues corner1, corner2;
};

// False when the triangle is culled, has no area after snapping, or covers no pixel of the
// scissor. Screen coordinates must lie within the guard band (see Clipper.h).
bool setupTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2, Cull cull,
                   const Scissor& scissor, Triangle& out) noexcept;

// setupTriangle for `count` triangles, the corners of triangle k at corners[3k], [3k + 1] and
// [3k + 2]: the triangles it keeps go to out[0], out[1], ... in their order. Returns how many.
std::size_t setupTriangles(const ScreenVertex* const* corners, std::size_t count, Cull cull,
                           const Scissor& scissor, Triangle* out) noexcept;

}  // namespace platform::d3d9
