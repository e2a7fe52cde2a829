// TriangleSetupAvx2.h: setupTriangles four triangles at a time in AVX2 lanes: the snap, area,
// culling, box and edge functions of four at once, then each kept triangle's planes. Every
// value is the one setupTriangle computes, bit for bit: the integer steps are exact in the
// lanes, and the float steps are the same operations in the same order.
#pragma once

#include <cstddef>

#include "d3d9/TriangleSetup.h"

namespace platform::d3d9 {

using SetupTrianglesFunction = std::size_t (*)(const ScreenVertex* const* corners,
                                               std::size_t count, Cull cull, const Scissor& scissor,
                                               Triangle* out) noexcept;

// The AVX2 setupTriangles, or null when the CPU lacks AVX2.
SetupTrianglesFunction selectAvx2SetupTriangles() noexcept;

}  // namespace platform::d3d9
