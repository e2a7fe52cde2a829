// Conversions at the Qt boundary: Qt keys to virtual keys and back, dialog units to pixels.
#include <Qt>

#include <gtest/gtest.h>
#include <windows.h>

#include "mfc/DialogUnits.h"
#include "mfc/VirtualKeys.h"

namespace test {
namespace {

TEST(VirtualKeyTest, QtKeysMapToTheirVirtualKeys) {
    struct Case {
        int qtKey;
        bool keypad;
        int virtualKey;
    };
    const Case cases[] = {
        {Qt::Key_A, false, 'A'},          {Qt::Key_W, false, 'W'},
        {Qt::Key_1, false, '1'},          {Qt::Key_1, true, VK_NUMPAD1},
        {Qt::Key_0, true, VK_NUMPAD0},    {Qt::Key_ParenRight, false, '0'},
        {Qt::Key_Exclam, false, '1'},     {Qt::Key_Asterisk, true, VK_MULTIPLY},
        {Qt::Key_Escape, false, VK_ESCAPE}, {Qt::Key_F6, false, VK_F6},
        {Qt::Key_Insert, false, VK_INSERT}, {Qt::Key_Backspace, false, VK_BACK},
        {Qt::Key_CapsLock, false, VK_CAPITAL}, {Qt::Key_Enter, true, VK_RETURN},
        {Qt::Key_MediaPlay, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::mfc::virtualKeyOf(c.qtKey, c.keypad), c.virtualKey) << c.qtKey;
}

TEST(VirtualKeyTest, AcceleratorKeysMapBackToQt) {
    for (const int vk : {int{'C'}, int{'Z'}, int{'1'}, VK_BACK, VK_DELETE, VK_ESCAPE, VK_F6, VK_INSERT})
        EXPECT_EQ(platform::mfc::virtualKeyOf(platform::mfc::qtKeyOf(vk), false), vk) << vk;
    EXPECT_EQ(platform::mfc::qtKeyOf(0xE8), 0);  // unassigned
}

TEST(DialogUnitTest, QuartersAndEighthsOfTheBaseUnitsRounded) {
    const platform::mfc::DialogBaseUnits units{6, 13};
    const QRect place = platform::mfc::toPixels(units, 40, 10, 119, 8);
    EXPECT_EQ(place, QRect(60, 16, 179, 13));  // 16.25 -> 16, 178.5 -> 179
    EXPECT_EQ(platform::mfc::toPixels(units, 0, 0, 235, 55).size(), QSize(353, 89));
}

}  // namespace
}  // namespace test
