#include "MainFrm.h"

#include <mmsystem.h>

#include "resource.h"

namespace {

const UINT kIndicators[] = {
    ID_SEPARATOR,  // the message pane
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};

constexpr float kPollInterval = 25.0f;  // ms; the difference must exceed it

}  // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {}

CMainFrame::~CMainFrame() {}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;

    if (!m_wndView.Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this,
                          AFX_IDW_PANE_FIRST, nullptr)) {
        AfxTrace("%s", "Failed to create view window\n");
        return -1;
    }
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        AfxTrace("%s", "Failed to create toolbar\n");
        return -1;
    }
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof kIndicators / sizeof(UINT))) {
        AfxTrace("%s", "Failed to create status bar\n");
        return -1;
    }

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar, 0, nullptr);
    return 0;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, nullptr);
    return TRUE;
}

void CMainFrame::AssertValid() const { CFrameWnd::AssertValid(); }

void CMainFrame::Dump(CDumpContext& dc) const { CFrameWnd::Dump(dc); }

void CMainFrame::OnSetFocus(CWnd*) { m_wndView.SetFocus(); }

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_wndView.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::InitD3D() {
    m_wndView.InitD3D(m_wndView.m_hWnd);
    m_wndView.InitView();
}

void CMainFrame::RunFrame() {
    static float s_fLastInputTime = static_cast<float>(timeGetTime());
    const float now = static_cast<float>(timeGetTime());
    m_wndView.Render();
    // A reading below the last poll's means the clock wrapped at 2^32 ms: that is time elapsed.
    if (now < s_fLastInputTime || now - s_fLastInputTime > kPollInterval) {
        m_wndView.ProcessKeyboard();
        m_wndView.ProcessMouse();
        s_fLastInputTime = now;
    }
}
