#include <cmath>

#include <d3dx9math.h>

D3DXVECTOR3& D3DXVECTOR3::operator+=(const D3DXVECTOR3& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator-=(const D3DXVECTOR3& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator*=(float f) {
    x *= f;
    y *= f;
    z *= f;
    return *this;
}

D3DXVECTOR3& D3DXVECTOR3::operator/=(float f) {
    const float inverse = 1.0f / f;
    return *this *= inverse;
}

D3DXVECTOR3 D3DXVECTOR3::operator/(float f) const {
    const float inverse = 1.0f / f;
    return *this * inverse;
}

float D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}

float D3DXVec3Length(const D3DXVECTOR3* pV) { return std::sqrt(D3DXVec3Dot(pV, pV)); }

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    const float length = D3DXVec3Length(pV);
    if (length == 0.0f) {
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    } else {
        *pOut = *pV / length;
    }
    return pOut;
}

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    const D3DXVECTOR3 a = *pV1;
    const D3DXVECTOR3 b = *pV2;
    *pOut = D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                    const D3DXMATRIX* pM) {
    const D3DXVECTOR3 v = *pV;
    const D3DXMATRIX& m = *pM;
    const float w = v.x * m._14 + v.y * m._24 + v.z * m._34 + m._44;
    const D3DXVECTOR3 r(v.x * m._11 + v.y * m._21 + v.z * m._31 + m._41,
                        v.x * m._12 + v.y * m._22 + v.z * m._32 + m._42,
                        v.x * m._13 + v.y * m._23 + v.z * m._33 + m._43);
    *pOut = w == 1.0f ? r : r / w;
    return pOut;
}
