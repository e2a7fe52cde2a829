#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ResourceTesting.h"
#include "resource.h"

namespace {

using platform::mfc::applicationResources;
using test::findById;
using test::stringFor;

TEST(StringTable, HoldsExactlyTheShownEntriesInIdOrder) {
    const std::vector<UINT> kIds = {
        IDR_MAINFRAME,        AFX_IDS_APP_TITLE,    AFX_IDS_IDLEMESSAGE, ID_EDIT_COPY,
        ID_EDIT_CUT,          ID_EDIT_PASTE,        ID_EDIT_UNDO,        ID_APP_ABOUT,
        ID_APP_EXIT,          ID_NEXT_PANE,         ID_PREV_PANE,        ID_INDICATOR_CAPS,
        ID_INDICATOR_NUM,     ID_INDICATOR_SCRL,    ID_VIEW_TOOLBAR,     ID_VIEW_STATUS_BAR,
        AFX_IDS_SCSIZE,       AFX_IDS_SCMOVE,       AFX_IDS_SCMINIMIZE,  AFX_IDS_SCMAXIMIZE,
        AFX_IDS_SCNEXTWINDOW, AFX_IDS_SCPREVWINDOW, AFX_IDS_SCCLOSE,     AFX_IDS_SCRESTORE,
        AFX_IDS_SCTASKLIST,
    };
    std::vector<UINT> ids;
    for (const auto& entry : applicationResources().strings) ids.push_back(entry.id);
    EXPECT_EQ(kIds, ids);
}

// What the shell puts on screen: the title bar, the idle status text, the indicator panes, and
// for a command its status-bar prompt (before the line feed) and its tooltip (after it).
TEST(StringTable, GivesTheShellItsTextsPromptsAndTooltips) {
    struct Case {
        UINT id;
        std::string prompt;
        std::optional<std::string> tooltip;  // nullopt: the entry has no line feed
    };
    const Case kCases[] = {
        {IDR_MAINFRAME, "FSM test_Orvek", std::nullopt},  // the frame's title
        {AFX_IDS_APP_TITLE, "Orvek", std::nullopt},       // the application's name
        {AFX_IDS_IDLEMESSAGE, "준비", std::nullopt},
        {ID_INDICATOR_CAPS, "CAP", std::nullopt},
        {ID_INDICATOR_NUM, "NUM", std::nullopt},
        {ID_INDICATOR_SCRL, "SCRL", std::nullopt},
        {ID_EDIT_COPY, "선택 부분을 복사하여 클립보드에 넣습니다", "복사"},
        {ID_EDIT_UNDO, "마지막으로 한 동작을 취소합니다", "실행 취소"},
        {ID_APP_ABOUT, "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다", "정보"},
        {ID_APP_EXIT, "응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다", "종료"},
        {ID_VIEW_STATUS_BAR, "상태 표시줄을 표시하거나 감춥니다", "상태 표시줄 전환"},
        {AFX_IDS_SCCLOSE, "현재 열린 창을 닫고 문서를 저장할 것인지를 묻습니다", std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.prompt);
        const auto text = stringFor(c.id);
        ASSERT_TRUE(text);
        const auto feed = text->find('\n');
        EXPECT_EQ(c.prompt, text->substr(0, feed));
        EXPECT_EQ(c.tooltip, feed == std::string::npos
                                 ? std::nullopt
                                 : std::optional<std::string>(text->substr(feed + 1)));
    }
}

// Every command the menu, the toolbar or the accelerators carry has a prompt and a tooltip, and
// only Print goes without: its button shows neither.
TEST(StringTable, CoversEveryCommandOfTheFrameButPrint) {
    const auto& resources = applicationResources();
    const auto* menu = findById(resources.menus, IDR_MAINFRAME);
    const auto* toolBar = findById(resources.toolBars, IDR_MAINFRAME);
    const auto* keys = findById(resources.accelerators, IDR_MAINFRAME);
    ASSERT_TRUE(menu && toolBar && keys);
    std::set<UINT> commands;
    for (const auto& popup : menu->popups)
        for (const auto& item : popup.items) commands.insert(item.id);
    for (UINT id : toolBar->items) commands.insert(id);
    for (const auto& entry : keys->entries) commands.insert(entry.cmd);
    commands.erase(ID_SEPARATOR);
    ASSERT_TRUE(commands.contains(ID_FILE_PRINT));
    for (UINT id : commands) {
        SCOPED_TRACE(id);
        const auto text = stringFor(id);
        if (id == ID_FILE_PRINT) {
            EXPECT_EQ(std::nullopt, text);
            continue;
        }
        ASSERT_TRUE(text);
        const auto feed = text->find('\n');
        ASSERT_NE(std::string::npos, feed);
        EXPECT_GT(feed, 0u);                 // a prompt
        EXPECT_LT(feed + 1, text->size());   // a tooltip
        EXPECT_EQ(feed, text->rfind('\n'));  // and nothing after a second feed
    }
}

}  // namespace
