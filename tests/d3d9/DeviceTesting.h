// DeviceTesting.h: a software device on a small headless window, and helpers that draw
// geometry given in pixels, so a test states exactly which pixel centres a triangle covers.
#pragma once

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include <d3d9.h>

#include "d3d9/ComRef.h"
#include "d3d9/HeadlessDevice.h"

namespace test {

using platform::ComRef;

struct Vertex {  // D3DFVF_XYZ | D3DFVF_TEX1
    float x, y, z;
    float u, v;
};
constexpr DWORD kVertexFormat = D3DFVF_XYZ | D3DFVF_TEX1;

inline D3DMATRIX identityMatrix() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// A surface's pixels row by row, read through a lock.
inline std::vector<std::uint32_t> surfacePixels(IDirect3DSurface9* surface) {
    D3DSURFACE_DESC desc;
    surface->GetDesc(&desc);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(D3D_OK, surface->LockRect(&locked, nullptr, D3DLOCK_READONLY));
    std::vector<std::uint32_t> out(std::size_t(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        std::memcpy(out.data() + std::size_t(y) * desc.Width,
                    static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch,
                    desc.Width * 4);
    }
    surface->UnlockRect();
    return out;
}

class DeviceFixture {
public:
    explicit DeviceFixture(int width = 8, int height = 8) : window(width, height) {
        d3d = ComRef<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
        device = platform::d3d9::createHeadlessDevice(d3d.get(), window);
        EXPECT_TRUE(device);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }

    // Screen pixels to clip space with w = 1 under identity transforms.
    Vertex at(float px, float py, float z = 0.5f, float u = 0, float v = 0) const {
        const SIZE s = window.clientSize();
        return {2.0f * px / s.cx - 1.0f, 1.0f - 2.0f * py / s.cy, z, u, v};
    }

    ComRef<IDirect3DVertexBuffer9> buffer(const std::vector<Vertex>& vertices) {
        ComRef<IDirect3DVertexBuffer9> vb;
        const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(Vertex));
        EXPECT_EQ(D3D_OK,
                  device->CreateVertexBuffer(bytes, 0, kVertexFormat, D3DPOOL_DEFAULT, vb.put(),
                                             nullptr));
        void* data = nullptr;
        EXPECT_EQ(D3D_OK, vb->Lock(0, bytes, &data, 0));
        std::memcpy(data, vertices.data(), bytes);
        vb->Unlock();
        return vb;
    }

    HRESULT draw(D3DPRIMITIVETYPE type, const std::vector<Vertex>& vertices, UINT primitives) {
        ComRef<IDirect3DVertexBuffer9> vb = buffer(vertices);
        device->SetFVF(kVertexFormat);
        device->SetStreamSource(0, vb.get(), 0, sizeof(Vertex));
        device->BeginScene();
        const HRESULT hr = device->DrawPrimitive(type, 0, primitives);
        device->EndScene();
        return hr;
    }

    void clear(D3DCOLOR colour = 0xFF000000) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0);
    }

    // The back buffer through GetBackBuffer, as the text overlay and the picture tests see it.
    std::vector<std::uint32_t> pixels() {
        ComRef<IDirect3DSurface9> surface;
        EXPECT_EQ(D3D_OK, device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, surface.put()));
        return surfacePixels(surface.get());
    }

    // One texture whose level i is filled by fill(level, x, y).
    template <class Fill>
    ComRef<IDirect3DTexture9> texture(UINT width, UINT height, UINT levels, Fill fill) {
        ComRef<IDirect3DTexture9> t;
        EXPECT_EQ(D3D_OK, device->CreateTexture(width, height, levels, 0, D3DFMT_X8R8G8B8,
                                                D3DPOOL_MANAGED, t.put(), nullptr));
        for (UINT level = 0; level < t->GetLevelCount(); ++level) {
            D3DSURFACE_DESC desc;
            t->GetLevelDesc(level, &desc);
            D3DLOCKED_RECT locked;
            EXPECT_EQ(D3D_OK, t->LockRect(level, &locked, nullptr, 0));
            for (UINT y = 0; y < desc.Height; ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                             y * locked.Pitch);
                for (UINT x = 0; x < desc.Width; ++x) row[x] = fill(level, x, y);
            }
            t->UnlockRect(level);
        }
        return t;
    }

    platform::d3d9::HeadlessWindow window;
    ComRef<IDirect3D9> d3d;
    ComRef<IDirect3DDevice9> device;
};

// An axis-aligned quad from (x0, y0) to (x1, y1) in pixels as a two-triangle list split along
// one diagonal, with u, v running 0..1 across it.
inline std::vector<Vertex> quadList(const DeviceFixture& f, float x0, float y0, float x1, float y1,
                                    bool otherDiagonal, float z = 0.5f) {
    const Vertex tl = f.at(x0, y0, z, 0, 0), tr = f.at(x1, y0, z, 1, 0);
    const Vertex bl = f.at(x0, y1, z, 0, 1), br = f.at(x1, y1, z, 1, 1);
    if (otherDiagonal) return {tl, tr, br, tl, br, bl};
    return {tl, tr, bl, bl, tr, br};
}

}  // namespace test
