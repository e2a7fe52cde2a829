// RasterizerAvx2.h: the pixel loop for trilinear-filtered textures, eight pixels at a time with
// AVX2. It computes what the scalar loop computes, with the same float operations in the same
// order, so the picture is the same on every CPU; where a triangle is provably magnified
// throughout, or inside the texture's first copy, it leaves out the steps (level of detail,
// wrapping) that cannot change its pixels there, and a magnified triangle's pixels skip the
// queue. It only covers the states the program draws
// its scene with and leaves the rest to the scalar loop.
#pragma once

#include "d3d9/Rasterizer.h"

namespace platform::d3d9 {

// The AVX2 loop for `state`, or nulls when the CPU lacks AVX2 or the state is one it does not
// cover (another filter, a depth mode other than off or LESSEQUAL with writes, a mip chain not
// in one block).
RasterLoop selectAvx2RasterLoop(const PixelState& state) noexcept;

}  // namespace platform::d3d9
