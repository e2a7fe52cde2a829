#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Cube.h"
#include "Near.h"
#include "RecordingDevice.h"
#include "TempFiles.h"

namespace {

using test::RecordingDevice;
using test::TempDir;

const char* const kMissingFiles[CCube::kFaces] = {"no-such-1.bmp", "no-such-2.bmp",
                                                  "no-such-3.bmp", "no-such-4.bmp",
                                                  "no-such-5.bmp", "no-such-6.bmp"};

// The 57 calls of one cube draw, with the face textures named as the recording device names them.
std::string CubeDrawLog(const std::string& vertexBuffer, const std::string (&textures)[6]) {
    std::string log = "SetRenderState(22, 3)\nSetFVF(0x102)\nSetStreamSource(0, " + vertexBuffer +
                      ", 0, 20)\n";
    for (int face = 0; face < 6; ++face) {
        log += "SetTexture(0, " + textures[face] + ")\n";
        log += "SetSamplerState(0, 5, 2)\nSetSamplerState(0, 6, 2)\nSetSamplerState(0, 7, 2)\n";
        log += "SetTextureStageState(0, 1, 4)\nSetTextureStageState(0, 2, 2)\n";
        log += "SetTextureStageState(0, 3, 0)\nSetTextureStageState(0, 4, 1)\n";
        log += "DrawPrimitive(5, " + std::to_string(4 * face) + ", 2)\n";
    }
    return log;
}

// A cube on the recording device whose face f holds the device's texture "tex<f+1>".
struct TexturedCube {
    RecordingDevice device;
    CCube cube;
    const std::string textures[6] = {"tex1", "tex2", "tex3", "tex4", "tex5", "tex6"};

    TexturedCube() {
        EXPECT_EQ(S_OK, cube.Create(&device, kMissingFiles));
        for (IDirect3DTexture9*& slot : cube.m_pTex)
            device.CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &slot, nullptr);
        device.clearLog();
    }
};

TEST(Cube, CreateMakesOneBufferAndSetsCornerCentreAndRadius) {
    RecordingDevice device;
    CCube cube;
    EXPECT_EQ(S_OK, cube.Create(&device, kMissingFiles));
    EXPECT_EQ(
        "CreateVertexBuffer(480, 0x0, 0x102, 0, null) -> vb1\n"
        "vb1.Lock(0, 480, 0x0)\n"
        "vb1.Unlock()\n",
        device.log());
    EXPECT_EQ(D3DXVECTOR3(1.0f, 0.0f, 1.0f), cube.m_vCorner);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, 0.0f), cube.m_vCenter);
    EXPECT_EQ(1.4142135f, cube.m_fRadius);  // sqrt 2, not sqrt 3
}

