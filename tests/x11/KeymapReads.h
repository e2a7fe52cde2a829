// KeymapReads.h: counts the program's reads of the display's key map. The suite's executable
// defines XQueryKeymap itself, ahead of Xlib's, counts each call per connection and hands it on.
#pragma once

struct _XDisplay;

namespace test::x11 {

// Calls of XQueryKeymap on this connection since the process started.
long keymapReads(_XDisplay* display);

}  // namespace test::x11
