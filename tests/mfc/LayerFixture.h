// LayerFixture.h: a small program on the layer for its tests: an application, a frame with a
// view, a toolbar and a status bar, each recording what reaches it, and a host fixture.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <afxext.h>
#include <afxwin.h>
#include <gtest/gtest.h>

#include "mfc/TestHost.h"

namespace test {

constexpr UINT kFrameId = 1;
constexpr UINT kDialogId = 7;
constexpr UINT kCmdHandled = 0x8001;   // handled by the frame
constexpr UINT kCmdOrphan = 0x8002;    // handled nowhere
constexpr UINT kCmdDisabled = 0x8003;  // handled, but its update handler disables it
constexpr UINT kCmdAppOnly = 0x8004;   // handled by the application only
constexpr UINT kCmdEverywhere = 0x8005;  // handled by the view, the frame and the application

// Who received what, in order, across the test program's objects.
std::vector<std::string>& journal();

class LayerView : public CWnd {
public:
    ~LayerView() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    UINT classStyle = CS_DBLCLKS;  // of the class PreCreateWindow registers
    int paints = 0;

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnEverywhere();
    DECLARE_MESSAGE_MAP()
};

class LayerFrame : public CFrameWnd {
    DECLARE_DYNAMIC(LayerFrame)

public:
    ~LayerFrame() override;
    // The view first, as the program's frame routes.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CStatusBar m_status;
    CToolBar m_toolBar;
    LayerView m_view;
    int handled = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnHandled();
    afx_msg void OnDisabled();
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI);
    afx_msg void OnEverywhere();
    DECLARE_MESSAGE_MAP()
};

class LayerApp : public CWinApp {
public:
    BOOL InitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    std::vector<LONG> idleCounts;
    // What OnIdle answers for a count; by default the base class's answer.
    std::function<BOOL(LONG lCount)> idleAnswer;

    afx_msg void OnAppOnly();
    afx_msg void OnEverywhere();
    DECLARE_MESSAGE_MAP()
};

extern LayerApp theLayerApp;

class LayerTest : public ::testing::Test {
protected:
    LayerTest() {
        journal().clear();
        theLayerApp.idleCounts.clear();
    }
    ~LayerTest() override { theLayerApp.idleAnswer = nullptr; }

    LayerFrame& frame() const { return *static_cast<LayerFrame*>(host.mainWindow()); }

    platform::mfc::TestHost host;
};

}  // namespace test
