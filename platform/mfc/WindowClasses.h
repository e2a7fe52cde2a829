// WindowClasses.h: the window classes AfxRegisterWndClass has registered.
#pragma once

#include <windows.h>

namespace platform::mfc {

// The class style of a registered class name; 0 for a name never registered (or null).
UINT classStyleOf(LPCSTR className) noexcept;

}  // namespace platform::mfc
