// IdleLoop.h: the state of CWinApp::Run's idle processing, shared by the loop, the windows
// (whose messages restart the idle count) and the modal loops (which suspend idle calls).
#pragma once

#include <windows.h>

class CWinApp;

namespace platform::mfc {

// A message arrived: the next idle call gets lCount 0, and idle calls resume if OnIdle had
// asked for none.
void noteMessage() noexcept;

// One idle pass as Run makes it: OnIdle(lCount) with the current count, which then counts up.
// Returns what OnIdle returned; FALSE also stops idle passes until the next message. Does
// nothing and returns FALSE while a modal loop runs, idle calls are stopped, or the main window
// is gone (the loop has ended then).
BOOL runIdlePass(CWinApp& app);
// TRUE while Run would call OnIdle as soon as the queue is empty.
bool idleWanted() noexcept;

// Marks a modal loop (dialog, message box, open menu, a move or resize through the window
// manager) for its lifetime: no idle calls meanwhile; the loop's end counts as a message.
class ModalScope {
public:
    ModalScope() noexcept;
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    static bool active() noexcept;
};

// Called when the idle state changes, so the loop's timer can start again.
void setIdleWakeup(void (*wakeup)()) noexcept;

}  // namespace platform::mfc
