// Sampler.h: texture sampling for stage 0: wrap addressing, point and bilinear filters, and the
// none/point/linear mip filters. Filters weigh texels with 8-bit fractions, as the hardware of
// Direct3D 9's time did, on all four 8-bit channels at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform::d3d9 {

struct MipLevel {
    const std::uint32_t* texels;  // width * height, row by row
    int width;
    int height;
};

enum class Filter { Point, Linear };
enum class MipFilter { None, Point, Linear };

struct SamplerSetup {
    const MipLevel* levels;
    int levelCount;   // at least 1
    int firstLevel;   // D3DSAMP_MAXMIPLEVEL: the most detailed level in use
    float lodBias;    // D3DSAMP_MIPMAPLODBIAS, in levels
    float width0;     // level 0's size: the level of detail is measured against it
    float height0;
};

constexpr int kMaxMipLevels = 16;  // an 8192 x 8192 chain has 14

// A chain laid out in one block, level after level, as a Texture keeps it: each level's size and
// the offset of its first texel from level 0's, so a loop that picks a level per pixel addresses
// every level from one base.
struct LevelLayout {
    bool oneBlock = false;  // false: the levels lie apart, and the tables are not filled
    alignas(32) std::int32_t width[kMaxMipLevels] = {};
    alignas(32) std::int32_t height[kMaxMipLevels] = {};
    alignas(32) std::int32_t offset[kMaxMipLevels] = {};
};

inline LevelLayout layoutOf(const SamplerSetup& s) noexcept {
    LevelLayout layout;
    if (s.levelCount > kMaxMipLevels) return layout;
    // Compared as addresses: pointer arithmetic past the end of level 0 would be undefined when
    // the levels do lie apart.
    const auto base = reinterpret_cast<std::uintptr_t>(s.levels[0].texels);
    std::size_t offset = 0;
    for (int i = 0; i < s.levelCount; ++i) {
        const MipLevel& level = s.levels[i];
        const auto at = reinterpret_cast<std::uintptr_t>(level.texels);
        if (at != base + offset * sizeof(std::uint32_t)) return layout;
        layout.width[i] = level.width;
        layout.height[i] = level.height;
        layout.offset[i] = static_cast<std::int32_t>(offset);
        offset += static_cast<std::size_t>(level.width) * static_cast<std::size_t>(level.height);
    }
    layout.oneBlock = true;
    return layout;
}

// Rounds toward minus infinity; x within +-2^30.
inline int floorToInt(float x) noexcept {
    const int i = static_cast<int>(x);
    return i - (x < static_cast<float>(i));
}

// The fraction of a texture coordinate, in [0, 1]. Coordinates far outside the texture (or NaN
// from a degenerate triangle) wrap to 0 rather than overflow the integer conversion.
inline float wrapUnit(float u) noexcept {
    if (!(u > -1.0e6f && u < 1.0e6f)) return 0.0f;
    return u - static_cast<float>(floorToInt(u));
}

// a + (b - a) * f / 256 on all four channels; f in 0..256.
inline std::uint32_t lerpTexel(std::uint32_t a, std::uint32_t b, std::uint32_t f) noexcept {
    const std::uint32_t g = 256 - f;
    const std::uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    const std::uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) &
                             0xFF00FF00u;
    return rb | ag;
}

inline std::uint32_t samplePoint(const MipLevel& level, float u, float v) noexcept {
    int x = static_cast<int>(wrapUnit(u) * static_cast<float>(level.width));
    int y = static_cast<int>(wrapUnit(v) * static_cast<float>(level.height));
    if (x >= level.width) x = level.width - 1;
    if (y >= level.height) y = level.height - 1;
    return level.texels[static_cast<std::size_t>(y) * level.width + x];
}

