#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Near.h"
#include "PlatformFixtures.h"
#include "RecordingDevice.h"
#include "TempFiles.h"
#include "Terrain.h"

namespace {

using test::BmpHeaders;
using test::ExpectNear;
using test::RecordingDevice;
using test::TempDir;

const char* const kNoTextures[CTerrain::kTextures] = {"", "", "", ""};

// A ground made on the recording device from map bytes written to a scratch file.
struct Ground {
    TempDir dir;
    RecordingDevice device;
    CTerrain terrain;
    std::string mapPath;

    HRESULT create(const std::vector<std::uint8_t>& map, D3DXVECTOR3 scale = {2.0f, 0.0f, 2.0f},
                   const char* const textures[CTerrain::kTextures] = kNoTextures) {
        mapPath = dir.write("map.bmp", map);
        return terrain.Create(&device, &scale, mapPath.c_str(), textures);
    }
};

// What a device buffer holds, read back through a read-only lock.
template <typename T, typename Buffer>
std::vector<T> ReadBack(Buffer* buffer, UINT bytes) {
    std::vector<T> out(bytes / sizeof(T));
    void* data = nullptr;
    EXPECT_EQ(S_OK, buffer->Lock(0, bytes, &data, D3DLOCK_READONLY));
    if (data) std::memcpy(out.data(), data, bytes);
    buffer->Unlock();
    return out;
}

TEST(Terrain, AThreeByTwoMapGivesSixVerticesAndFourTrianglesInOrder) {
    Ground g;
    ASSERT_EQ(S_OK, g.create(BmpHeaders(3, 2)));
    EXPECT_EQ(
        "CreateVertexBuffer(192, 0x0, 0x112, 0, null) -> vb1\n"
        "vb1.Lock(0, 192, 0x0)\n"
        "vb1.Unlock()\n"
        "CreateIndexBuffer(48, 0x0, 102, 0, null) -> ib1\n"
        "ib1.Lock(0, 48, 0x0)\n"
        "ib1.Unlock()\n",
        g.device.log());
    EXPECT_EQ(3, g.terrain.m_nCols);
    EXPECT_EQ(2, g.terrain.m_nRows);

    struct Expected {
        D3DXVECTOR3 pos;
        float tu, tv;
    };
    const Expected kVertices[6] = {
        {{-2, -1, 2}, 0.0f, 0.0f}, {{0, -1, 2}, 0.5f, 0.0f}, {{2, -1, 2}, 1.0f, 0.0f},
        {{-2, -1, 0}, 0.0f, 1.0f}, {{0, -1, 0}, 0.5f, 1.0f}, {{2, -1, 0}, 1.0f, 1.0f},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const TerrainVertex& v = g.terrain.m_pVertices[i];
        EXPECT_EQ(kVertices[i].pos, v.pos);
        EXPECT_EQ(kVertices[i].pos, g.terrain.m_pPositions[i]);
        EXPECT_EQ(kVertices[i].tu, v.tu);
        EXPECT_EQ(kVertices[i].tv, v.tv);
        D3DXVECTOR3 unit;
        D3DXVec3Normalize(&unit, &kVertices[i].pos);
        ExpectNear(unit, v.normal);
    }
    ExpectNear({0.0f, -1.0f, 0.0f}, g.terrain.m_pVertices[4].normal);
    ExpectNear({-2.0f / 3.0f, -1.0f / 3.0f, 2.0f / 3.0f}, g.terrain.m_pVertices[0].normal);

    const std::vector<DWORD> kTriangles = {0, 1, 3, 3, 1, 4, 1, 2, 4, 4, 2, 5};
    EXPECT_EQ(kTriangles, std::vector<DWORD>(g.terrain.m_pTriangles, g.terrain.m_pTriangles + 12));
    EXPECT_EQ(kTriangles, ReadBack<DWORD>(g.terrain.m_pIB, 48));

    const std::vector<TerrainVertex> buffer = ReadBack<TerrainVertex>(g.terrain.m_pVB, 192);
    EXPECT_EQ(0, std::memcmp(buffer.data(), g.terrain.m_pVertices, 192));
}

TEST(Terrain, OffersNoTriangleBeforeItsFirstDrawAndAllOfThemAfter) {
    Ground g;
    ASSERT_EQ(S_OK, g.create(BmpHeaders(3, 2)));
    EXPECT_EQ(0, g.terrain.m_nTriangles);
    g.device.clearLog();
    EXPECT_EQ(S_OK, g.terrain.Render());
    EXPECT_EQ(4, g.terrain.m_nTriangles);
    EXPECT_EQ(
        "SetTransform(256, {1 0 0 0|0 1 0 0|0 0 1 0|0 0 0 1})\n"
        "SetRenderState(22, 3)\n"
        "SetTexture(0, null)\n"
        "SetSamplerState(0, 5, 2)\n"
        "SetSamplerState(0, 6, 2)\n"
        "SetSamplerState(0, 7, 2)\n"
        "SetTextureStageState(0, 11, 0)\n"
        "SetTextureStageState(0, 1, 4)\n"
        "SetTextureStageState(0, 2, 2)\n"
        "SetTextureStageState(0, 3, 0)\n"
        "SetTextureStageState(0, 4, 1)\n"
        "SetStreamSource(0, vb1, 0, 32)\n"
        "SetFVF(0x112)\n"
        "SetIndices(ib1)\n"
        "DrawIndexedPrimitive(4, 0, 0, 6, 0, 4)\n",
        g.device.log());
}

TEST(Terrain, AnEvenMapReachesOneCellFurtherTowardMinusXAndPlusZ) {
    Ground g;
    ASSERT_EQ(S_OK, g.create(BmpHeaders(4, 4), {2.0f, 7.0f, 2.0f}));  // y of the cell size unused
    const float kColumns[4] = {-4.0f, -2.0f, 0.0f, 2.0f};
    const float kRows[4] = {4.0f, 2.0f, 0.0f, -2.0f};
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(D3DXVECTOR3(kColumns[i % 4], -1.0f, kRows[i / 4]), g.terrain.m_pPositions[i]);
    }
    g.terrain.Render();
    EXPECT_EQ(18, g.terrain.m_nTriangles);
    // The last cell: row 2, column 2.
    const DWORD* last = g.terrain.m_pTriangles + 3 * 16;
    EXPECT_EQ(std::vector<DWORD>({10, 11, 14, 14, 11, 15}), std::vector<DWORD>(last, last + 6));
}

