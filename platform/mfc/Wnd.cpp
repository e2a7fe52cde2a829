// CWnd: creation through PreCreateWindow and WM_CREATE, message dispatch through the map,
// destruction children first, and the window calls the program makes.
#include <algorithm>

#include <QApplication>
#include <QWidget>

#include <afxwin.h>

#include "mfc/WindowClasses.h"
#include "mfc/WindowHost.h"

using platform::mfc::WindowHost;

const CRuntimeClass CWnd::classCWnd = {"CWnd", sizeof(CWnd), 0xFFFF, RUNTIME_CLASS(CCmdTarget)};

const CRuntimeClass* CWnd::GetRuntimeClass() const { return RUNTIME_CLASS(CWnd); }

CWnd::CWnd() = default;

CWnd::~CWnd() {
    // A window object that goes before its window takes the window with it.
    if (host_) host_->releaseWidget();
    m_hWnd = nullptr;
    for (CWnd* child : children_) child->parent_ = nullptr;
    if (parent_) parent_->detachChild(this);
}

void CWnd::detachChild(CWnd* child) noexcept {
    std::erase(children_, child);
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    WindowHost* host = WindowHost::fromHandle(hWnd);
    return host ? host->owner() : nullptr;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext*) {
    CREATESTRUCT cs{};
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
    return CreateFromStruct(cs, pParentWnd, nID);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    return TRUE;
}

std::unique_ptr<WindowHost> CWnd::CreateHost(const CREATESTRUCT& cs) {
    WindowHost* parent = WindowHost::fromHandle(cs.hwndParent);
    auto* widget = new QWidget(parent ? parent->widget() : nullptr);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->setMouseTracking(true);
    if (parent) widget->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    auto host = std::make_unique<WindowHost>(*this, widget);
    host->setPaintsFrames(true);
    return host;
}

BOOL CWnd::CreateFromStruct(CREATESTRUCT& cs, CWnd* pParentWnd, UINT nID) {
    if (m_hWnd) return FALSE;
    if (!PreCreateWindow(cs)) return FALSE;
    auto host = CreateHost(cs);
    if (!host || !host->widget()) return FALSE;
    host->setClassStyle(platform::mfc::classStyleOf(cs.lpszClass));
    host_ = std::move(host);
    m_hWnd = host_.get();
    id_ = nID;
    style_ = static_cast<DWORD>(cs.style);
    parent_ = pParentWnd;
    if (cs.lpszName) SetWindowText(cs.lpszName);
    if (pParentWnd) {
        pParentWnd->children_.push_back(this);
        pParentWnd->host_->adoptChild(*this, nID);
    }
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if ((style_ & WS_CHILD) && (style_ & WS_VISIBLE)) host_->widget()->show();
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    SendMessage(WM_DESTROY);
    std::vector<CWnd*> children = children_;
    for (CWnd* child : children) child->DestroyWindow();
    host_->releaseWidget();
    m_hWnd = nullptr;
    if (parent_) parent_->detachChild(this);
    parent_ = nullptr;
    OnNcDestroy();  // may delete this
    return TRUE;
}

void CWnd::OnNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The main window is gone: the message loop ends.
        app->m_pMainWnd = nullptr;
        QCoreApplication::quit();
    }
    PostNcDestroy();
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        *pResult = 0;
        return OnCommand(wParam, lParam);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (!entry) return FALSE;
    AFX_MSGCALL call{message, wParam, lParam, nullptr, 0};
    if (!entry->pfn(this, call)) return FALSE;
    *pResult = call.lResult;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow();
    return 0;
}

namespace {

// The enabled state an update handler gives a command before it is carried out.
class CommandEnabledTest final : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        enabled = bOn != FALSE;
    }
    bool enabled = true;
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == 0 || code == 1) {
        CommandEnabledTest test;
        test.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &test, nullptr);
        if (!test.enabled) return TRUE;
    }
    return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    QWidget* widget = platform::mfc::widgetOf(this);
    if (!widget) return FALSE;
    const BOOL wasVisible = widget->isVisible();
    if (nCmdShow == SW_HIDE) {
        widget->hide();
    } else {
        widget->show();
        if (widget->isWindow()) widget->activateWindow();
    }
    return wasVisible;
}

void CWnd::UpdateWindow() {
    QWidget* widget = platform::mfc::widgetOf(this);
    if (!widget || !widget->isVisible()) return;
    // Lay the window out now, so its panes have their sizes before anything asks for them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    widget->repaint();
}

BOOL CWnd::IsWindowVisible() const {
    const QWidget* widget = platform::mfc::widgetOf(this);
    return widget && widget->isVisible();
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (QWidget* widget = platform::mfc::widgetOf(this)) widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    WindowHost* host = WindowHost::fromWidget(QApplication::focusWidget());
    return host ? host->owner() : nullptr;
}

CWnd* CWnd::GetParent() const { return parent_; }

CWnd* CWnd::GetDlgItem(int nID) const {
    for (CWnd* child : children_)
        if (child->GetDlgCtrlID() == nID) return child;
    return nullptr;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (!lpRect) return;
    const SIZE size = host_ && m_hWnd ? host_->clientSize() : SIZE{0, 0};
    *lpRect = RECT{0, 0, size.cx, size.cy};
}

void CWnd::SetWindowText(LPCSTR lpszString) {
    if (QWidget* widget = platform::mfc::widgetOf(this))
        widget->setWindowTitle(QString::fromUtf8(lpszString ? lpszString : ""));
}

std::string CWnd::GetWindowText() const {
    const QWidget* widget = platform::mfc::widgetOf(this);
    return widget ? widget->windowTitle().toStdString() : std::string();
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    if (!lpszCaption) {
        const CWinApp* app = AfxGetApp();
        lpszCaption = app && app->m_pszAppName ? app->m_pszAppName : "";
    }
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::AssertValid() const {
    CCmdTarget::AssertValid();
    ASSERT(!m_hWnd || WindowHost::fromHandle(m_hWnd) != nullptr);
}

void CWnd::Dump(CDumpContext& dc) const {
    CCmdTarget::Dump(dc);
    dc << "m_hWnd = " << static_cast<const void*>(m_hWnd) << "\n";
}

int CWnd::OnCreate(LPCREATESTRUCT) { return 0; }
void CWnd::OnDestroy() {}
void CWnd::OnClose() { DefWindowProc(WM_CLOSE, 0, 0); }
void CWnd::OnPaint() {}
void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnSetFocus(CWnd*) {}
void CWnd::OnKillFocus(CWnd*) {}
void CWnd::OnMouseMove(UINT, CPoint) {}
void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnLButtonDblClk(UINT, CPoint) {}
void CWnd::OnRButtonDown(UINT, CPoint) {}
void CWnd::OnRButtonUp(UINT, CPoint) {}
void CWnd::OnRButtonDblClk(UINT, CPoint) {}
