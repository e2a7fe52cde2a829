#include "mfc/DisplayKeymap.h"

#include <QGuiApplication>

#include <windows.h>

#include "win32/KeyState.h"

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: it comes after every Qt header.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform::mfc {
namespace {

struct KeySymPair {
    int vk;
    KeySym sym;
};

constexpr KeySymPair kNamedKeys[] = {
    {VK_BACK, XK_BackSpace}, {VK_TAB, XK_Tab},       {VK_RETURN, XK_Return},
    {VK_SHIFT, XK_Shift_L},  {VK_CONTROL, XK_Control_L}, {VK_MENU, XK_Alt_L},
    {VK_ESCAPE, XK_Escape},  {VK_SPACE, XK_space},   {VK_LEFT, XK_Left},
    {VK_UP, XK_Up},          {VK_RIGHT, XK_Right},   {VK_DOWN, XK_Down},
};

KeySym keySymOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + (virtualKey - '0');
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return XK_KP_0 + (virtualKey - VK_NUMPAD0);
    for (const KeySymPair& pair : kNamedKeys)
        if (pair.vk == virtualKey) return pair.sym;
    return NoSymbol;
}

bool keyDown(Display* display, int virtualKey) {
    const KeySym sym = keySymOf(virtualKey);
    if (sym == NoSymbol) return false;
    const KeyCode code = XKeysymToKeycode(display, sym);
    if (code == 0) return false;
    char keys[32];
    XQueryKeymap(display, keys);
    return (keys[code / 8] >> (code % 8)) & 1;
}

}  // namespace

void installDisplayKeymap() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return;
    win32::setKeyDownSource([display](int virtualKey) { return keyDown(display, virtualKey); });
}

void removeDisplayKeymap() { win32::setKeyDownSource({}); }

}  // namespace platform::mfc
