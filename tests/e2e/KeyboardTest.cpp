// The keyboard through the running frame loop: held keys move and turn the player on every frame
// between two polls, opposite keys cancel, a tap counts for one poll, and key 1 switches the
// view mode once per press, on its release.
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "OverlayPixels.h"
#include "SceneFixture.h"

namespace test {
namespace {

constexpr int kW = 0x57, kS = 0x53, kA = 0x41, kD = 0x44, kQ = 0x51, kE = 0x45;

struct HeldKeysCase {
    std::string name;
    std::vector<int> keys;
    float forward;  // per frame, along the player's facing (+z at the start)
    float strafe;   // per frame, along its right (+x)
    float turn;     // radians per frame
};

void PrintTo(const HeldKeysCase& c, std::ostream* out) { *out << c.name; }

class HeldKeysTest : public SceneTest, public ::testing::WithParamInterface<HeldKeysCase> {};

// After a poll that finds the keys, every frame moves by the deltas until the next poll, which
// finds them released: the frame of that poll still moves, the frames after it do not.
TEST_P(HeldKeysTest, MoveThePlayerEveryFrameUntilTheNextPoll) {
    const HeldKeysCase& c = GetParam();
    placeBoxesAway();
    const DWORD start = settle();  // the deltas are now 0 and the player faces +z
    const D3DXVECTOR3 from = player().m_vPos;
    const float yaw = player().m_fYaw;

    for (int key : c.keys) keys.hold(key);
    frameAt(start + kPollGap);
    EXPECT_TRUE(VectorsNear(from, player().m_vPos)) << "a poll's deltas first act in the next frame";
    for (int key : c.keys) keys.release(key);

    // Two frames 10 ms apart, then the poll's frame 26 ms after the first poll: three frames.
    framesAfter(start + kPollGap, 2, 10);
    frameAt(start + 2 * kPollGap);
    const D3DXVECTOR3 moved(3 * c.strafe, 0.0f, 3 * c.forward);
    EXPECT_TRUE(VectorsNear(from + moved, player().m_vPos));
    EXPECT_NEAR(player().m_fYaw, yaw + 3 * c.turn, 1e-5f);

    framesAfter(start + 2 * kPollGap, 3, 5);
    EXPECT_TRUE(VectorsNear(from + moved, player().m_vPos)) << "released keys move nothing";
    EXPECT_NEAR(player().m_fYaw, yaw + 3 * c.turn, 1e-5f);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HeldKeysTest,
    ::testing::Values(HeldKeysCase{"W", {kW}, 0.1f, 0.0f, 0.0f},
                      HeldKeysCase{"S", {kS}, -0.1f, 0.0f, 0.0f},
                      HeldKeysCase{"WAndS", {kW, kS}, 0.0f, 0.0f, 0.0f},
                      HeldKeysCase{"A", {kA}, 0.0f, -0.1f, 0.0f},
                      HeldKeysCase{"D", {kD}, 0.0f, 0.1f, 0.0f},
                      HeldKeysCase{"AAndD", {kA, kD}, 0.0f, 0.0f, 0.0f},
                      HeldKeysCase{"Q", {kQ}, 0.0f, 0.0f, -0.05f},
                      HeldKeysCase{"E", {kE}, 0.0f, 0.0f, 0.05f},
                      HeldKeysCase{"QAndE", {kQ, kE}, 0.0f, 0.0f, 0.0f}),
    [](const ::testing::TestParamInfo<HeldKeysCase>& info) { return info.param.name; });

TEST_F(SceneTest, AKeyTappedBetweenPollsCountsForOnePollOnly) {
    placeBoxesAway();
    const DWORD start = settle();
    const float fromZ = player().m_vPos.z;

    // Pressed and released twice before the poll: still one poll's worth of motion.
    keys.feed({Down(kW), Up(kW), Down(kW), Up(kW)});
    frameAt(start + 10);  // no poll yet: the tap waits for one
    EXPECT_FLOAT_EQ(player().m_vPos.z, fromZ);
    frameAt(start + kPollGap);
    framesAfter(start + kPollGap, 3, 5);  // three frames before the next poll ...
    frameAt(start + 2 * kPollGap);        // ... and the one that makes it
    EXPECT_NEAR(player().m_vPos.z, fromZ + 0.4f, 1e-5f);

    framesAfter(start + 2 * kPollGap, 6, 10);  // two more polls: nothing pressed
    EXPECT_NEAR(player().m_vPos.z, fromZ + 0.4f, 1e-5f);
}

TEST_F(SceneTest, MovementFollowsTheFrameRateNotTheClock) {
    placeBoxesAway();
    const DWORD start = settle();
    keys.hold(kE);
    frameAt(start + kPollGap);
    const float yaw = player().m_fYaw;
    // Twenty frames 1 ms apart, all before the next poll: 0.05 rad each.
    framesAfter(start + kPollGap, 20, 1);
    EXPECT_NEAR(player().m_fYaw, yaw + 1.0f, 1e-4f);
}

// Line 5 of the overlay, the mode line, and the view transform of the frame.
struct ModeView {
    int modeLineRight;
    D3DXMATRIX view;
};

class ModeSwitchTest : public SceneTest {
protected:
    static constexpr D3DXVECTOR3 kUp{0.0f, 1.0f, 0.0f};

