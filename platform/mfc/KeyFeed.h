// KeyFeed.h: key presses and releases of every window of the program feed win32's key state,
// and the lock keys' toggles are tracked for the status bar's indicators.
#pragma once

namespace platform::mfc {

// Installs the feed on the running QApplication; once is enough, more calls do nothing.
void installKeyFeed();
// Caps Lock, Num Lock or Scroll Lock (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) is on: each press
// seen toggles it; all start off.
bool lockKeyOn(int virtualKey) noexcept;

}  // namespace platform::mfc
