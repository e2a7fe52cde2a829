// The string table. A command's entry holds its status-bar prompt, then after "\n" its tooltip.
// Kept in id order: lookups may search it by halves.
#include <algorithm>

#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::StringResource;

constexpr StringResource kStrings[] = {
    {IDR_MAINFRAME, u"FSM test_Orvek"},
    {AFX_IDS_APP_TITLE, u"Orvek"},
    {AFX_IDS_IDLEMESSAGE, u"준비"},
    {ID_EDIT_COPY, u"선택 부분을 복사하여 클립보드에 넣습니다\n복사"},
    {ID_EDIT_CUT, u"선택 부분을 잘라내어 클립보드에 넣습니다\n잘라내기"},
    {ID_EDIT_PASTE, u"클립보드의 내용을 붙여 넣습니다\n붙여넣기"},
    {ID_EDIT_UNDO, u"마지막으로 한 동작을 취소합니다\n실행 취소"},
    {ID_APP_ABOUT, u"프로그램 정보와 버전 정보, 저작권 정보를 표시합니다\n정보"},
    {ID_APP_EXIT, u"응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다\n종료"},
    {ID_NEXT_PANE, u"다음 창으로 전환합니다\n다음 창"},
    {ID_PREV_PANE, u"이전 창으로 전환합니다\n이전 창"},
    {ID_INDICATOR_CAPS, u"CAP"},
    {ID_INDICATOR_NUM, u"NUM"},
    {ID_INDICATOR_SCRL, u"SCRL"},
    {ID_VIEW_TOOLBAR, u"도구 모음을 보이거나 감춥니다\n도구 모음 전환"},
    {ID_VIEW_STATUS_BAR, u"상태 표시줄을 표시하거나 감춥니다\n상태 표시줄 전환"},
    {AFX_IDS_SCSIZE, u"창의 크기를 변경합니다"},
    {AFX_IDS_SCMOVE, u"창의 위치를 변경합니다"},
    {AFX_IDS_SCMINIMIZE, u"창을 아이콘으로 줄여서 표시합니다"},
    {AFX_IDS_SCMAXIMIZE, u"창을 최대 크기로 확장합니다"},
    {AFX_IDS_SCNEXTWINDOW, u"다음 문서 창으로 전환합니다"},
    {AFX_IDS_SCPREVWINDOW, u"이전 문서 창으로 전환합니다"},
    {AFX_IDS_SCCLOSE, u"현재 열린 창을 닫고 문서를 저장할 것인지를 묻습니다"},
    {AFX_IDS_SCRESTORE, u"창을 원래 크기로 복원합니다"},
    {AFX_IDS_SCTASKLIST, u"작업 목록을 활성화합니다"},
};

// No neighbour pair out of order or equal: strictly ascending ids.
static_assert(std::ranges::adjacent_find(kStrings, std::ranges::greater_equal{},
                                         &StringResource::id) == std::ranges::end(kStrings),
              "string ids must be unique and ascending");

}  // namespace

std::span<const StringResource> strings() {
    return kStrings;
}

}  // namespace res
