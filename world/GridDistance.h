// GridDistance.h: how near a box is to the player, in whole grid units.
#pragma once

#include <cstdint>
#include <cstdlib>

#include <d3dx9math.h>

// |trunc(a.x - b.x)| + |trunc(a.z - b.z)|. Each difference is formed in double from the two
// floats, not reduced to float first, then truncated toward zero; y plays no part.
inline int GridDistance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    const auto dx = static_cast<std::int32_t>(static_cast<double>(a.x) - static_cast<double>(b.x));
    const auto dz = static_cast<std::int32_t>(static_cast<double>(a.z) - static_cast<double>(b.z));
    return std::abs(dx) + std::abs(dz);
}
