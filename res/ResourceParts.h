// ResourceParts.h: the tables of each kind, one source file each, which applicationResources()
// gathers into the program's resource set.
#pragma once

#include <span>

#include "mfc/ResourceTables.h"

namespace res {

// Korean, the language every resource of the program carries.
inline constexpr WORD kLanguage = 0x0412;

std::span<const platform::mfc::MenuResource> menus();
std::span<const platform::mfc::AcceleratorTableResource> acceleratorTables();
std::span<const platform::mfc::StringResource> strings();
std::span<const platform::mfc::BitmapResource> bitmaps();
std::span<const platform::mfc::ToolBarResource> toolBars();
std::span<const platform::mfc::IconResource> icons();
std::span<const platform::mfc::DialogResource> dialogs();
const platform::mfc::VersionResource& version();

}  // namespace res
