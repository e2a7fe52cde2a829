// Reference counting of the device and its resources: what is set on the device lives while it
// is set, resources outlive the device that made them, and each object goes with its last
// reference (the sanitizer build reports a leak or a use after free).
#include <cstring>

#include "DeviceTesting.h"

namespace test {
namespace {

constexpr std::uint32_t kTexel = 0xFF30A050;

ComRef<IDirect3DIndexBuffer9> quadIndices(IDirect3DDevice9* device) {
    const std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    ComRef<IDirect3DIndexBuffer9> ib;
    EXPECT_EQ(D3D_OK, device->CreateIndexBuffer(sizeof indices, 0, D3DFMT_INDEX16,
                                                D3DPOOL_MANAGED, ib.put(), nullptr));
    void* data = nullptr;
    EXPECT_EQ(D3D_OK, ib->Lock(0, 0, &data, 0));
    std::memcpy(data, indices, sizeof indices);
    ib->Unlock();
    return ib;
}

TEST(Lifetime, WhatIsSetOnTheDeviceOutlivesTheProgramsReference) {
    DeviceFixture f(4, 4);
    auto texture = f.texture(1, 1, 1, [](UINT, UINT, UINT) { return kTexel; });
    auto vertices = f.buffer({f.at(-0.5f, -0.5f), f.at(3.5f, -0.5f), f.at(-0.5f, 3.5f),
                              f.at(3.5f, 3.5f)});
    auto indices = quadIndices(f.device.get());
    f.device->SetTexture(0, texture.get());
    f.device->SetFVF(kVertexFormat);
    f.device->SetStreamSource(0, vertices.get(), 0, sizeof(Vertex));
    f.device->SetIndices(indices.get());
    // The device's own reference is what is left.
    EXPECT_EQ(1u, texture.release()->Release());
    EXPECT_EQ(1u, vertices.release()->Release());
    EXPECT_EQ(1u, indices.release()->Release());

    f.clear();
    f.device->BeginScene();
    EXPECT_EQ(D3D_OK, f.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2));
    f.device->EndScene();
    for (std::uint32_t p : f.pixels()) EXPECT_EQ(kTexel, p);

    // Unsetting drops the last references.
    EXPECT_EQ(D3D_OK, f.device->SetTexture(0, nullptr));
    EXPECT_EQ(D3D_OK, f.device->SetStreamSource(0, nullptr, 0, 0));
    EXPECT_EQ(D3D_OK, f.device->SetIndices(nullptr));
}

TEST(Lifetime, ResettingTheBoundObjectKeepsIt) {
    DeviceFixture f(2, 2);
    auto texture = f.texture(1, 1, 1, [](UINT, UINT, UINT) { return kTexel; });
    f.device->SetTexture(0, texture.get());
    f.device->SetTexture(0, texture.get());  // the old reference goes after the new one is taken
    EXPECT_EQ(1u, texture.release()->Release());
    f.clear();
    ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, quadList(f, -0.5f, -0.5f, 1.5f, 1.5f, false), 2));
    for (std::uint32_t p : f.pixels()) EXPECT_EQ(kTexel, p);
}

