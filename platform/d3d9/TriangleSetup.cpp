#include "d3d9/TriangleSetup.h"

#include "d3d9/TriangleSetupAvx2.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace platform::d3d9 {

namespace {

struct Snapped {
    std::int64_t x;
    std::int64_t y;
};

Snapped snap(const ScreenVertex& v) noexcept {
    return {std::lrintf(v.x * kSubpixelScale), std::lrintf(v.y * kSubpixelScale)};
}

// Inside lies to the right of a -> b on screen (y downward), for a clockwise triangle.
EdgeFunction makeEdge(const Snapped& a, const Snapped& b) noexcept {
    EdgeFunction e;
    e.a = a.y - b.y;
    e.b = b.x - a.x;
    e.c = -(e.a * a.x + e.b * a.y);
    // Direct3D's top-left rule: a centre exactly on a left edge (inside to its right) or a top
    // edge (horizontal, inside below) belongs to the triangle; on any other edge it does not,
    // so a centre on an edge shared by two triangles is drawn exactly once.
    const bool topLeft = e.a > 0 || (e.a == 0 && e.b > 0);
    if (!topLeft) e.c -= 1;
    return e;
}

// Depth, 1/w, u/w and v/w in four lanes: the planes of all four are worked out at once.
using Attributes = float __attribute__((vector_size(16)));

Attributes attributesOf(const ScreenVertex& v) noexcept {
    return Attributes{v.z, v.q, v.uq, v.vq};
}

// The four lanes' values stored into consecutive floats of `t` from its member at `offset` on:
// one store, where member by member the lanes would first be taken apart.
template <std::size_t Lanes = 4>
void storeLanes(Triangle& t, std::size_t offset, Attributes lanes) noexcept {
    std::memcpy(reinterpret_cast<unsigned char*>(&t) + offset, &lanes, Lanes * sizeof(float));
}
static_assert(offsetof(Triangle, vq0) == offsetof(Triangle, z0) + 3 * sizeof(float));
static_assert(offsetof(Triangle, vq) == offsetof(Triangle, z) + 3 * sizeof(Gradient));
static_assert(offsetof(Triangle, corner2) == offsetof(Triangle, corner1) + sizeof(CornerValues) &&
              sizeof(CornerValues) == 3 * sizeof(float));
static_assert(offsetof(Triangle, corner1) == offsetof(Triangle, vq) + sizeof(Gradient));

int ceilPixel(std::int64_t subpixels) noexcept {
    return static_cast<int>((subpixels + kSubpixelScale - 1) >> kSubpixelBits);
}

int floorPixel(std::int64_t subpixels) noexcept {
    return static_cast<int>(subpixels >> kSubpixelBits);
}

// Inlined into both entry points: a run of triangles keeps its constants in registers.
__attribute__((always_inline)) inline bool setUp(const ScreenVertex& v0, const ScreenVertex& v1In,
                                                 const ScreenVertex& v2In, Cull cull,
                                                 const Scissor& scissor, Triangle& out) noexcept {
    Snapped p0 = snap(v0);
    Snapped p1 = snap(v1In);
    Snapped p2 = snap(v2In);
    // Twice the signed area in subpixels squared; positive when clockwise on screen.
    const std::int64_t area = (p1.x - p0.x) * (p2.y - p0.y) - (p2.x - p0.x) * (p1.y - p0.y);
    if (area == 0) return false;
    if (cull == Cull::Clockwise && area > 0) return false;
    if (cull == Cull::CounterClockwise && area < 0) return false;

    const ScreenVertex* v1 = &v1In;
    const ScreenVertex* v2 = &v2In;
    if (area < 0) {
        std::swap(p1, p2);
        std::swap(v1, v2);
    }

    out.minX = std::max(scissor.left, ceilPixel(std::min({p0.x, p1.x, p2.x})));
    out.maxX = std::min(scissor.right - 1, floorPixel(std::max({p0.x, p1.x, p2.x})));
    out.minY = std::max(scissor.top, ceilPixel(std::min({p0.y, p1.y, p2.y})));
    // A centre as low as the lowest corner lies outside: it is that corner, where an edge that
    // bounds x from the right (not a top-left edge) ends, or it lies on a bottom edge along the
    // row (not one either), or past both. So the box stops above it, and the row walk need not
    // look at an edge along the rows at all.
    out.maxY = std::min(scissor.bottom - 1, floorPixel(std::max({p0.y, p1.y, p2.y}) - 1));
    if (out.minX > out.maxX || out.minY > out.maxY) return false;

    out.edge[0] = makeEdge(p0, p1);
    out.edge[1] = makeEdge(p1, p2);
    out.edge[2] = makeEdge(p2, p0);

    // The planes go through the snapped positions, so the attributes match the covered pixels.
    constexpr float kToPixels = 1.0f / kSubpixelScale;
    out.x0 = static_cast<float>(p0.x) * kToPixels;
    out.y0 = static_cast<float>(p0.y) * kToPixels;
    const float dx1 = static_cast<float>(p1.x - p0.x) * kToPixels;
    const float dy1 = static_cast<float>(p1.y - p0.y) * kToPixels;
    const float dx2 = static_cast<float>(p2.x - p0.x) * kToPixels;
    const float dy2 = static_cast<float>(p2.y - p0.y) * kToPixels;
    const float invArea = static_cast<float>(
        static_cast<double>(kSubpixelScale) * kSubpixelScale / static_cast<double>(std::abs(area)));
    const Attributes a0 = attributesOf(v0);
    const Attributes da1 = attributesOf(*v1) - a0;
    const Attributes da2 = attributesOf(*v2) - a0;
    const Attributes dx = (da1 * dy2 - da2 * dy1) * invArea;
    const Attributes dy = (da2 * dx1 - da1 * dx2) * invArea;
    using Lanes = std::int32_t __attribute__((vector_size(16)));
    storeLanes(out, offsetof(Triangle, z0), a0);
    // Each attribute's gradient is its dx and dy side by side.
    storeLanes(out, offsetof(Triangle, z), __builtin_shuffle(dx, dy, Lanes{0, 4, 1, 5}));
    // As a pixel's rowStart evaluates them, so the bounds see the planes the pixels see: 1/w,
    // u/w and v/w at each corner, one after the other.
    const Attributes at1 = a0 + dx * dx1 + dy * dy1;
    const Attributes at2 = a0 + dx * dx2 + dy * dy2;
    // Whole lanes, depth first, each over the float before: the second corner's depth lands on
    // the first corner's v/w, which the first corner's store then writes, and the first
    // corner's depth on the gradient of v/w, stored last. Overlapping stores instead of
    // shuffles: the pixel loop reads them well after they have reached the cache.
    storeLanes(out, offsetof(Triangle, corner2) - sizeof(float), at2);
    storeLanes(out, offsetof(Triangle, corner1) - sizeof(float), at1);
    storeLanes(out, offsetof(Triangle, uq), __builtin_shuffle(dx, dy, Lanes{2, 6, 3, 7}));
    return true;
}

}  // namespace

bool setupTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2,
                   Cull cull, const Scissor& scissor, Triangle& out) noexcept {
    return setUp(v0, v1, v2, cull, scissor, out);
}

std::size_t setupTriangles(const ScreenVertex* const* corners, std::size_t count, Cull cull,
                           const Scissor& scissor, Triangle* out) noexcept {
    static const SetupTrianglesFunction lanes = selectAvx2SetupTriangles();
    if (lanes) return lanes(corners, count, cull, scissor, out);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i, corners += 3) {
        kept += setUp(*corners[0], *corners[1], *corners[2], cull, scissor, out[kept]);
    }
    return kept;
}

}  // namespace platform::d3d9
