// What the child view asks of its device and its font, call by call: the device's creation,
// the scene's set-up and render states, one whole frame and the overlay's five lines.
// This executable defines Direct3DCreate9 and D3DXCreateFontA itself: the linker takes these
// and leaves the platform's own out, so every call lands in one recording device's log.
#include <cstdio>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "ChildView.h"
#include "Cube.h"
#include "RecordingDevice.h"
#include "Terrain.h"
#include "win32/Backend.h"

namespace test {
namespace {

RecordingDevice* g_device = nullptr;  // what the stand-in Direct3D hands out
UINT g_sdkVersion = 0;

std::string hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

// One line of the log from its parts; a stream, since GCC 12 warns about long string chains.
template <typename... Parts>
std::string line(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

std::string presentParameters(const D3DPRESENT_PARAMETERS& p) {
    return line("{", p.BackBufferWidth, " ", p.BackBufferHeight, " ", p.BackBufferFormat, " ",
                p.BackBufferCount, " ", p.MultiSampleType, " ", p.MultiSampleQuality, " ",
                p.SwapEffect, " ", p.hDeviceWindow ? "window" : "null", " ", p.Windowed, " ",
                p.EnableAutoDepthStencil, " ", p.AutoDepthStencilFormat, " ", hex(p.Flags), " ",
                p.FullScreen_RefreshRateInHz, " ", hex(p.PresentationInterval), "}");
}

class RecordedDirect3D final : public IDirect3D9 {
public:
    ULONG AddRef() noexcept override { return 1; }
    ULONG Release() noexcept override {
        if (g_device) g_device->record("Direct3D.Release()");
        return 0;
    }
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pp,
                         IDirect3DDevice9** ppDevice) noexcept override {
        if (!g_device || !pp || !ppDevice) return E_FAIL;
        g_device->record(line("CreateDevice(", Adapter, ", ", DeviceType, ", ",
                              hFocusWindow ? "window" : "null", ", ", hex(BehaviorFlags), ", ",
                              presentParameters(*pp), ")"));
        *ppDevice = g_device;
        return D3D_OK;
    }
};

class RecordedFont final : public ID3DXFont {
public:
    ULONG AddRef() noexcept override { return 1; }
    ULONG Release() noexcept override {
        if (g_device) g_device->record("Font.Release()");
        return 0;
    }
    INT DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                  D3DCOLOR Color) noexcept override {
        if (g_device)
            g_device->record(line("DrawTextA(", pSprite ? "sprite" : "null", ", \"", pString,
                                  "\", ", Count, ", {", pRect->left, " ", pRect->top, " ",
                                  pRect->right, " ", pRect->bottom, "}, ", hex(Format), ", ",
                                  hex(Color), ")"));
        return 20;
    }
};

RecordedDirect3D g_direct3D;
RecordedFont g_font;

}  // namespace
}  // namespace test

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
    test::g_sdkVersion = SDKVersion;
    return &test::g_direct3D;
}

HRESULT D3DXCreateFontA(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight,
                        UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                        DWORD Quality, DWORD PitchAndFamily, LPCSTR pFaceName,
                        ID3DXFont** ppFont) {
    if (!test::g_device || !ppFont) return E_FAIL;
    test::g_device->record(test::line("D3DXCreateFontA(",
                                      pDevice == test::g_device ? "device" : "other", ", ",
                                      Height, ", ", Width, ", ", Weight, ", ", MipLevels, ", ",
                                      Italic, ", ", CharSet, ", ", OutputPrecision, ", ", Quality,
                                      ", ", PitchAndFamily, ", ", pFaceName, ")"));
    *ppFont = &test::g_font;
    return D3D_OK;
}

namespace test {
namespace {

const char* const kCubeTextures[CCube::kFaces] = {"zUp.jpg",   "lumra.bmp",  "zWhite.jpg",
                                                  "zLeft.jpg", "zRight.jpg", "zWhite.jpg"};
const char* const kGroundTextures[CTerrain::kTextures] = {"check.bmp", "lumra.bmp", "tile2.tga",
                                                          ""};
const D3DXVECTOR3 kCellSize(2.0f, 0.0f, 2.0f);

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr LONGLONG kFrequency = 1'000'000;
constexpr LONGLONG kFirstFrameAt = 20'000;  // 20 ms after the timer's start: 50 frames a second

std::string matrix(const D3DXMATRIX& m) { return formatMatrix(m); }

class ViewCallsTest : public ::testing::Test {
protected:
    ViewCallsTest() {
        platform::win32::setPerformanceCounter([this] { return now; }, kFrequency);
        g_device = &device;
    }
    ~ViewCallsTest() override {
        g_device = nullptr;
        platform::win32::setPerformanceCounter({}, 0);
    }

    // The view's window handle as the frame passes it; the stand-in only asks whether it is set.
    HWND window() { return reinterpret_cast<HWND>(&windowStandIn); }

    void setUpView(CChildView& view) {
        view.OnSize(SIZE_RESTORED, kWidth, kHeight);
        ASSERT_EQ(S_OK, view.InitD3D(window()));
        view.InitView();
    }

    // The calls the ground and the cube make for one draw of their own, off the same device.
    std::string terrainDraw(CTerrain& terrain) {
        device.clearLog();
        terrain.Render();
        return device.log();
    }
    std::string cubeDraw(CCube& cube) {
        device.clearLog();
        cube.Draw();
        return device.log();
    }

