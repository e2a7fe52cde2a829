// DisplayIndicators.h: the keyboard's lock indicators as the X server lights them, for the
// status bar's lock panes. They are read once, then followed through the server's indicator
// events as Qt delivers them, so that refreshing the panes at idle time asks the server nothing;
// a lock's change restarts the idle count, as a message does, so that they are refreshed.
#pragma once

struct _XDisplay;

namespace platform::mfc {

// Installs KeyFeed's lock reader on the display when its server has the keyboard extension;
// does nothing otherwise.
void installDisplayIndicators(_XDisplay* display);
// Removes it; before the display connection goes with the QGuiApplication.
void removeDisplayIndicators();

}  // namespace platform::mfc
