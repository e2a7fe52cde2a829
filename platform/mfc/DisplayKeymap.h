// DisplayKeymap.h: on X11 the keyboard's state comes from the display server: win32's key state
// reads its key map (one request a frame, answered while the frame before draws), so the polled
// keys act whichever window has the focus, and the lock panes follow its lock indicators
// (DisplayIndicators.h).
// Elsewhere (offscreen, Wayland) the windows' own key events are the only source.
#pragma once

namespace platform::mfc {

// Installs both readers when the running QGuiApplication is on X11; does nothing otherwise.
void installDisplayKeymap();
// Removes them; before the display connection goes with the QGuiApplication.
void removeDisplayKeymap();

}  // namespace platform::mfc