TEST(Terrain, OnlyTheWidthAndHeightOfTheHeadersShapeTheGround) {
    std::vector<std::uint8_t> palettedRle = BmpHeaders(5, 3, 8, 1);
    palettedRle[0] = 'X';  // no signature is examined either
    palettedRle.resize(300, 0xAB);
    Ground plain;
    Ground other;
    ASSERT_EQ(S_OK, plain.create(test::SolidBmp(5, 3, 0x00FF00)));
    ASSERT_EQ(S_OK, other.create(palettedRle));
    EXPECT_EQ(0, std::memcmp(plain.terrain.m_pVertices, other.terrain.m_pVertices,
                             15 * sizeof(TerrainVertex)));
    // An odd count is symmetric about the origin.
    EXPECT_EQ(-4.0f, plain.terrain.m_pPositions[0].x);
    EXPECT_EQ(4.0f, plain.terrain.m_pPositions[4].x);
    EXPECT_EQ(2.0f, plain.terrain.m_pPositions[0].z);
    EXPECT_EQ(-2.0f, plain.terrain.m_pPositions[14].z);
}

TEST(Terrain, LoadsFourSlotsAnEmptyNameNoneAndDrawsOnlyTheFirst) {
    TempDir files;
    const std::string a = files.write("a.bmp", test::SolidBmp(2, 2, 0xFF0000));
    const std::string b = files.write("b.bmp", test::SolidBmp(2, 2, 0x00FF00));
    const std::string c = files.write("c.bmp", test::SolidBmp(2, 2, 0x0000FF));
    const char* const textures[CTerrain::kTextures] = {a.c_str(), b.c_str(), c.c_str(), ""};
    Ground g;
    ASSERT_EQ(S_OK, g.create(BmpHeaders(3, 3), {2.0f, 0.0f, 2.0f}, textures));
    const std::uint32_t kColours[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int slot = 0; slot < 3; ++slot) {
        SCOPED_TRACE(slot);
        ASSERT_NE(nullptr, g.terrain.m_pTex[slot]);
        EXPECT_EQ(kColours[slot], g.device.texturePixels(g.terrain.m_pTex[slot])[0] & 0xFFFFFF);
    }
    EXPECT_EQ(nullptr, g.terrain.m_pTex[3]);

    // Slot 0 is loaded first, so it holds the first texture the device made.
    const std::string made = g.device.log();
    const std::size_t arrow = made.find("-> tex");
    ASSERT_NE(std::string::npos, arrow);
    const std::string first = made.substr(arrow + 3, made.find('\n', arrow) - arrow - 3);
    g.device.clearLog();
    g.terrain.Render();
    const std::string log = g.device.log();
    const std::size_t bound = log.find("SetTexture(0, " + first + ")\n");
    EXPECT_NE(std::string::npos, bound) << log;
    EXPECT_EQ(bound, log.rfind("SetTexture("));  // the only texture bound in a draw
}

// A ground that could not be made draws nothing and offers picking nothing, however often the
// frame draws it, and gives nothing up twice.
void ExpectInertGround(Ground& g) {
    EXPECT_EQ(nullptr, g.terrain.m_pVertices);
    EXPECT_EQ(nullptr, g.terrain.m_pPositions);
    EXPECT_EQ(nullptr, g.terrain.m_pTriangles);
    EXPECT_EQ(nullptr, g.terrain.m_pVB);
    EXPECT_EQ(nullptr, g.terrain.m_pIB);
    EXPECT_EQ(0, g.device.liveResources());
    g.device.clearLog();
    EXPECT_EQ(S_OK, g.terrain.Render());
    EXPECT_EQ(S_OK, g.terrain.Render());
    EXPECT_EQ("", g.device.log());
    EXPECT_EQ(0, g.terrain.m_nTriangles);
    EXPECT_EQ(S_OK, g.terrain.Release());
    EXPECT_EQ(0, g.device.overReleases());
}

