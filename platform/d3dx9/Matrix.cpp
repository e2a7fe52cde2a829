#include <cmath>
#include <cstring>

#include <d3dx9math.h>

D3DXMATRIX::D3DXMATRIX(const float* f) { std::memcpy(m, f, sizeof(m)); }

D3DXMATRIX::D3DXMATRIX(float f11, float f12, float f13, float f14, float f21, float f22,
                       float f23, float f24, float f31, float f32, float f33, float f34,
                       float f41, float f42, float f43, float f44)
    : D3DMATRIX{{{f11, f12, f13, f14, f21, f22, f23, f24, f31, f32, f33, f34, f41, f42, f43,
                  f44}}} {}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat) {
    D3DXMatrixMultiply(this, this, &mat);
    return *this;
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& mat) const {
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, this, &mat);
    return product;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& mat) const {
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (m[row][col] != mat.m[row][col]) return false;
    return true;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    *pOut = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    const D3DXMATRIX a = *pM1;  // copies, so pOut may alias either operand
    const D3DXMATRIX b = *pM2;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            pOut->m[row][col] = a.m[row][0] * b.m[0][col] + a.m[row][1] * b.m[1][col] +
                                a.m[row][2] * b.m[2][col] + a.m[row][3] * b.m[3][col];
    return pOut;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    // Cofactor expansion in double, so that a nearly singular but valid matrix keeps its digits.
    double a[16];
    for (int i = 0; i < 16; ++i) a[i] = pM->m[i / 4][i % 4];
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
             a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
             a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
             a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
              a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
             a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
             a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
             a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
              a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] +
             a[5] * a[3] * a[14] + a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
             a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
              a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
              a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
             a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] +
             a[4] * a[3] * a[10] + a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] -
              a[4] * a[3] * a[9] - a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] +
              a[4] * a[2] * a[9] + a[8] * a[1] * a[6] - a[8] * a[2] * a[5];

    const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (pDeterminant) *pDeterminant = static_cast<float>(det);
    if (det == 0.0 || !std::isfinite(det)) return nullptr;
    const double scale = 1.0 / det;
    for (int i = 0; i < 16; ++i) pOut->m[i / 4][i % 4] = static_cast<float>(inv[i] * scale);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    *pOut = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, float angle) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    *pOut = D3DXMATRIX(t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y, 0,
                       t * n.x * n.y - s * n.z, t * n.y * n.y + c, t * n.y * n.z + s * n.x, 0,
                       t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x, t * n.z * n.z + c, 0,
                       0, 0, 0, 1);
    if (angle == 0.0f) D3DXMatrixIdentity(pOut);  // exact, also for a zero axis
    return pOut;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
    D3DXVECTOR3 zAxis = *pAt - *pEye;
    D3DXVec3Normalize(&zAxis, &zAxis);
    D3DXVECTOR3 xAxis;
    D3DXVec3Cross(&xAxis, pUp, &zAxis);
    D3DXVec3Normalize(&xAxis, &xAxis);
    D3DXVECTOR3 yAxis;
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
    *pOut = D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0, xAxis.y, yAxis.y, zAxis.y, 0, xAxis.z,
                       yAxis.z, zAxis.z, 0, -D3DXVec3Dot(&xAxis, pEye),
                       -D3DXVec3Dot(&yAxis, pEye), -D3DXVec3Dot(&zAxis, pEye), 1);
    return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovy, float aspect, float zn,
                                       float zf) {
    const float yScale = 1.0f / std::tan(fovy / 2.0f);
    const float xScale = yScale / aspect;
    const float depth = zf / (zf - zn);
    *pOut = D3DXMATRIX(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, depth, 1, 0, 0, -zn * depth, 0);
    return pOut;
}
