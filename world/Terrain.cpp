#include "Terrain.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

#include <windows.h>

#include "SafeRelease.h"

namespace {

constexpr DWORD kTerrainFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
static_assert(offsetof(TerrainVertex, normal) == 12);
static_assert(offsetof(TerrainVertex, tu) == 24);
static_assert(offsetof(TerrainVertex, tv) == 28);

// BITMAPFILEHEADER (14 bytes) then BITMAPINFOHEADER (40 bytes); only biWidth and biHeight count.
constexpr std::size_t kMapHeaderBytes = 54;
constexpr std::size_t kWidthOffset = 18;
constexpr std::size_t kHeightOffset = 22;

// 32 bytes a vertex must fit the vertex buffer's 32-bit length.
constexpr std::int64_t kMaxVertices = std::int64_t{1} << 27;

std::int32_t ReadInt32LE(const unsigned char* bytes) {
    const std::uint32_t value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    return static_cast<std::int32_t>(value);
}

// Why no ground of cols x rows vertices can be made and drawn in one call on a device with these
// limits, or "" when it can. Below two vertices a way there is no cell, and u or v would divide
// by zero. Past the device's limits the draw would fail every frame, and the ground's memory
// (some 200 bytes a vertex with the device's copies) would have been spent for nothing.
std::string GridRefusal(std::int32_t cols, std::int32_t rows, const D3DCAPS9& caps) {
    char reason[200];
    const auto vertices = static_cast<std::uint64_t>(std::int64_t{cols} * rows);
    if (cols < 2) {
        std::snprintf(reason, sizeof reason, "its header's width is %d, below the 2 a ground needs",
                      cols);
    } else if (rows < 2) {
        std::snprintf(reason, sizeof reason,
                      "its header's height is %d, below the 2 a ground needs (a top-down "
                      "bitmap's is negative)",
                      rows);
    } else if (const std::uint64_t triangles = std::uint64_t{2} * (cols - 1) * (rows - 1);
               triangles > caps.MaxPrimitiveCount) {
        std::snprintf(reason, sizeof reason,
                      "its header's width %d and height %d make %llu triangles, more than the "
                      "%lu the device draws in one call",
                      cols, rows, static_cast<unsigned long long>(triangles),
                      static_cast<unsigned long>(caps.MaxPrimitiveCount));
    } else if (vertices - 1 > caps.MaxVertexIndex) {
        std::snprintf(reason, sizeof reason,
                      "its header's width %d and height %d make %llu vertices, more than the "
                      "%llu the device indexes in one call",
                      cols, rows, static_cast<unsigned long long>(vertices),
                      static_cast<unsigned long long>(caps.MaxVertexIndex) + 1);
    } else if (vertices >= static_cast<std::uint64_t>(kMaxVertices)) {
        std::snprintf(reason, sizeof reason,
                      "its header's width %d and height %d make %llu vertices, 2^27 or more, too "
                      "many for 32-bit buffer lengths",
                      cols, rows, static_cast<unsigned long long>(vertices));
    } else {
        return "";
    }
    return reason;
}

HRESULT RefuseMap(const char* mapFile, const std::string& reason) {
    std::fprintf(stderr, "Orvek: no ground can be made from the map \"%s\": %s\n", mapFile,
                 reason.c_str());
    return E_FAIL;
}

// The program reads its files from its working directory: started elsewhere, this line says
// why the ground is missing where the message box says only "Cannot found", or cannot be seen.
void ReportUnopenedMap(const char* mapFile, int error) {
    std::error_code ignored;
    const std::string directory = std::filesystem::current_path(ignored).string();
    std::fprintf(stderr, "Orvek: cannot open the map \"%s\" (working directory %s): %s\n", mapFile,
                 directory.c_str(), std::strerror(error));
}

template <typename T>
void FreeStore(std::vector<T>& store, T*& view) {
    std::vector<T>().swap(store);
    view = nullptr;
}

}  // namespace

