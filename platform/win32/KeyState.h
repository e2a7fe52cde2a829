// KeyState.h: feeds the key state that GetAsyncKeyState reports. The window feeds presses and
// releases as they arrive; tests feed them directly.
#pragma once

#include <functional>

namespace platform::win32 {

// Marks the key down and remembers that it went down since the last query.
void pressKey(int virtualKey) noexcept;
void releaseKey(int virtualKey) noexcept;
// Forgets every key: all up, no press pending.
void resetKeyState() noexcept;

// An outside source of "is the key down now", such as the display server's key map, so that keys
// act whichever window has the focus. Consulted on each query besides the fed state; an empty
// function removes it.
using KeyDownSource = std::function<bool(int virtualKey)>;
void setKeyDownSource(KeyDownSource source);

}  // namespace platform::win32
