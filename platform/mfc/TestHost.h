// TestHost.h: runs the program's application object inside a test, as the entry point does,
// without handing it the event loop. Construction makes the QApplication (on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise; one per process, kept for later hosts), gives
// the application its name and runs InitInstance. The test then drives the program:
//   pump()    delivers the events waiting (input, layout, paint); a message among them sets
//             the idle count back to 0, as in Run;
//   idle(n)   makes n idle passes, each exactly Run's: OnIdle(lCount) with the count, which
//             then counts up; passes stop, as in Run, once OnIdle returns FALSE, until a
//             message; none run while a modal loop is open or once the main window is gone;
// Destruction destroys the main frame if it is still there (its object deletes itself and its
// members' destructors run), calls ExitInstance and deletes the widgets left behind.
// One host at a time; the application object is the program's global one (AfxGetApp).
#pragma once

#include <memory>

#include <afxwin.h>

namespace platform::mfc {

class TestHost {
public:
    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // What InitInstance returned.
    bool started() const noexcept { return started_; }
    CWinApp& app() const noexcept { return *app_; }
    // The application's main window, or null once it has been destroyed.
    CWnd* mainWindow() const noexcept { return app_->m_pMainWnd; }

    void pump();
    // Returns how many of the n passes OnIdle asked for more (returned non-zero).
    int idle(int n);

private:
    CWinApp* app_;
    bool started_ = false;
};

}  // namespace platform::mfc
