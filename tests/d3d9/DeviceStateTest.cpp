// Creation, default states, state round trips and presentation of the software device.
#include <algorithm>
#include <bit>

#include "DeviceTesting.h"

namespace test {
namespace {

TEST(Direct3D, OnlyVersion31MakesTheObject) {
    EXPECT_EQ(nullptr, Direct3DCreate9(32));
    EXPECT_EQ(nullptr, Direct3DCreate9(0));
    ComRef<IDirect3D9> d3d(Direct3DCreate9(31));
    EXPECT_TRUE(d3d);
}

TEST(Direct3D, DeviceTakesTheClientSizeAndWritesItBack) {
    platform::d3d9::HeadlessWindow window(40, 30);
    ComRef<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    ComRef<IDirect3DDevice9> device;
    ASSERT_EQ(D3D_OK, d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, device.put()));
    EXPECT_EQ(40u, pp.BackBufferWidth);
    EXPECT_EQ(30u, pp.BackBufferHeight);
    EXPECT_EQ(D3DFMT_X8R8G8B8, pp.BackBufferFormat);
    D3DVIEWPORT9 vp;
    ASSERT_EQ(D3D_OK, device->GetViewport(&vp));
    EXPECT_EQ(0u, vp.X);
    EXPECT_EQ(0u, vp.Y);
    EXPECT_EQ(40u, vp.Width);
    EXPECT_EQ(30u, vp.Height);
    EXPECT_EQ(0.0f, vp.MinZ);
    EXPECT_EQ(1.0f, vp.MaxZ);
    ComRef<IDirect3DSurface9> back;
    ASSERT_EQ(D3D_OK, device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.put()));
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    EXPECT_EQ(40u, desc.Width);
    EXPECT_EQ(30u, desc.Height);
}

TEST(Direct3D, RefusesDevicesItCannotMake) {
    struct Case {
        int line;
        UINT adapter;
        bool window;
        DWORD behaviour;
        BOOL windowed;
        D3DFORMAT depth;
    };
    const Case kCases[] = {
        {__LINE__, 1, true, D3DCREATE_SOFTWARE_VERTEXPROCESSING, TRUE, D3DFMT_D16},
        {__LINE__, 0, false, D3DCREATE_SOFTWARE_VERTEXPROCESSING, TRUE, D3DFMT_D16},
        {__LINE__, 0, true, 0, TRUE, D3DFMT_D16},
        {__LINE__, 0, true, D3DCREATE_SOFTWARE_VERTEXPROCESSING, FALSE, D3DFMT_D16},
        {__LINE__, 0, true, D3DCREATE_SOFTWARE_VERTEXPROCESSING, TRUE, D3DFMT_X8R8G8B8},
    };
    platform::d3d9::HeadlessWindow window(8, 8);
    ComRef<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        D3DPRESENT_PARAMETERS pp{};
        pp.Windowed = c.windowed;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = c.depth;
        IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(&pp);
        EXPECT_EQ(D3DERR_INVALIDCALL,
                  d3d->CreateDevice(c.adapter, D3DDEVTYPE_HAL, c.window ? &window : nullptr,
                                    c.behaviour, &pp, &device));
        EXPECT_EQ(nullptr, device);
    }
}

