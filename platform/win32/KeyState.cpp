#include "win32/KeyState.h"

#include <array>
#include <utility>

#include <windows.h>

namespace platform::win32 {
namespace {

constexpr int kKeyCount = 256;
constexpr SHORT kDownBit = static_cast<SHORT>(0x8000);
constexpr SHORT kPressedBit = 0x0001;

struct KeyTable {
    std::array<bool, kKeyCount> down{};
    std::array<bool, kKeyCount> pressedSinceQuery{};
    KeyDownSource outsideSource;
};

KeyTable& keys() {
    static KeyTable table;
    return table;
}

bool inRange(int virtualKey) { return virtualKey >= 0 && virtualKey < kKeyCount; }

}  // namespace

void pressKey(int virtualKey) noexcept {
    if (!inRange(virtualKey)) return;
    keys().down[virtualKey] = true;
    keys().pressedSinceQuery[virtualKey] = true;
}

void releaseKey(int virtualKey) noexcept {
    if (!inRange(virtualKey)) return;
    keys().down[virtualKey] = false;
}

void resetKeyState() noexcept {
    keys().down.fill(false);
    keys().pressedSinceQuery.fill(false);
}

void setKeyDownSource(KeyDownSource source) { keys().outsideSource = std::move(source); }

}  // namespace platform::win32

SHORT GetAsyncKeyState(int vKey) {
    using namespace platform::win32;
    if (!inRange(vKey)) return 0;
    KeyTable& table = keys();
    const bool down = table.down[vKey] || (table.outsideSource && table.outsideSource(vKey));
    SHORT state = down ? kDownBit : SHORT{0};
    if (table.pressedSinceQuery[vKey]) state |= kPressedBit;
    table.pressedSinceQuery[vKey] = false;
    return state;
}
