// Terrain.h: the ground: a flat grid of vertices at y = -1 around the origin, as many across and
// down as the map bitmap is wide and high, drawn as one indexed triangle list with one texture
// stretched once over it. The positions and the triangle list stay in ordinary memory for picking.
#pragma once

#include <vector>

#include <d3dx9.h>

// Position, normal, one texture coordinate set: D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1.
struct TerrainVertex {
    TerrainVertex() = default;  // sets nothing: LoadMap writes every field

    D3DXVECTOR3 pos;     // world position: the ground is drawn with the identity world matrix
    D3DXVECTOR3 normal;  // pos scaled to unit length
    float tu;
    float tv;
};
static_assert(sizeof(TerrainVertex) == 32);

class CTerrain {
public:
    static constexpr int kTextures = 4;

    CTerrain();
    ~CTerrain();

    // E_FAIL, with everything released, for a map that cannot be read or makes no ground, or
    // buffers that cannot be made or filled. A texture that cannot be read leaves its slot null.
    HRESULT Create(IDirect3DDevice9* pd3dDevice, const D3DXVECTOR3* pvScale, const char* mapFile,
                   const char* const textureFiles[kTextures]);
    // Reads only the bitmap headers' width and height. A file that cannot be opened prints one
    // line naming it and the working directory, then shows "Error" / "Cannot found". A file
    // that cannot be read or is short, a width or height below 2 (a top-down bitmap's height is
    // negative), or a grid past the device's limits for one draw (its primitive count and
    // largest vertex index) or of 2^27 vertices or more is refused with one line on standard
    // error naming the file and the reason. All of these fail before any memory is taken.
    HRESULT LoadMap(const char* mapFile);
    // An empty name loads nothing.
    HRESULT LoadTextures(const char* const textureFiles[kTextures]);
    HRESULT CreateBuffers();
    // Sets m_nTriangles and draws the grid; a ground without buffers draws nothing and keeps
    // m_nTriangles at 0, so picking finds no triangle.
    HRESULT DrawGrid();
    HRESULT Render();
    // Gives up the arrays, the buffers and the textures; safe to run any number of times.
    HRESULT Release();

    int m_nCols;  // vertices along x: the map's width
    int m_nRows;  // vertices along z: the map's height
    int m_nReserved;
    D3DXVECTOR3 m_vScale;            // x: column spacing, z: row spacing; y unused
    IDirect3DDevice9* m_pd3dDevice;  // borrowed from the view
    IDirect3DTexture9* m_pTex[kTextures];  // only slot 0 is drawn
    IDirect3DVertexBuffer9* m_pVB;
    IDirect3DIndexBuffer9* m_pIB;
    int m_nTriangles;  // 0 until the first draw
    // Views of the storage below, row by row (vertex i is row i / m_nCols, column i % m_nCols);
    // null when there is none. m_pTriangles holds three indices into m_pPositions a triangle.
    TerrainVertex* m_pVertices;
    D3DXVECTOR3* m_pPositions;
    DWORD* m_pTriangles;

private:
    std::vector<TerrainVertex> m_vertexStore;
    std::vector<D3DXVECTOR3> m_positionStore;
    std::vector<DWORD> m_triangleStore;
};