    ModeView shown() const { return {RightmostOverlayPixel(picture(), kModeLine), deviceView()}; }
    D3DXMATRIX overviewView() const {
        const D3DXVECTOR3 eye(0.0f, 100.0f, -100.0f);
        D3DXMATRIX m;
        D3DXMatrixLookAtLH(&m, &eye, &player().m_vPos, &kUp);
        return m;
    }
    D3DXMATRIX chaseView() const {
        const D3DXVECTOR3 eye =
            player().m_vPos - player().m_vLook * 20.0f + D3DXVECTOR3(0.0f, 10.0f, 0.0f);
        D3DXMATRIX m;
        D3DXMatrixLookAtLH(&m, &eye, &player().m_vPos, &kUp);
        return m;
    }
};

// Held across three polls, key 1 switches nothing; the poll after its release switches, after
// that call's frame, so the next frame is the first with the chase camera and the first whose
// overlay names first person. Polls after that leave the mode alone.
TEST_F(ModeSwitchTest, Key1HeldAcrossPollsSwitchesOnceOnRelease) {
    placeBoxesAway();
    DWORD t = settle();
    const ModeView overview = shown();
    ASSERT_GT(overview.modeLineRight, 0) << "no mode line in the overlay";
    EXPECT_TRUE(MatricesNear(overviewView(), overview.view));

    keys.hold(0x31);
    for (int poll = 0; poll < 3; ++poll) {
        frameAt(t += kPollGap);
        EXPECT_FALSE(view().m_bFirstPerson) << "poll " << poll;
    }
    keys.release(0x31);
    frameAt(t += kPollGap);
    EXPECT_TRUE(view().m_bFirstPerson);
    EXPECT_EQ(shown().modeLineRight, overview.modeLineRight) << "this frame came before the poll";
    EXPECT_TRUE(MatricesNear(overviewView(), shown().view));

    frameAt(t += 10);
    const ModeView firstPerson = shown();
    // "현재; 1인칭 모드( 마우스 오른쪽 클릭후 이동 = 회전 " runs far beyond "현재; 확인 모드".
    EXPECT_GT(firstPerson.modeLineRight, overview.modeLineRight + 150);
    EXPECT_TRUE(MatricesNear(chaseView(), firstPerson.view));
    EXPECT_FALSE(MatricesNear(overviewView(), firstPerson.view));

    for (int poll = 0; poll < 3; ++poll) frameAt(t += kPollGap);
    EXPECT_TRUE(view().m_bFirstPerson);
    EXPECT_EQ(shown().modeLineRight, firstPerson.modeLineRight);
}

TEST_F(ModeSwitchTest, Key1TappedBetweenPollsSwitchesAtTheSecondPollAndBackOnTheNextTap) {
    placeBoxesAway();
    DWORD t = settle();
    for (const BOOL expected : {TRUE, FALSE}) {
        keys.feed({Down(0x31), Up(0x31)});
        frameAt(t += kPollGap);
        EXPECT_NE(view().m_bFirstPerson, expected) << "the first poll only notes the press";
        frameAt(t += kPollGap);
        EXPECT_EQ(view().m_bFirstPerson, expected);
    }
}

TEST_F(ModeSwitchTest, TheKeypadsOneSwitchesNothing) {
    constexpr int kNumpad1 = 0x61;
    placeBoxesAway();
    DWORD t = settle();
    keys.feed({Down(kNumpad1), Up(kNumpad1)});
    for (int poll = 0; poll < 3; ++poll) frameAt(t += kPollGap);
    EXPECT_FALSE(view().m_bFirstPerson);
    EXPECT_TRUE(MatricesNear(overviewView(), shown().view));
}

}  // namespace
}  // namespace test
