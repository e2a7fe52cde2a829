#include "mfc/WindowClasses.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

#include <afxwin.h>

namespace platform::mfc {
namespace {

struct WindowClass {
    std::string name;
    UINT style;
};

// A deque keeps every name where it was, so the pointers handed out stay valid.
std::deque<WindowClass>& classes() {
    static std::deque<WindowClass> registered;
    return registered;
}

}  // namespace

UINT classStyleOf(LPCSTR className) noexcept {
    if (!className) return 0;
    for (const WindowClass& c : classes())
        if (c.name == className) return c.style;
    return 0;
}

}  // namespace platform::mfc

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                           HICON hIcon) {
    // Named after its arguments, as the class library names them, so equal requests share one.
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%x:%p:%p:%p", nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    auto& registered = platform::mfc::classes();
    for (const auto& c : registered)
        if (c.name == name) return c.name.c_str();
    registered.push_back({name, nClassStyle});
    return registered.back().name.c_str();
}
