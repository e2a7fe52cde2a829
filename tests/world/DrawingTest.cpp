#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "Box.h"
#include "Cube.h"
#include "Player.h"
#include "RecordingDevice.h"

namespace {

using test::RecordingDevice;

const char* const kNoFiles[CCube::kFaces] = {"", "", "", "", "", ""};
const float kRoot2 = 1.4142135f;

struct Scene {
    RecordingDevice device;
    CCube cube;
    CPlayer player;

    Scene() {
        EXPECT_EQ(S_OK, cube.Create(&device, kNoFiles));
        const D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
        const D3DXVECTOR3 unit(1.0f, 1.0f, 1.0f);
        player.Init(&device, &origin, &cube, &unit);
    }
    void initBox(Box& box, D3DXVECTOR3 position, D3DXVECTOR3 scale) {
        box.Init(&device, &position, &scale, &cube, &player);
    }
};

TEST(BoxRender, AnUnmovedBoxIsCentredOnItsPositionWithRadiusRootTwo) {
    Scene scene;
    Box box;
    scene.initBox(box, {12.0f, 0.0f, -30.0f}, {1.0f, 1.0f, 1.0f});
    box.Render();
    EXPECT_EQ(D3DXVECTOR3(12.0f, 0.0f, -30.0f), box.m_vCenter);
    EXPECT_FLOAT_EQ(kRoot2, box.m_fRadius);
}

TEST(BoxRender, ATurnAboutYKeepsTheRadiusAtRootTwo) {
    const D3DXVECTOR3 kTargets[] = {
        {5.0f, 0.0f, 5.0f}, {-3.0f, 0.0f, 40.0f}, {100.0f, 0.0f, -1.0f}, {-7.0f, 0.0f, -7.0f}};
    for (const D3DXVECTOR3& target : kTargets) {
        SCOPED_TRACE(testing::Message() << target.x << ", " << target.z);
        Scene scene;
        scene.player.m_vPos = target;
        Box box;
        scene.initBox(box, {1.0f, 0.0f, 2.0f}, {1.0f, 1.0f, 1.0f});
        box.MoveFromTarget(0.05f);
        box.Render();
        EXPECT_EQ(box.m_vPos, box.m_vCenter);
        EXPECT_NEAR(kRoot2, box.m_fRadius, 1e-6f);
    }
}

// The strafe draws the box at its scale, raised by sy - 1: the radius becomes
// sqrt(sx^2 + (sy - 1)^2 + sz^2) and the centre stays below the drawn cube's.
TEST(BoxRender, AStrafeAtScaleThreeTwoFiveGivesRadiusRootThirtyFive) {
    Scene scene;
    Box box;
    scene.initBox(box, {4.0f, 0.0f, -7.0f}, {3.0f, 2.0f, 5.0f});
    box.Strafe(0.5f);
    box.Render();
    EXPECT_NEAR(std::sqrt(35.0f), box.m_fRadius, 1e-5f);
    EXPECT_EQ(box.m_vPos, box.m_vCenter);
    EXPECT_EQ(box.m_vPos.y + 1.0f, box.m_matWorld._42);
}

TEST(BoxRender, SetsItsWorldMatrixThenDrawsTheCube) {
    Scene scene;
    Box box;
    scene.initBox(box, {2.0f, 0.0f, 3.0f}, {1.0f, 1.0f, 1.0f});
    RecordingDevice reference;
    CCube referenceCube;
    referenceCube.Create(&reference, kNoFiles);
    reference.clearLog();
    referenceCube.Draw();

    scene.device.clearLog();
    box.Render();
    EXPECT_EQ("SetTransform(256, {1 0 0 0|0 1 0 0|0 0 1 0|2 0 3 1})\n" + reference.log(),
              scene.device.log());
}

TEST(PlayerRender, TakesTheCubesRadiusWhateverItsWorldMatrix) {
    Scene scene;
    scene.player.Turn(0.7f);
    scene.player.Strafe(3.0f);
    const D3DXVECTOR3 point(30.0f, -1.0f, 40.0f);
    scene.player.WalkToward(point);
    scene.device.clearLog();
    scene.player.Render();
    EXPECT_EQ(scene.cube.m_fRadius, scene.player.m_fRadius);
    EXPECT_EQ(0u, scene.device.log().find("SetTransform(256, "));
    EXPECT_NE(std::string::npos, scene.device.log().find("DrawPrimitive(5, 20, 2)\n"));
}

}  // namespace
