// VertexProcessing.h: the fixed-function vertex stage: position times world*view*projection as
// a row vector, the clip outcode, and for vertices inside every plane the viewport transform.
#pragma once

#include <cstddef>
#include <cstdint>

#include <d3d9types.h>

#include "d3d9/Clipper.h"
#include "d3d9/TriangleSetup.h"

namespace platform::d3d9 {

struct ViewportTransform {
    float centreX;  // X + Width/2: where x/w = 0 lands
    float centreY;
    float scaleX;   // Width/2
    float scaleY;   // Height/2
    float minZ;
    float rangeZ;   // MaxZ - MinZ
};

ViewportTransform viewportTransform(const D3DVIEWPORT9& viewport) noexcept;

// The viewport transform of one vertex (T = float) or of four, lane by lane (T = Lanes4).
template <class T>
struct Projected {
    T x, y, z, q, uq, vq;
};

template <class T>
Projected<T> projectLanes(T x, T y, T z, T w, T u, T v, const ViewportTransform& vp) noexcept {
    const T q = 1.0f / w;
    return {vp.centreX + x * q * vp.scaleX,
            vp.centreY - y * q * vp.scaleY,
            vp.minZ + z * q * vp.rangeZ,
            q,
            u * q,
            v * q};
}

inline ScreenVertex project(const ClipVertex& c, const ViewportTransform& vp) noexcept {
    const Projected<float> p = projectLanes(c.x, c.y, c.z, c.w, c.u, c.v, vp);
    return {p.x, p.y, p.z, p.q, p.uq, p.vq};
}

// Where a vertex's attributes lie in the buffer, in bytes from its start.
struct VertexLayout {
    unsigned size;            // bytes a vertex in this format
    unsigned texCoordOffset;  // meaningful when hasTexCoord
    bool hasTexCoord;
};

D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) noexcept;

// Transforms `count` vertices starting at `first`, `stride` bytes apart. screen[i] is written only
// where codes[i] is 0. Four vertices at a time.
void processVertices(const std::uint8_t* first, std::size_t stride, std::size_t count,
                     const VertexLayout& layout, const D3DMATRIX& worldViewProjection,
                     const ViewportTransform& viewport, ClipVertex* clip, ScreenVertex* screen,
                     std::uint8_t* codes) noexcept;

}  // namespace platform::d3d9
