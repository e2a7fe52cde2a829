// The frame's shortcut keys. The scene's movement keys are polled, not accelerators.
#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::AcceleratorResource;
using platform::mfc::AcceleratorTableResource;

// Every entry is a virtual-key entry that leaves the menu bar unhighlighted.
constexpr BYTE kKey = FVIRTKEY | FNOINVERT;

constexpr AcceleratorResource kMainFrameKeys[] = {
    {kKey | FCONTROL, 'C', ID_EDIT_COPY},
    {kKey | FCONTROL, 'V', ID_EDIT_PASTE},
    {kKey | FALT, VK_BACK, ID_EDIT_UNDO},
    {kKey | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {kKey, VK_ESCAPE, ID_APP_EXIT},
    {kKey, VK_F6, ID_NEXT_PANE},
    {kKey | FSHIFT, VK_F6, ID_PREV_PANE},
    {kKey | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {kKey | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {kKey | FCONTROL, 'X', ID_EDIT_CUT},
    {kKey | FCONTROL, 'Z', ID_EDIT_UNDO},
};

constexpr AcceleratorTableResource kTables[] = {
    {IDR_MAINFRAME, kMainFrameKeys},
};

}  // namespace

std::span<const AcceleratorTableResource> acceleratorTables() {
    return kTables;
}

}  // namespace res