// Texel centres sit at half-integer texel coordinates: -0.5 before the floor, and the pair that
// straddles the edge wraps to the opposite side.
inline std::uint32_t sampleLinear(const MipLevel& level, float u, float v) noexcept {
    const float s = wrapUnit(u) * static_cast<float>(level.width) - 0.5f;
    const float t = wrapUnit(v) * static_cast<float>(level.height) - 0.5f;
    int x0 = floorToInt(s);
    int y0 = floorToInt(t);
    const auto fx = static_cast<std::uint32_t>((s - static_cast<float>(x0)) * 256.0f);
    const auto fy = static_cast<std::uint32_t>((t - static_cast<float>(y0)) * 256.0f);
    if (x0 < 0) x0 += level.width;
    if (y0 < 0) y0 += level.height;
    const int x1 = x0 + 1 < level.width ? x0 + 1 : 0;
    const int y1 = y0 + 1 < level.height ? y0 + 1 : 0;
    const std::uint32_t* row0 = level.texels + static_cast<std::size_t>(y0) * level.width;
    const std::uint32_t* row1 = level.texels + static_cast<std::size_t>(y1) * level.width;
    return lerpTexel(lerpTexel(row0[x0], row0[x1], fx), lerpTexel(row1[x0], row1[x1], fx), fy);
}

// log2 with the mantissa's part as a parabola through 1, 1.5 and 2 (error below 0.01 levels):
// the level of detail needs no more, and std::log2 per pixel costs as much as the filter.
inline float fastLog2(float x) noexcept {
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int exponent = static_cast<int>((bits >> 23) & 0xFF) - 127;
    bits = (bits & 0x007FFFFFu) | 0x3F800000u;
    float m;
    std::memcpy(&m, &bits, sizeof m);
    const float t = m - 1.0f;
    return static_cast<float>(exponent) + t * (1.3398500f - 0.3398500f * t);
}

// The level of detail from the squared length of the longer screen-space step, in level-0
// texels: 0 at one texel a pixel, 1 at two.
inline float levelOfDetail(float rho2, float bias) noexcept {
    if (!(rho2 > 1.0e-20f)) return -64.0f;
    if (!(rho2 < 1.0e20f)) return 64.0f;
    return 0.5f * fastLog2(rho2) + bias;
}

template <Filter F>
inline std::uint32_t sampleLevel(const MipLevel& level, float u, float v) noexcept {
    if constexpr (F == Filter::Point) {
        return samplePoint(level, u, v);
    } else {
        return sampleLinear(level, u, v);
    }
}

// lod <= 0 magnifies from the first level; above it the min filter reads the level(s) the mip
// filter picks, clamped to the chain.
template <Filter Mag, Filter Min, MipFilter Mip>
inline std::uint32_t sampleTexture(const SamplerSetup& s, float u, float v, float lod) noexcept {
    const int last = s.levelCount - 1;
    if (lod <= 0.0f) return sampleLevel<Mag>(s.levels[s.firstLevel], u, v);
    if constexpr (Mip == MipFilter::None) {
        return sampleLevel<Min>(s.levels[s.firstLevel], u, v);
    } else if constexpr (Mip == MipFilter::Point) {
        int level = lod < 64.0f ? static_cast<int>(lod + 0.5f) : last;
        if (level < s.firstLevel) level = s.firstLevel;
        if (level > last) level = last;
        return sampleLevel<Min>(s.levels[level], u, v);
    } else {
        float clamped = lod < static_cast<float>(s.firstLevel) ? static_cast<float>(s.firstLevel)
                                                               : lod;
        if (clamped >= static_cast<float>(last)) return sampleLevel<Min>(s.levels[last], u, v);
        const int level = static_cast<int>(clamped);
        const auto f = static_cast<std::uint32_t>((clamped - static_cast<float>(level)) * 256.0f);
        const std::uint32_t fine = sampleLevel<Min>(s.levels[level], u, v);
        if (f == 0) return fine;
        return lerpTexel(fine, sampleLevel<Min>(s.levels[level + 1], u, v), f);
    }
}

}  // namespace platform::d3d9
