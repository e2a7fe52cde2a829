#include "mfc/VirtualKeys.h"

#include <Qt>

#include <windows.h>

namespace platform::mfc {
namespace {

struct KeyPair {
    int qt;
    int vk;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},          {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},         {Qt::Key_Pause, VK_PAUSE},      {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Space, VK_SPACE},      {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},          {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},            {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},        {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL},
};

// What Shift makes of the main row's digits on the usual layout, 1 to 9 then 0.
constexpr int kShiftedDigits[] = {Qt::Key_Exclam,     Qt::Key_At,        Qt::Key_NumberSign,
                                  Qt::Key_Dollar,     Qt::Key_Percent,   Qt::Key_AsciiCircum,
                                  Qt::Key_Ampersand,  Qt::Key_Asterisk,  Qt::Key_ParenLeft,
                                  Qt::Key_ParenRight};

constexpr KeyPair kKeypadOperators[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},     {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Slash, VK_DIVIDE},
};

}  // namespace

int virtualKeyOf(int qtKey, bool keypad) noexcept {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : qtKey;  // '0'..'9' are their codes
    if (keypad)
        for (const KeyPair& pair : kKeypadOperators)
            if (pair.qt == qtKey) return pair.vk;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // 'A'..'Z' likewise
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return VK_F1 + (qtKey - Qt::Key_F1);
    for (const KeyPair& pair : kNamedKeys)
        if (pair.qt == qtKey) return pair.vk;
    for (int digit = 0; digit < 10; ++digit)
        if (kShiftedDigits[digit] == qtKey) return digit == 9 ? '0' : '1' + digit;
    return 0;
}

int qtKeyOf(int virtualKey) noexcept {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return virtualKey;
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) return Qt::Key_F1 + (virtualKey - VK_F1);
    for (const KeyPair& pair : kNamedKeys)
        if (pair.vk == virtualKey) return pair.qt;
    return 0;
}

}  // namespace platform::mfc
