#include <cmath>

#include <gtest/gtest.h>

#include "Near.h"
#include "Player.h"

namespace {

using test::ExpectNear;

D3DXMATRIX RotationWithTranslation(float angle, const D3DXVECTOR3& position) {
    D3DXMATRIX m;
    D3DXMatrixRotationY(&m, angle);
    m._41 = position.x;
    m._42 = position.y;
    m._43 = position.z;
    return m;
}

struct PlayerFixture {
    PlayerFixture() {
        const D3DXVECTOR3 origin(0, 0, 0), unit(1, 1, 1);
        player.Init(nullptr, &origin, nullptr, &unit);
    }
    CPlayer player;
};

TEST(Player, InitWithTheViewsArgumentsLeavesTheIdentity) {
    PlayerFixture f;
    EXPECT_EQ(test::Identity(), f.player.m_matWorld);
    EXPECT_EQ(D3DXVECTOR3(0, 0, 0), f.player.m_vPos);
    EXPECT_EQ(D3DXVECTOR3(0, 0, 1), f.player.m_vLook);
    EXPECT_EQ(D3DXVECTOR3(0, 0, 0), f.player.m_vRight);
    EXPECT_EQ(0.0f, f.player.m_fYaw);
}

TEST(Player, InitScalesAndLiftsByTheVerticalScale) {
    CPlayer player;
    const D3DXVECTOR3 position(1, 2, 3), scale(2, 3, 4);
    EXPECT_EQ(S_OK, player.Init(nullptr, &position, nullptr, &scale));
    EXPECT_EQ(D3DXMATRIX(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 4, 3, 1), player.m_matWorld);
}

TEST(Player, StrafeBeforeAnyTurnDoesNotMove) {
    PlayerFixture f;
    f.player.m_vPos = {2, 0, 3};
    f.player.Strafe(0.1f);
    EXPECT_EQ(D3DXVECTOR3(2, 0, 3), f.player.m_vPos);
    EXPECT_EQ(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 2, 0, 3, 1), f.player.m_matWorld);
}

TEST(Player, MoveForwardLeavesTheBareIdentity) {
    PlayerFixture f;
    f.player.MoveForward(0.1f);
    ExpectNear({0, 0, 0.1f}, f.player.m_vPos);
    EXPECT_EQ(test::Identity(), f.player.m_matWorld);
}

TEST(Player, TurnAccumulatesYawAndDerivesLookAndRight) {
    PlayerFixture f;
    f.player.m_vPos = {1, 0, 2};
    f.player.Turn(0.05f);
    f.player.Turn(0.05f);
    EXPECT_NEAR(0.1f, f.player.m_fYaw, 1e-7f);
    ExpectNear({std::sin(0.1f), 0, std::cos(0.1f)}, f.player.m_vLook);
    ExpectNear({std::cos(0.1f), 0, -std::sin(0.1f)}, f.player.m_vRight);
    ExpectNear(RotationWithTranslation(0.1f, {1, 0, 2}), f.player.m_matWorld);

    PlayerFixture quarter;
    quarter.player.Turn(D3DX_PI / 2);
    ExpectNear({1, 0, 0}, quarter.player.m_vLook);
    ExpectNear({0, 0, -1}, quarter.player.m_vRight);
}

TEST(Player, WalkTowardTakesOneUnitStepAndKeepsTheHeading) {
    struct Case {
        int line;
        D3DXVECTOR3 point;
        D3DXVECTOR3 moveDir, right, position;
        float angle;
    };
    const float s26 = std::sqrt(26.0f);
    const Case kCases[] = {
        {__LINE__, {3, -1, 4}, {0.6f, 0, 0.8f}, {0.8f, 0, -0.6f}, {0.6f, 0, 0.8f},
         std::acos(0.8f)},
        // The target is nearer than one unit: passed; 0.5 is not beyond 0.981, so negative.
        {__LINE__, {0.5f, -1, 0.1f}, {5 / s26, 0, 1 / s26}, {1 / s26, 0, -5 / s26},
         {5 / s26, 0, 1 / s26}, -std::acos(1 / s26)},
        // Straight below the player: no step, zero vectors, -pi/2.
        {__LINE__, {0, -1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, -D3DX_PI / 2},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        PlayerFixture f;
        f.player.WalkToward(c.point);
        ExpectNear(c.moveDir, f.player.m_vMoveDir);
        ExpectNear(c.right, f.player.m_vRight);
        ExpectNear(c.position, f.player.m_vPos);
        ExpectNear(RotationWithTranslation(c.angle, c.position), f.player.m_matWorld);
        EXPECT_EQ(0.0f, f.player.m_fYaw);
        EXPECT_EQ(D3DXVECTOR3(0, 0, 1), f.player.m_vLook);
    }
}

TEST(Player, WalkTowardARaisedPointRisesAndShortensTheSideVector) {
    PlayerFixture f;
    f.player.WalkToward({0, 2, 3});  // target (0, 3, 3): up and forward at 45 degrees
    const float h = std::sqrt(0.5f);
    ExpectNear({0, h, h}, f.player.m_vPos);
    ExpectNear({h, 0, 0}, f.player.m_vRight);
}

TEST(Player, WalkTowardAlongTheLookDirectionGivesNoNaN) {
    // At this yaw, rounding makes the dot product of two unit vectors exceed 1.
    PlayerFixture f;
    f.player.Turn(0.0004f);
    const D3DXVECTOR3 look = f.player.m_vLook;
    f.player.WalkToward({look.x * 7, -1, look.z * 7});
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_FALSE(std::isnan(f.player.m_matWorld.m[r][c]));
    EXPECT_NEAR(1.0f, f.player.m_matWorld._22, 1e-5f);
}

TEST(Player, GetPositionIsTheFieldItself) {
    PlayerFixture f;
    D3DXVECTOR3* position = f.player.GetPosition();
    EXPECT_EQ(position, f.player.GetPosition());
    f.player.MoveForward(2.0f);
    EXPECT_EQ(2.0f, position->z);
}

}  // namespace
