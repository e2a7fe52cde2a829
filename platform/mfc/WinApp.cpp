// CWinApp: the one application object, its idle loop on Qt's event loop, and ID_APP_EXIT.
#include <QApplication>
#include <QTimer>

#include <afxwin.h>

#include "mfc/IdleLoop.h"

namespace {

CWinApp*& currentApp() {
    static CWinApp* app = nullptr;
    return app;
}

// Fires whenever the event queue is empty, while the loop wants idle calls.
QTimer*& idleTimer() {
    static QTimer* timer = nullptr;
    return timer;
}

void wakeIdleTimer() {
    if (QTimer* timer = idleTimer(); timer && !timer->isActive()) timer->start();
}

}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) {
    if (lpszAppName) {
        appName_ = lpszAppName;
        m_pszAppName = appName_.c_str();
    }
    currentApp() = this;
}

CWinApp::~CWinApp() {
    if (currentApp() == this) currentApp() = nullptr;
}

CWinApp* AfxGetApp() noexcept { return currentApp(); }

CWnd* AfxGetMainWnd() noexcept {
    CWinApp* app = currentApp();
    return app ? app->m_pMainWnd : nullptr;
}

void AfxEnableControlContainer(COccManager*) {}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    if (!m_pMainWnd) return ExitInstance();
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [this, &timer] {
        platform::mfc::runIdlePass(*this);
        if (!platform::mfc::idleWanted()) timer.stop();
    });
    idleTimer() = &timer;
    platform::mfc::setIdleWakeup(wakeIdleTimer);
    timer.start();
    QApplication::exec();
    platform::mfc::setIdleWakeup(nullptr);
    idleTimer() = nullptr;
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount > 0) return FALSE;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) frame->OnIdleUpdateCmdUI();
    return TRUE;
}

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
    registryKey_ = lpszRegistryKey ? lpszRegistryKey : "";
    m_pszRegistryKey = registryKey_.c_str();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}
