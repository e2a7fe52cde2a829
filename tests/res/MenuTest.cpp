#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ResourceTesting.h"
#include "resource.h"

namespace {

using platform::mfc::applicationResources;
using platform::mfc::MenuResource;
using test::findById;
using test::utf8;

const MenuResource& mainMenu() {
    const auto* menu = findById(applicationResources().menus, IDR_MAINFRAME);
    if (!menu) throw std::runtime_error("no menu IDR_MAINFRAME");
    return *menu;
}

TEST(MainMenu, HoldsTheFourDropDownsWithTheirItemsInOrder) {
    struct Item {
        std::string text;
        UINT id;
        bool operator==(const Item&) const = default;
    };
    struct Case {
        std::string popup;
        std::vector<Item> items;
    };
    const Case kCases[] = {
        {"파일(&F)", {{"종료(&X)", ID_APP_EXIT}}},
        {"편집(&E)",
         {{"취소(&U)\tCtrl+Z", ID_EDIT_UNDO},
          {"", ID_SEPARATOR},
          {"잘라내기(&T)\tCtrl+X", ID_EDIT_CUT},
          {"복사(&C)\tCtrl+C", ID_EDIT_COPY},
          {"붙여넣기(&P)\tCtrl+V", ID_EDIT_PASTE}}},
        {"보기(&V)", {{"도구 모음(&T)", ID_VIEW_TOOLBAR}, {"상태 표시줄(&S)", ID_VIEW_STATUS_BAR}}},
        {"도움말(&H)", {{"Orvek 정보(&A)...", ID_APP_ABOUT}}},
    };
    const MenuResource& menu = mainMenu();
    ASSERT_EQ(std::size(kCases), menu.popups.size());
    for (std::size_t i = 0; i < menu.popups.size(); ++i) {
        SCOPED_TRACE(kCases[i].popup);
        EXPECT_EQ(kCases[i].popup, utf8(menu.popups[i].text));
        std::vector<Item> items;
        for (const auto& item : menu.popups[i].items) items.push_back({utf8(item.text), item.id});
        EXPECT_EQ(kCases[i].items, items);
    }
}

// A label's "&" marks one mnemonic; two labels of one menu level sharing a letter would leave the
// second unreachable from the keyboard.
TEST(MainMenu, EveryLabelHasOneMnemonicUniqueInItsMenu) {
    auto mnemonic = [](std::u16string_view label) -> std::optional<char16_t> {
        const auto amp = label.find(u'&');
        if (amp == label.npos || amp + 1 >= label.size()) return std::nullopt;
        if (label.find(u'&', amp + 1) != label.npos) return std::nullopt;
        return label[amp + 1];
    };
    const MenuResource& menu = mainMenu();
    std::set<char16_t> bar;
    for (const auto& popup : menu.popups) {
        SCOPED_TRACE(utf8(popup.text));
        const auto key = mnemonic(popup.text);
        ASSERT_TRUE(key);
        EXPECT_TRUE(bar.insert(*key).second);
        std::set<char16_t> inPopup;
        for (const auto& item : popup.items) {
            if (item.id == ID_SEPARATOR) continue;
            SCOPED_TRACE(utf8(item.text));
            const auto itemKey = mnemonic(item.text);
            ASSERT_TRUE(itemKey);
            EXPECT_TRUE(inPopup.insert(*itemKey).second);
        }
    }
}

// The shortcut a label advertises after its tab is an accelerator for the same command.
TEST(MainMenu, ShortcutTextsNameAcceleratorsOfTheirCommands) {
    const auto* keys = findById(applicationResources().accelerators, IDR_MAINFRAME);
    ASSERT_NE(nullptr, keys);
    int shortcuts = 0;
    for (const auto& popup : mainMenu().popups) {
        for (const auto& item : popup.items) {
            const auto tab = item.text.find(u'\t');
            if (tab == item.text.npos) continue;
            ++shortcuts;
            SCOPED_TRACE(utf8(item.text));
            std::u16string_view shortcut = item.text.substr(tab + 1);
            BYTE modifiers = 0;
            for (const auto& [prefix, flag] : {std::pair{std::u16string_view(u"Ctrl+"), FCONTROL},
                                               std::pair{std::u16string_view(u"Shift+"), FSHIFT},
                                               std::pair{std::u16string_view(u"Alt+"), FALT}}) {
                if (shortcut.starts_with(prefix)) {
                    modifiers |= flag;
                    shortcut.remove_prefix(prefix.size());
                }
            }
            ASSERT_EQ(1u, shortcut.size());
            const platform::mfc::AcceleratorResource wanted{
                static_cast<BYTE>(FVIRTKEY | FNOINVERT | modifiers), shortcut[0],
                static_cast<WORD>(item.id)};
            EXPECT_TRUE(std::ranges::any_of(keys->entries, [&](const auto& entry) {
                return entry.fVirt == wanted.fVirt && entry.key == wanted.key &&
                       entry.cmd == wanted.cmd;
            }));
        }
    }
    EXPECT_EQ(4, shortcuts);
}

}  // namespace
