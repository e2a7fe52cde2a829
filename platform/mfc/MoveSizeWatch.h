// MoveSizeWatch.h: a move or resize of a top-level window that the user makes through the
// window manager runs as a modal loop: no idle calls, so no frame and no poll, until it ends.
// On X11 the program tells one from the pointer: a button goes down over the window's
// decorated frame (its title bar or border, or anywhere with the manager's move modifier)
// without the press reaching the program, which means the manager took it; the loop lasts
// until every button is up. A move from the keyboard goes unseen, and where the display gives
// nothing to tell by (Wayland, offscreen) the frames go on.
#pragma once

#include <QWidget>

namespace platform::mfc {

// Watches the top-level window for as long as it exists; nothing off X11.
void watchWindowManagerDrags(QWidget& window);

}  // namespace platform::mfc
