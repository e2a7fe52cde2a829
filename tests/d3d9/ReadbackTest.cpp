// Reading finished frames back: GetRenderTargetData into a host-memory surface, copied in bands
// of rows on the device's threads, and Present to the window.
#include "DeviceTesting.h"

#include <algorithm>
#include <thread>

#include "d3d9/DeviceOptions.h"

namespace test {
namespace {

ComRef<IDirect3DSurface9> hostSurface(IDirect3DDevice9* device, UINT width, UINT height,
                                      D3DFORMAT format = D3DFMT_X8R8G8B8) {
    ComRef<IDirect3DSurface9> surface;
    EXPECT_EQ(D3D_OK, device->CreateOffscreenPlainSurface(width, height, format,
                                                          D3DPOOL_SYSTEMMEM, surface.put(),
                                                          nullptr));
    return surface;
}

// A frame taller than several bands, each row its own colour, cleared before the copy is asked
// for: every copy holds every row, band and stripe edges included: on four threads, stripes
// copied as they are drawn; on one, the whole frame as one stripe.
TEST(Readback, CopiesTheWholeFinishedFrame) {
    struct Case {
        unsigned threads;
        int width, height;
    };
    for (const Case c : {Case{4, 5, 100}, Case{1, 64, 48}}) {
        SCOPED_TRACE(testing::Message() << c.threads << " threads");
        platform::d3d9::setRenderThreads(c.threads);
        DeviceFixture f(c.width, c.height);
        platform::d3d9::setRenderThreads(0);
        std::vector<std::uint32_t> expected;
        for (LONG y = 0; y < c.height; ++y) {
            const D3DRECT row{0, y, c.width, y + 1};
            const std::uint32_t colour = 0xFF000000u | (static_cast<std::uint32_t>(y) * 0x010203u);
            f.device->Clear(1, &row, D3DCLEAR_TARGET, colour, 1.0f, 0);
            expected.insert(expected.end(), c.width, colour);
        }
        ComRef<IDirect3DSurface9> backBuffer;
        ASSERT_EQ(D3D_OK, f.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()));
        auto host = hostSurface(f.device.get(), c.width, c.height);
        ASSERT_EQ(D3D_OK, f.device->GetRenderTargetData(backBuffer.get(), host.get()));
        EXPECT_EQ(expected, surfacePixels(host.get())) << "copied as the stripes were drawn";
        auto again = hostSurface(f.device.get(), c.width, c.height);
        ASSERT_EQ(D3D_OK, f.device->GetRenderTargetData(backBuffer.get(), again.get()));
        EXPECT_EQ(expected, surfacePixels(again.get())) << "copied with nothing left to draw";
        ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, nullptr, nullptr));
        const auto shown = f.window.lastFrame();
        EXPECT_EQ(expected, std::vector<std::uint32_t>(shown.begin(), shown.end()));
    }
}

// A device asked for no count takes one thread per core, less the processors its window's
// presents keep busy, and never none; an asked-for count stands.
TEST(RenderThreads, OnePerCoreLessThoseThePresentsKeep) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    EXPECT_EQ(cores, platform::d3d9::renderThreads());
    EXPECT_EQ(cores > 1 ? cores - 1 : 1, platform::d3d9::renderThreads(1));
    EXPECT_EQ(1u, platform::d3d9::renderThreads(cores + 4));
    platform::d3d9::setRenderThreads(3);
    EXPECT_EQ(3u, platform::d3d9::renderThreads(1));
    platform::d3d9::setRenderThreads(0);
}

TEST(Readback, RefusesSurfacesThatDoNotMatch) {
    DeviceFixture f(4, 4);
    DeviceFixture other(4, 4);
    ComRef<IDirect3DSurface9> backBuffer;
    ASSERT_EQ(D3D_OK, f.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()));
    ComRef<IDirect3DSurface9> otherBackBuffer;
    ASSERT_EQ(D3D_OK, other.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO,
                                                  otherBackBuffer.put()));
    auto fits = hostSurface(f.device.get(), 4, 4);
    auto small = hostSurface(f.device.get(), 4, 3);
    auto alpha = hostSurface(f.device.get(), 4, 4, D3DFMT_A8R8G8B8);
    auto foreign = hostSurface(other.device.get(), 4, 4);
    auto locked = hostSurface(f.device.get(), 4, 4);
    D3DLOCKED_RECT rect;
    ASSERT_EQ(D3D_OK, locked->LockRect(&rect, nullptr, 0));
    struct Case {
        int line;
        IDirect3DSurface9* source;
        IDirect3DSurface9* target;
        HRESULT result;
    };
    const Case kCases[] = {
        {__LINE__, backBuffer.get(), fits.get(), D3D_OK},
        {__LINE__, nullptr, fits.get(), D3DERR_INVALIDCALL},
        {__LINE__, backBuffer.get(), nullptr, D3DERR_INVALIDCALL},
        {__LINE__, otherBackBuffer.get(), fits.get(), D3DERR_INVALIDCALL},  // not this device's
        {__LINE__, fits.get(), fits.get(), D3DERR_INVALIDCALL},  // not a render target
        {__LINE__, backBuffer.get(), backBuffer.get(), D3DERR_INVALIDCALL},  // not host memory
        {__LINE__, backBuffer.get(), small.get(), D3DERR_INVALIDCALL},
        {__LINE__, backBuffer.get(), alpha.get(), D3DERR_INVALIDCALL},
        {__LINE__, backBuffer.get(), foreign.get(), D3DERR_INVALIDCALL},
        {__LINE__, backBuffer.get(), locked.get(), D3DERR_INVALIDCALL},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.result, f.device->GetRenderTargetData(c.source, c.target));
    }
    locked->UnlockRect();

    IDirect3DSurface9* made = reinterpret_cast<IDirect3DSurface9*>(1);
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->CreateOffscreenPlainSurface(
                                      4, 4, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &made, nullptr));
    EXPECT_EQ(nullptr, made);
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->CreateOffscreenPlainSurface(
                                      0, 4, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &made, nullptr));
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->CreateOffscreenPlainSurface(
                                      4, 4, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &made, nullptr));
    EXPECT_EQ(nullptr, made);
}

}  // namespace
}  // namespace test