// Reads the table back from the buffer and checks what it is for rather than its numbers: each
// face faces outward in the documented order, is wound clockwise from outside (drawn under
// counter-clockwise culling), and maps its picture upright and unmirrored for a viewer outside.
TEST(Cube, EveryFaceIsWoundClockwiseFromOutsideAndShowsItsPictureUpright) {
    RecordingDevice device;
    CCube cube;
    ASSERT_EQ(S_OK, cube.Create(&device, kMissingFiles));
    void* data = nullptr;
    ASSERT_EQ(S_OK, cube.m_pVB->Lock(0, 480, &data, D3DLOCK_READONLY));
    CubeVertex vertices[24];
    std::memcpy(vertices, data, sizeof vertices);
    cube.m_pVB->Unlock();

    struct Face {
        const char* name;
        D3DXVECTOR3 outward;
        D3DXVECTOR3 up;  // where the picture's top edge lies
    };
    const Face kFaces[6] = {
        {"top", {0, 1, 0}, {0, 0, 1}},     {"+z", {0, 0, 1}, {0, 1, 0}},
        {"-z", {0, 0, -1}, {0, 1, 0}},     {"-x", {-1, 0, 0}, {0, 1, 0}},
        {"+x", {1, 0, 0}, {0, 1, 0}},      {"bottom", {0, -1, 0}, {0, 0, 1}},
    };
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(kFaces[f].name);
        const D3DXVECTOR3& n = kFaces[f].outward;
        const D3DXVECTOR3& up = kFaces[f].up;
        // A viewer outside looks along -n; left-handed, its right is up x forward.
        const D3DXVECTOR3 forward = -n;
        D3DXVECTOR3 right;
        D3DXVec3Cross(&right, &up, &forward);
        const CubeVertex* v = &vertices[4 * f];
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const D3DXVECTOR3 p(v[i].x, v[i].y, v[i].z);
            EXPECT_EQ(1.0f, D3DXVec3Dot(&p, &n));  // on the face's plane
            EXPECT_EQ((D3DXVec3Dot(&p, &right) + 1.0f) / 2.0f, v[i].tu);
            EXPECT_EQ((1.0f - D3DXVec3Dot(&p, &up)) / 2.0f, v[i].tv);
        }
        // A strip's second triangle is (1, 2, 3) with its winding flipped: (2, 1, 3).
        const int kTriangles[2][3] = {{0, 1, 2}, {2, 1, 3}};
        for (const auto& t : kTriangles) {
            const D3DXVECTOR3 a(v[t[0]].x, v[t[0]].y, v[t[0]].z);
            const D3DXVECTOR3 b(v[t[1]].x, v[t[1]].y, v[t[1]].z);
            const D3DXVECTOR3 c(v[t[2]].x, v[t[2]].y, v[t[2]].z);
            const D3DXVECTOR3 ab = b - a;
            const D3DXVECTOR3 ac = c - a;
            D3DXVECTOR3 normal;
            D3DXVec3Cross(&normal, &ab, &ac);
            EXPECT_GT(D3DXVec3Dot(&normal, &n), 0.0f) << "wound counter-clockwise from outside";
        }
    }
}

TEST(Cube, DrawMakesItsFiftySevenCallsAndEndsCounterClockwise) {
    TexturedCube t;
    EXPECT_EQ(S_OK, t.cube.Draw());
    EXPECT_EQ(CubeDrawLog("vb1", t.textures), t.device.log());
    DWORD cull = 0;
    t.device.GetRenderState(D3DRS_CULLMODE, &cull);
    EXPECT_EQ(DWORD{D3DCULL_CCW}, cull);
}

TEST(Cube, RenderInstancesDrawsNothingAndTouchesNoStateForAnEmptyList) {
    TexturedCube t;
    EXPECT_EQ(S_OK, t.cube.RenderInstances());
    EXPECT_EQ("", t.device.log());
}

TEST(Cube, RenderInstancesDrawsOneUnitAboveEachInstanceInOrder) {
    TexturedCube t;
    t.cube.AddInstance(0.0f, -1.0f, 0.0f);  // stands on its own height: centred on the origin
    t.cube.AddInstance(3.0f, 4.0f, -5.0f);
    EXPECT_EQ(S_OK, t.cube.RenderInstances());
    const std::string draw = CubeDrawLog("vb1", t.textures);
    EXPECT_EQ("SetTransform(256, {1 0 0 0|0 1 0 0|0 0 1 0|0 0 0 1})\n" + draw +
                  "SetTransform(256, {1 0 0 0|0 1 0 0|0 0 1 0|3 5 -5 1})\n" + draw,
              t.device.log());
}

TEST(Cube, AddInstanceFillsTenSlotsInOrderAndIgnoresTheEleventh) {
    CCube cube;
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(S_OK, cube.AddInstance(static_cast<float>(i), 1.0f, 2.0f));
    }
    EXPECT_EQ(10, cube.m_nInstances);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(D3DXVECTOR3(static_cast<float>(i), 1.0f, 2.0f), cube.m_vInstances[i]);
    }
}

