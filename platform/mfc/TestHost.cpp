#include "mfc/TestHost.h"

#include <cstdlib>

#include <QApplication>

#include "mfc/IdleLoop.h"
#include "mfc/Startup.h"

namespace platform::mfc {
namespace {

// Lives until the process ends and is never destroyed: Qt's own statics go first at exit, and
// a QApplication destroyed after them crashes.
QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a display set by the caller wins
        return new QApplication(argc, argv);
    }();
    return *application;
}

}  // namespace

TestHost::TestHost() : app_(AfxGetApp()) {
    qtApplication();
    startUp(*app_);
    noteMessage();
    started_ = app_->InitInstance() != FALSE;
    pump();
}

TestHost::~TestHost() {
    if (app_->m_pMainWnd) app_->m_pMainWnd->DestroyWindow();
    app_->ExitInstance();
    shutDown();
}

void TestHost::pump() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int TestHost::idle(int n) {
    int more = 0;
    for (int i = 0; i < n; ++i)
        if (runIdlePass(*app_)) ++more;
    return more;
}

}  // namespace platform::mfc