TEST(Device, DefaultStatesAreDirect3Ds) {
    DeviceFixture f;
    ComRef<IDirect3DDevice9> fresh;
    {
        D3DPRESENT_PARAMETERS pp{};
        pp.Windowed = TRUE;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D16;
        ASSERT_EQ(D3D_OK, f.d3d->CreateDevice(0, D3DDEVTYPE_HAL, &f.window,
                                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                              fresh.put()));
    }
    struct RenderCase {
        int line;
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    const RenderCase kRender[] = {
        {__LINE__, D3DRS_ZENABLE, D3DZB_TRUE},          {__LINE__, D3DRS_ZWRITEENABLE, TRUE},
        {__LINE__, D3DRS_ZFUNC, D3DCMP_LESSEQUAL},       {__LINE__, D3DRS_CULLMODE, D3DCULL_CCW},
        {__LINE__, D3DRS_LIGHTING, TRUE},                {__LINE__, D3DRS_FILLMODE, D3DFILL_SOLID},
        {__LINE__, D3DRS_SHADEMODE, D3DSHADE_GOURAUD},   {__LINE__, D3DRS_ALPHABLENDENABLE, FALSE},
        {__LINE__, D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},     {__LINE__, D3DRS_AMBIENT, 0},
        {__LINE__, D3DRS_COLORWRITEENABLE, 0xF},         {__LINE__, D3DRS_COLORVERTEX, TRUE},
        {__LINE__, D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    };
    for (const RenderCase& c : kRender) {
        SCOPED_TRACE(c.line);
        DWORD value = 0xDEADBEEF;
        ASSERT_EQ(D3D_OK, fresh->GetRenderState(c.state, &value));
        EXPECT_EQ(c.value, value);
    }
    struct StageCase {
        int line;
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    };
    const StageCase kStage[] = {
        {__LINE__, 0, D3DTSS_COLOROP, D3DTOP_MODULATE},   {__LINE__, 1, D3DTSS_COLOROP, D3DTOP_DISABLE},
        {__LINE__, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE},   {__LINE__, 0, D3DTSS_COLORARG2, D3DTA_CURRENT},
        {__LINE__, 0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}, {__LINE__, 1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
        {__LINE__, 3, D3DTSS_TEXCOORDINDEX, 3},
    };
    for (const StageCase& c : kStage) {
        SCOPED_TRACE(c.line);
        DWORD value = 0xDEADBEEF;
        ASSERT_EQ(D3D_OK, fresh->GetTextureStageState(c.stage, c.type, &value));
        EXPECT_EQ(c.value, value);
    }
    struct SamplerCase {
        int line;
        D3DSAMPLERSTATETYPE type;
        DWORD value;
    };
    const SamplerCase kSampler[] = {
        {__LINE__, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}, {__LINE__, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
        {__LINE__, D3DSAMP_MAGFILTER, D3DTEXF_POINT},   {__LINE__, D3DSAMP_MINFILTER, D3DTEXF_POINT},
        {__LINE__, D3DSAMP_MIPFILTER, D3DTEXF_NONE},    {__LINE__, D3DSAMP_MAXMIPLEVEL, 0},
        {__LINE__, D3DSAMP_MAXANISOTROPY, 1},
    };
    for (const SamplerCase& c : kSampler) {
        SCOPED_TRACE(c.line);
        DWORD value = 0xDEADBEEF;
        ASSERT_EQ(D3D_OK, fresh->GetSamplerState(0, c.type, &value));
        EXPECT_EQ(c.value, value);
    }
    for (D3DTRANSFORMSTATETYPE t : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
        D3DMATRIX m;
        ASSERT_EQ(D3D_OK, fresh->GetTransform(t, &m));
        const D3DMATRIX identity = identityMatrix();
        EXPECT_EQ(0, std::memcmp(&m, &identity, sizeof m)) << t;
    }
}

TEST(Device, StatesRoundTripAndBadOnesAreRefused) {
    DeviceFixture f;
    D3DMATRIX m = identityMatrix();
    m._41 = 3.0f;
    ASSERT_EQ(D3D_OK, f.device->SetTransform(D3DTS_VIEW, &m));
    D3DMATRIX back;
    ASSERT_EQ(D3D_OK, f.device->GetTransform(D3DTS_VIEW, &back));
    EXPECT_EQ(3.0f, back._41);
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(7), &m));
    EXPECT_EQ(D3D_OK, f.device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP));
    DWORD value = 0;
    f.device->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(DWORD{D3DTADDRESS_CLAMP}, value);
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->SetSamplerState(16, D3DSAMP_ADDRESSU, 1));
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->SetTextureStageState(8, D3DTSS_COLOROP, 1));
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->SetTexture(8, nullptr));
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(0), 1));
    D3DMATERIAL9 material{};
    material.Ambient = {1, 1, 1, 1};
    ASSERT_EQ(D3D_OK, f.device->SetMaterial(&material));
    D3DMATERIAL9 read{};
    f.device->GetMaterial(&read);
    EXPECT_EQ(1.0f, read.Ambient.g);
}

TEST(Device, SceneBracketsNest) {
    DeviceFixture f;
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->EndScene());
    EXPECT_EQ(D3D_OK, f.device->BeginScene());
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->BeginScene());
    EXPECT_EQ(D3D_OK, f.device->EndScene());
}

TEST(Device, PresentHandsTheBackBufferToTheWindow) {
    DeviceFixture f(4, 3);
    f.clear(0xFF6E93BF);
    ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1, f.window.presentCount());
    ASSERT_EQ(12u, f.window.lastFrame().size());
    for (std::uint32_t p : f.window.lastFrame()) EXPECT_EQ(0xFF6E93BFu, p);
}

