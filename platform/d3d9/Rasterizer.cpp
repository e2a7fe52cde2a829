#include "d3d9/Rasterizer.h"

#include "d3d9/RasterizerAvx2.h"

#include <algorithm>

namespace platform::d3d9 {

namespace {

// floor(n / d) for d > 0 and |n| < 2^53, with its remainder. A 64-bit integer division costs
// several times a double one; the double quotient of n and d (both exact), truncated, is at most
// one off the floor after rounding, and the remainder puts that right.
struct FloorDivision {
    std::int64_t quotient;
    std::int64_t remainder;  // 0 <= remainder < d
};

FloorDivision floorDiv(std::int64_t n, std::int64_t d) noexcept {
    std::int64_t q = static_cast<std::int64_t>(static_cast<double>(n) / static_cast<double>(d));
    const std::int64_t r = n - q * d;
    // Without branches: which way the quotient is off follows the edge's sign.
    const std::int64_t fix = static_cast<std::int64_t>(r >= d) - static_cast<std::int64_t>(r < 0);
    return {q + fix, r - fix * d};
}

bool depthPasses(D3DCMPFUNC func, std::uint16_t value, std::uint16_t stored) noexcept {
    switch (func) {
        case D3DCMP_NEVER: return false;
        case D3DCMP_LESS: return value < stored;
        case D3DCMP_EQUAL: return value == stored;
        case D3DCMP_LESSEQUAL: return value <= stored;
        case D3DCMP_GREATER: return value > stored;
        case D3DCMP_NOTEQUAL: return value != stored;
        case D3DCMP_GREATEREQUAL: return value >= stored;
        case D3DCMP_ALWAYS: return true;
    }
    return false;
}

// Channel by channel t * d / 255, with 255 leaving t unchanged.
std::uint32_t modulate(std::uint32_t t, std::uint32_t d) noexcept {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t tc = (t >> shift) & 0xFF;
        std::uint32_t dc = (d >> shift) & 0xFF;
        dc += dc >> 7;
        out |= ((tc * dc) >> 8) << shift;
    }
    return out;
}

struct FlatShade {
    static std::uint32_t colour(const PixelState& s, const Triangle&, float, float, float) noexcept {
        return s.diffuse;
    }
};

template <Filter Mag, Filter Min, MipFilter Mip, bool Modulate>
struct TextureShade {
    static std::uint32_t colour(const PixelState& s, const Triangle& t, float q, float uq,
                                float vq) noexcept {
        const float r = 1.0f / q;
        const float u = uq * r;
        const float v = vq * r;
        float lod = 1.0f;  // only decides magnification against minification below
        if constexpr (Mip != MipFilter::None || Mag != Min) {
            // d(u)/dx of u = (u/w) / (1/w), and so on: the exact derivatives at this pixel.
            const float dudx = (t.uq.dx - u * t.q.dx) * r * s.sampler.width0;
            const float dvdx = (t.vq.dx - v * t.q.dx) * r * s.sampler.height0;
            const float dudy = (t.uq.dy - u * t.q.dy) * r * s.sampler.width0;
            const float dvdy = (t.vq.dy - v * t.q.dy) * r * s.sampler.height0;
            const float rho2 = std::max(dudx * dudx + dvdx * dvdx, dudy * dudy + dvdy * dvdy);
            lod = levelOfDetail(rho2, s.sampler.lodBias);
        }
        const std::uint32_t texel = sampleTexture<Mag, Min, Mip>(s.sampler, u, v, lod);
        if constexpr (Modulate) {
            return modulate(texel, s.diffuse);
        } else {
            return texel;
        }
    }
};

template <DepthMode D, class Shade>
void rasterRows(const Triangle& t, const PixelState& s, int yBegin, int yEnd,
                PixelQueue& queue) noexcept {
    RowWalker rows(t, yBegin);
    for (int y = yBegin; y <= yEnd; ++y) {
        int xBegin;
        int xEnd;
        if (!rows.next(xBegin, xEnd)) continue;
        const RowStart start = rowStart(t, xBegin, y);
        std::uint32_t* colour = s.colour + static_cast<std::ptrdiff_t>(y) * s.pitch;
        std::uint16_t* depth =
            D == DepthMode::Off ? nullptr : s.depth + static_cast<std::ptrdiff_t>(y) * s.pitch;
        for (int x = xBegin; x <= xEnd; ++x) {
            const auto k = static_cast<float>(x - xBegin);
            bool visible = true;
            if constexpr (D != DepthMode::Off) {
                const std::uint16_t value = depthValue(start.z + t.z.dx * k);
                if constexpr (D == DepthMode::LessEqualWrite) {
                    visible = value <= depth[x];
                    if (visible) depth[x] = value;
                } else {
                    visible = depthPasses(s.depthFunc, value, depth[x]);
                    if (visible && s.depthWrite) depth[x] = value;
                }
            }
            if (visible) {
                ++queue.shaded;
                colour[x] = Shade::colour(s, t, start.q + t.q.dx * k, start.uq + t.uq.dx * k,
                                          start.vq + t.vq.dx * k) |
                            0xFF000000u;
            }
        }
    }
}

template <DepthMode D, Filter Mag, Filter Min, MipFilter Mip>
RasterFunction pickModulate(const PixelState& s) noexcept {
    if (s.modulate) return &rasterRows<D, TextureShade<Mag, Min, Mip, true>>;
    return &rasterRows<D, TextureShade<Mag, Min, Mip, false>>;
}

template <DepthMode D, Filter Mag, Filter Min>
RasterFunction pickMip(const PixelState& s) noexcept {
    switch (s.mip) {
        case MipFilter::None: return pickModulate<D, Mag, Min, MipFilter::None>(s);
        case MipFilter::Point: return pickModulate<D, Mag, Min, MipFilter::Point>(s);
        case MipFilter::Linear: break;
    }
    return pickModulate<D, Mag, Min, MipFilter::Linear>(s);
}

template <DepthMode D, Filter Mag>
RasterFunction pickMin(const PixelState& s) noexcept {
    if (s.min == Filter::Point) return pickMip<D, Mag, Filter::Point>(s);
    return pickMip<D, Mag, Filter::Linear>(s);
}

template <DepthMode D>
RasterFunction pickShade(const PixelState& s) noexcept {
    if (!s.textured) return &rasterRows<D, FlatShade>;
    if (s.mag == Filter::Point) return pickMin<D, Filter::Point>(s);
    return pickMin<D, Filter::Linear>(s);
}

}  // namespace

