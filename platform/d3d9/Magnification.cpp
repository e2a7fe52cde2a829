#include "d3d9/Magnification.h"

#include <algorithm>
#include <cmath>

namespace platform::d3d9 {

namespace {

// Levels of headroom for the rounding of the per-pixel formula.
constexpr float kMargin = 0.05f;
// Relative rounding of a pixel's own difference of two products, with room to spare.
constexpr float kRounding = 1.0e-5f;

// The largest |d(a)/d(along)| * Q^2 over the pixels, for a plane A = a/w: the numerator of the
// quotient rule, dA * Q - A * dQ. It is linear, and moves only across the step's direction
// (the terms along it cancel), so it peaks at one end of the pixels' range `across` there.
// `start` is its value at vertex 0, `slope` its change a pixel across.
float numeratorBound(float start, float slope, float acrossLow, float acrossHigh,
                     float dA, float maxQ) noexcept {
    const float peak = std::max(std::fabs(start + slope * acrossLow),
                                std::fabs(start + slope * acrossHigh));
    // The pixel forms dA - (A / Q) * dQ: where the two nearly cancel, its rounding is relative
    // to them (|dA * Q| and |A * dQ| <= |dA * Q| + peak), not to what is left.
    return peak + kRounding * (2.0f * std::fabs(dA) * maxQ + peak);
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
    // Pixel centres lie within the box; as offsets from vertex 0.
    const float left = static_cast<float>(t.minX) - t.x0;
    const float right = static_cast<float>(t.maxX) - t.x0;
    const float top = static_cast<float>(t.minY) - t.y0;
    const float bottom = static_cast<float>(t.maxY) - t.y0;
    const float cu = t.uq.dx * t.q.dy - t.uq.dy * t.q.dx;
    const float cv = t.vq.dx * t.q.dy - t.vq.dy * t.q.dx;
    const float ux = numeratorBound(t.uq.dx * t.q0 - t.uq0 * t.q.dx, cu, top, bottom, t.uq.dx, maxQ);
    const float vx = numeratorBound(t.vq.dx * t.q0 - t.vq0 * t.q.dx, cv, top, bottom, t.vq.dx, maxQ);
    const float uy = numeratorBound(t.uq.dy * t.q0 - t.uq0 * t.q.dy, -cu, left, right, t.uq.dy, maxQ);
    const float vy = numeratorBound(t.vq.dy * t.q0 - t.vq0 * t.q.dy, -cv, left, right, t.vq.dy, maxQ);
    const float scale = 1.0f / (minQ * minQ);
    const float w = s.width0 * scale;
    const float h = s.height0 * scale;
    const float rho2 =
        std::max(ux * ux * w * w + vx * vx * h * h, uy * uy * w * w + vy * vy * h * h);
    if (!(rho2 < 1.0e20f)) return false;  // also NaN
    if (!(rho2 > 1.0e-20f)) return true;  // the per-pixel formula takes this as far magnified
    // fastLog2 rises with its argument, as the per-pixel formula that uses it does.
    return 0.5f * fastLog2(rho2) + s.lodBias <= -kMargin;
}

}  // namespace platform::d3d9
