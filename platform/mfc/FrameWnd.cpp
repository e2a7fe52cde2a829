// CFrameWnd: LoadFrame from the frame's resources, the docking of its bars, the View menu's
// bar toggles, the lock-key indicators, the message pane, and routing on to the application.
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QToolBar>

#include <afxext.h>
#include <afxwin.h>

#include "mfc/FrameHost.h"
#include "mfc/KeyFeed.h"
#include "mfc/Resources.h"

using platform::mfc::FrameHost;
using platform::mfc::WindowHost;

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SETFOCUS()
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
END_MESSAGE_MAP()

namespace {

constexpr int kDefaultShare = 3;  // of kDefaultParts of the screen's available width and height
constexpr int kDefaultParts = 4;

Qt::ToolBarAreas areasOf(DWORD alignStyle) {
    Qt::ToolBarAreas areas;
    if (alignStyle & CBRS_ALIGN_TOP) areas |= Qt::TopToolBarArea;
    if (alignStyle & CBRS_ALIGN_BOTTOM) areas |= Qt::BottomToolBarArea;
    if (alignStyle & CBRS_ALIGN_LEFT) areas |= Qt::LeftToolBarArea;
    if (alignStyle & CBRS_ALIGN_RIGHT) areas |= Qt::RightToolBarArea;
    return areas;
}

}  // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext*) {
    resourceId_ = nIDResource;
    std::string title = platform::mfc::loadString(nIDResource);
    title = title.substr(0, title.find('\n'));  // the string's first part is the window's title
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(dwDefaultStyle);
    cs.lpszName = title.c_str();
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    // On failure the frame has been destroyed, and deleted itself: touch nothing after.
    return CreateFromStruct(cs, pParentWnd, 0);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

std::unique_ptr<WindowHost> CFrameWnd::CreateHost(const CREATESTRUCT& cs) {
    WindowHost* parent = WindowHost::fromHandle(cs.hwndParent);
    auto* window = new QMainWindow(parent ? parent->widget() : nullptr);
    window->setDockOptions(QMainWindow::AnimatedDocks);
    if (cs.cx == CW_USEDEFAULT) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window->resize(area.width() * kDefaultShare / kDefaultParts,
                           area.height() * kDefaultShare / kDefaultParts);
        }
    } else {
        window->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    }
    auto host = std::make_unique<FrameHost>(*this, window);
    host->loadMenu(resourceId_);
    host->loadAccelerators(resourceId_);
    return host;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT) { return 0; }

void CFrameWnd::OnClose() { DestroyWindow(); }

void CFrameWnd::OnSetFocus(CWnd*) {}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::EnableDocking(DWORD dwDockStyle) { dockStyle_ = dwDockStyle & CBRS_ALIGN_ANY; }

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT) {
    auto* frameHost = static_cast<FrameHost*>(host());
    auto* toolBar = qobject_cast<QToolBar*>(platform::mfc::widgetOf(pBar));
    if (!frameHost || !frameHost->window() || !toolBar) return;
    // Dock bar 0 is the side of the bar's own alignment, the only one the layer offers.
    if (nDockBarID != 0) return;
    const DWORD allowed = pBar->GetDockingStyle() & dockStyle_;
    toolBar->setAllowedAreas(areasOf(allowed));
    toolBar->setMovable(allowed != 0);
    toolBar->setFloatable(allowed != 0);
    frameHost->window()->addToolBar(platform::mfc::toolBarAreaOf(pBar->GetBarStyle()), toolBar);
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
    if (QWidget* bar = platform::mfc::widgetOf(pBar)) bar->setVisible(bShow != FALSE);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    return dynamic_cast<CControlBar*>(GetDlgItem(static_cast<int>(nID)));
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    QWidget* widget = platform::mfc::widgetOf(bar);
    if (!widget) return FALSE;
    ShowControlBar(bar, widget->isHidden());
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    QWidget* widget = platform::mfc::widgetOf(GetControlBar(pCmdUI->m_nID));
    if (!widget) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(widget->isHidden() ? 0 : 1);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int key = 0;
    switch (pCmdUI->m_nID) {
        case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
        case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
        case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
        default: break;
    }
    pCmdUI->Enable(platform::mfc::lockKeyOn(key));
}

std::string CFrameWnd::GetMessageString(UINT nID) {
    const std::string text = platform::mfc::loadString(nID);
    return text.substr(0, text.find('\n'));  // the prompt; the tooltip follows the line feed
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) {
    auto* statusBar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR));
    if (statusBar) statusBar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) {
    const std::string text = nID == AFX_IDS_IDLEMESSAGE ? platform::mfc::loadString(nID)
                                                        : GetMessageString(nID);
    SetMessageText(text.c_str());
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (!m_hWnd) return;
    static_cast<FrameHost*>(host())->updateMenu();
    platform::mfc::refreshLockKeys();
    for (UINT id : {AFX_IDW_TOOLBAR, AFX_IDW_STATUS_BAR})
        if (CControlBar* bar = GetControlBar(id)) bar->OnUpdateCmdUI(this, TRUE);
}
