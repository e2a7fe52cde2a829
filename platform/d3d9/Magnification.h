// Magnification.h: whether a whole triangle samples its texture magnified, and whether it stays
// inside one copy of it, decided once per triangle, so that a loop can skip the per-pixel level
// of detail and wrapping there.
#pragma once

#include "d3d9/Sampler.h"
#include "d3d9/TriangleSetup.h"

namespace platform::d3d9 {

// What magnifiedEverywhere needs of a draw's sampler, worked out once a draw.
struct MagnificationBound {
    float width0;
    float height0;
    // The largest squared step in level-0 texels a pixel that the per-pixel formula, with the
    // sampler's bias, still takes for magnified with room for its rounding.
    float limit;
};

MagnificationBound magnificationBoundOf(const SamplerSetup& sampler) noexcept;

// True only when every pixel inside `t` has a level of detail <= 0 as the per-pixel formula
// computes it, so a loop that takes the magnification filter for the whole triangle draws the
// same pixels. Conservative: a triangle near the limit, or with any non-finite value, gives false.
bool magnifiedEverywhere(const Triangle& t, const MagnificationBound& bound) noexcept;

// True only when every pixel inside `t` has texture coordinates in [0, 1), where wrapping
// leaves them as they are. Conservative in the same way.
bool insideUnitSquare(const Triangle& t) noexcept;

}  // namespace platform::d3d9
