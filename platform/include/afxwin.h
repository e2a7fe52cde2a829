// afxwin.h: the class library's window side as this program uses it: command targets with
// message maps and command routing, command-UI updates, windows, the frame window, the modal
// dialog, the paint context and the application object with its idle loop.
// Not here: documents and views, MDI, OLE, sockets, GDI drawing objects (CPaintDC only
// validates), menus and window classes beyond what the frame and the view ask for.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "afx.h"
#include "afxmsg_.h"
#include "afxres.h"
#include "atltypes.h"
#include "windows.h"

namespace platform::mfc {
class WindowHost;
class AppAccess;
}  // namespace platform::mfc

class CCmdUI;
class CControlBar;
class CWinApp;
class CWnd;
struct CCreateContext;
class COccManager;

// The frame window's style bit that appends the document's name to the title.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
// The view's style inside a frame: a visible bordered child.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    // Looks the command up in this object's message-map chain. CN_COMMAND calls the handler;
    // CN_UPDATE_COMMAND_UI calls the update handler with pExtra as the CCmdUI. With
    // pHandlerInfo the handler is only found, not called. TRUE when an entry took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of the map chain (most derived first) for a window message, or for a
    // command id with its notification code.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};

// What an update handler sets for one user-interface item: a menu item, a toolbar button, a
// status-bar pane. Each kind of item overrides the three setters.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    BOOL m_bEnableChanged = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(LPCSTR lpszText);

    // Asks the target's routing for an update handler; with bDisableIfNoHndler, an item that
    // no handler updated is enabled exactly when some handler takes the command.
    void DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    ~CWnd() override;

    // The window's handle while the window exists, else null. The device presents into it.
    HWND m_hWnd = nullptr;

    static CWnd* FromHandle(HWND hWnd);

    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Destroys the children first, then this window; OnNcDestroy and PostNcDestroy run last.
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const noexcept { return static_cast<int>(id_); }
    void GetClientRect(LPRECT lpRect) const;
    void SetWindowText(LPCSTR lpszString);
    std::string GetWindowText() const;
    DWORD GetStyle() const noexcept { return style_; }

    // Modal; the owner is this window. Returns the button that closed the box.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

    // The base handlers: each leaves the message to the default processing.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // What a message without a handler does: WM_CLOSE destroys the window; the rest nothing.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: a command from a menu (code 0) or an accelerator (code 1) whose update
    // handler disabled it is dropped; the rest go to OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called after the window is gone; a window object on the heap deletes itself here.
    virtual void PostNcDestroy();

    // Creates the window's widget; the frame, the bars and the dialog make their own kinds.
    virtual std::unique_ptr<platform::mfc::WindowHost> CreateHost(const CREATESTRUCT& cs);
    BOOL CreateFromStruct(CREATESTRUCT& cs, CWnd* pParentWnd, UINT nID);

    platform::mfc::WindowHost* host() const noexcept { return host_.get(); }

private:
    void detachChild(CWnd* child) noexcept;

    std::unique_ptr<platform::mfc::WindowHost> host_;
    CWnd* parent_ = nullptr;
    std::vector<CWnd*> children_;
    UINT id_ = 0;
    DWORD style_ = 0;
};

// Command routing and the frame's standard commands: the View menu's bar toggles with their
// check marks, the lock-key indicators, ID_APP_EXIT through the application.
class CFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame window with the title (string nIDResource up to its first line feed),
    // the menu and the accelerator table of nIDResource, at the platform's default place and
    // size (about three quarters of the screen's available area).
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The frame's own map, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void EnableDocking(DWORD dwDockStyle);
    // Docks the bar on the side of its own alignment (nDockBarID 0; other dock bars are not
    // offered), movable to the sides both it and the frame allow, and floatable.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay = FALSE);
    CControlBar* GetControlBar(UINT nID) const;

    // The status bar's message pane: the idle text, or a command's prompt (its string up to
    // the line feed; blank for a command with no string).
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    static std::string GetMessageString(UINT nID);

    // Runs the command-UI update of the menu and of every control bar.
    void OnIdleUpdateCmdUI();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

protected:
    void PostNcDestroy() override;
    std::unique_ptr<platform::mfc::WindowHost> CreateHost(const CREATESTRUCT& cs) override;
    DECLARE_MESSAGE_MAP()

private:
    UINT resourceId_ = 0;
    DWORD dockStyle_ = 0;  // the sides where bars may dock (CBRS_ALIGN_*)
};

struct CDataExchange {
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) noexcept
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// A modal dialog from a dialog template. DoModal runs its own loop: the application's idle
// calls stop until the dialog ends. With no parent, the main frame owns it.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // IDOK or IDCANCEL as the dialog ended; -1 when the template is missing.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // The close box, and Escape, end the dialog as Cancel does.
    afx_msg void OnClose();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    std::unique_ptr<platform::mfc::WindowHost> CreateHost(const CREATESTRUCT& cs) override;
    DECLARE_MESSAGE_MAP()

private:
    UINT templateId_;
    CWnd* parentWnd_;
};

// The device context of WM_PAINT. Constructing it validates the window's update region; the
// layer offers no GDI drawing.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC();

    HDC m_hDC = nullptr;
};

// The application. Exactly one object exists; its constructor makes it what AfxGetApp returns.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // The application's name: the constructor's, or else the string AFX_IDS_APP_TITLE,
    // read at start-up.
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // The message loop: while no message waits, OnIdle(lCount) with lCount counting up from 0
    // as long as it returns non-zero; after a message, lCount starts again at 0. Returns when
    // the main window has been destroyed.
    virtual int Run();
    // At lCount 0, the command-UI update of the main window; asks for more idle time only then.
    virtual BOOL OnIdle(LONG lCount);
    virtual int ExitInstance();

    // Kept for the profile; the layer stores no settings.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    BOOL Enable3dControls() noexcept { return TRUE; }

    afx_msg void OnAppExit();

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend class platform::mfc::AppAccess;
    std::string appName_;
    std::string registryKey_;
};

CWinApp* AfxGetApp() noexcept;
CWnd* AfxGetMainWnd() noexcept;
void AfxEnableControlContainer(COccManager* pOccManager = nullptr);

// A window class for the given class style, cursor, background and icon. The same arguments
// give the same name; the name stays valid for the life of the program.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                           HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
