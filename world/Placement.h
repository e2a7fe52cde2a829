// Placement.h: writing a position, and a scale with its lift, into a world matrix.
#pragma once

#include <d3dx9math.h>

inline void SetTranslation(D3DXMATRIX& matrix, const D3DXVECTOR3& position) {
    matrix._41 = position.x;
    matrix._42 = position.y;
    matrix._43 = position.z;
}

// Scales the cube (which spans -1..1) and raises it by scale.y - 1, so that its bottom face stays
// at position.y - 1, the ground's height for an object at y = 0.
inline void SetScaledPlacement(D3DXMATRIX& matrix, const D3DXVECTOR3& scale,
                               const D3DXVECTOR3& position) {
    matrix._11 = scale.x;
    matrix._22 = scale.y;
    matrix._33 = scale.z;
    matrix._41 = position.x;
    matrix._42 = (scale.y - 1.0f) + position.y;
    matrix._43 = position.z;
}
