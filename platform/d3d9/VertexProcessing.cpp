#include "d3d9/VertexProcessing.h"

#include <cstring>

namespace platform::d3d9 {

ViewportTransform viewportTransform(const D3DVIEWPORT9& viewport) noexcept {
    const float halfW = static_cast<float>(viewport.Width) * 0.5f;
    const float halfH = static_cast<float>(viewport.Height) * 0.5f;
    return {static_cast<float>(viewport.X) + halfW, static_cast<float>(viewport.Y) + halfH, halfW,
            halfH, viewport.MinZ, viewport.MaxZ - viewport.MinZ};
}

D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) noexcept {
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

void processVertices(const std::uint8_t* first, std::size_t stride, std::size_t count,
                     const VertexLayout& layout, const D3DMATRIX& m,
                     const ViewportTransform& viewport, ClipVertex* clip, ScreenVertex* screen,
                     std::uint8_t* codes) noexcept {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* vertex = first + i * stride;
        // Vertex data need not be aligned for floats: copy rather than cast.
        float p[3];
        std::memcpy(p, vertex, sizeof p);
        float uv[2] = {0.0f, 0.0f};
        if (layout.hasTexCoord) std::memcpy(uv, vertex + layout.texCoordOffset, sizeof uv);
        ClipVertex& c = clip[i];
        c.x = p[0] * m._11 + p[1] * m._21 + p[2] * m._31 + m._41;
        c.y = p[0] * m._12 + p[1] * m._22 + p[2] * m._32 + m._42;
        c.z = p[0] * m._13 + p[1] * m._23 + p[2] * m._33 + m._43;
        c.w = p[0] * m._14 + p[1] * m._24 + p[2] * m._34 + m._44;
        c.u = uv[0];
        c.v = uv[1];
        codes[i] = outcode(c);
        if (codes[i] == 0) screen[i] = project(c, viewport);
    }
}

}  // namespace platform::d3d9
