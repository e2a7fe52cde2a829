#include <cmath>

#include <gtest/gtest.h>

#include "Camera.h"
#include "Near.h"

namespace {

using test::ExpectNear;
using test::Identity;

const float kHalfRoot2 = std::sqrt(0.5f);

// The overview camera: eye (0, 100, -100) looking at the player at the origin.
CCamera OverviewCamera() {
    CCamera camera;
    const D3DXVECTOR3 eye(0.0f, 100.0f, -100.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    camera.SetView(&eye, &at, &up);
    return camera;
}

TEST(Camera, StartsLookingDownMinusZWithAZeroUpAndAnUnturnedWalker) {
    const CCamera camera;
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, 0.0f), camera.m_vEye);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, -1.0f), camera.m_vAt);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, 0.0f), camera.m_vUp);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, -1.0f), camera.m_vViewDir);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, 0.0f), camera.m_vRight);
    EXPECT_EQ(0.0f, camera.m_fWalkYaw);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, 1.0f), camera.m_vWalkLook);
    EXPECT_EQ(D3DXVECTOR3(1.0f, 0.0f, 0.0f), camera.m_vWalkSide);
}

TEST(Camera, SetViewBuildsTheLookAtMatrixAndItsOrientation) {
    CCamera camera;
    const D3DXVECTOR3 eye(0.0f, 100.0f, -100.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    const D3DXMATRIXA16* returned = camera.SetView(&eye, &at, &up);

    EXPECT_EQ(camera.GetViewMatrix(), returned);
    ExpectNear({0.0f, -kHalfRoot2, kHalfRoot2}, camera.m_vViewDir);
    // Not normalised: |up| sin 45 degrees.
    ExpectNear({kHalfRoot2, 0.0f, 0.0f}, camera.m_vRight);
    const D3DXMATRIX view(1, 0, 0, 0,                        //
                          0, kHalfRoot2, -kHalfRoot2, 0,     //
                          0, kHalfRoot2, kHalfRoot2, 0,      //
                          0, 0, 100.0f * std::sqrt(2.0f), 1);
    ExpectNear(view, *camera.GetViewMatrix(), 1e-4f);
    const D3DXMATRIX billboard(1, 0, 0, 0,                     //
                               0, kHalfRoot2, kHalfRoot2, 0,   //
                               0, -kHalfRoot2, kHalfRoot2, 0,  //
                               0, 0, 0, 1);
    ExpectNear(billboard, camera.m_matBillboard);
}

TEST(Camera, SetViewAcceptsItsOwnFieldsAsArguments) {
    CCamera camera = OverviewCamera();
    const D3DXMATRIX before = camera.m_matView;
    camera.SetView(&camera.m_vEye, &camera.m_vAt, &camera.m_vUp);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 100.0f, -100.0f), camera.m_vEye);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 0.0f, 0.0f), camera.m_vAt);
    ExpectNear(before, camera.m_matView);
}

TEST(Camera, PitchByZeroBringsTheTargetToOneUnitAheadAndKeepsTheView) {
    CCamera camera = OverviewCamera();
    const D3DXMATRIX before = camera.m_matView;
    camera.Pitch(0.0f);
    ExpectNear({0.0f, 100.0f - kHalfRoot2, -100.0f + kHalfRoot2}, camera.m_vAt, 1e-4f);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 100.0f, -100.0f), camera.m_vEye);
    ExpectNear(before, camera.m_matView, 1e-3f);
}

TEST(Camera, MovesGoExactlyTheDistanceAlongTheNormalisedAxis) {
    CCamera camera = OverviewCamera();
    camera.MoveRight(2.0f);  // the stored right vector is only about 0.707 long
    ExpectNear({2.0f, 100.0f, -100.0f}, camera.m_vEye);
    ExpectNear({2.0f, 0.0f, 0.0f}, camera.m_vAt);

    camera = OverviewCamera();
    camera.MoveUp(3.0f);
    ExpectNear({0.0f, 103.0f, -100.0f}, camera.m_vEye);
    ExpectNear({0.0f, 3.0f, 0.0f}, camera.m_vAt);

    camera = OverviewCamera();
    camera.MoveForward(std::sqrt(2.0f));
    ExpectNear({0.0f, 99.0f, -99.0f}, camera.m_vEye, 1e-4f);
    ExpectNear({0.0f, -1.0f, 1.0f}, camera.m_vAt, 1e-4f);
}

