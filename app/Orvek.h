// Orvek.h: the application object, which starts the program and hands the message loop's idle
// time to the frame loop, and the About box.
#pragma once

#include <afxwin.h>

class COrvekApp : public CWinApp {
public:
    COrvekApp();

    BOOL InitInstance() override;
    // Runs one frame and always asks for more idle time: frames follow each other uncapped.
    BOOL OnIdle(LONG lCount) override;

    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};

extern COrvekApp theApp;