// Draws wait until their pixels can be seen; each still shows its texture and vertices as they
// were when it was called, though the program rewrites or releases them before the scene ends.
TEST(Lifetime, ADrawShowsItsResourcesAsTheyWereWhenCalled) {
    constexpr std::uint32_t kLater = 0xFF102030;
    DeviceFixture f(4, 2);
    auto texture = f.texture(1, 1, 1, [](UINT, UINT, UINT) { return kTexel; });
    auto vertices = f.buffer(quadList(f, -0.5f, -0.5f, 1.5f, 1.5f, false));
    f.device->SetTexture(0, texture.get());
    f.device->SetFVF(kVertexFormat);
    f.device->SetStreamSource(0, vertices.get(), 0, sizeof(Vertex));
    f.clear();
    f.device->BeginScene();
    ASSERT_EQ(D3D_OK, f.device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2));  // left half
    const auto right = quadList(f, 1.5f, -0.5f, 3.5f, 1.5f, false);
    void* data = nullptr;
    ASSERT_EQ(D3D_OK, vertices->Lock(0, 0, &data, 0));
    std::memcpy(data, right.data(), right.size() * sizeof(Vertex));
    vertices->Unlock();
    D3DLOCKED_RECT locked;
    ASSERT_EQ(D3D_OK, texture->LockRect(0, &locked, nullptr, 0));
    *static_cast<std::uint32_t*>(locked.pBits) = kLater;
    texture->UnlockRect(0);
    ASSERT_EQ(D3D_OK, f.device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2));  // right half
    EXPECT_EQ(D3D_OK, f.device->SetTexture(0, nullptr));
    EXPECT_EQ(1u, texture.release()->Release());  // the pending draw's reference is left
    f.device->EndScene();
    const std::vector<std::uint32_t> expected = {kTexel, kTexel, kLater, kLater,
                                                 kTexel, kTexel, kLater, kLater};
    EXPECT_EQ(expected, f.pixels());
}

TEST(Lifetime, ResourcesOutliveTheirDevice) {
    DeviceFixture f(2, 2);
    auto texture = f.texture(2, 2, 1, [](UINT, UINT, UINT) { return kTexel; });
    auto vertices = f.buffer({f.at(0, 0), f.at(1, 0), f.at(0, 1)});
    ComRef<IDirect3DSurface9> backBuffer;
    ASSERT_EQ(D3D_OK, f.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()));
    f.device->SetTexture(0, texture.get());
    f.device->SetStreamSource(0, vertices.get(), 0, sizeof(Vertex));
    f.clear(0xFF112233);

    EXPECT_EQ(0u, f.device.release()->Release());

    // The device's references went with it.
    EXPECT_EQ(2u, texture->AddRef());
    EXPECT_EQ(1u, texture->Release());
    IDirect3DDevice9* owner = reinterpret_cast<IDirect3DDevice9*>(1);
    EXPECT_EQ(D3DERR_INVALIDCALL, texture->GetDevice(&owner));
    EXPECT_EQ(nullptr, owner);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(D3D_OK, texture->LockRect(0, &locked, nullptr, 0));
    EXPECT_EQ(kTexel, *static_cast<std::uint32_t*>(locked.pBits));
    texture->UnlockRect(0);
    void* data = nullptr;
    ASSERT_EQ(D3D_OK, vertices->Lock(0, 0, &data, 0));
    vertices->Unlock();
    // The back buffer keeps the last picture.
    ASSERT_EQ(D3D_OK, backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY));
    EXPECT_EQ(0xFF112233u, *static_cast<std::uint32_t*>(locked.pBits));
    backBuffer->UnlockRect();
}

TEST(Lifetime, EachReferenceIsReleasedOnce) {
    DeviceFixture f(2, 2);
    ComRef<IDirect3DSurface9> first;
    ComRef<IDirect3DSurface9> second;
    ASSERT_EQ(D3D_OK, f.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, first.put()));
    ASSERT_EQ(D3D_OK, f.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, second.put()));
    EXPECT_EQ(first.get(), second.get());  // one surface, a reference per call
    IDirect3DSurface9* surface = first.release();
    // The device keeps one of its own besides the two handed out.
    EXPECT_EQ(4u, surface->AddRef());
    EXPECT_EQ(3u, surface->Release());
    EXPECT_EQ(2u, surface->Release());
    second.reset();

    auto texture = f.texture(1, 1, 1, [](UINT, UINT, UINT) { return kTexel; });
    IDirect3DTexture9* raw = texture.release();
    EXPECT_EQ(2u, raw->AddRef());
    EXPECT_EQ(1u, raw->Release());
    EXPECT_EQ(0u, raw->Release());
}

}  // namespace
}  // namespace test
