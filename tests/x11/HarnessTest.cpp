// The harness itself: the program comes up on the X server, and keys typed on the server's
// keyboard reach its polls.
#include <X11/keysym.h>

#include "X11AppTest.h"

namespace test::x11 {
namespace {

class HarnessTest : public X11AppTest {};

TEST_F(HarnessTest, KeyHeldOnTheDisplayWalksThePlayer) {
    EXPECT_EQ("FSM test_Orvek", frameWidget()->windowTitle().toStdString());
    const float start = player().m_vPos.z;
    x().press(XK_w);
    settle();
    step(3);
    EXPECT_GT(player().m_vPos.z, start + 0.15f) << "W moves the player along +z";
    x().release(XK_w);
    settle();
    step(2);  // the poll that finds W up, then a frame with no motion
    const float stopped = player().m_vPos.z;
    step(2);
    EXPECT_FLOAT_EQ(stopped, player().m_vPos.z);
}

}  // namespace
}  // namespace test::x11
