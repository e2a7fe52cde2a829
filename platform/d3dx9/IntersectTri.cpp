// Ray-triangle test: Moller and Trumbore's method, which yields the barycentric weights directly.
#include <d3dx9math.h>

BOOL D3DXIntersectTri(const D3DXVECTOR3* p0, const D3DXVECTOR3* p1, const D3DXVECTOR3* p2,
                      const D3DXVECTOR3* pRayPos, const D3DXVECTOR3* pRayDir, float* pU,
                      float* pV, float* pDist) {
    const D3DXVECTOR3 edge1 = *p1 - *p0;
    const D3DXVECTOR3 edge2 = *p2 - *p0;
    D3DXVECTOR3 p;
    D3DXVec3Cross(&p, pRayDir, &edge2);
    const float det = D3DXVec3Dot(&edge1, &p);
    if (det == 0.0f) return FALSE;  // the ray runs parallel to the triangle's plane

    const float inverseDet = 1.0f / det;
    const D3DXVECTOR3 t = *pRayPos - *p0;
    const float u = D3DXVec3Dot(&t, &p) * inverseDet;
    if (!(u >= 0.0f && u <= 1.0f)) return FALSE;

    D3DXVECTOR3 q;
    D3DXVec3Cross(&q, &t, &edge1);
    const float v = D3DXVec3Dot(pRayDir, &q) * inverseDet;
    if (!(v >= 0.0f && u + v <= 1.0f)) return FALSE;

    const float distance = D3DXVec3Dot(&edge2, &q) * inverseDet;
    if (!(distance >= 0.0f)) return FALSE;

    if (pU) *pU = u;
    if (pV) *pV = v;
    if (pDist) *pDist = distance;
    return TRUE;
}
