// Clipper.h: homogeneous clipping of triangles in clip space, before the divide by w. Depth is
// clipped to 0 <= z <= w as Direct3D does; x and y only to a guard band kGuardBand times the view
// volume, since the pixel loop's scissor cuts the rest exactly and keeps edges shared.
#pragma once

#include <cstdint>

namespace platform::d3d9 {

// Keeps snapped screen coordinates of an 8192-pixel target inside 32 bits at 8 subpixel bits.
constexpr float kGuardBand = 8.0f;
// Below this w a point is treated as behind the eye even if the projection lets z >= 0 there.
constexpr float kMinW = 1.0e-5f;

struct ClipVertex {
    float x, y, z, w;  // clip space
    float u, v;        // texture coordinates
};

enum class ClipPlane : std::uint8_t { Near, Far, Left, Right, Bottom, Top, PositiveW };
constexpr int kClipPlaneCount = 7;

// A triangle gains at most one vertex per plane.
constexpr int kMaxClipVertices = 3 + kClipPlaneCount;

// Four vertices' clip-space coordinates, one vertex a lane.
using Lanes4 = float __attribute__((vector_size(16)));
using Codes4 = std::int32_t __attribute__((vector_size(16)));
struct ClipLanes {
    Lanes4 x, y, z, w;
};

// Signed distance from the plane, >= 0 inside; of one vertex, or of four lane by lane.
template <ClipPlane P, class Vertex>
auto planeDistance(const Vertex& v) noexcept {
    if constexpr (P == ClipPlane::Near) return v.z;
    if constexpr (P == ClipPlane::Far) return v.w - v.z;
    if constexpr (P == ClipPlane::Left) return v.x + kGuardBand * v.w;
    if constexpr (P == ClipPlane::Right) return kGuardBand * v.w - v.x;
    if constexpr (P == ClipPlane::Bottom) return v.y + kGuardBand * v.w;
    if constexpr (P == ClipPlane::Top) return kGuardBand * v.w - v.y;
    if constexpr (P == ClipPlane::PositiveW) return v.w - kMinW;
}

// For each lane, one bit per plane (1 << ClipPlane) the vertex lies outside of. Inline: the
// vertex stage asks for every four vertices.
inline Codes4 outcodes(const ClipLanes& v) noexcept {
    const auto bit = [](Codes4 outside, ClipPlane plane) {
        return outside & (1 << static_cast<int>(plane));
    };
    const Codes4 code = bit(planeDistance<ClipPlane::Near>(v) < 0.0f, ClipPlane::Near) |
                        bit(planeDistance<ClipPlane::Far>(v) < 0.0f, ClipPlane::Far) |
                        bit(planeDistance<ClipPlane::Left>(v) < 0.0f, ClipPlane::Left) |
                        bit(planeDistance<ClipPlane::Right>(v) < 0.0f, ClipPlane::Right) |
                        bit(planeDistance<ClipPlane::Bottom>(v) < 0.0f, ClipPlane::Bottom) |
                        bit(planeDistance<ClipPlane::Top>(v) < 0.0f, ClipPlane::Top) |
                        bit(planeDistance<ClipPlane::PositiveW>(v) < 0.0f, ClipPlane::PositiveW);
    // NaN compares false everywhere: a vertex with one must count as outside, not inside.
    const Codes4 nan = (v.x != v.x) | (v.y != v.y) | (v.z != v.z) | (v.w != v.w);
    return (nan & 0x7F) | (~nan & code);
}

// Clips the triangle against the planes in `planes` (the union of its vertices' outcodes) and
// writes the convex polygon left, in the triangle's winding, to `out`; returns its vertex count
// (0 when nothing is left). An edge shared by two triangles is cut at the same point in both.
int clipTriangle(const ClipVertex (&triangle)[3], std::uint8_t planes, ClipVertex* out) noexcept;

}  // namespace platform::d3d9
