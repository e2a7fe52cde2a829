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

// For each lane, one bit per plane (1 << ClipPlane) the vertex lies outside of.
Codes4 outcodes(const ClipLanes& v) noexcept;

// Clips the triangle against the planes in `planes` (the union of its vertices' outcodes) and
// writes the convex polygon left, in the triangle's winding, to `out`; returns its vertex count
// (0 when nothing is left). An edge shared by two triangles is cut at the same point in both.
int clipTriangle(const ClipVertex (&triangle)[3], std::uint8_t planes, ClipVertex* out) noexcept;

}  // namespace platform::d3d9
