// DisplayKeymap.h: on X11, win32's key-down source reads the display server's keymap, so the
// polled keys act whichever window has the focus. Elsewhere (offscreen, Wayland) the windows'
// own key events are the only source.
#pragma once

namespace platform::mfc {

// Installs the source when the running QGuiApplication is on X11; does nothing otherwise.
void installDisplayKeymap();
// Removes it; before the display connection goes with the QGuiApplication.
void removeDisplayKeymap();

}  // namespace platform::mfc
