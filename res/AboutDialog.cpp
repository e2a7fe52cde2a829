// The About box: the icon, three lines of text and OK, in tab order; places in dialog units.
#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::DialogItemResource;
using platform::mfc::DialogResource;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

constexpr DialogItemResource kAboutItems[] = {
    {"STATIC", kChild | SS_ICON, 11, 17, 20, 20, IDC_STATIC, u"", IDR_MAINFRAME},
    {"STATIC", kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP, 40, 10, 119, 8, IDC_STATIC,
     u"Orvek 버전 1.0", 0},
    {"STATIC", kChild | SS_LEFT | WS_GROUP, 40, 25, 119, 8, IDC_STATIC, u"Copyright (C) 2026", 0},
    {"BUTTON", kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 178, 7, 50, 14, IDOK, u"확인", 0},
    {"STATIC", kChild | SS_LEFT | WS_GROUP, 40, 40, 119, 8, IDC_STATIC,
     u"Orvek을 사용해 주셔서 감사합니다", 0},
};

constexpr DialogResource kDialogs[] = {
    {IDD_ABOUTBOX, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 235, 55,
     u"Orvek 정보", u"굴림", 9, kAboutItems},
};

}  // namespace

std::span<const DialogResource> dialogs() {
    return kDialogs;
}

}  // namespace res
