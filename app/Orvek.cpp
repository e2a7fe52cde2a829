#include "Orvek.h"

#include "MainFrm.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(COrvekApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &COrvekApp::OnAppAbout)
END_MESSAGE_MAP()

COrvekApp::COrvekApp() {}

COrvekApp theApp;

BOOL COrvekApp::InitInstance() {
    AfxEnableControlContainer(nullptr);
    Enable3dControls();
    SetRegistryKey("Local AppWizard-Generated Applications");

    auto* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr,
                           nullptr)) {
        // A frame that could not be made has been destroyed with its window: nothing to show.
        m_pMainWnd = nullptr;
        return FALSE;
    }
    pFrame->ShowWindow(SW_SHOW);
    pFrame->UpdateWindow();
    pFrame->InitD3D();
    return TRUE;
}

BOOL COrvekApp::OnIdle(LONG lCount) {
    CWinApp::OnIdle(lCount);
    static_cast<CMainFrame*>(m_pMainWnd)->RunFrame();
    return TRUE;
}

void COrvekApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
