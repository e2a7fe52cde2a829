// DisplayReads.h: counts the program's reads of the display's key map, of the pointer and of
// the keyboard's indicators. The suite's executable defines xcb_query_keymap, XQueryPointer and
// XkbGetIndicatorState itself, ahead of libxcb's and Xlib's, counts each call per connection and
// hands it on. Only the program's calls are
// counted: it is linked into the executable, Qt's own libraries are not.
#pragma once

struct xcb_connection_t;
struct _XDisplay;

namespace test::x11 {

// Key map requests on this connection since the process started.
long keymapReads(xcb_connection_t* connection);
// Pointer queries on this display since the process started.
long pointerQueries(_XDisplay* display);
// Indicator state reads on this display since the process started.
long indicatorReads(_XDisplay* display);

}  // namespace test::x11
