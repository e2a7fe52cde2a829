// The cube with the view's six face pictures, drawn by the software device and read back.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Cube.h"
#include "FacePicture.h"
#include "PictureScene.h"

namespace test {
namespace {

// Where each face's picture should lie, worked out from what a viewer outside the cube sees
// (left-handed, y up), not from the cube's vertex table: the picture's top-left corner, then
// the whole width (the viewer's right) and the whole height (downward) as world vectors.
struct Face {
    const char* name;
    D3DXVECTOR3 topLeft;
    D3DXVECTOR3 across;
    D3DXVECTOR3 down;
    Rgb tint;
};

enum FaceIndex { kTop, kFront, kBack, kLeft, kRight, kBottom };

// In the cube's face order, with the tints of the files the view passes for them.
const Face kFaces[CCube::kFaces] = {
    {"top (zUp.jpg)", {-1, 1, 1}, {2, 0, 0}, {0, 0, -2}, {90, 150, 235}},
    {"+z (lumra.bmp)", {1, 1, 1}, {-2, 0, 0}, {0, -2, 0}, {235, 190, 60}},
    {"-z (zWhite.jpg)", {-1, 1, -1}, {2, 0, 0}, {0, -2, 0}, {240, 240, 240}},
    {"-x (zLeft.jpg)", {-1, 1, 1}, {0, 0, -2}, {0, -2, 0}, {230, 90, 90}},
    {"+x (zRight.jpg)", {1, 1, -1}, {0, 0, 2}, {0, -2, 0}, {90, 200, 110}},
    {"bottom (zWhite.jpg)", {1, -1, 1}, {-2, 0, 0}, {0, 0, -2}, {240, 240, 240}},
};

const char* const kFaceFiles[CCube::kFaces] = {"zUp.jpg",   "lumra.bmp",  "zWhite.jpg",
                                               "zLeft.jpg", "zRight.jpg", "zWhite.jpg"};

class CubePicture : public testing::Test {
protected:
    void SetUp() override {
        std::string paths[CCube::kFaces];
        const char* names[CCube::kFaces];
        for (int face = 0; face < CCube::kFaces; ++face) {
            paths[face] = DataFile(kFaceFiles[face]);
            names[face] = paths[face].c_str();
        }
        ASSERT_EQ(S_OK, cube.Create(scene.device(), names));
        for (int face = 0; face < CCube::kFaces; ++face) ASSERT_NE(nullptr, cube.m_pTex[face]);
    }

    void drawCube(const std::string& name, const D3DXMATRIX& world) {
        scene.frame(name, [&] {
            scene.device()->SetTransform(D3DTS_WORLD, &world);
            cube.Draw();
        });
    }

    PictureScene scene;
    CCube cube;
};

D3DXMATRIX Scaling(float s) {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    m._11 = m._22 = m._33 = s;
    return m;
}

TEST_F(CubePicture, EveryFaceFacingTheEyeShowsItsPictureUprightAndUnmirrored) {
    const D3DXVECTOR3 yUp(0, 1, 0), zUp(0, 0, 1);
    struct Placement {
        const char* name;
        D3DXVECTOR3 eye;
        D3DXVECTOR3 up;
        std::vector<FaceIndex> faces;  // those turned toward the eye
    };
    const Placement kPlacements[] = {
        {"front", {0, 0, 5}, yUp, {kFront}},
        {"back", {0, 0, -5}, yUp, {kBack}},
        {"left", {-5, 0, 0}, yUp, {kLeft}},
        {"right", {5, 0, 0}, yUp, {kRight}},
        {"above", {0, 5, 0}, zUp, {kTop}},
        {"below", {0, -5, 0}, zUp, {kBottom}},
        {"above_front_right", {3, 2.5f, 3.5f}, yUp, {kTop, kFront, kRight}},
        {"above_back_left", {-3.5f, 2.5f, -3}, yUp, {kTop, kBack, kLeft}},
        {"below_back_right", {3, -2.5f, -3.5f}, yUp, {kBottom, kBack, kRight}},
        {"below_front_left", {-3.5f, -2.5f, 3}, yUp, {kBottom, kFront, kLeft}},
    };
    for (const Placement& placement : kPlacements) {
        SCOPED_TRACE(placement.name);
        scene.look(placement.eye, D3DXVECTOR3(0, 0, 0), placement.up);
        drawCube(placement.name, Scaling(1.0f));
        for (FaceIndex index : placement.faces) {
            const Face& face = kFaces[index];
            SCOPED_TRACE(face.name);
            ExpectFacePicture(scene, face.tint, [&](float u, float v) {
                return face.topLeft + face.across * u + face.down * v;
            });
        }
    }
}

// Each face is wound to be seen from outside only: from inside a cube large enough to keep the
// eye off its faces, every face is culled and the whole picture is the clear colour.
TEST_F(CubePicture, FromInsideNothingIsDrawn) {
    struct Direction {
        const char* name;
        D3DXVECTOR3 at;
        D3DXVECTOR3 up;
    };
    const Direction kDirections[] = {
        {"toward_plus_z", {0, 0, 1}, {0, 1, 0}},   {"toward_minus_z", {0, 0, -1}, {0, 1, 0}},
        {"toward_plus_x", {1, 0, 0}, {0, 1, 0}},   {"toward_minus_x", {-1, 0, 0}, {0, 1, 0}},
        {"toward_top", {0, 1, 0}, {0, 0, 1}},      {"toward_bottom", {0, -1, 0}, {0, 0, 1}},
        {"toward_a_corner", {1, 1, 1}, {0, 1, 0}},
    };
    for (const Direction& direction : kDirections) {
        SCOPED_TRACE(direction.name);
        scene.look(D3DXVECTOR3(0, 0, 0), direction.at, direction.up);
        drawCube(std::string("inside_") + direction.name, Scaling(4.0f));
        EXPECT_EQ(0, scene.pixelsDrawn());
    }
}

}  // namespace
}  // namespace test
