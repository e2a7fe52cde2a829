#include <gtest/gtest.h>

#include "ResourceTesting.h"
#include "resource.h"

namespace {

using platform::mfc::applicationResources;
using platform::mfc::DialogResource;
using test::findById;
using test::utf8;

const DialogResource& aboutBox() {
    const auto* dialog = findById(applicationResources().dialogs, IDD_ABOUTBOX);
    if (!dialog) throw std::runtime_error("no dialog IDD_ABOUTBOX");
    return *dialog;
}

TEST(AboutBox, IsAModalBoxInTheDialogFont) {
    const DialogResource& dialog = aboutBox();
    EXPECT_EQ(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, dialog.style);
    EXPECT_EQ((std::array<short, 4>{0, 0, 235, 55}),
              (std::array<short, 4>{dialog.x, dialog.y, dialog.cx, dialog.cy}));
    EXPECT_EQ("Orvek 정보", utf8(dialog.caption));
    EXPECT_EQ("굴림", utf8(dialog.faceName));
    EXPECT_EQ(9, dialog.pointSize);
}

// Template order is tab order; places are dialog units. Only OK takes the focus.
TEST(AboutBox, PlacesItsFiveControlsInTabOrder) {
    struct Case {
        const char* what;
        std::string_view className;
        DWORD style;
        std::array<short, 4> place;
        int id;
    };
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    const Case kCases[] = {
        {"icon", "STATIC", kChild | SS_ICON, {11, 17, 20, 20}, IDC_STATIC},
        {"name", "STATIC", kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP, {40, 10, 119, 8}, IDC_STATIC},
        {"legal", "STATIC", kChild | SS_LEFT | WS_GROUP, {40, 25, 119, 8}, IDC_STATIC},
        {"OK", "BUTTON", kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, {178, 7, 50, 14}, IDOK},
        {"thanks", "STATIC", kChild | SS_LEFT | WS_GROUP, {40, 40, 119, 8}, IDC_STATIC},
    };
    const DialogResource& dialog = aboutBox();
    ASSERT_EQ(std::size(kCases), dialog.items.size());
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        const Case& c = kCases[i];
        const auto& item = dialog.items[i];
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.className, item.className);
        EXPECT_EQ(c.style, item.style);
        EXPECT_EQ(c.place, (std::array<short, 4>{item.x, item.y, item.cx, item.cy}));
        EXPECT_EQ(c.id, item.id);
        // Each control stays inside the box.
        EXPECT_LE(item.x + item.cx, dialog.cx);
        EXPECT_LE(item.y + item.cy, dialog.cy);
    }
}

TEST(AboutBox, ShowsTheIconNameVersionNoticeAndOk) {
    const auto& items = aboutBox().items;
    ASSERT_EQ(5u, items.size());
    EXPECT_EQ(u"", items[0].text);
    EXPECT_EQ(IDR_MAINFRAME, items[0].iconId);
    EXPECT_NE(nullptr, findById(applicationResources().icons, items[0].iconId));
    EXPECT_EQ("Orvek 버전 1.0", utf8(items[1].text));
    EXPECT_EQ("Copyright (C) 2026", utf8(items[2].text));
    EXPECT_EQ("확인", utf8(items[3].text));
    EXPECT_FALSE(items[4].text.empty());
    for (std::size_t i = 1; i < items.size(); ++i) EXPECT_EQ(0u, items[i].iconId);
}

}  // namespace
