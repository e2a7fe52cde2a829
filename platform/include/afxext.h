// afxext.h: the frame's control bars: the toolbar (buttons from a toolbar resource with its
// bitmap) and the status bar (a message pane and indicator panes). Bars dock on any side of
// their frame and float; a bar's child id is the View-menu command that toggles it.
// No dialog bars, rebars or splitters.
#pragma once

#include <vector>

#include "afxwin.h"

// Toolbar control style: flat buttons.
constexpr DWORD TBSTYLE_FLAT = 0x0800;

class CControlBar : public CWnd {
public:
    // The sides the bar may dock on (CBRS_ALIGN_*); 0 keeps it where it is.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetBarStyle() const noexcept { return barStyle_; }
    DWORD GetDockingStyle() const noexcept { return dockStyle_; }

    // Updates every item of the bar through pTarget's routing.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

protected:
    CFrameWnd* ParentFrame() const;
    BOOL CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    DWORD barStyle_ = 0;
    DWORD dockStyle_ = 0;
};

class CToolBar : public CControlBar {
public:
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);
    // Buttons from the toolbar resource, images from the bitmap of the same id; each button's
    // tooltip is its command string's text after the line feed. FALSE when either is missing.
    BOOL LoadToolBar(UINT nIDResource);

    // The command of the button at nIndex (ID_SEPARATOR for a separator), in resource order.
    UINT GetItemID(int nIndex) const;
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    std::unique_ptr<platform::mfc::WindowHost> CreateHost(const CREATESTRUCT& cs) override;

private:
    std::vector<UINT> items_;
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // Pane 0 is the message pane when its id is ID_SEPARATOR; each other pane shows its id's
    // string while its update handler enables it and is blank otherwise.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    std::string GetPaneText(int nIndex) const;
    void SetPaneText(int nIndex, LPCSTR lpszNewText);

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    std::unique_ptr<platform::mfc::WindowHost> CreateHost(const CREATESTRUCT& cs) override;

private:
    std::vector<UINT> panes_;
};
