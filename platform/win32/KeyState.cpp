#include "win32/KeyState.h"

#include <utility>

#include <windows.h>

namespace platform::win32 {
namespace {

constexpr int kKeyCount = static_cast<int>(KeyBits().size());
constexpr SHORT kDownBit = static_cast<SHORT>(0x8000);
constexpr SHORT kPressedBit = 0x0001;

struct KeyTable {
    KeyBits fedDown;
    KeyBits pressedSinceQuery;
    KeyMapReader reader;
    KeyBits covered;           // the keys the reader knows
    KeyBits keyMap;            // the reader's last read
    bool keyMapRead = false;   // keyMap holds a read at all
    bool keyMapFresh = false;  // ... made since the last expiry
};

KeyTable& keys() {
    static KeyTable table;
    return table;
}

bool inRange(int virtualKey) { return virtualKey >= 0 && virtualKey < kKeyCount; }

void readKeyMap(KeyTable& table) {
    table.keyMapFresh = true;
    KeyBits now;
    if (!table.reader.read(now)) return;
    // A key that went down since the last read was pressed, whichever window had the focus.
    now &= table.covered;
    if (table.keyMapRead) table.pressedSinceQuery |= now & ~table.keyMap;
    table.keyMap = now;
    table.keyMapRead = true;
}

}  // namespace

void pressKey(int virtualKey) noexcept {
    if (!inRange(virtualKey)) return;
    keys().fedDown.set(virtualKey);
    keys().pressedSinceQuery.set(virtualKey);
}

void releaseKey(int virtualKey) noexcept {
    if (!inRange(virtualKey)) return;
    keys().fedDown.reset(virtualKey);
}

void releaseAllKeys() noexcept { keys().fedDown.reset(); }

void resetKeyState() noexcept {
    KeyTable& table = keys();
    table.fedDown.reset();
    table.pressedSinceQuery.reset();
    table.keyMap.reset();
    table.keyMapRead = table.keyMapFresh = false;
}

void setKeyMapReader(KeyMapReader reader, KeyBits covered) {
    KeyTable& table = keys();
    table.reader = std::move(reader);
    table.covered = table.reader.read ? covered : KeyBits();
    table.keyMap.reset();
    table.keyMapRead = table.keyMapFresh = false;
}

void expireKeyMap(bool afterPause) {
    KeyTable& table = keys();
    table.keyMapFresh = false;
    if (table.reader.read && table.reader.request) table.reader.request(afterPause);
}

}  // namespace platform::win32

SHORT GetAsyncKeyState(int vKey) {
    using namespace platform::win32;
    if (!inRange(vKey)) return 0;
    KeyTable& table = keys();
    const bool covered = table.covered.test(vKey);
    if (covered && !table.keyMapFresh) readKeyMap(table);
    const bool down = covered ? table.keyMap.test(vKey) : table.fedDown.test(vKey);
    SHORT state = down ? kDownBit : SHORT{0};
    if (table.pressedSinceQuery.test(vKey)) state |= kPressedBit;
    table.pressedSinceQuery.reset(vKey);
    return state;
}
