#include "d3d9/Magnification.h"

#include <algorithm>
#include <cmath>

namespace platform::d3d9 {

namespace {

// Levels of headroom for the rounding of the per-pixel formula.
constexpr float kMargin = 0.05f;
// Relative rounding of a pixel's own difference of two products, with room to spare.
constexpr float kRounding = 1.0e-5f;

// Four lanes, one for each of du/dx, dv/dx, du/dy and dv/dy: the bound works them all at once.
using Float4 = float __attribute__((vector_size(16)));

Float4 abs4(Float4 x) noexcept {
    return x < 0.0f ? -x : x;
}
Float4 max4(Float4 a, Float4 b) noexcept {
    return a > b ? a : b;
}

}  // namespace

bool magnifiedEverywhere(const Triangle& t, const SamplerSetup& s) noexcept {
    // With u = U/Q for the planes U = u/w and Q = 1/w, du/dx = (U_x Q - U Q_x) / Q^2. Q is
    // linear and positive inside the triangle, so it is least and greatest at corners.
    const float q1 = t.q0 + t.q.dx * (t.x1 - t.x0) + t.q.dy * (t.y1 - t.y0);
    const float q2 = t.q0 + t.q.dx * (t.x2 - t.x0) + t.q.dy * (t.y2 - t.y0);
    const float minQ = std::min({t.q0, q1, q2});
    const float maxQ = std::max({t.q0, q1, q2});
    if (!(minQ > 0.0f)) return false;
    // The numerator of each derivative, dA * Q - A * dQ for A = u/w or v/w and d = d/dx or d/dy,
    // is linear, and moves only across the step's direction (the terms along it cancel), so it
    // peaks at one end of the pixels' range there; pixel centres lie within the box.
    const Float4 dA = {t.uq.dx, t.vq.dx, t.uq.dy, t.vq.dy};
    const Float4 dQ = {t.q.dx, t.q.dx, t.q.dy, t.q.dy};
    const Float4 dAcross = {t.uq.dy, t.vq.dy, t.uq.dx, t.vq.dx};
    const Float4 dQacross = {t.q.dy, t.q.dy, t.q.dx, t.q.dx};
    const Float4 start = dA * t.q0 - Float4{t.uq0, t.vq0, t.uq0, t.vq0} * dQ;
    const Float4 slope = dA * dQacross - dAcross * dQ;
    const float top = static_cast<float>(t.minY) - t.y0;
    const float bottom = static_cast<float>(t.maxY) - t.y0;
    const float left = static_cast<float>(t.minX) - t.x0;
    const float right = static_cast<float>(t.maxX) - t.x0;
    const Float4 low = {top, top, left, left};
    const Float4 high = {bottom, bottom, right, right};
    const Float4 peak = max4(abs4(start + slope * low), abs4(start + slope * high));
    // The pixel forms dA - (A / Q) * dQ: where the two nearly cancel, its rounding is relative
    // to them (|dA * Q| and |A * dQ| <= |dA * Q| + peak), not to what is left.
    const Float4 bound = peak + kRounding * (2.0f * maxQ * abs4(dA) + peak);
    const float scale = 1.0f / (minQ * minQ);
    const Float4 texels = bound * Float4{s.width0, s.height0, s.width0, s.height0} * scale;
    const Float4 squared = texels * texels;
    const float rho2 = std::max(squared[0] + squared[1], squared[2] + squared[3]);
    if (!(rho2 < 1.0e20f)) return false;  // also NaN
    if (!(rho2 > 1.0e-20f)) return true;  // the per-pixel formula takes this as far magnified
    // fastLog2 rises with its argument, as the per-pixel formula that uses it does.
    return 0.5f * fastLog2(rho2) + s.lodBias <= -kMargin;
}

bool insideUnitSquare(const Triangle& t) noexcept {
    // u = U/Q with Q > 0 inside: a ratio of planes is monotonic along any line, so its extremes
    // over the triangle lie at corners. The margin covers a pixel's rounding of the ratio.
    constexpr float kInset = 1.0e-4f;
    const float xs[3] = {t.x0, t.x1, t.x2};
    const float ys[3] = {t.y0, t.y1, t.y2};
    bool inside = true;
    for (int i = 0; i < 3; ++i) {
        const float fx = xs[i] - t.x0;
        const float fy = ys[i] - t.y0;
        const float q = t.q0 + t.q.dx * fx + t.q.dy * fy;
        const float uq = t.uq0 + t.uq.dx * fx + t.uq.dy * fy;
        const float vq = t.vq0 + t.vq.dx * fx + t.vq.dy * fy;
        const float low = kInset * q;
        const float high = (1.0f - kInset) * q;
        inside &= q > 0.0f && uq >= low && uq <= high && vq >= low && vq <= high;
    }
    return inside;
}

}  // namespace platform::d3d9
