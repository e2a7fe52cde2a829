#include "LayerFixture.h"

namespace test {

std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

namespace {

void note(const std::string& entry) { journal().push_back(entry); }

std::string at(const char* what, CPoint point) {
    return std::string(what) + " " + std::to_string(point.x) + "," + std::to_string(point.y);
}

constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};

}  // namespace

LayerApp theLayerApp;

BEGIN_MESSAGE_MAP(LayerView, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_COMMAND(kCmdEverywhere, &LayerView::OnEverywhere)
END_MESSAGE_MAP()

LayerView::~LayerView() { note("~view"); }

BOOL LayerView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.lpszClass = AfxRegisterWndClass(classStyle, nullptr, nullptr, nullptr);
    return TRUE;
}

void LayerView::OnPaint() {
    CPaintDC dc(this);
    ++paints;
}

void LayerView::OnSize(UINT, int cx, int cy) {
    note("size " + std::to_string(cx) + "x" + std::to_string(cy));
}

void LayerView::OnLButtonDown(UINT, CPoint point) { note(at("ldown", point)); }
void LayerView::OnLButtonUp(UINT, CPoint point) { note(at("lup", point)); }
void LayerView::OnLButtonDblClk(UINT, CPoint point) { note(at("ldbl", point)); }
void LayerView::OnRButtonDown(UINT, CPoint point) { note(at("rdown", point)); }
void LayerView::OnRButtonUp(UINT, CPoint point) { note(at("rup", point)); }
void LayerView::OnRButtonDblClk(UINT, CPoint point) { note(at("rdbl", point)); }
void LayerView::OnEverywhere() { note("view command"); }

IMPLEMENT_DYNAMIC(LayerFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(LayerFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_COMMAND(kCmdHandled, &LayerFrame::OnHandled)
    ON_COMMAND(kCmdDisabled, &LayerFrame::OnDisabled)
    ON_UPDATE_COMMAND_UI(kCmdDisabled, &LayerFrame::OnUpdateDisabled)
    ON_COMMAND(kCmdEverywhere, &LayerFrame::OnEverywhere)
END_MESSAGE_MAP()

LayerFrame::~LayerFrame() { note("~frame"); }

BOOL LayerFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_view.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int LayerFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_view.Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this,
                       AFX_IDW_PANE_FIRST))
        return -1;
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_toolBar.LoadToolBar(kFrameId))
        return -1;
    if (!m_status.Create(this) || !m_status.SetIndicators(kIndicators, 2)) return -1;
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);
    return 0;
}

void LayerFrame::OnSetFocus(CWnd*) { m_view.SetFocus(); }
void LayerFrame::OnHandled() { ++handled; }
void LayerFrame::OnDisabled() { note("disabled command ran"); }
void LayerFrame::OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
void LayerFrame::OnEverywhere() { note("frame command"); }

BEGIN_MESSAGE_MAP(LayerApp, CWinApp)
    ON_COMMAND(kCmdAppOnly, &LayerApp::OnAppOnly)
    ON_COMMAND(kCmdEverywhere, &LayerApp::OnEverywhere)
END_MESSAGE_MAP()

BOOL LayerApp::InitInstance() {
    auto* frame = new LayerFrame;
    m_pMainWnd = frame;
    if (!frame->LoadFrame(kFrameId)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return TRUE;
}

BOOL LayerApp::OnIdle(LONG lCount) {
    idleCounts.push_back(lCount);
    const BOOL base = CWinApp::OnIdle(lCount);
    return idleAnswer ? idleAnswer(lCount) : base;
}

void LayerApp::OnAppOnly() { note("app command"); }
void LayerApp::OnEverywhere() { note("app command"); }

}  // namespace test
