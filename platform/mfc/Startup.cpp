#include "mfc/Startup.h"

#include <clocale>

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

#include <afxwin.h>

#include "mfc/DisplayKeymap.h"
#include "mfc/IdleLoop.h"
#include "mfc/KeyFeed.h"
#include "mfc/Resources.h"
#include "mfc/WindowHost.h"
#include "win32/Backend.h"

namespace platform::mfc {

class AppAccess {
public:
    static void nameApplication(CWinApp& app) {
        if (app.appName_.empty()) app.appName_ = loadString(AFX_IDS_APP_TITLE);
        app.m_pszAppName = app.appName_.c_str();
    }
};

namespace {

QWidget* ownerWidget(HWND owner) {
    const WindowHost* host = WindowHost::fromHandle(owner);
    if (host && host->widget()) return host->widget()->window();
    return widgetOf(AfxGetMainWnd());
}

int presentMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    QMessageBox box(ownerWidget(owner));
    box.setWindowTitle(QString::fromUtf8(caption ? caption : ""));
    box.setText(QString::fromUtf8(text ? text : ""));
    if (type & MB_ICONERROR) box.setIcon(QMessageBox::Critical);
    const bool withCancel = (type & 0x0F) == MB_OKCANCEL;
    box.setStandardButtons(withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    int answer;
    {
        ModalScope modal;
        answer = box.exec();
    }
    return answer == QMessageBox::Cancel ? IDCANCEL : IDOK;
}

}  // namespace

void startUp(CWinApp& app) {
    // QApplication took the user's locale for every category; the program formats and parses
    // numbers with the C runtime, which must keep "FPS: 59.9" from becoming "FPS: 59,9".
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);  // the main frame's destruction ends it
    installKeyFeed();
    installDisplayKeymap();
    win32::setMessageBoxPresenter(presentMessageBox);
    win32::setCursorSource([] {
        const QPoint position = QCursor::pos();
        return POINT{position.x(), position.y()};
    });
    AppAccess::nameApplication(app);
    if (app.m_pszAppName) QCoreApplication::setApplicationName(QString::fromUtf8(app.m_pszAppName));
}

void shutDown() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    win32::setMessageBoxPresenter({});
    win32::setCursorSource({});
    removeDisplayKeymap();
}

int winMain(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    startUp(*app);
    int exitCode;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
        exitCode = app->ExitInstance();
    } else {
        exitCode = app->Run();
    }
    shutDown();
    return exitCode;
}

}  // namespace platform::mfc