    RecordingDevice device{kWidth, kHeight};
    LONGLONG now = 0;
    int windowStandIn = 0;
};

TEST_F(ViewCallsTest, SetUpMakesTheDeviceThenTheSceneThenTheFontThenTheRenderStates) {
    // The scene's objects as their own creation records them, in the order the view makes them.
    std::string scene;
    {
        RecordingDevice reference(kWidth, kHeight);
        CTerrain terrain;
        terrain.Create(&reference, &kCellSize, "map1.bmp", kGroundTextures);
        CCube cube;
        cube.Create(&reference, kCubeTextures);
        CCube secondCube;
        secondCube.Create(&reference, kCubeTextures);
        scene = reference.log();
    }
    CChildView view;
    view.OnSize(SIZE_RESTORED, kWidth, kHeight);
    ASSERT_EQ(S_OK, view.InitD3D(window()));
    EXPECT_EQ(31u, g_sdkVersion);
    EXPECT_EQ("CreateDevice(0, 1, window, 0x20, {0 0 0 0 0 0 1 null 1 1 80 0x0 0 0x80000000})\n" +
                  scene +
                  "D3DXCreateFontA(device, 20, 0, 700, 0, 0, 1, 0, 0, 0, Arial)\n"
                  "SetRenderState(22, 1)\n"   // D3DRS_CULLMODE, D3DCULL_NONE
                  "SetRenderState(137, 0)\n"  // D3DRS_LIGHTING, FALSE
                  "SetRenderState(7, 1)\n",   // D3DRS_ZENABLE, D3DZB_TRUE
              device.log());
}

TEST_F(ViewCallsTest, AnOverviewFrameDrawsTheSceneInOrderAndPresentsIt) {
    CChildView view;
    setUpView(view);
    const std::string ground = terrainDraw(*view.m_pTerrain);
    const std::string cube = cubeDraw(view.m_Cube);

    device.clearLog();
    now = kFirstFrameAt;
    view.Render();

    D3DXMATRIXA16 identity, lookAt, projection, player;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixRotationY(&player, 0.0f);  // its turn by 0 comes last: a rotation, not the identity
    const D3DXVECTOR3 eye(0.0f, 100.0f, -100.0f), origin(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&lookAt, &eye, &origin, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, static_cast<float>(kWidth) / kHeight,
                               1.0f, 1000.0f);
    std::string expected =
        "Clear(0, null, 0x3, 0xFF6E93BF, 1, 0)\n"
        "SetMaterial(diffuse (1 1 1 1), ambient (1 1 1 1), specular (0 0 0 0), emissive (0 0 0 0), "
        "power 0)\n"
        "BeginScene()\n" +
        ground +                                          // under the previous frame's view
        "SetTransform(256, " + matrix(identity) + ")\n" + // the overview camera
        "SetTransform(2, " + matrix(lookAt) + ")\n" +
        "SetTransform(3, " + matrix(projection) + ")\n" +
        "SetTransform(2, " + matrix(lookAt) + ")\n" +     // the camera's view, the same
        "SetTransform(256, " + matrix(player) + ")\n" + cube;
    for (const Box& box : view.m_Boxes)
        expected += "SetTransform(256, " + matrix(box.m_matWorld) + ")\n" + cube;
    expected +=
        "DrawTextA(null, \"FPS: 50.000000\", -1, {5 5 0 0}, 0x100, 0xFFFFFF00)\n"
        "DrawTextA(null, \"일정 영역에서 반응; P_모으기/ O_흩트리기/ K_때리기\", -1, {5 25 0 0}, "
        "0x100, 0xFFFFFF00)\n"
        "DrawTextA(null, \"ASDW_이동/ QE_회전\", -1, {5 45 0 0}, 0x100, 0xFFFFFF00)\n"
        "DrawTextA(null, \"1_모드 변환\", -1, {5 65 0 0}, 0x100, 0xFFFFFF00)\n"
        "DrawTextA(null, \"현재; 확인 모드\", -1, {5 85 0 0}, 0x100, 0xFFFFFF00)\n"
        "EndScene()\n"
        "Present()\n";
    EXPECT_EQ(expected, device.log());
}

TEST_F(ViewCallsTest, AFirstPersonFrameSetsOnlyTheCamerasViewAndNamesTheModeWithItsSpace) {
    CChildView view;
    setUpView(view);
    const std::string ground = terrainDraw(*view.m_pTerrain);
    now = kFirstFrameAt;
    view.Render();
    view.m_bFirstPerson = TRUE;
    device.clearLog();
    now += 25'000;
    view.Render();

    D3DXMATRIXA16 lookAt;
    const D3DXVECTOR3 eye(0.0f, 10.0f, -20.0f), origin(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&lookAt, &eye, &origin, &up);
    const std::string log = device.log();
    // After the ground, straight to the camera: no world or projection transform.
    EXPECT_NE(std::string::npos, log.find("BeginScene()\n" + ground + "SetTransform(2, " +
                                          matrix(lookAt) + ")\nSetTransform(256, "));
    EXPECT_NE(std::string::npos,
              log.find("DrawTextA(null, \"FPS: 40.000000\", -1, {5 5 0 0}, 0x100, 0xFFFFFF00)\n"));
    EXPECT_NE(std::string::npos,
              log.find("DrawTextA(null, \"현재; 1인칭 모드( 마우스 오른쪽 클릭후 이동 = 회전 \", -1, "
                       "{5 85 0 0}, 0x100, 0xFFFFFF00)\nEndScene()\nPresent()\n"));
}

}  // namespace
}  // namespace test