TEST(Camera, MoveToCarriesTheTargetWithTheEye) {
    CCamera camera = OverviewCamera();
    const D3DXVECTOR3 viewDir = camera.m_vViewDir;
    const D3DXVECTOR3 point(5.0f, 5.0f, 5.0f);
    camera.MoveTo(&point);
    EXPECT_EQ(point, camera.m_vEye);
    ExpectNear({5.0f, -95.0f, 105.0f}, camera.m_vAt);
    ExpectNear(viewDir, camera.m_vViewDir);
}

// The walker moves the eye and leaves the identity behind; the turn leaves the bare rotation.
TEST(Camera, WalkOperationsLeaveTheIdentityOrTheBareRotation) {
    struct Case {
        int line;
        void (*walk)(CCamera&);
        D3DXVECTOR3 eye;
        D3DXVECTOR3 at;
    };
    const Case kCases[] = {
        {__LINE__, [](CCamera& c) { c.WalkForward(0.1f); }, {0, 100, -99.9f}, {0, 0, 0}},
        {__LINE__, [](CCamera& c) { c.WalkForward(-0.1f); }, {0, 100, -100.1f}, {0, 0, 0}},
        {__LINE__, [](CCamera& c) { c.WalkSide(0.1f); }, {0.1f, 100, -100}, {0, 0, 0}},
        {__LINE__, [](CCamera& c) { c.WalkSide(-0.1f); }, {-0.1f, 100, -100}, {0, 0, 0}},
        {__LINE__, [](CCamera& c) { c.Rise(1.0f); }, {0, 101, -100}, {0, 1, 0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        CCamera camera = OverviewCamera();
        const D3DXVECTOR3 viewDir = camera.m_vViewDir;
        const D3DXMATRIX billboard = camera.m_matBillboard;
        c.walk(camera);
        ExpectNear(c.eye, camera.m_vEye);
        ExpectNear(c.at, camera.m_vAt);
        EXPECT_EQ(Identity(), *camera.GetViewMatrix());
        EXPECT_EQ(viewDir, camera.m_vViewDir);  // no SetView ran
        EXPECT_EQ(billboard, camera.m_matBillboard);
    }
}

TEST(Camera, WalkTurnTurnsTheWalkerAndLeavesTheRotationAsTheView) {
    CCamera camera = OverviewCamera();
    camera.WalkTurn(0.05f);
    EXPECT_FLOAT_EQ(0.05f, camera.m_fWalkYaw);
    D3DXMATRIX rotation;
    D3DXMatrixRotationY(&rotation, 0.05f);
    EXPECT_EQ(rotation, *camera.GetViewMatrix());
    const float s = std::sin(0.05f);
    const float c = std::cos(0.05f);
    ExpectNear({s, 0.0f, c}, camera.m_vWalkLook);
    ExpectNear({c, 0.0f, -s}, camera.m_vWalkSide);
    EXPECT_EQ(D3DXVECTOR3(0.0f, 100.0f, -100.0f), camera.m_vEye);

    // The walk yaw accumulates and is never wrapped.
    for (int i = 0; i < 200; ++i) camera.WalkTurn(0.05f);
    EXPECT_NEAR(201 * 0.05f, camera.m_fWalkYaw, 1e-4f);
    camera.WalkForward(1.0f);
    ExpectNear({std::sin(camera.m_fWalkYaw), 100.0f, -100.0f + std::cos(camera.m_fWalkYaw)},
               camera.m_vEye, 1e-4f);
}

TEST(Camera, TheFramesSetViewReplacesWhatTheWalkerMovedButKeepsTheWalker) {
    CCamera camera = OverviewCamera();
    camera.WalkTurn(-0.05f);
    camera.WalkForward(0.1f);
    camera.Pitch(0.0f);
    const float yaw = camera.m_fWalkYaw;
    const D3DXVECTOR3 look = camera.m_vWalkLook;
    const D3DXVECTOR3 side = camera.m_vWalkSide;

    const CCamera fresh = OverviewCamera();
    const D3DXVECTOR3 eye(0.0f, 100.0f, -100.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    camera.SetView(&eye, &at, &up);

    EXPECT_EQ(eye, camera.m_vEye);
    EXPECT_EQ(fresh.m_matView, camera.m_matView);
    EXPECT_EQ(yaw, camera.m_fWalkYaw);
    EXPECT_EQ(look, camera.m_vWalkLook);
    EXPECT_EQ(side, camera.m_vWalkSide);
}

}  // namespace
