// A small resource set of the layer's own for its tests: a frame (title, menu, accelerators,
// toolbar with a two-image bitmap, indicators) and a dialog.
#include <cstdint>
#include <string_view>

#include <afxres.h>

#include "LayerFixture.h"
#include "mfc/ResourceTables.h"

namespace {

using namespace platform::mfc;
using test::kCmdAppOnly;
using test::kCmdDisabled;
using test::kCmdHandled;
using test::kCmdOrphan;
using test::kDialogId;
using test::kFrameId;

constexpr StringResource kStrings[] = {
    {kFrameId, u"Layer Frame\nDocument"},
    {kCmdHandled, u"Runs the handled command\nHandled"},
    {kCmdOrphan, u"Nobody handles this\nOrphan"},
    {AFX_IDS_APP_TITLE, u"LayerTest"},
    {AFX_IDS_IDLEMESSAGE, u"Ready"},
    {ID_INDICATOR_CAPS, u"CAP"},
};

constexpr MenuItemResource kFileItems[] = {
    {u"&Handled\tCtrl+K", kCmdHandled},
    {u"&Orphan", kCmdOrphan},
    {u"", 0},
    {u"&Disabled", kCmdDisabled},
    {u"&App only", kCmdAppOnly},
    {u"E&xit", ID_APP_EXIT},
};
constexpr PopupMenuResource kPopups[] = {{u"&File", kFileItems}};
constexpr MenuResource kMenus[] = {{kFrameId, kPopups}};

constexpr AcceleratorResource kKeys[] = {
    {FVIRTKEY | FCONTROL, 'K', kCmdHandled},
    {FVIRTKEY | FCONTROL, 'J', kCmdOrphan},
    {FVIRTKEY | FCONTROL, 'L', kCmdDisabled},
    {FVIRTKEY, VK_ESCAPE, ID_APP_EXIT},
};
constexpr AcceleratorTableResource kAccelerators[] = {{kFrameId, kKeys}};

// Two 16 x 15 images side by side: red, then blue; the first row starts with the four
// standard button colours: black, dark grey, light grey, white.
constexpr std::uint32_t kColours[] = {0xFFFF0000u, 0xFF0000FFu, 0xFF000000u,
                                      0xFF808080u, 0xFFC0C0C0u, 0xFFFFFFFFu};
constexpr std::string_view kTopRow = "#a.Wrrrrrrrrrrrrbbbbbbbbbbbbbbbb";
constexpr std::string_view kRow = "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb";
constexpr std::string_view kRows[15] = {kTopRow, kRow, kRow, kRow, kRow, kRow, kRow, kRow,
                                        kRow,    kRow, kRow, kRow, kRow, kRow, kRow};
constexpr BitmapResource kBitmaps[] = {{kFrameId, {32, 15, "rb#a.W", kColours, kRows}}};
constexpr UINT kButtons[] = {kCmdHandled, ID_SEPARATOR, kCmdOrphan};
constexpr ToolBarResource kToolBars[] = {{kFrameId, 1, 16, 15, kButtons}};

constexpr DialogItemResource kDialogItems[] = {
    {"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 100, 8, IDC_STATIC, u"A && B", 0},
    {"BUTTON", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 120, 7, 50, 14, IDOK,
     u"OK", 0},
};
constexpr DialogResource kDialogs[] = {{kDialogId,
                                        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                        0, 0, 180, 40, u"Layer Dialog", u"굴림", 9,
                                        kDialogItems}};

constexpr ResourceTables kResources = {0x0409, kMenus, kAccelerators, kStrings, kBitmaps,
                                       kToolBars, {}, kDialogs, nullptr};

}  // namespace

namespace platform::mfc {

const ResourceTables& applicationResources() { return kResources; }

}  // namespace platform::mfc
