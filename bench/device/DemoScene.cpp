#include "DemoScene.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "d3dx9/MipChain.h"

namespace bench {

namespace {

struct Vertex {  // D3DFVF_XYZ | D3DFVF_TEX1
    float x, y, z;
    float u, v;
};
constexpr DWORD kVertexFormat = D3DFVF_XYZ | D3DFVF_TEX1;

constexpr int kGroundSide = 128;  // vertices along each side of the ground
constexpr int kCubeCount = 31;    // the player and thirty boxes
constexpr D3DCOLOR kSky = 0xFF6E93BF;

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(std::string(what) + " failed");
}

std::uint32_t rgb(unsigned r, unsigned g, unsigned b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// 16-texel squares, light grey and green.
platform::d3dx9::Image checkerImage() {
    platform::d3dx9::Image image{256, 256, std::vector<std::uint32_t>(256 * 256), false};
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const bool green = ((x / 16 + y / 16) & 1) != 0;
            image.pixels[y * image.width + x] = green ? rgb(40, 110, 40) : rgb(235, 235, 235);
        }
    }
    return image;
}

// A tinted face: a dark 6-texel border around diagonal stripes whose width depends on the face,
// so the six faces tell apart.
platform::d3dx9::Image faceImage(int face) {
    static constexpr unsigned kTint[6][3] = {{220, 60, 60},  {60, 200, 60},  {70, 90, 230},
                                             {230, 210, 50}, {200, 70, 210}, {60, 210, 210}};
    constexpr std::uint32_t kSide = 128;
    constexpr std::uint32_t kBorder = 6;
    const std::uint32_t stripe = (8 + 4 * static_cast<std::uint32_t>(face)) / 2;
    platform::d3dx9::Image image{kSide, kSide, std::vector<std::uint32_t>(kSide * kSide), false};
    for (std::uint32_t y = 0; y < kSide; ++y) {
        for (std::uint32_t x = 0; x < kSide; ++x) {
            const bool border = x < kBorder || y < kBorder || x >= kSide - kBorder ||
                                y >= kSide - kBorder;
            const float shade = border ? 0.25f : (((x + y) / stripe) & 1) ? 1.0f : 0.6f;
            const auto channel = [&](int c) {
                return static_cast<unsigned>(static_cast<float>(kTint[face][c]) * shade);
            };
            image.pixels[y * kSide + x] = rgb(channel(0), channel(1), channel(2));
        }
    }
    return image;
}

// A texture holding `top` and its box-filtered levels down to 1 x 1.
ComRef<IDirect3DTexture9> makeTexture(IDirect3DDevice9& device, platform::d3dx9::Image top) {
    ComRef<IDirect3DTexture9> texture;
    check(device.CreateTexture(top.width, top.height, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED,
                               texture.put(), nullptr),
          "CreateTexture");
    for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
        if (level > 0) top = platform::d3dx9::halveImage(top);
        D3DLOCKED_RECT locked;
        check(texture->LockRect(level, &locked, nullptr, 0), "LockRect");
        for (std::uint32_t y = 0; y < top.height; ++y) {
            std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + std::size_t{y} * locked.Pitch,
                        top.pixels.data() + std::size_t{y} * top.width, top.width * 4);
        }
        texture->UnlockRect(level);
    }
    return texture;
}

template <class T>
void fill(IDirect3DVertexBuffer9& buffer, const std::vector<T>& data) {
    void* bits = nullptr;
    check(buffer.Lock(0, 0, &bits, 0), "Lock");
    std::memcpy(bits, data.data(), data.size() * sizeof(T));
    buffer.Unlock();
}

}  // namespace

DemoScene::DemoScene(IDirect3DDevice9& device, int width, int height) : device_(device) {
    makeGround();
    makeCube();
    makeTextures();
    for (const CubePlacement& c : placeCubes()) {
        D3DXMATRIX rotation;
        D3DXMATRIX translation;
        D3DXMatrixRotationY(&rotation, c.angle);
        D3DXMatrixIdentity(&translation);
        translation._41 = c.x;
        translation._43 = c.z;
        cubeWorlds_.push_back(rotation * translation);
    }
    setStates(width, height);
}

// Thirty boxes at distinct whole-number x, z in [-30, 29], at least 3 apart on some axis and off
// the player; every third one square to the axes. A fixed generator, so every run draws the same.
std::vector<DemoScene::CubePlacement> DemoScene::placeCubes() {
    std::vector<CubePlacement> cubes{{0.0f, 0.0f, 0.0f}};
    std::uint32_t state = 12345u;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    while (cubes.size() < kCubeCount) {
        const int x = -30 + static_cast<int>(next() % 60);
        const int z = -30 + static_cast<int>(next() % 60);
        bool crowded = false;
        for (const CubePlacement& c : cubes) {
            crowded = crowded || (std::abs(c.x - static_cast<float>(x)) < 3.0f &&
                                  std::abs(c.z - static_cast<float>(z)) < 3.0f);
        }
        if (crowded) continue;
        const float angle =
            cubes.size() % 3 == 0 ? 0.0f : static_cast<float>(next() % 16) * (D3DX_PI / 16.0f);
        cubes.push_back({static_cast<float>(x), static_cast<float>(z), angle});
    }
    return cubes;
}

