// MainFrm.h: the main frame: the child view, a toolbar and a status bar. It offers every command
// to the view first, hands the keyboard focus on to the view and, once shown, has the view set
// up Direct3D.
#pragma once

#include <afxext.h>
#include <afxwin.h>

#include "ChildView.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)

public:
    CMainFrame();
    virtual ~CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

    void InitD3D();
    // One frame, then the input polls once more than 25 ms have passed since the last poll.
    void RunFrame();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CChildView m_wndView;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()
};
