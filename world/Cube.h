// Cube.h: the one textured mesh of the scene: corners at -1 and +1, a texture per face, held in
// one vertex buffer as six four-vertex triangle strips. It has no transform of its own: the
// caller sets the world transform before Draw.
#pragma once

#include <d3dx9.h>

// Position, then one texture coordinate set: D3DFVF_XYZ | D3DFVF_TEX1.
struct CubeVertex {
    float x, y, z;
    float tu, tv;
};
static_assert(sizeof(CubeVertex) == 20);

class CCube {
public:
    static constexpr int kFaces = 6;
    static constexpr int kMaxInstances = 10;

    CCube();
    ~CCube();

    // Face order: top, +z, -z, -x, +x, bottom. A file that cannot be read leaves its face
    // untextured; E_FAIL only when the vertex buffer cannot be made or filled.
    HRESULT Create(IDirect3DDevice9* pd3dDevice, const char* const textureFiles[kFaces]);
    HRESULT LoadTextures(const char* const textureFiles[kFaces]);
    HRESULT CreateVertexBuffer();
    // Gives up the buffer and the textures; safe to run any number of times.
    HRESULT Release();
    // Ignored once ten instances are held.
    HRESULT AddInstance(float x, float y, float z);
    HRESULT DrawFaces();
    HRESULT Draw();
    // Draws the cube centred one unit above each instance; no device call for an empty list.
    HRESULT RenderInstances();

    IDirect3DDevice9* m_pd3dDevice;  // borrowed from the view
    IDirect3DTexture9* m_pTex[kFaces];
    IDirect3DVertexBuffer9* m_pVB;
    D3DXVECTOR3 m_vCorner;  // (1, 0, 1): carried through a box's world matrix for its radius
    D3DXVECTOR3 m_vCenter;
    D3DXVECTOR3 m_vInstances[kMaxInstances];
    float m_fRadius;  // |corner - centre| = sqrt(2), which the player takes as its own
    int m_nInstances;
};
