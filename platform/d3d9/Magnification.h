// Magnification.h: whether a whole triangle samples its texture magnified, decided once per
// triangle, so that a loop can skip the per-pixel derivatives and level of detail there.
#pragma once

#include "d3d9/Sampler.h"
#include "d3d9/TriangleSetup.h"

namespace platform::d3d9 {

// True only when every pixel inside `t` has a level of detail <= 0 as the per-pixel formula
// computes it, so a loop that takes the magnification filter for the whole triangle draws the
// same pixels. Conservative: a triangle near the limit, or with any non-finite value, gives false.
bool magnifiedEverywhere(const Triangle& t, const SamplerSetup& sampler) noexcept;

}  // namespace platform::d3d9
