// ViewAtSize.h: gives the running program's view a client area of exactly W x H and builds its
// device and scene again there, as start-up built them. The back buffer takes the view's client
// size when the device is made, and at start-up that is whatever share of the screen the frame
// got, so a benchmark at a chosen size has to make the device again.
#pragma once

class CMainFrame;

namespace bench {

// False, with the reason on standard error, when the view cannot be given the size or the
// device cannot be made at it.
bool rebuildViewAt(CMainFrame& frame, int width, int height);

// Waits until the frame window is on the screen (at once offscreen; on an X server once it is
// mapped and exposed); false after a few seconds without.
bool waitUntilShown(CMainFrame& frame);

}  // namespace bench
