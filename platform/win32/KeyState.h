// KeyState.h: feeds the key state that GetAsyncKeyState reports. The window feeds presses and
// releases as they arrive; tests feed them directly. Where the display can tell which keys are
// down (X11's key map), a key map reader says so instead, read at most once per frame.
#pragma once

#include <bitset>
#include <functional>

namespace platform::win32 {

// Marks the key down and remembers that it went down since the last query.
void pressKey(int virtualKey) noexcept;
void releaseKey(int virtualKey) noexcept;
// Every key fed as down is up again, as when the program loses the keyboard; presses not yet
// queried still count once.
void releaseAllKeys() noexcept;
// Forgets every key: all up, no press pending, no key map read.
void resetKeyState() noexcept;

// One bit per virtual-key code: the key is down.
using KeyBits = std::bitset<256>;

// Reads the whole keyboard at once, such as the display server's key map, so that keys act
// whichever window has the focus. While one is installed it alone says which of the `covered`
// keys are down now (the fed state still speaks for the others), and a key that went down
// between two reads counts as pressed since the last query, as a fed press does.
struct KeyMapReader {
    // Fills `down`; false when the read failed (the last read then stands). Empty: no reader.
    std::function<bool(KeyBits& down)> read;
    // Asks for the next read ahead, when a frame starts, so that a display's answer is on its
    // way while the frame draws and read() need not wait for it. `afterPause`: frames stopped
    // since the last one (a modal loop ran, or idle passes stopped), so an answer asked for
    // before is stale. May be empty.
    std::function<void(bool afterPause)> request;
};
void setKeyMapReader(KeyMapReader reader, KeyBits covered = KeyBits().set());
// The key map read so far is stale: the next query reads it afresh. The idle loop calls it
// before each frame, so a frame reads the key map once however many keys it queries; with
// `afterPause` when frames stopped since the last.
void expireKeyMap(bool afterPause);

}  // namespace platform::win32