// A presented frame is kept, not copied, and the frames after it go into another buffer: the
// window shows it unchanged while the next is drawn, here through two windows in turn, where
// the second must not be given a buffer the first still shows.
TEST(Device, PresentedFrameStaysWhileTheNextIsDrawn) {
    DeviceFixture f(4, 3);
    platform::d3d9::HeadlessWindow other(4, 3);
    const auto shows = [](const platform::d3d9::HeadlessWindow& window, std::uint32_t colour) {
        const auto frame = window.lastFrame();
        return frame.size() == 12u &&
               std::all_of(frame.begin(), frame.end(), [&](std::uint32_t p) { return p == colour; });
    };
    for (std::uint32_t colour : {0xFF102030u, 0xFF405060u, 0xFF708090u}) {
        f.clear(colour);
        ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, nullptr, nullptr));
        f.clear(0xFFFFFFFFu);
        f.pixels();  // draws the pending clear
        EXPECT_TRUE(shows(f.window, colour)) << std::hex << colour;
    }
    f.clear(0xFF00FF00u);
    ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, &other, nullptr));
    EXPECT_TRUE(shows(other, 0xFF00FF00u));
    f.clear(0xFF0000FFu);
    f.pixels();
    EXPECT_TRUE(shows(f.window, 0xFF708090u));
    ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, nullptr, nullptr));
    f.clear(0xFFFFFFFFu);
    f.pixels();
    EXPECT_TRUE(shows(f.window, 0xFF0000FFu));
}

// A back buffer locked across Present stays the one the lock points into.
TEST(Device, PresentWhileLockedKeepsTheBackBuffer) {
    DeviceFixture f(2, 2);
    ComRef<IDirect3DSurface9> back;
    ASSERT_EQ(D3D_OK, f.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.put()));
    f.clear(0xFF112233u);
    ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, nullptr, nullptr));
    f.clear(0xFF445566u);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(D3D_OK, back->LockRect(&locked, nullptr, 0));
    ASSERT_EQ(D3D_OK, f.device->Present(nullptr, nullptr, nullptr, nullptr));
    *static_cast<std::uint32_t*>(locked.pBits) = 0xFF778899u;
    back->UnlockRect();
    EXPECT_EQ((std::vector<std::uint32_t>{0xFF778899u, 0xFF445566u, 0xFF445566u, 0xFF445566u}),
              f.pixels());
}

// A back buffer smaller than the window is stretched to the client area when presented.
TEST(Device, PresentStretchesToTheClientArea) {
    platform::d3d9::HeadlessWindow window(4, 4);
    ComRef<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferWidth = 2;
    pp.BackBufferHeight = 2;
    ComRef<IDirect3DDevice9> device;
    ASSERT_EQ(D3D_OK, d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, device.put()));
    const D3DRECT right{1, 0, 2, 2};
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->Clear(1, &right, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    ASSERT_EQ(D3D_OK, device->Present(nullptr, nullptr, nullptr, nullptr));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(x < 2 ? 0xFF000000u : 0xFFFFFFFFu, window.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(Device, ClearRefusesWhatItHasNoBufferFor) {
    DeviceFixture f;
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0));
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0));
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0));
}

// Lighting on with no lights: emissive plus the ambient material times the global ambient.
TEST(Device, LightingWithoutLightsUsesEmissiveAndAmbient) {
    struct Case {
        int line;
        BOOL lighting;
        D3DCOLOR ambient;
        std::uint32_t expected;
    };
    const Case kCases[] = {
        {__LINE__, FALSE, 0, 0xFFFFFFFF},           // diffuse is opaque white
        {__LINE__, TRUE, 0, 0xFF000000},            // black, as Direct3D draws it
        {__LINE__, TRUE, 0xFF808080, 0xFF408080},   // ambient (0.5, 1, 1) x 0.5 + emissive
    };
    DeviceFixture f;
    D3DMATERIAL9 material{};
    material.Ambient = {0.5f, 1, 1, 1};
    material.Diffuse = {1, 1, 1, 1};
    material.Emissive = {0.0f, 0.0f, 0.0f, 0};
    f.device->SetMaterial(&material);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        f.device->SetRenderState(D3DRS_LIGHTING, c.lighting);
        f.device->SetRenderState(D3DRS_AMBIENT, c.ambient);
        f.clear(0xFF123456);
        ASSERT_EQ(D3D_OK, f.draw(D3DPT_TRIANGLELIST, quadList(f, 0, 0, 8, 8, false), 2));
        EXPECT_EQ(c.expected, f.pixels()[9]);
    }
}

}  // namespace
}  // namespace test