// Each face loads its own file, so a name given twice makes two textures, and a file that cannot
// be read leaves only its own face untextured.
TEST(Cube, EachFaceLoadsItsOwnFileAndAMissingOneLeavesOnlyThatFaceBare) {
    TempDir dir;
    const std::uint32_t kColours[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0};
    std::string names[6];
    for (int f = 0; f < 5; ++f)
        names[f] = dir.write("face" + std::to_string(f) + ".bmp", test::SolidBmp(1, 1, kColours[f]));
    names[5] = names[2];       // the same file twice, as the view passes "zWhite.jpg"
    names[3] = dir.file("missing.bmp");
    const char* files[6];
    for (int f = 0; f < 6; ++f) files[f] = names[f].c_str();

    RecordingDevice device;
    CCube cube;
    EXPECT_EQ(S_OK, cube.Create(&device, files));
    EXPECT_EQ(nullptr, cube.m_pTex[3]);
    EXPECT_NE(cube.m_pTex[2], cube.m_pTex[5]);
    const std::uint32_t kExpected[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0, 0x00FFFF, 0x0000FF};
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(f);
        if (f == 3) continue;
        ASSERT_NE(nullptr, cube.m_pTex[f]);
        const std::vector<DWORD> pixels = device.texturePixels(cube.m_pTex[f]);
        ASSERT_FALSE(pixels.empty());
        EXPECT_EQ(kExpected[f], pixels[0] & 0xFFFFFF);
    }

    device.clearLog();
    cube.Draw();
    const std::string log = device.log();
    EXPECT_NE(std::string::npos, log.find("SetTexture(0, null)\n"));
    EXPECT_EQ(log.find("SetTexture(0, null)\n"), log.rfind("SetTexture(0, null)\n"));
}

struct RefusalCase {
    int line;
    const char* refused;
    bool cornerSet;  // the lock comes after the fixed values are set
};

TEST(Cube, ARefusedBufferFailsCreateReleasesEverythingOnceAndStillDrawsSafely) {
    const RefusalCase kCases[] = {
        {__LINE__, "CreateVertexBuffer", false},
        {__LINE__, "VertexBufferLock", true},
    };
    TempDir dir;
    const std::string face = dir.write("face.bmp", test::SolidBmp(1, 1, 0x808080));
    const char* files[6] = {face.c_str(), face.c_str(), face.c_str(),
                            face.c_str(), face.c_str(), face.c_str()};
    for (const RefusalCase& c : kCases) {
        SCOPED_TRACE(c.line);
        RecordingDevice device;
        device.refuse(c.refused);
        {
            CCube cube;
            EXPECT_EQ(E_FAIL, cube.Create(&device, files));
            EXPECT_EQ(nullptr, cube.m_pVB);
            for (IDirect3DTexture9* texture : cube.m_pTex) EXPECT_EQ(nullptr, texture);
            EXPECT_EQ(0, device.liveResources());
            EXPECT_EQ(c.cornerSet, cube.m_vCorner == D3DXVECTOR3(1.0f, 0.0f, 1.0f));
            EXPECT_EQ(c.cornerSet ? 1.4142135f : 0.0f, cube.m_fRadius);

            cube.Draw();  // every frame draws it, whatever Create returned
            cube.AddInstance(0.0f, 0.0f, 0.0f);
            cube.RenderInstances();
            EXPECT_EQ(S_OK, cube.Release());
        }  // and the destructor releases once more
        EXPECT_EQ(0, device.overReleases());
    }
}

TEST(Cube, ReleaseGivesUpEverythingOnceHoweverOftenItRuns) {
    TempDir dir;
    const std::string face = dir.write("face.bmp", test::SolidBmp(2, 2, 0x123456));
    const char* files[6] = {face.c_str(), face.c_str(), face.c_str(),
                            face.c_str(), face.c_str(), face.c_str()};
    RecordingDevice device;
    {
        CCube cube;
        ASSERT_EQ(S_OK, cube.Create(&device, files));
        EXPECT_EQ(7, device.liveResources());  // the buffer and six textures
        EXPECT_EQ(S_OK, cube.Release());
        EXPECT_EQ(0, device.liveResources());
        EXPECT_EQ(S_OK, cube.Release());
    }
    EXPECT_EQ(0, device.overReleases());
}

TEST(Cube, ANeverCreatedCubeDrawsNothing) {
    CCube cube;
    cube.AddInstance(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(S_OK, cube.Draw());
    EXPECT_EQ(S_OK, cube.RenderInstances());
    EXPECT_EQ(S_OK, cube.Release());
}

}  // namespace
