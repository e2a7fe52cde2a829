// VirtualKeys.h: between Qt's key codes and the platform's virtual-key codes. The keypad's
// digits and operators are keys of their own; shifted main-row symbols are their digit keys.
#pragma once

namespace platform::mfc {

// The virtual key of a Qt key; 0 for keys the platform has no code for.
int virtualKeyOf(int qtKey, bool keypad) noexcept;
// The Qt key of a virtual key (main-row digits, not the keypad's); 0 when there is none.
int qtKeyOf(int virtualKey) noexcept;

}  // namespace platform::mfc
