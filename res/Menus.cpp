// The frame's menu bar. The Edit items have no handler; the class library shows them disabled.
#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::MenuItemResource;
using platform::mfc::MenuResource;
using platform::mfc::PopupMenuResource;

constexpr MenuItemResource kFileItems[] = {
    {u"종료(&X)", ID_APP_EXIT},
};

constexpr MenuItemResource kEditItems[] = {
    {u"취소(&U)\tCtrl+Z", ID_EDIT_UNDO},      {u"", ID_SEPARATOR},
    {u"잘라내기(&T)\tCtrl+X", ID_EDIT_CUT},   {u"복사(&C)\tCtrl+C", ID_EDIT_COPY},
    {u"붙여넣기(&P)\tCtrl+V", ID_EDIT_PASTE},
};

constexpr MenuItemResource kViewItems[] = {
    {u"도구 모음(&T)", ID_VIEW_TOOLBAR},
    {u"상태 표시줄(&S)", ID_VIEW_STATUS_BAR},
};

constexpr MenuItemResource kHelpItems[] = {
    {u"Orvek 정보(&A)...", ID_APP_ABOUT},
};

constexpr PopupMenuResource kMainFramePopups[] = {
    {u"파일(&F)", kFileItems},
    {u"편집(&E)", kEditItems},
    {u"보기(&V)", kViewItems},
    {u"도움말(&H)", kHelpItems},
};

constexpr MenuResource kMenus[] = {
    {IDR_MAINFRAME, kMainFramePopups},
};

}  // namespace

std::span<const MenuResource> menus() {
    return kMenus;
}

}  // namespace res
