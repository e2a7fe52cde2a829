#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Near.h"
#include "PeakMemory.h"
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
        "GetDeviceCaps()\n"
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
    testing::internal::CaptureStderr();
    EXPECT_EQ(E_FAIL, g.terrain.Create(&g.device, &scale, missing.c_str(), kNoTextures));
    // Said before the box, which may be out of sight (offscreen, or no window manager).
    EXPECT_EQ("Orvek: cannot open the map \"" + missing + "\" (working directory " +
                  std::filesystem::current_path().string() + "): No such file or directory\n",
              testing::internal::GetCapturedStderr());
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
    const std::string text = "This is a text file, not a bitmap: its bytes 18 to 25 are letters.\n";
    constexpr D3DCAPS9 kSoftwareCaps{0xFFFFF, 0xFFFFFF};
    struct Case {
        int line;
        std::vector<std::uint8_t> map;
        std::string reason;
        D3DCAPS9 caps = kSoftwareCaps;
    };
    const Case kCases[] = {
        {__LINE__, BmpHeaders(1, 5), "its header's width is 1, below the 2 a ground needs"},
        {__LINE__, BmpHeaders(0, 5), "its header's width is 0, below the 2 a ground needs"},
        {__LINE__, BmpHeaders(-3, 5), "its header's width is -3, below the 2 a ground needs"},
        {__LINE__, BmpHeaders(5, 1), "its header's height is 1, below the 2 a ground needs "
                                     "(a top-down bitmap's is negative)"},
        {__LINE__, BmpHeaders(4, -4), "its header's height is -4, below the 2 a ground needs "
                                      "(a top-down bitmap's is negative)"},
        // One triangle past the device's limit, and a square grid past it.
        {__LINE__, BmpHeaders(2, 524289), "its header's width 2 and height 524289 make 1048576 "
                                          "triangles, more than the 1048575 the device draws in "
                                          "one call"},
        {__LINE__, BmpHeaders(726, 726), "its header's width 726 and height 726 make 1051250 "
                                         "triangles, more than the 1048575 the device draws in "
                                         "one call"},
        {__LINE__, BmpHeaders(11000, 12000), "its header's width 11000 and height 12000 make "
                                             "263954002 triangles, more than the 1048575 the "
                                             "device draws in one call"},
        {__LINE__, BmpHeaders(0x7FFFFFFF, 0x7FFFFFFF),
         "its header's width 2147483647 and height 2147483647 make 9223372019674906632 "
         "triangles, more than the 1048575 the device draws in one call"},
        // Only the width and height are read, whatever the file is.
        {__LINE__, std::vector<std::uint8_t>(text.begin(), text.end()),
         "its header's width 1847602277 and height 1629516911 make 6021398303392974320 "
         "triangles, more than the 1048575 the device draws in one call"},
        // Other devices' limits: fewer triangles, 16-bit indices, or none at all.
        {__LINE__, BmpHeaders(3, 3), "its header's width 3 and height 3 make 8 triangles, more "
                                     "than the 4 the device draws in one call", {4, 0xFFFFFF}},
        {__LINE__, BmpHeaders(257, 256), "its header's width 257 and height 256 make 65792 "
                                         "vertices, more than the 65536 the device indexes in "
                                         "one call", {0xFFFFF, 0xFFFF}},
        {__LINE__, BmpHeaders(16384, 8192), "its header's width 16384 and height 8192 make "
                                            "134217728 vertices, 2^27 or more, too many for "
                                            "32-bit buffer lengths", {0xFFFFFFFF, 0xFFFFFFFF}},
        {__LINE__, shortFile, "it holds 53 bytes, fewer than the 54 of its headers"},
        {__LINE__, {}, "it holds 0 bytes, fewer than the 54 of its headers"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        test::MessageBoxCapture boxes;
        Ground g;
        g.device.setCaps(c.caps);
        testing::internal::CaptureStderr();
        HRESULT hr = S_OK;
        // Refused before the grid's arrays are made: a few bytes of header cost no memory.
        EXPECT_LT(test::PeakGrowthBytes([&] { hr = g.create(c.map); }), 8 * test::kMiB);
        EXPECT_EQ(E_FAIL, hr);
        EXPECT_EQ("Orvek: no ground can be made from the map \"" + g.mapPath + "\": " + c.reason +
                      "\n",
                  testing::internal::GetCapturedStderr());
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(std::string::npos, g.device.log().find("Create")) << g.device.log();
        ExpectInertGround(g);
    }
}

TEST(Terrain, AMapThatCannotBeReadOrWhoseLimitsCannotBeKnownIsRefusedWithTheReason) {
    struct Case {
        int line;
        bool directory;  // a directory by the map's name: it opens, but reading it fails
        const char* refused;
        std::string reason;
    };
    const Case kCases[] = {
        {__LINE__, true, "", "it cannot be read: Is a directory"},
        {__LINE__, false, "GetDeviceCaps", "the device's limits cannot be read"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        test::MessageBoxCapture boxes;
        Ground g;
        g.device.refuse(c.refused);
        const D3DXVECTOR3 scale(2.0f, 0.0f, 2.0f);
        const std::string map =
            c.directory ? g.dir.file("map1.bmp") : g.dir.write("map1.bmp", BmpHeaders(3, 2));
        if (c.directory) std::filesystem::create_directory(map);
        testing::internal::CaptureStderr();
        EXPECT_EQ(E_FAIL, g.terrain.Create(&g.device, &scale, map.c_str(), kNoTextures));
        EXPECT_EQ("Orvek: no ground can be made from the map \"" + map + "\": " + c.reason + "\n",
                  testing::internal::GetCapturedStderr());
        EXPECT_TRUE(boxes.shown.empty());
        ExpectInertGround(g);
    }
}

TEST(Terrain, GroundsUpToTheDevicesLimitsAreMade) {
    struct Case {
        int line;
        std::int32_t cols, rows;
    };
    const Case kCases[] = {
        {__LINE__, 725, 725},     // 1048352 triangles: the largest square
        {__LINE__, 2, 524288},    // 1048574 triangles and 1048576 vertices: the most of both
        {__LINE__, 1024, 513},    // 1047552 triangles
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        Ground g;
        ASSERT_EQ(S_OK, g.create(BmpHeaders(c.cols, c.rows)));
        g.terrain.Render();
        EXPECT_EQ(2 * (c.cols - 1) * (c.rows - 1), g.terrain.m_nTriangles);
        const std::string log = g.device.log();
        EXPECT_NE(std::string::npos,
                  log.find("DrawIndexedPrimitive(4, 0, 0, " + std::to_string(c.cols * c.rows) +
                           ", 0, " + std::to_string(g.terrain.m_nTriangles) + ")"));
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
