#include <string>

#include <gtest/gtest.h>

#include <d3dx9.h>

#include "RecordingDevice.h"
#include "Terrain.h"

namespace {

using test::RecordingDevice;

std::string DataFile(const char* name) { return std::string(ORVEK_DATA_DIR) + "/" + name; }

// Every picture the scene loads decodes with our loader at the size the scene was drawn for.
TEST(DataFiles, EveryTextureTheSceneLoadsDecodes) {
    struct Case {
        const char* name;
        UINT size;
    };
    const Case kCases[] = {
        {"check.bmp", 256}, {"lumra.bmp", 128}, {"tile2.tga", 64},   {"zUp.jpg", 128},
        {"zWhite.jpg", 128}, {"zLeft.jpg", 128}, {"zRight.jpg", 128},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        RecordingDevice device;
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(S_OK, D3DXCreateTextureFromFileA(&device, DataFile(c.name).c_str(), &texture));
        EXPECT_EQ(c.size, device.textureWidth(texture));
        EXPECT_EQ(c.size, device.textureHeight(texture));
        texture->Release();
    }
}

TEST(DataFiles, TheMapMakesAGroundOfOneHundredTwentyEightVerticesEachWay) {
    RecordingDevice device;
    CTerrain terrain;
    const D3DXVECTOR3 scale(2.0f, 0.0f, 2.0f);
    const char* const textures[CTerrain::kTextures] = {"", "", "", ""};
    ASSERT_EQ(S_OK, terrain.Create(&device, &scale, DataFile("map1.bmp").c_str(), textures));
    EXPECT_EQ(128, terrain.m_nCols);
    EXPECT_EQ(128, terrain.m_nRows);
}

}  // namespace
