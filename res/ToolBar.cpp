// The frame's toolbar: its buttons' commands in order. Print has no handler and no string, so it
// shows disabled, with no prompt and no tooltip.
#include "ResourceParts.h"
#include "resource.h"

namespace res {
namespace {

using platform::mfc::ToolBarResource;

constexpr UINT kMainFrameButtons[] = {
    ID_EDIT_CUT,   ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
    ID_FILE_PRINT, ID_SEPARATOR, ID_APP_ABOUT,
};

// Version 1 of the toolbar resource; its images are bitmap IDR_MAINFRAME.
constexpr ToolBarResource kToolBars[] = {
    {IDR_MAINFRAME, 1, 16, 15, kMainFrameButtons},
};

}  // namespace

std::span<const ToolBarResource> toolBars() {
    return kToolBars;
}

}  // namespace res
