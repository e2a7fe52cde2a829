// The idle loop's pacing of the input polls: every idle pass draws one frame, and the call polls
// when its clock reading lies more than 25 ms after the last poll's, or below it (the clock
// wrapped).
#include <vector>

#include "SceneFixture.h"
#include "mfc/WindowHost.h"

namespace test {
namespace {

class PollTest : public SceneTest {
protected:
    // A poll sets the movement deltas afresh, and with no key held leaves the turn at 0; a
    // frame without one keeps what it found.
    bool pollsAt(DWORD ms) {
        constexpr float kNotPolled = 0.25f;
        view().m_fTurn = kNotPolled;
        frameAt(ms);
        return view().m_fTurn != kNotPolled;
    }
};

struct Reading {
    DWORD ms;
    bool polls;
};

TEST_F(PollTest, APollComesOnlyMoreThan25MsAfterTheLast) {
    settle();
    const std::vector<Reading> readings = {
        {100, true},  // below the last poll's: taken for a wrapped clock
        {125, false}, {126, true}, {126, false}, {151, false}, {152, true}, {178, true},
    };
    for (const Reading& r : readings) EXPECT_EQ(pollsAt(r.ms), r.polls) << "at " << r.ms;
}

TEST_F(PollTest, TheClockWrappingAt2To32MsStillPolls) {
    settle();
    const std::vector<Reading> readings = {
        {0xFFFFFFF0u, true}, {0xFFFFFFFFu, false}, {5, true}, {30, false}, {31, true},
    };
    for (const Reading& r : readings) EXPECT_EQ(pollsAt(r.ms), r.polls) << "at " << r.ms;
}

TEST_F(PollTest, AtTenMsFramesEveryThirdCallPolls) {
    const DWORD start = settle();
    const int presents = platform::mfc::WindowHost::fromHandle(view().m_hWnd)->presentCount();
    for (int call = 1; call <= 12; ++call)
        EXPECT_EQ(pollsAt(start + 10 * static_cast<DWORD>(call)), call % 3 == 0) << call;
    EXPECT_EQ(platform::mfc::WindowHost::fromHandle(view().m_hWnd)->presentCount(), presents + 12)
        << "every call draws and presents a frame";
}

}  // namespace
}  // namespace test