[[gnu::always_inline]] inline RowWalker::Bound RowWalker::boundOf(const EdgeFunction& e,
                                                                  int y) noexcept {
    // E(x) on this row is e(y) + x * step: x >= -e(y) / step for step > 0, x <= e(y) / -step for
    // step < 0, and e(y) >= 0 for an edge along the row.
    const std::int64_t step = e.a * kSubpixelScale;
    const std::int64_t atRow = e.b * (static_cast<std::int64_t>(y) << kSubpixelBits) + e.c;
    const std::int64_t rowStep = e.b * kSubpixelScale;
    Bound b;
    // Without branches: the third edge's direction follows the triangle's shape.
    const std::int64_t magnitude = step < 0 ? -step : step;
    b.divisor = magnitude + (magnitude == 0);
    const FloorDivision start = floorDiv(atRow, b.divisor);
    const FloorDivision perRow = floorDiv(rowStep, b.divisor);
    b.quotient = start.quotient;
    b.remainder = start.remainder;
    b.quotientStep = perRow.quotient;
    b.remainderStep = perRow.remainder;
    return b;
}

RowWalker::RowWalker(const Triangle& t, int y) noexcept : minX_(t.minX), maxX_(t.maxX) {
    // A set-up triangle has area, so both exist; the rest is the third edge. Picked without
    // branches: the signs follow the triangle's shape, which no predictor guesses.
    const std::int64_t a0 = t.edge[0].a;
    const std::int64_t a1 = t.edge[1].a;
    const int left = (a0 <= 0) * (1 + (a1 <= 0));
    const int right = (a0 >= 0) * (1 + (a1 >= 0));
    const int third = 3 - left - right;
    left_ = boundOf(t.edge[left], y);
    right_ = boundOf(t.edge[right], y);
    third_ = boundOf(t.edge[third], y);
    // A bound's quotient stays far inside +-2^53 over the guard band (see Clipper.h).
    constexpr std::int64_t kOutOfReach = std::int64_t{1} << 60;
    thirdLow_ = t.edge[third].a > 0 ? 0 : -kOutOfReach;
    thirdHigh_ = t.edge[third].a < 0 ? 0 : kOutOfReach;
}

RasterLoop selectRasterLoop(const PixelState& s) noexcept {
    const RasterLoop vector = selectAvx2RasterLoop(s);
    return vector.raster ? vector : selectScalarRasterLoop(s);
}

RasterLoop selectScalarRasterLoop(const PixelState& s) noexcept {
    switch (s.depthMode) {
        case DepthMode::Off: return {pickShade<DepthMode::Off>(s), nullptr};
        case DepthMode::LessEqualWrite: return {pickShade<DepthMode::LessEqualWrite>(s), nullptr};
        case DepthMode::Generic: break;
    }
    return {pickShade<DepthMode::Generic>(s), nullptr};
}

}  // namespace platform::d3d9
