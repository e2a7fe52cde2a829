// The status bar's lock panes show the keyboard's locks as they are, including those set before
// the program started and those toggled while another window had the focus, from the server's
// indicator events: refreshing them asks the server nothing.
#include <X11/keysym.h>

#include "DisplayReads.h"
#include "X11AppTest.h"

namespace test::x11 {
namespace {

constexpr int kCapsPane = 1, kNumPane = 2, kScrollPane = 3;

class LockPaneTest : public X11AppTest {
protected:
    std::string pane(int index) const { return frame().m_wndStatusBar.GetPaneText(index); }
    // Pumps and draws frames until the pane reads the text; the panes follow at idle time.
    bool paneShows(int index, const std::string& text) {
        return waitFor([&] {
            step();
            return pane(index) == text;
        });
    }
};

class NumLockAtStartTest : public LockPaneTest {
    void beforeStart() override { x().toggleLock(XK_Num_Lock, "Num Lock"); }
};

TEST_F(NumLockAtStartTest, ShowsNumFromTheStart) {
    ASSERT_TRUE(x().indicatorOn("Num Lock"));
    EXPECT_EQ("NUM", pane(kNumPane));
    EXPECT_EQ("", pane(kCapsPane));
    EXPECT_EQ("", pane(kScrollPane));
}

TEST_F(LockPaneTest, TogglesInAnotherWindowShowOnceBack) {
    const Window other = x().openWindow(0, 0, 200, 200);
    const long reads = indicatorReads(appDisplay());
    struct Case {
        KeySym key;
        const char* indicator;
        int pane;
        const char* text;
    };
    for (const Case& c : {Case{XK_Caps_Lock, "Caps Lock", kCapsPane, "CAP"},
                          Case{XK_Num_Lock, "Num Lock", kNumPane, "NUM"},
                          Case{XK_Scroll_Lock, "Scroll Lock", kScrollPane, "SCRL"}}) {
        SCOPED_TRACE(c.text);
        x().focus(other);
        ASSERT_TRUE(waitFor([&] { return !viewWidget()->hasFocus(); }));
        x().toggleLock(c.key, c.indicator);
        ASSERT_TRUE(x().indicatorOn(c.indicator));
        ASSERT_TRUE(focusProgram());
        EXPECT_TRUE(paneShows(c.pane, c.text));
        x().toggleLock(c.key, c.indicator);  // and off again, in the program's own window
        EXPECT_TRUE(paneShows(c.pane, ""));
    }
    EXPECT_EQ(reads, indicatorReads(appDisplay())) << "the panes followed the server's events";
}

// An indicator can change with no message to the program at all: lit by another program, or
// reaching it after the idle pass that its lock key's messages started. The panes still follow.
TEST_F(LockPaneTest, FollowIndicatorsSwitchedWithoutAKey) {
    step(3);  // well past the idle pass that the last message started
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "lit" : "put out");
        x().switchIndicator("Scroll Lock", on);
        ASSERT_EQ(on, x().indicatorOn("Scroll Lock"));
        EXPECT_TRUE(paneShows(kScrollPane, on ? "SCRL" : ""));
    }
}

}  // namespace
}  // namespace test::x11