TEST(Terrain, AMissingMapShowsTheMessageBoxAndFailsCreate) {
    test::MessageBoxCapture boxes;
    Ground g;
    const D3DXVECTOR3 scale(2.0f, 0.0f, 2.0f);
    const std::string missing = g.dir.file("map1.bmp");
    EXPECT_EQ(E_FAIL, g.terrain.Create(&g.device, &scale, missing.c_str(), kNoTextures));
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(nullptr, boxes.shown[0].owner);
    EXPECT_EQ("Error", boxes.shown[0].text);
    EXPECT_EQ("Cannot found", boxes.shown[0].caption);
    EXPECT_EQ(MB_OK, boxes.shown[0].type);
    EXPECT_EQ("", g.device.log());
    ExpectInertGround(g);
}

TEST(Terrain, MapsNoGroundCanBeMadeFromAreRefusedWithOneLineNamingFileAndReason) {
    std::vector<std::uint8_t> shortFile = BmpHeaders(3, 2);
    shortFile.resize(53);
    struct Case {
        int line;
        std::vector<std::uint8_t> map;
        const char* reason;  // a word the message must hold
    };
    const Case kCases[] = {
        {__LINE__, BmpHeaders(1, 5), "width"},
        {__LINE__, BmpHeaders(0, 5), "width"},
        {__LINE__, BmpHeaders(-3, 5), "width"},
        {__LINE__, BmpHeaders(5, 1), "height"},
        {__LINE__, BmpHeaders(4, -4), "height"},           // top-down bitmap
        {__LINE__, BmpHeaders(16384, 8192), "2^27"},       // exactly 2^27 vertices
        {__LINE__, BmpHeaders(65536, 65536), "2^27"},      // the product overflows 32 bits
        {__LINE__, BmpHeaders(0x7FFFFFFF, 0x7FFFFFFF), "2^27"},
        {__LINE__, shortFile, "shorter"},
        {__LINE__, {}, "shorter"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        test::MessageBoxCapture boxes;
        Ground g;
        testing::internal::CaptureStderr();
        const HRESULT hr = g.create(c.map);
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_EQ(E_FAIL, hr);
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_NE(std::string::npos, report.find(g.mapPath)) << report;
        EXPECT_NE(std::string::npos, report.find(c.reason)) << report;
        EXPECT_EQ(report.size() - 1, report.find('\n')) << "one line: " << report;
        EXPECT_EQ("", g.device.log());
        ExpectInertGround(g);
    }
}

TEST(Terrain, ARefusedBufferFailsCreateAndReleasesWhatWasMade) {
    TempDir files;
    const std::string a = files.write("a.bmp", test::SolidBmp(2, 2, 0xFF0000));
    const char* const textures[CTerrain::kTextures] = {a.c_str(), a.c_str(), "", ""};
    for (const char* refused :
         {"CreateVertexBuffer", "VertexBufferLock", "CreateIndexBuffer", "IndexBufferLock"}) {
        SCOPED_TRACE(refused);
        Ground g;
        g.device.refuse(refused);
        EXPECT_EQ(E_FAIL, g.create(BmpHeaders(3, 2), {2.0f, 0.0f, 2.0f}, textures));
        EXPECT_EQ(nullptr, g.terrain.m_pTex[0]);
        EXPECT_EQ(nullptr, g.terrain.m_pTex[1]);
        ExpectInertGround(g);
    }
}

TEST(Terrain, ReleaseGivesUpEverythingOnceHoweverOftenItRuns) {
    TempDir files;
    const std::string a = files.write("a.bmp", test::SolidBmp(2, 2, 0xFF0000));
    const char* const textures[CTerrain::kTextures] = {a.c_str(), a.c_str(), a.c_str(), ""};
    RecordingDevice device;
    {
        CTerrain terrain;
        const std::string map = files.write("map.bmp", BmpHeaders(3, 2));
        const D3DXVECTOR3 scale(2.0f, 0.0f, 2.0f);
        ASSERT_EQ(S_OK, terrain.Create(&device, &scale, map.c_str(), textures));
        terrain.Render();
        EXPECT_EQ(5, device.liveResources());  // two buffers, three textures
        EXPECT_EQ(S_OK, terrain.Release());
        EXPECT_EQ(0, device.liveResources());
        EXPECT_EQ(0, terrain.m_nTriangles);
        EXPECT_EQ(nullptr, terrain.m_pTriangles);
        EXPECT_EQ(S_OK, terrain.Release());
    }
    EXPECT_EQ(0, device.overReleases());
}

}  // namespace
