#include "d3d9/Magnification.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace platform::d3d9 {

namespace {

// Levels of headroom for the rounding of the per-pixel formula.
constexpr float kMargin = 0.05f;
// Relative rounding of a pixel's own difference of two products, with room to spare.
constexpr float kRounding = 1.0e-5f;

// Four lanes, one for each of du/dx, dv/dx, du/dy and dv/dy: the bound works them all at once.
using Float4 = float __attribute__((vector_size(16)));

using Int4 = std::int32_t __attribute__((vector_size(16)));

// The sign bits cleared: one operation, where a compare and a select take four.
Float4 abs4(Float4 x) noexcept {
    return reinterpret_cast<Float4>(reinterpret_cast<Int4>(x) & 0x7FFFFFFF);
}
Float4 max4(Float4 a, Float4 b) noexcept {
    return a > b ? a : b;
}

std::uint32_t bitsOf(float x) noexcept {
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

float floatOf(std::uint32_t bits) noexcept {
    float x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// The largest squared step in level-0 texels that the per-pixel formula, with `lodBias`, still
// takes for magnified with room for its rounding.
float magnifiedLimit(float lodBias) noexcept {
    // The per-pixel formula takes rho^2 <= 1e-20 for far magnified and rho^2 >= 1e20 for far
    // minified, and in between its level rises with rho^2 (fastLog2 does): so the steps it
    // takes for magnified by the margin are those up to one limit, found by halving the range
    // of floats, whose bits are in the order of their values. A NaN bias leaves only the first.
    const auto magnified = [&](float rho2) {
        return 0.5f * fastLog2(rho2) + lodBias <= -kMargin;
    };
    std::uint32_t low = bitsOf(1.0e-20f);  // magnified
    std::uint32_t high = bitsOf(1.0e20f);  // not
    while (high - low > 1) {
        const std::uint32_t middle = low + (high - low) / 2;
        (magnified(floatOf(middle)) ? low : high) = middle;
    }
    return floatOf(low);
}

}  // namespace

MagnificationBound magnificationBoundOf(const SamplerSetup& s) noexcept {
    // The limit follows from the bias alone, and a frame's draws nearly all share one: each of
    // the threads that draw them searches again only when the bias changes.
    struct Cached {
        std::uint32_t biasBits;
        float limit;
    };
    thread_local std::optional<Cached> cached;
    const std::uint32_t biasBits = bitsOf(s.lodBias);
    if (!cached || cached->biasBits != biasBits) {
        cached = Cached{biasBits, magnifiedLimit(s.lodBias)};
    }
    return {s.width0, s.height0, cached->limit};
}

bool magnifiedEverywhere(const Triangle& t, const MagnificationBound& b) noexcept {
    // With u = U/Q for the planes U = u/w and Q = 1/w, du/dx = (U_x Q - U Q_x) / Q^2. Q is
    // linear and positive inside the triangle, so it is least and greatest at corners.
    const float minQ = std::min({t.q0, t.corner1.q, t.corner2.q});
    const float maxQ = std::max({t.q0, t.corner1.q, t.corner2.q});
    if (!(minQ > 0.0f)) return false;
    // The numerator of each derivative, dA * Q - A * dQ for A = u/w or v/w and d = d/dx or d/dy,
    // is linear too, so over the pixel centres inside it peaks at a corner.
    const Float4 dA = {t.uq.dx, t.vq.dx, t.uq.dy, t.vq.dy};
    const Float4 dQ = {t.q.dx, t.q.dx, t.q.dy, t.q.dy};
    const auto numerator = [&](float q, float uq, float vq) {
        return abs4(dA * q - Float4{uq, vq, uq, vq} * dQ);
    };
    const Float4 peak = max4(numerator(t.q0, t.uq0, t.vq0),
                             max4(numerator(t.corner1.q, t.corner1.uq, t.corner1.vq),
                                  numerator(t.corner2.q, t.corner2.uq, t.corner2.vq)));
    // The pixel forms dA - (A / Q) * dQ: where the two nearly cancel, its rounding is relative
    // to them (|dA * Q| and |A * dQ| <= |dA * Q| + peak), not to what is left.
    const Float4 bound = peak + kRounding * (2.0f * maxQ * abs4(dA) + peak);
    const float scale = 1.0f / (minQ * minQ);
    const Float4 texels = bound * Float4{b.width0, b.height0, b.width0, b.height0} * scale;
    const Float4 squared = texels * texels;
    const float rho2 = std::max(squared[0] + squared[1], squared[2] + squared[3]);
    return rho2 <= b.limit;  // false for NaN
}

bool insideUnitSquare(const Triangle& t) noexcept {
    // u = U/Q with Q > 0 inside: a ratio of planes is monotonic along any line, so its extremes
    // over the triangle lie at corners. The margin covers a pixel's rounding of the ratio.
    constexpr float kInset = 1.0e-4f;
    const Float4 q = {t.q0, t.corner1.q, t.corner2.q, t.q0};
    const Float4 uq = {t.uq0, t.corner1.uq, t.corner2.uq, t.uq0};
    const Float4 vq = {t.vq0, t.corner1.vq, t.corner2.vq, t.vq0};
    const Float4 low = kInset * q;
    const Float4 high = (1.0f - kInset) * q;
    // All lanes true: -1 in each, so the sum of the four is -4. NaN fails every compare.
    const auto inside = (q > 0.0f) & (uq >= low) & (uq <= high) & (vq >= low) & (vq <= high);
    return inside[0] + inside[1] + inside[2] + inside[3] == -4;
}

}  // namespace platform::d3d9
