// d3dx9math.h: the D3DX vector, matrix and colour types and the functions this program calls.
// Row vectors (v * M), left-handed, y up. No quaternions, planes or 2D/4D vectors.
#pragma once

#include "d3d9types.h"

constexpr float D3DX_PI = 3.141592654f;

struct D3DXVECTOR3 : D3DVECTOR {
    D3DXVECTOR3() = default;  // uninitialised, as the original type
    constexpr D3DXVECTOR3(float fx, float fy, float fz) : D3DVECTOR{fx, fy, fz} {}
    constexpr D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
    explicit D3DXVECTOR3(const float* f) : D3DVECTOR{f[0], f[1], f[2]} {}

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator*=(float f);
    D3DXVECTOR3& operator/=(float f);

    D3DXVECTOR3 operator+() const { return *this; }
    D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return {x + v.x, y + v.y, z + v.z}; }
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return {x - v.x, y - v.y, z - v.z}; }
    D3DXVECTOR3 operator*(float f) const { return {x * f, y * f, z * f}; }
    D3DXVECTOR3 operator/(float f) const;
    friend D3DXVECTOR3 operator*(float f, const D3DXVECTOR3& v) { return v * f; }

    bool operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};

struct D3DXMATRIX : D3DMATRIX {
    D3DXMATRIX() = default;  // uninitialised, as the original type
    D3DXMATRIX(const D3DMATRIX& mat) : D3DMATRIX(mat) {}
    explicit D3DXMATRIX(const float* f);
    D3DXMATRIX(float f11, float f12, float f13, float f14, float f21, float f22, float f23,
               float f24, float f31, float f32, float f33, float f34, float f41, float f42,
               float f43, float f44);

    float& operator()(UINT row, UINT col) { return m[row][col]; }
    float operator()(UINT row, UINT col) const { return m[row][col]; }

    D3DXMATRIX& operator*=(const D3DXMATRIX& mat);
    D3DXMATRIX operator*(const D3DXMATRIX& mat) const;

    bool operator==(const D3DXMATRIX& mat) const;
    bool operator!=(const D3DXMATRIX& mat) const { return !(*this == mat); }
};

// Needs no alignment beyond that of its floats here.
using D3DXMATRIXA16 = D3DXMATRIX;

struct D3DXCOLOR {
    D3DXCOLOR() = default;
    D3DXCOLOR(DWORD argb);
    constexpr D3DXCOLOR(float fr, float fg, float fb, float fa) : r(fr), g(fg), b(fb), a(fa) {}

    // Packs to ARGB: each channel clamped to 0..1, scaled by 255, plus one half, truncated.
    operator DWORD() const;

    float r;
    float g;
    float b;
    float a;
};

using LPD3DXVECTOR3 = D3DXVECTOR3*;
using LPD3DXMATRIX = D3DXMATRIX*;

// Every function returns its out argument, except where it says otherwise.

// A zero vector gives (0, 0, 0). pOut may be pV.
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
// (x, y, z, 1) * M, divided by the resulting w. pOut may be pV.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
// pV1 x pV2. pOut may be either operand.
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
float D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
float D3DXVec3Length(const D3DXVECTOR3* pV);

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut);
// pM1 * pM2: pM1 applies first. pOut may be either operand.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
// Null (and pOut untouched) for a singular matrix. pOut may be pM.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM);
// A positive angle turns +z toward +x.
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angle);
// The axis need not be of unit length; an angle of 0 gives the identity whatever the axis.
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, float angle);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovy, float aspect, float zn,
                                       float zf);

// TRUE when the ray meets the triangle from either side at a distance of 0 or more, in units of
// pRayDir's length; a triangle parallel to the ray is missed. *pU and *pV are the barycentric
// weights of p1 and p2. Any of pU, pV, pDist may be null.
BOOL D3DXIntersectTri(const D3DXVECTOR3* p0, const D3DXVECTOR3* p1, const D3DXVECTOR3* p2,
                      const D3DXVECTOR3* pRayPos, const D3DXVECTOR3* pRayDir, float* pU,
                      float* pV, float* pDist);
