#include "d3d9/VertexProcessing.h"

#include <algorithm>
#include <cstddef>
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

namespace {

// Four vertices' values, one vertex a lane, turned into one vertex a vector.
struct VertexLanes {
    Lanes4 vertex[4];
};

VertexLanes transpose(Lanes4 a, Lanes4 b, Lanes4 c, Lanes4 d) noexcept {
    const Lanes4 ab01 = __builtin_shuffle(a, b, Codes4{0, 4, 1, 5});
    const Lanes4 ab23 = __builtin_shuffle(a, b, Codes4{2, 6, 3, 7});
    const Lanes4 cd01 = __builtin_shuffle(c, d, Codes4{0, 4, 1, 5});
    const Lanes4 cd23 = __builtin_shuffle(c, d, Codes4{2, 6, 3, 7});
    return {{__builtin_shuffle(ab01, cd01, Codes4{0, 1, 4, 5}),
             __builtin_shuffle(ab01, cd01, Codes4{2, 3, 6, 7}),
             __builtin_shuffle(ab23, cd23, Codes4{0, 1, 4, 5}),
             __builtin_shuffle(ab23, cd23, Codes4{2, 3, 6, 7})}};
}

// Two values of four vertices, one vertex a lane, interleaved into each vertex's pair:
// {a0, b0, a1, b1} and {a2, b2, a3, b3}.
struct PairLanes {
    Lanes4 low, high;

    const float* of(int vertex) const noexcept {
        return reinterpret_cast<const float*>(vertex < 2 ? &low : &high) + 2 * (vertex % 2);
    }
};

PairLanes interleave(Lanes4 a, Lanes4 b) noexcept {
    return {__builtin_shuffle(a, b, Codes4{0, 4, 1, 5}),
            __builtin_shuffle(a, b, Codes4{2, 6, 3, 7})};
}

static_assert(offsetof(ClipVertex, u) == 4 * sizeof(float) &&
              sizeof(ClipVertex) == 6 * sizeof(float));
static_assert(offsetof(ScreenVertex, uq) == 4 * sizeof(float) &&
              sizeof(ScreenVertex) == 6 * sizeof(float));

}  // namespace

void processVertices(const std::uint8_t* first, std::size_t stride, std::size_t count,
                     const VertexLayout& layout, const D3DMATRIX& m,
                     const ViewportTransform& viewport, ClipVertex* clip, ScreenVertex* screen,
                     std::uint8_t* codes) noexcept {
    for (std::size_t i = 0; i < count; i += 4) {
        const std::size_t lanes = std::min<std::size_t>(4, count - i);
        // Lanes past the last vertex repeat it: their results are not stored.
        const std::uint8_t* vertex[4];
        for (std::size_t k = 0; k < 4; ++k) vertex[k] = first + (i + std::min(k, lanes - 1)) * stride;
        // Vertex data need not be aligned for floats: copy rather than cast.
        const auto lanesAt = [&](unsigned offset) {
            float f[4];
            for (int k = 0; k < 4; ++k) std::memcpy(&f[k], vertex[k] + offset, sizeof(float));
            return Lanes4{f[0], f[1], f[2], f[3]};
        };
        const Lanes4 px = lanesAt(0);
        const Lanes4 py = lanesAt(4);
        const Lanes4 pz = lanesAt(8);
        const Lanes4 u = layout.hasTexCoord ? lanesAt(layout.texCoordOffset) : Lanes4{};
        const Lanes4 v = layout.hasTexCoord ? lanesAt(layout.texCoordOffset + 4) : Lanes4{};
        const ClipLanes c = {px * m._11 + py * m._21 + pz * m._31 + m._41,
                             px * m._12 + py * m._22 + pz * m._32 + m._42,
                             px * m._13 + py * m._23 + pz * m._33 + m._43,
                             px * m._14 + py * m._24 + pz * m._34 + m._44};
        const Codes4 code = outcodes(c);
        const Projected<Lanes4> s = projectLanes(c.x, c.y, c.z, c.w, u, v, viewport);
        // Vertex by vertex: {x, y, z, w} of each in one store, {u, v} in another.
        const VertexLanes position = transpose(c.x, c.y, c.z, c.w);
        const PairLanes uv = interleave(u, v);
        const VertexLanes projected = transpose(s.x, s.y, s.z, s.q);
        const PairLanes projectedUv = interleave(s.uq, s.vq);
        const auto store = [&]<int K>() {
            if (K >= static_cast<int>(lanes)) return;
            std::memcpy(&clip[i + K].x, &position.vertex[K], sizeof(Lanes4));
            std::memcpy(&clip[i + K].u, uv.of(K), 2 * sizeof(float));
            codes[i + K] = static_cast<std::uint8_t>(code[K]);
            if (code[K] == 0) {
                std::memcpy(&screen[i + K].x, &projected.vertex[K], sizeof(Lanes4));
                std::memcpy(&screen[i + K].uq, projectedUv.of(K), 2 * sizeof(float));
            }
        };
        store.template operator()<0>();
        store.template operator()<1>();
        store.template operator()<2>();
        store.template operator()<3>();
    }
}

}  // namespace platform::d3d9
