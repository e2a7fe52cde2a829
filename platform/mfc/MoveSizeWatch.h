// MoveSizeWatch.h: a move or resize of a top-level window that the user makes through the
// window manager runs as a modal loop: no idle calls, so no frame and no poll, until it ends.
// On X11 the program tells one by what the server says: a press inside the window that the
// manager grabs (its move modifier) takes the pointer from the window to the frame around it,
// and the server sends the window a crossing for that grab; a press on the decorated frame (its
// title bar or border) goes to the manager's own windows, so the pointer is sampled for a
// button going down there without the press reaching the program. The loop lasts until every
// button is up, or the manager's grab ends with the pointer back in the window. A move from
// the keyboard goes unseen, and where the display gives nothing to tell by (Wayland,
// offscreen) the frames go on.
#pragma once

#include <QWidget>

namespace platform::mfc {

// Watches the top-level window for as long as it exists; nothing off X11.
void watchWindowManagerDrags(QWidget& window);

}  // namespace platform::mfc
