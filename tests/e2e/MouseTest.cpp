// The right-button drag through the running program: the press and release reach the view as
// Qt mouse events, the cursor comes from the test, and only first-person polls turn the player,
// by 0.005 radians per pixel of horizontal motion.
#include <ostream>
#include <string>

#include <QTest>

#include "SceneFixture.h"

namespace test {
namespace {

constexpr int kKey1 = 0x31;

class DragTest : public SceneTest {
protected:
    // Key 1 tapped: one poll notes it, the next switches. Returns the second poll's reading.
    DWORD enterFirstPerson(DWORD t) {
        keys.feed({Down(kKey1), Up(kKey1)});
        frameAt(t += kPollGap);
        frameAt(t += kPollGap);
        EXPECT_TRUE(view().m_bFirstPerson);
        return t;
    }
    void pressRight() { QTest::mousePress(viewWidget(), Qt::RightButton, {}, QPoint(40, 40)); }
    void releaseRight() {
        QTest::mouseRelease(viewWidget(), Qt::RightButton, {}, QPoint(40, 40));
    }
    void moveCursor(int dx, int dy) {
        inputs.cursor.x += dx;
        inputs.cursor.y += dy;
    }
};

struct DragCase {
    std::string name;
    bool firstPerson;
    int dx, dy;  // cursor motion between two polls, in pixels
    float turn;  // radians
};

void PrintTo(const DragCase& c, std::ostream* out) { *out << c.name; }

class DragTurnTest : public DragTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(DragTurnTest, TurnsThePlayerByTheHorizontalMotionOnlyInFirstPerson) {
    const DragCase& c = GetParam();
    placeBoxesAway();
    DWORD t = settle();
    if (c.firstPerson) t = enterFirstPerson(t);
    inputs.cursor = {300, 200};
    pressRight();
    frameAt(t += kPollGap);
    const float yaw = player().m_fYaw;

    moveCursor(c.dx, c.dy);
    frameAt(t += 10);  // no poll: the motion waits for one
    EXPECT_FLOAT_EQ(player().m_fYaw, yaw);
    frameAt(t += kPollGap - 10);
    EXPECT_NEAR(player().m_fYaw, yaw + c.turn, 1e-5f);
    frameAt(t += kPollGap);  // the cursor stood still since
    EXPECT_NEAR(player().m_fYaw, yaw + c.turn, 1e-5f);
    releaseRight();
}

INSTANTIATE_TEST_SUITE_P(
    Drags, DragTurnTest,
    ::testing::Values(DragCase{"FirstPersonRight", true, 200, 0, 1.0f},
                      DragCase{"FirstPersonLeftAndDown", true, -40, 30, -0.2f},
                      DragCase{"FirstPersonOnlyDown", true, 0, 50, 0.0f},
                      DragCase{"Overview", false, 200, 0, 0.0f},
                      DragCase{"OverviewLeft", false, -40, 0, 0.0f}),
    [](const ::testing::TestParamInfo<DragCase>& info) { return info.param.name; });

// In overview the polls leave the stored cursor at the press, so the first first-person poll,
// the one that switches, turns by everything since the press.
TEST_F(DragTest, ADragBegunInOverviewTurnsByTheWholeDistanceOnceFirstPersonStarts) {
    placeBoxesAway();
    DWORD t = settle();
    inputs.cursor = {100, 100};
    pressRight();
    moveCursor(120, 0);
    frameAt(t += kPollGap);
    moveCursor(80, -20);
    frameAt(t += kPollGap);
    const float yaw = player().m_fYaw;

    enterFirstPerson(t);
    EXPECT_NEAR(player().m_fYaw, yaw + 1.0f, 1e-5f);
    releaseRight();
}

TEST_F(DragTest, ReleasingTheButtonEndsTheTurning) {
    placeBoxesAway();
    DWORD t = enterFirstPerson(settle());
    inputs.cursor = {300, 200};
    pressRight();
    moveCursor(100, 0);
    frameAt(t += kPollGap);
    const float yaw = player().m_fYaw;
    EXPECT_NEAR(yaw, 0.5f, 1e-5f);

    releaseRight();
    moveCursor(100, 0);
    frameAt(t += kPollGap);
    EXPECT_FLOAT_EQ(player().m_fYaw, yaw);

    pressRight();  // a new drag measures from the new press, not from the last poll
    moveCursor(-20, 0);
    frameAt(t += kPollGap);
    EXPECT_NEAR(player().m_fYaw, yaw - 0.1f, 1e-5f);
    releaseRight();
}

}  // namespace
}  // namespace test