CTerrain::CTerrain()
    : m_nCols(0),
      m_nRows(0),
      m_nReserved(0),
      m_vScale(1.0f, 1.0f, 1.0f),
      m_pd3dDevice(nullptr),
      m_pTex{},
      m_pVB(nullptr),
      m_pIB(nullptr),
      m_nTriangles(0),
      m_pVertices(nullptr),
      m_pPositions(nullptr),
      m_pTriangles(nullptr) {}

CTerrain::~CTerrain() { Release(); }

HRESULT CTerrain::Create(IDirect3DDevice9* pd3dDevice, const D3DXVECTOR3* pvScale,
                         const char* mapFile, const char* const textureFiles[kTextures]) {
    m_pd3dDevice = pd3dDevice;
    m_vScale = *pvScale;
    if (FAILED(LoadMap(mapFile)) || FAILED(LoadTextures(textureFiles)) ||
        FAILED(CreateBuffers())) {
        Release();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CTerrain::LoadMap(const char* mapFile) {
    std::FILE* file = std::fopen(mapFile, "rb");
    if (!file) {
        ReportUnopenedMap(mapFile, errno);
        MessageBoxA(nullptr, "Error", "Cannot found", MB_OK);
        return E_FAIL;
    }
    unsigned char header[kMapHeaderBytes];
    const std::size_t read = std::fread(header, 1, sizeof header, file);
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError != 0)
        return RefuseMap(mapFile, std::string("it cannot be read: ") + std::strerror(readError));
    if (read < sizeof header) {
        return RefuseMap(mapFile, "it holds " + std::to_string(read) +
                                      " bytes, fewer than the 54 of its headers");
    }

    const std::int32_t cols = ReadInt32LE(header + kWidthOffset);
    const std::int32_t rows = ReadInt32LE(header + kHeightOffset);
    D3DCAPS9 caps{};
    if (FAILED(m_pd3dDevice->GetDeviceCaps(&caps)))
        return RefuseMap(mapFile, "the device's limits cannot be read");
    if (const std::string reason = GridRefusal(cols, rows, caps); !reason.empty())
        return RefuseMap(mapFile, reason);

    const auto count = static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows);
    try {
        m_vertexStore.resize(count);
        m_positionStore.resize(count);
    } catch (const std::bad_alloc&) {
        return RefuseMap(mapFile, "there is not enough memory for its vertices");
    }
    m_nCols = cols;
    m_nRows = rows;
    m_pVertices = m_vertexStore.data();
    m_pPositions = m_positionStore.data();

    // Integer halves: an even count reaches one cell further toward -x and toward +z.
    const int hc = m_nCols / 2;
    const int hr = m_nRows / 2;
    for (int z = 0; z < m_nRows; ++z) {
        for (int x = 0; x < m_nCols; ++x) {
            TerrainVertex& vertex = m_pVertices[static_cast<std::size_t>(z) * m_nCols + x];
            vertex.pos.x = static_cast<float>(x - hc) * m_vScale.x;
            vertex.pos.y = -1.0f;
            vertex.pos.z = static_cast<float>(hr - z) * m_vScale.z;
            D3DXVec3Normalize(&vertex.normal, &vertex.pos);
            vertex.tu = static_cast<float>(x) / static_cast<float>(m_nCols - 1);
            vertex.tv = static_cast<float>(z) / static_cast<float>(m_nRows - 1);
            m_pPositions[static_cast<std::size_t>(z) * m_nCols + x] = vertex.pos;
        }
    }
    return S_OK;
}

HRESULT CTerrain::LoadTextures(const char* const textureFiles[kTextures]) {
    for (int slot = 0; slot < kTextures; ++slot)
        D3DXCreateTextureFromFileA(m_pd3dDevice, textureFiles[slot], &m_pTex[slot]);
    return S_OK;
}

