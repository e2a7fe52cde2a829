// X11AppTest.h: the real program's classes started through the MFC layer's test host on Qt's
// xcb platform, on the suite's own Xvfb (XServer.h), and driven by real X input from a client
// of its own (XClient.h). Each test gets a fresh start of the program, shown, exposed and with
// the keyboard focus in the view; it skips, saying why, when no X server can start.
//
// The millisecond clock is the test's: step() advances it past the poll interval before every
// frame, so each frame polls the keys and the mouse. Everything else (the cursor, the key state,
// the X server's events) is real. Keys and buttons still down when a test ends are released.
//
//   class MyTest : public test::x11::X11AppTest {};
//   TEST_F(MyTest, Something) {
//       x().press(XK_w);
//       step(3);                                   // three frames, each with a poll
//       EXPECT_GT(player().m_vPos.z, 0.0f);
//       ASSERT_TRUE(waitFor([&] { return ...; }));  // pumps events until true, or times out
//   }
//
// A subclass that needs a window manager overrides wantsWindowManager(); openbox then runs for
// the rest of the process. Every lock starts off; beforeStart() runs just before the program
// starts, to set the keyboard up otherwise.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QPoint>
#include <QWidget>

#include <gtest/gtest.h>

#include "ChildView.h"
#include "MainFrm.h"
#include "SettleMarker.h"
#include "XClient.h"
#include "XServer.h"
#include "mfc/TestHost.h"

struct xcb_connection_t;

namespace test::x11 {

class X11AppTest : public ::testing::Test {
protected:
    static constexpr DWORD kPollGap = 26;  // ms: the loop polls once more than 25 have passed
    static constexpr int kWaitMs = 10000;  // only a failing wait takes so long

    void SetUp() override;
    void TearDown() override;
    virtual bool wantsWindowManager() const { return false; }
    virtual void beforeStart() {}

    platform::mfc::TestHost& host() { return *host_; }
    CMainFrame& frame() const { return *static_cast<CMainFrame*>(host_->mainWindow()); }
    CChildView& view() const { return frame().m_wndView; }
    CPlayer& player() const { return view().m_Player; }
    QWidget* frameWidget() const;
    QWidget* viewWidget() const;
    // The program's own connection to the display, as Xlib and as xcb see it.
    Display* appDisplay() const;
    xcb_connection_t* appConnection() const;
    XClient& x() { return *client_; }

    // A point of the view, in screen coordinates; the centre by default.
    QPoint viewPoint(QPoint offset = {}) const;

    // Delivers the events waiting, then makes `count` frames, each an idle pass with the clock
    // kPollGap ms on, with the events that arrived in between delivered.
    void step(int count = 1);
    // Delivers events (no frames) until the condition holds; false when it did not within
    // timeoutMs.
    bool waitFor(const std::function<bool()>& condition, int timeoutMs = kWaitMs);
    // Gives the program's frame the keyboard focus, as a click on it would, and waits until
    // the view has it.
    bool focusProgram();
    // Waits until the server has done what the program asked of it so far, and everything
    // this client sent has reached the program with its window system events delivered (a
    // test failure when that takes over kWaitMs).
    void settle();

    DWORD clock = 0;  // timeGetTime's reading

private:
    // The host's pump, then the program's requests sent, as its own loop does before it waits.
    void pump();

    std::unique_ptr<XClient> client_;
    std::optional<platform::mfc::TestHost> host_;
    std::unique_ptr<SettleMarker> marker_;
};

}  // namespace test::x11
