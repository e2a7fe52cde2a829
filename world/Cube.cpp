#include "Cube.h"

#include <cmath>
#include <cstring>

#include "Placement.h"
#include "SafeRelease.h"

namespace {

constexpr DWORD kCubeFvf = D3DFVF_XYZ | D3DFVF_TEX1;
constexpr UINT kVerticesPerFace = 4;
constexpr UINT kTrianglesPerFace = 2;

// Each face runs (0, 0), (1, 0), (0, 1), (1, 1) in texture space, wound clockwise from outside:
// seen from outside, tu grows to the right and tv downward, so every picture is upright and
// unmirrored. The top edge of a side face is at y = +1; of the top and bottom faces, at z = +1.
constexpr CubeVertex kVertices[CCube::kFaces * kVerticesPerFace] = {
    // top, y = +1
    {-1.0f, 1.0f, 1.0f, 0.0f, 0.0f},
    {1.0f, 1.0f, 1.0f, 1.0f, 0.0f},
    {-1.0f, 1.0f, -1.0f, 0.0f, 1.0f},
    {1.0f, 1.0f, -1.0f, 1.0f, 1.0f},
    // z = +1
    {1.0f, 1.0f, 1.0f, 0.0f, 0.0f},
    {-1.0f, 1.0f, 1.0f, 1.0f, 0.0f},
    {1.0f, -1.0f, 1.0f, 0.0f, 1.0f},
    {-1.0f, -1.0f, 1.0f, 1.0f, 1.0f},
    // z = -1
    {-1.0f, 1.0f, -1.0f, 0.0f, 0.0f},
    {1.0f, 1.0f, -1.0f, 1.0f, 0.0f},
    {-1.0f, -1.0f, -1.0f, 0.0f, 1.0f},
    {1.0f, -1.0f, -1.0f, 1.0f, 1.0f},
    // x = -1
    {-1.0f, 1.0f, 1.0f, 0.0f, 0.0f},
    {-1.0f, 1.0f, -1.0f, 1.0f, 0.0f},
    {-1.0f, -1.0f, 1.0f, 0.0f, 1.0f},
    {-1.0f, -1.0f, -1.0f, 1.0f, 1.0f},
    // x = +1
    {1.0f, 1.0f, -1.0f, 0.0f, 0.0f},
    {1.0f, 1.0f, 1.0f, 1.0f, 0.0f},
    {1.0f, -1.0f, -1.0f, 0.0f, 1.0f},
    {1.0f, -1.0f, 1.0f, 1.0f, 1.0f},
    // bottom, y = -1
    {1.0f, -1.0f, 1.0f, 0.0f, 0.0f},
    {-1.0f, -1.0f, 1.0f, 1.0f, 0.0f},
    {1.0f, -1.0f, -1.0f, 0.0f, 1.0f},
    {-1.0f, -1.0f, -1.0f, 1.0f, 1.0f},
};
constexpr UINT kVertexBytes = sizeof(kVertices);
static_assert(kVertexBytes == 480);

}  // namespace

CCube::CCube()
    : m_pd3dDevice(nullptr),
      m_pTex{},
      m_pVB(nullptr),
      m_vCorner(0.0f, 0.0f, 0.0f),
      m_vCenter(0.0f, 0.0f, 0.0f),
      m_fRadius(0.0f),
      m_nInstances(0) {
    for (D3DXVECTOR3& instance : m_vInstances) instance = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

CCube::~CCube() { Release(); }

HRESULT CCube::Create(IDirect3DDevice9* pd3dDevice, const char* const textureFiles[kFaces]) {
    m_pd3dDevice = pd3dDevice;
    LoadTextures(textureFiles);
    if (FAILED(CreateVertexBuffer())) {
        Release();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CCube::LoadTextures(const char* const textureFiles[kFaces]) {
    // A name listed twice is loaded twice: each face owns its own texture.
    for (int face = 0; face < kFaces; ++face)
        D3DXCreateTextureFromFileA(m_pd3dDevice, textureFiles[face], &m_pTex[face]);
    return S_OK;
}

HRESULT CCube::CreateVertexBuffer() {
    if (FAILED(m_pd3dDevice->CreateVertexBuffer(kVertexBytes, 0, kCubeFvf, D3DPOOL_DEFAULT, &m_pVB,
                                                nullptr))) {
        Release();
        return E_FAIL;
    }

    // The corner's y is 0, not 1: a box's radius is measured in its ground plane, so an unscaled
    // box gets sqrt(2), not sqrt(3).
    m_vCorner = D3DXVECTOR3(kVertices[1].x, 0.0f, kVertices[1].z);
    m_vCenter = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 d = m_vCorner - m_vCenter;
    m_fRadius = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);

    void* data = nullptr;
    if (FAILED(m_pVB->Lock(0, kVertexBytes, &data, 0))) {
        Release();
        return E_FAIL;
    }
    std::memcpy(data, kVertices, kVertexBytes);
    m_pVB->Unlock();
    return S_OK;
}

HRESULT CCube::Release() {
    // Each pointer is cleared as it is given up, so the destructor after a failed Create, and
    // every draw after it, find nothing left to release or bind.
    SafeRelease(m_pVB);
    for (IDirect3DTexture9*& texture : m_pTex) SafeRelease(texture);
    return S_OK;
}

HRESULT CCube::AddInstance(float x, float y, float z) {
    if (m_nInstances >= kMaxInstances) return S_OK;
    m_vInstances[m_nInstances] = D3DXVECTOR3(x, y, z);
    ++m_nInstances;
    return S_OK;
}

HRESULT CCube::DrawFaces() {
    // Never created: there is no device to draw with.
    if (!m_pd3dDevice) return S_OK;

    m_pd3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_pd3dDevice->SetFVF(kCubeFvf);
    m_pd3dDevice->SetStreamSource(0, m_pVB, 0, sizeof(CubeVertex));
    for (int face = 0; face < kFaces; ++face) {
        m_pd3dDevice->SetTexture(0, m_pTex[face]);
        m_pd3dDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        m_pd3dDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        m_pd3dDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        m_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, kVerticesPerFace * static_cast<UINT>(face),
                                    kTrianglesPerFace);
    }
    return S_OK;
}

HRESULT CCube::Draw() {
    DrawFaces();
    return S_OK;
}

HRESULT CCube::RenderInstances() {
    if (!m_pd3dDevice) return S_OK;

    D3DXMATRIXA16 world;
    D3DXMatrixIdentity(&world);
    for (int i = 0; i < m_nInstances; ++i) {
        // Raised by one so the cube, which spans -1..1, stands on the instance's height.
        const D3DXVECTOR3& instance = m_vInstances[i];
        SetTranslation(world, D3DXVECTOR3(instance.x, instance.y + 1.0f, instance.z));
        m_pd3dDevice->SetTransform(D3DTS_WORLD, &world);
        DrawFaces();
    }
    return S_OK;
}