// Rows run from the far edge (z = 128) toward the camera; each cell is two triangles, clockwise
// seen from above, one texture stretched over the whole ground.
void DemoScene::makeGround() {
    std::vector<Vertex> vertices;
    vertices.reserve(kGroundSide * kGroundSide);
    for (int row = 0; row < kGroundSide; ++row) {
        for (int col = 0; col < kGroundSide; ++col) {
            vertices.push_back({-128.0f + 2.0f * col, -1.0f, 128.0f - 2.0f * row,
                                col / float(kGroundSide - 1), row / float(kGroundSide - 1)});
        }
    }
    std::vector<std::uint32_t> indices;
    indices.reserve((kGroundSide - 1) * (kGroundSide - 1) * 6);
    for (std::uint32_t row = 0; row + 1 < kGroundSide; ++row) {
        for (std::uint32_t col = 0; col + 1 < kGroundSide; ++col) {
            const std::uint32_t farLeft = row * kGroundSide + col;
            const std::uint32_t nearLeft = farLeft + kGroundSide;
            indices.insert(indices.end(),
                           {farLeft, farLeft + 1, nearLeft, nearLeft, farLeft + 1, nearLeft + 1});
        }
    }
    check(device_.CreateVertexBuffer(static_cast<UINT>(vertices.size() * sizeof(Vertex)), 0,
                                     kVertexFormat, D3DPOOL_MANAGED, groundVertices_.put(),
                                     nullptr),
          "CreateVertexBuffer");
    fill(*groundVertices_.get(), vertices);
    check(device_.CreateIndexBuffer(static_cast<UINT>(indices.size() * 4), 0, D3DFMT_INDEX32,
                                    D3DPOOL_MANAGED, groundIndices_.put(), nullptr),
          "CreateIndexBuffer");
    void* bits = nullptr;
    check(groundIndices_->Lock(0, 0, &bits, 0), "Lock");
    std::memcpy(bits, indices.data(), indices.size() * 4);
    groundIndices_->Unlock();
}

// Six four-vertex strips on the -1..1 cube, each clockwise seen from outside: top-left,
// top-right, bottom-left, bottom-right, with "right" = up x inward normal.
void DemoScene::makeCube() {
    struct Face {
        D3DXVECTOR3 normal;
        D3DXVECTOR3 up;
    };
    static const Face kFaces[6] = {{{0, 0, -1}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}},
                                   {{-1, 0, 0}, {0, 1, 0}}, {{1, 0, 0}, {0, 1, 0}},
                                   {{0, 1, 0}, {0, 0, 1}},  {{0, -1, 0}, {0, 0, -1}}};
    std::vector<Vertex> vertices;
    for (const Face& f : kFaces) {
        const D3DXVECTOR3 in = -f.normal;
        const D3DXVECTOR3 right(f.up.y * in.z - f.up.z * in.y, f.up.z * in.x - f.up.x * in.z,
                                f.up.x * in.y - f.up.y * in.x);
        static constexpr float kCorners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};  // u, v
        for (const auto& [u, v] : kCorners) {
            const D3DXVECTOR3 p = f.normal + right * (2 * u - 1) + f.up * (1 - 2 * v);
            vertices.push_back({p.x, p.y, p.z, u, v});
        }
    }
    check(device_.CreateVertexBuffer(static_cast<UINT>(vertices.size() * sizeof(Vertex)), 0,
                                     kVertexFormat, D3DPOOL_MANAGED, cubeVertices_.put(), nullptr),
          "CreateVertexBuffer");
    fill(*cubeVertices_.get(), vertices);
}

void DemoScene::makeTextures() {
    groundTexture_ = makeTexture(device_, checkerImage());
    for (int face = 0; face < 6; ++face) {
        faceTextures_[face] = makeTexture(device_, faceImage(face));
    }
}

// Camera at (0, 100, -100) looking at the origin; fovY pi/4, near 1, far 1000. No lighting: the
// stage shows the texel.
void DemoScene::setStates(int width, int height) {
    D3DXMATRIX view;
    D3DXMATRIX projection;
    const D3DXVECTOR3 eye(0, 100, -100), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, float(width) / float(height), 1.0f,
                               1000.0f);
    check(device_.SetTransform(D3DTS_VIEW, &view), "SetTransform");
    check(device_.SetTransform(D3DTS_PROJECTION, &projection), "SetTransform");
    check(device_.SetRenderState(D3DRS_LIGHTING, FALSE), "SetRenderState");
    for (auto type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER}) {
        check(device_.SetSamplerState(0, type, D3DTEXF_LINEAR), "SetSamplerState");
    }
    check(device_.SetFVF(kVertexFormat), "SetFVF");
}

HRESULT DemoScene::drawFrame(Parts parts) {
    HRESULT hr = device_.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSky, 1.0f, 0);
    if (FAILED(hr) || FAILED(hr = device_.BeginScene())) return hr;
    const auto keep = [&hr](HRESULT result) {
        if (SUCCEEDED(hr)) hr = result;
    };
    if (parts == Parts::All || parts == Parts::Ground) {
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        keep(device_.SetTransform(D3DTS_WORLD, &identity));
        keep(device_.SetTexture(0, groundTexture_.get()));
        keep(device_.SetStreamSource(0, groundVertices_.get(), 0, sizeof(Vertex)));
        keep(device_.SetIndices(groundIndices_.get()));
        keep(device_.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, kGroundSide * kGroundSide, 0,
                                          (kGroundSide - 1) * (kGroundSide - 1) * 2));
    }
    if (parts == Parts::All || parts == Parts::Cubes) {
        keep(device_.SetStreamSource(0, cubeVertices_.get(), 0, sizeof(Vertex)));
        for (const D3DXMATRIX& world : cubeWorlds_) {
            keep(device_.SetTransform(D3DTS_WORLD, &world));
            for (UINT face = 0; face < 6; ++face) {
                keep(device_.SetTexture(0, faceTextures_[face].get()));
                keep(device_.DrawPrimitive(D3DPT_TRIANGLESTRIP, face * 4, 2));
            }
        }
    }
    keep(device_.EndScene());
    return hr;
}

}  // namespace bench
