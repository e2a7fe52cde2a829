#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ResourceTesting.h"
#include "resource.h"

namespace {

using platform::mfc::applicationResources;
using test::findById;

// An entry as "Ctrl+C -> E122", so a mismatch shows which key went wrong.
std::string describe(const platform::mfc::AcceleratorResource& entry) {
    std::string text;
    if (!(entry.fVirt & FVIRTKEY)) text += "(char) ";
    if (!(entry.fVirt & FNOINVERT)) text += "(inverts) ";
    if (entry.fVirt & FCONTROL) text += "Ctrl+";
    if (entry.fVirt & FSHIFT) text += "Shift+";
    if (entry.fVirt & FALT) text += "Alt+";
    switch (entry.key) {
        case VK_BACK:
            text += "Backspace";
            break;
        case VK_DELETE:
            text += "Delete";
            break;
        case VK_ESCAPE:
            text += "Escape";
            break;
        case VK_F6:
            text += "F6";
            break;
        case VK_INSERT:
            text += "Insert";
            break;
        default:
            if (entry.key >= 'A' && entry.key <= 'Z')
                text += static_cast<char>(entry.key);
            else
                text += "key " + std::to_string(entry.key);
    }
    char cmd[16];
    std::snprintf(cmd, sizeof cmd, " -> %04X", static_cast<unsigned>(entry.cmd));
    return text + cmd;
}

TEST(MainFrameAccelerators, AreTheElevenVirtualKeyEntriesInOrder) {
    const auto* table = findById(applicationResources().accelerators, IDR_MAINFRAME);
    ASSERT_NE(nullptr, table);
    std::vector<std::string> entries;
    for (const auto& entry : table->entries) entries.push_back(describe(entry));
    const std::vector<std::string> kExpected = {
        "Ctrl+C -> E122",         // copy
        "Ctrl+V -> E125",         // paste
        "Alt+Backspace -> E12B",  // undo
        "Shift+Delete -> E123",   // cut
        "Escape -> E141",         // exit, with no question asked
        "F6 -> E150",             // next pane
        "Shift+F6 -> E151",       // previous pane
        "Ctrl+Insert -> E122",    // copy
        "Shift+Insert -> E125",   // paste
        "Ctrl+X -> E123",         // cut
        "Ctrl+Z -> E12B",         // undo
    };
    EXPECT_EQ(kExpected, entries);
}

// The scene polls its movement and mode keys; an accelerator on one without Ctrl or Alt would
// turn the key into a command while the player steers.
TEST(MainFrameAccelerators, LeaveTheSceneKeysUnbound) {
    const auto* table = findById(applicationResources().accelerators, IDR_MAINFRAME);
    ASSERT_NE(nullptr, table);
    for (char key : std::string_view("WSADQE1POK")) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(std::ranges::none_of(table->entries, [key](const auto& entry) {
            return entry.key == static_cast<WORD>(key) && !(entry.fVirt & (FCONTROL | FALT));
        }));
    }
}

}  // namespace
