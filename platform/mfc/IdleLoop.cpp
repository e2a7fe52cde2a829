#include "mfc/IdleLoop.h"

#include <utility>

#include <afxwin.h>

#include "win32/KeyState.h"

namespace platform::mfc {
namespace {

struct IdleState {
    LONG count = 0;
    bool wanted = true;
    int modalDepth = 0;
    bool paused = true;  // frames stopped since the last pass: a modal loop ran, or idle did
    void (*wakeup)() = nullptr;
};

IdleState& state() {
    static IdleState instance;
    return instance;
}

void wake() {
    if (state().wakeup) state().wakeup();
}

}  // namespace

void noteMessage() noexcept {
    IdleState& s = state();
    s.count = 0;
    if (!s.wanted) {
        s.wanted = true;
        wake();
    }
}

BOOL runIdlePass(CWinApp& app) {
    IdleState& s = state();
    // Without a main window the loop has ended: no idle call may come after it.
    if (!s.wanted || s.modalDepth > 0 || !app.m_pMainWnd) return FALSE;
    // Each pass is a frame: its key queries share one read of the display's key map.
    win32::expireKeyMap(std::exchange(s.paused, false));
    const BOOL more = app.OnIdle(s.count++);
    if (!more) {
        s.wanted = false;
        s.paused = true;
    }
    return more;
}

bool idleWanted() noexcept { return state().wanted && state().modalDepth == 0; }

ModalScope::ModalScope() noexcept {
    ++state().modalDepth;
    state().paused = true;
}

ModalScope::~ModalScope() {
    --state().modalDepth;
    noteMessage();
    wake();
}

bool ModalScope::active() noexcept { return state().modalDepth > 0; }

void setIdleWakeup(void (*wakeup)()) noexcept { state().wakeup = wakeup; }

}  // namespace platform::mfc
