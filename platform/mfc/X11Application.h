// X11Application.h: the running application's side on X11 (its Xlib display and xcb
// connection), for the parts of the shell that talk to the display server themselves. Null off
// X11 (offscreen, native Wayland) and before the application exists.
#pragma once

#include <QGuiApplication>

namespace platform::mfc {

inline QNativeInterface::QX11Application* x11Application() noexcept {
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

}  // namespace platform::mfc
