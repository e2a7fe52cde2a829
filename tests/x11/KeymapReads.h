// KeymapReads.h: counts the program's reads of the display's key map. The suite's executable
// defines xcb_query_keymap itself, ahead of libxcb's, counts each call per connection and hands
// it on. Only the program's calls are counted: it is linked into the executable, Qt's own
// libraries are not.
#pragma once

struct xcb_connection_t;

namespace test::x11 {

// Key map requests on this connection since the process started.
long keymapReads(xcb_connection_t* connection);

}  // namespace test::x11
