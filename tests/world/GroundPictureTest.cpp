// The ground from the view's map and textures, drawn by the software device and read back.
#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "FacePicture.h"
#include "PictureScene.h"
#include "Terrain.h"

namespace test {
namespace {

// check.bmp: 8 x 8 squares of 32 texels, light in the top-left corner.
constexpr int kSquares = 8;
const Rgb kLight{220, 220, 210};
const Rgb kDark{70, 110, 70};

class GroundPicture : public testing::Test {
protected:
    void SetUp() override { create(terrain, "check.bmp"); }

    // The view's ground, with another picture in the slot it draws when asked.
    void create(CTerrain& ground, const char* drawnTexture) {
        const std::string drawn = DataFile(drawnTexture), lumra = DataFile("lumra.bmp"),
                          tile = DataFile("tile2.tga"), map = DataFile("map1.bmp");
        const char* const textures[CTerrain::kTextures] = {drawn.c_str(), lumra.c_str(),
                                                           tile.c_str(), ""};
        const D3DXVECTOR3 cellSize(2.0f, 0.0f, 2.0f);  // the view's
        ASSERT_EQ(S_OK, ground.Create(scene.device(), &cellSize, map.c_str(), textures));
        ASSERT_EQ(128, ground.m_nCols);
        ASSERT_EQ(128, ground.m_nRows);
    }

    void drawGround(const std::string& name) { draw(name, terrain); }
    void draw(const std::string& name, CTerrain& ground) {
        scene.frame(name, [&] { ground.Render(); });
    }

    // The world point the ground shows texel (u, v) of its texture at: 128 columns 2 apart
    // from x = -128, 128 rows 2 apart from z = +128, the texture stretched once over them.
    static D3DXVECTOR3 OnGround(float u, float v) {
        return {-128.0f + 254.0f * u, -1.0f, 128.0f - 254.0f * v};
    }

    // How many texels of check.bmp one pixel step spans at most, at a ground point with texture
    // coordinates (u, v): the rate the sampler picks its mip level by.
    float texelsPerPixel(float u, float v) const {
        constexpr float kStep = 1.0f / 16.0f;  // 16 texels of 256
        const PictureScene::ScreenPoint p = scene.screenPoint(OnGround(u, v));
        const PictureScene::ScreenPoint pu = scene.screenPoint(OnGround(u + kStep, v));
        const PictureScene::ScreenPoint pv = scene.screenPoint(OnGround(u, v + kStep));
        // Columns: screen pixels for 16 texels along u and along v; its inverse gives texels a
        // pixel along the window's x and y.
        const float ax = pu.x - p.x, ay = pu.y - p.y, bx = pv.x - p.x, by = pv.y - p.y;
        const float det = std::fabs(ax * by - ay * bx);
        const float alongX = std::hypot(by, ay) / det, alongY = std::hypot(bx, ax) / det;
        return 16.0f * std::max(alongX, alongY);
    }

    PictureScene scene;
    CTerrain terrain;
};

struct View {
    const char* name;
    D3DXVECTOR3 eye;
    D3DXVECTOR3 at;
    D3DXVECTOR3 up;
};

// Seen from above, the one copy of the checkerboard lies with its top-left square at the
// ground's -x, +z corner. Every square large enough on the window to read is checked at its
// centre; far squares, and squares seen at a grazing angle, are drawn from small mip levels in
// which they blur into their neighbours, so only squares whose centre lies at least two pixel
// steps of the sampler inside them are read.
TEST_F(GroundPicture, SeenFromAboveItShowsTheCheckerboardStretchedOnceOverIt) {
    struct Case {
        View view;
        int squaresAtLeast;  // that the view shows large enough to check
    };
    const Case kCases[] = {
        {{"overhead", {0, 350, 0}, {0, -1, 0}, {0, 0, 1}}, kSquares * kSquares},
        {{"overview", {0, 100, -100}, {0, 0, 0}, {0, 1, 0}}, 32},
        {{"low_from_a_corner", {150, 20, -150}, {0, -1, 0}, {0, 1, 0}}, 16},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.view.name);
        scene.look(c.view.eye, c.view.at, c.view.up);
        drawGround(c.view.name);
        int checked = 0;
        for (int row = 0; row < kSquares; ++row) {
            for (int col = 0; col < kSquares; ++col) {
                const float u = (col + 0.5f) / kSquares, v = (row + 0.5f) / kSquares;
                const D3DXVECTOR3 centre = OnGround(u, v);
                int x = 0, y = 0;
                if (!scene.project(centre, x, y) || texelsPerPixel(u, v) > 8.0f) continue;
                ++checked;
                const Rgb expected = (row + col) % 2 == 0 ? kLight : kDark;
                const Rgb seen = RgbOf(scene.pixel(x, y));
                EXPECT_TRUE(NearColour(expected, seen))
                    << "square " << col << ", " << row << " at pixel " << x << ", " << y
                    << ": expected " << expected << ", saw " << seen;
            }
        }
        EXPECT_GE(checked, c.squaresAtLeast);
    }
}

// The checkerboard looks the same turned half round; a face picture on the ground shows that
// it is not.
TEST_F(GroundPicture, SeenFromAboveAPictureOnItIsUprightAndUnmirrored) {
    CTerrain faced;
    create(faced, "lumra.bmp");
    scene.look(D3DXVECTOR3(0, 350, 0), D3DXVECTOR3(0, -1, 0), D3DXVECTOR3(0, 0, 1));
    draw("overhead_lumra", faced);
    ExpectFacePicture(scene, {235, 190, 60}, OnGround);
}

// The ground is wound to be seen from above only: from under it, it is culled and the whole
// picture is the clear colour, though the ground's middle lies in view.
TEST_F(GroundPicture, SeenFromBelowNothingIsDrawn) {
    const View kViews[] = {
        {"straight_up", {0, -350, 0}, {0, -1, 0}, {0, 0, 1}},
        {"overview_mirrored", {0, -100, -100}, {0, -1, 0}, {0, 1, 0}},
        {"just_under", {30, -2, -30}, {0, -1, 0}, {0, 1, 0}},
    };
    for (const View& view : kViews) {
        SCOPED_TRACE(view.name);
        scene.look(view.eye, view.at, view.up);
        int x = 0, y = 0;
        ASSERT_TRUE(scene.project(OnGround(0.5f, 0.5f), x, y));
        drawGround(view.name);
        EXPECT_EQ(0, scene.pixelsDrawn());
    }
}

}  // namespace
}  // namespace test