HRESULT CTerrain::CreateBuffers() {
    // LoadMap keeps the grid within the device's limits and below 2^27 vertices, so both byte
    // lengths fit in 32 bits and the whole ground is one draw.
    const UINT vertices = static_cast<UINT>(m_nCols) * static_cast<UINT>(m_nRows);
    const UINT triangles = static_cast<UINT>(m_nCols - 1) * static_cast<UINT>(m_nRows - 1) * 2;
    const UINT vertexBytes = vertices * sizeof(TerrainVertex);
    const UINT indexBytes = triangles * 3 * sizeof(DWORD);

    if (FAILED(m_pd3dDevice->CreateVertexBuffer(vertexBytes, 0, kTerrainFvf, D3DPOOL_DEFAULT,
                                                &m_pVB, nullptr)))
        return E_FAIL;
    void* vertexData = nullptr;
    if (FAILED(m_pVB->Lock(0, vertexBytes, &vertexData, 0))) return E_FAIL;
    std::memcpy(vertexData, m_pVertices, vertexBytes);
    m_pVB->Unlock();

    if (FAILED(m_pd3dDevice->CreateIndexBuffer(indexBytes, 0, D3DFMT_INDEX32, D3DPOOL_DEFAULT,
                                               &m_pIB, nullptr)))
        return E_FAIL;
    try {
        m_triangleStore.resize(static_cast<std::size_t>(triangles) * 3);
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    m_pTriangles = m_triangleStore.data();
    void* indexData = nullptr;
    if (FAILED(m_pIB->Lock(0, indexBytes, &indexData, 0))) return E_FAIL;

    // Seen from above (+x right, +z up) a is the cell's top-left corner, b top-right,
    // c bottom-left, d bottom-right: (a, b, c) and (c, b, d) both run clockwise.
    const auto cols = static_cast<DWORD>(m_nCols);
    DWORD* out = m_pTriangles;
    for (DWORD z = 0; z + 1 < static_cast<DWORD>(m_nRows); ++z) {
        for (DWORD x = 0; x + 1 < cols; ++x) {
            const DWORD a = z * cols + x;
            const DWORD b = a + 1;
            const DWORD c = a + cols;
            const DWORD d = c + 1;
            for (DWORD index : {a, b, c, c, b, d}) *out++ = index;
        }
    }
    std::memcpy(indexData, m_pTriangles, indexBytes);
    m_pIB->Unlock();
    return S_OK;
}

HRESULT CTerrain::DrawGrid() {
    // A ground whose creation failed holds no buffers: nothing to draw, nothing to pick.
    if (!m_pVB || !m_pIB) return S_OK;

    m_nTriangles = (m_nCols - 1) * (m_nRows - 1) * 2;

    D3DXMATRIXA16 identity;
    D3DXMatrixIdentity(&identity);
    m_pd3dDevice->SetTransform(D3DTS_WORLD, &identity);
    m_pd3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_pd3dDevice->SetTexture(0, m_pTex[0]);
    m_pd3dDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    m_pd3dDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    m_pd3dDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    m_pd3dDevice->SetStreamSource(0, m_pVB, 0, sizeof(TerrainVertex));
    m_pd3dDevice->SetFVF(kTerrainFvf);
    m_pd3dDevice->SetIndices(m_pIB);
    m_pd3dDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0,
                                       static_cast<UINT>(m_nCols) * static_cast<UINT>(m_nRows),
                                       0, static_cast<UINT>(m_nTriangles));
    return S_OK;
}

HRESULT CTerrain::Render() {
    DrawGrid();
    return S_OK;
}

HRESULT CTerrain::Release() {
    // Each view and interface is cleared as it is given up, so a later run finds nothing left,
    // and picking sees no triangle on a ground that has lost its arrays.
    FreeStore(m_vertexStore, m_pVertices);
    FreeStore(m_positionStore, m_pPositions);
    FreeStore(m_triangleStore, m_pTriangles);
    m_nTriangles = 0;
    SafeRelease(m_pVB);
    SafeRelease(m_pIB);
    for (IDirect3DTexture9*& texture : m_pTex) SafeRelease(texture);
    return S_OK;
}
