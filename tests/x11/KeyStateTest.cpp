// The keys on a real display: they act whichever window has the focus, a release in another
// window ends the key, a tap between two polls counts once however many other keys the frames
// query, and a frame reads the display's key map at most once.
#include <X11/keysym.h>

#include "DisplayReads.h"
#include "X11AppTest.h"

namespace test::x11 {
namespace {

class KeyStateTest : public X11AppTest {};

// Without a window manager and with one, which reparents and focuses windows its own way.
class ReleaseElsewhereTest : public X11AppTest, public ::testing::WithParamInterface<bool> {
    bool wantsWindowManager() const override { return GetParam(); }
};

TEST_P(ReleaseElsewhereTest, ReleaseInAnotherWindowStopsTheKey) {
    x().press(XK_w);
    settle();
    step(3);
    const Window other = x().openWindow(0, 0, 200, 200);
    x().focus(other);
    ASSERT_TRUE(waitFor([&] { return !viewWidget()->hasFocus(); }));
    step(2);
    const float walking = player().m_vPos.z;
    step(1);
    EXPECT_GT(player().m_vPos.z, walking) << "W held acts while another window has the focus";

    x().release(XK_w);
    settle();
    step(2);  // the poll that finds W up, then a frame that moves no more
    const float stopped = player().m_vPos.z;
    step(3);
    EXPECT_FLOAT_EQ(stopped, player().m_vPos.z) << "the release went to the other window";
    EXPECT_EQ(0, GetAsyncKeyState('W'));
}

INSTANTIATE_TEST_SUITE_P(Desktops, ReleaseElsewhereTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Openbox" : "Bare"; });

TEST_F(KeyStateTest, KeyPressedInAnotherWindowActs) {
    x().focus(x().openWindow(0, 0, 200, 200));
    ASSERT_TRUE(waitFor([&] { return !viewWidget()->hasFocus(); }));
    const float yaw = player().m_fYaw;
    x().press(XK_e);
    step(3);
    EXPECT_GT(player().m_fYaw, yaw);
}

TEST_F(KeyStateTest, TapBetweenPollsCountsOnceDespiteTheBoxesQueries) {
    const float start = player().m_vPos.z;
    x().tap(XK_w);
    settle();
    ASSERT_FALSE(x().keyDown(XK_w));
    step(1);  // a poll: the tap counts though W is up and the boxes read the key map first
    const float polled = player().m_vPos.z;
    step(1);
    EXPECT_GT(player().m_vPos.z, polled) << "the tap's poll set a forward delta";
    step(2);
    const float stopped = player().m_vPos.z;
    step(2);
    EXPECT_FLOAT_EQ(stopped, player().m_vPos.z) << "and the next poll found nothing";
    EXPECT_GT(stopped, start);
}

TEST_F(KeyStateTest, FrameReadsTheKeyMapAtMostOnce) {
    x().press(XK_w);  // keys down and pressed keep no read from being skipped
    x().press(XK_o);
    settle();
    constexpr int kFrames = 20;
    const long before = keymapReads(appConnection());
    step(kFrames);  // each frame polls all seven keys and each of 30 boxes asks for O, K and P
    const long reads = keymapReads(appConnection()) - before;
    EXPECT_LE(reads, kFrames);
    EXPECT_GE(reads, kFrames / 2) << "the display stays the source of held keys";
}

}  // namespace
}  // namespace test::x11
