// KeyFeed.h: key presses and releases of every window of the program feed win32's key state,
// and the lock keys' states are kept for the status bar's indicators.
#pragma once

#include <functional>

namespace platform::mfc {

// Installs the feed on the running QApplication; once is enough, more calls do nothing. When
// the application loses the keyboard, the keys it saw go down are released: their releases go
// to another program.
void installKeyFeed();

// The locks as the keyboard has them lit.
struct LockStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};
// Reads the keyboard's lock states, such as the display server's indicators; false when it
// cannot. An empty function removes it.
using LockReader = std::function<bool(LockStates& locks)>;
void setLockReader(LockReader reader);

// Takes the lock states afresh: from the reader, or, without one (or when it fails), from the
// presses the program has seen, each toggling its lock, all off at the start. The frame's
// idle-time update calls it before it updates the indicators.
void refreshLockKeys();
// Caps Lock, Num Lock or Scroll Lock (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) was on at the last
// refresh.
bool lockKeyOn(int virtualKey) noexcept;

}  // namespace platform::mfc
