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

inline ScreenVertex project(const ClipVertex& c, const ViewportTransform& vp) noexcept {
    const float q = 1.0f / c.w;
    return {vp.centreX + c.x * q * vp.scaleX,
            vp.centreY - c.y * q * vp.scaleY,
            vp.minZ + c.z * q * vp.rangeZ,
            q,
            c.u * q,
            c.v * q};
}

// Where a vertex's attributes lie in the buffer, in bytes from its start.
struct VertexLayout {
    unsigned size;            // bytes a vertex in this format
    unsigned texCoordOffset;  // meaningful when hasTexCoord
    bool hasTexCoord;
};

D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) noexcept;

// Transforms `count` vertices starting at `first`, `stride` bytes apart. screen[i] is written only
// where codes[i] is 0.
void processVertices(const std::uint8_t* first, std::size_t stride, std::size_t count,
                     const VertexLayout& layout, const D3DMATRIX& worldViewProjection,
                     const ViewportTransform& viewport, ClipVertex* clip, ScreenVertex* screen,
                     std::uint8_t* codes) noexcept;

}  // namespace platform::d3d9
