// Message maps and command routing: the most derived entry wins, messages unpack as their
// handlers take them, commands go view -> frame -> application, and the command-UI update
// disables what no handler takes.
#include "LayerFixture.h"

namespace test {
namespace {

class BaseWindow : public CWnd {
public:
    std::vector<std::string> calls;
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        calls.push_back("base size " + std::to_string(nType) + " " + std::to_string(cx) + "x" +
                        std::to_string(cy));
    }
    afx_msg void OnLButtonDown(UINT, CPoint) { calls.push_back("base ldown"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
public:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
        calls.push_back("derived ldown " + std::to_string(nFlags) + " " +
                        std::to_string(point.x) + "," + std::to_string(point.y));
    }
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
    ON_WM_LBUTTONDOWN()
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MessageMapTest, DerivedEntriesWinAndTheChainReachesTheBase) {
    DerivedWindow window;
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT,
                       MAKELPARAM(static_cast<WORD>(-5), 7));  // signed halves
    window.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(window.SendMessage(WM_RBUTTONDOWN, 0, 0), 0);  // no entry: default processing
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"derived ldown 5 -5,7", "base size 2 640x480"}));
}

TEST_F(LayerTest, CreateHandlerReturningMinusOneStopsTheWindow) {
    DerivedWindow window;
    EXPECT_FALSE(window.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), nullptr, 1));
    EXPECT_EQ(window.m_hWnd, nullptr);
}

// A frame whose creation fails: its window goes, and the object deletes itself.
class FailingFrame : public CFrameWnd {
public:
    explicit FailingFrame(bool& deleted) : deleted_(deleted) {}
    ~FailingFrame() override { deleted_ = true; }
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()

private:
    bool& deleted_;
};

BEGIN_MESSAGE_MAP(FailingFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(LayerTest, FrameThatFailsToCreateDeletesItself) {
    bool deleted = false;
    auto* failing = new FailingFrame(deleted);
    EXPECT_FALSE(failing->LoadFrame(kFrameId));
    EXPECT_TRUE(deleted);
    // It was not the main window: that one stays, and so does the loop.
    ASSERT_NE(host.mainWindow(), nullptr);
    EXPECT_TRUE(frame().IsWindowVisible());
}

TEST_F(LayerTest, CommandsGoToTheViewThenTheFrameThenTheApplication) {
    struct Case {
        UINT id;
        BOOL taken;
        std::vector<std::string> journal;
    };
    const Case cases[] = {
        {kCmdEverywhere, TRUE, {"view command"}},
        {kCmdAppOnly, TRUE, {"app command"}},
        {kCmdOrphan, FALSE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        journal().clear();
        EXPECT_EQ(frame().OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr), c.taken);
        EXPECT_EQ(journal(), c.journal);
    }
    // Without the view's map the frame's own entry comes before the application's.
    journal().clear();
    EXPECT_TRUE(frame().CFrameWnd::OnCmdMsg(kCmdEverywhere, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(journal(), std::vector<std::string>{"frame command"});
}

TEST_F(LayerTest, HandlerInfoFindsTheHandlerWithoutCallingIt) {
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_TRUE(frame().OnCmdMsg(kCmdAppOnly, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &theLayerApp);
    EXPECT_NE(info.pfn, nullptr);
    EXPECT_TRUE(journal().empty());
}

class RecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        enabled = bOn;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    int enabled = -1;
    int checked = -1;
};

TEST_F(LayerTest, UpdateDisablesWhatNoHandlerTakes) {
    struct Case {
        UINT id;
        int enabled;
        int checked;
    };
    const Case cases[] = {
        {kCmdHandled, TRUE, -1},
        {kCmdAppOnly, TRUE, -1},
        {kCmdOrphan, FALSE, -1},
        {kCmdDisabled, FALSE, -1},  // its update handler has the last word
        {ID_VIEW_TOOLBAR, TRUE, 1},
        {ID_APP_EXIT, TRUE, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        RecordingCmdUI state;
        state.m_nID = c.id;
        state.DoUpdate(&frame(), TRUE);
        EXPECT_EQ(state.enabled, c.enabled);
        EXPECT_EQ(state.checked, c.checked);
    }
}

TEST_F(LayerTest, MenuAndAcceleratorCommandsOfADisabledItemAreDropped) {
    for (const WORD code : {0, 1}) {
        frame().SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(kCmdDisabled), code));
        frame().SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(kCmdHandled), code));
    }
    EXPECT_TRUE(journal().empty());
    EXPECT_EQ(frame().handled, 2);
}

}  // namespace
}  // namespace test
