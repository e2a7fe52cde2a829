// ResourceTables.h: the shape of a program's window resources. On this platform resources are
// constant C++ tables linked into the program (the res/ library), found by id through
// applicationResources(), which the program defines. Texts are stored as UTF-16, as resource
// scripts store them; pictures as palette indices, one row of characters per pixel row.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <windows.h>

namespace platform::mfc {

// A drop-down item; id 0 with no text is a separator.
struct MenuItemResource {
    std::u16string_view text;  // "&" marks the mnemonic, "\t" starts the shortcut text
    UINT id;
};

struct PopupMenuResource {
    std::u16string_view text;
    std::span<const MenuItemResource> items;
};

struct MenuResource {
    UINT id;
    std::span<const PopupMenuResource> popups;
};

// fVirt takes the FVIRTKEY, FSHIFT, FCONTROL, FALT and FNOINVERT bits of winuser.h.
struct AcceleratorResource {
    BYTE fVirt;
    WORD key;  // a virtual-key code
    WORD cmd;
};

struct AcceleratorTableResource {
    UINT id;
    std::span<const AcceleratorResource> entries;
};

struct StringResource {
    UINT id;
    std::u16string_view text;
};

// A paletted picture: rows[y][x] is a character whose index in `palette` is the pixel's colour.
// Every row has `width` characters.
struct PictureResource {
    int width;
    int height;
    std::string_view palette;            // the characters, one per colour
    std::span<const std::uint32_t> argb;  // the colours, 0xAARRGGBB, in palette order
    std::span<const std::string_view> rows;
};

struct BitmapResource {
    UINT id;
    PictureResource picture;
};

// Buttons' command ids in order; ID_SEPARATOR (0) is a separator. The toolbar's images are the
// bitmap of the same id, one imageWidth x imageHeight image per button, side by side.
struct ToolBarResource {
    UINT id;
    WORD version;
    int imageWidth;
    int imageHeight;
    std::span<const UINT> items;
};

struct IconResource {
    UINT id;
    std::span<const PictureResource> images;  // largest first
};

// A dialog control. className is "STATIC" or "BUTTON"; an SS_ICON static's text is empty and
// iconId names its icon.
struct DialogItemResource {
    std::string_view className;
    DWORD style;
    short x, y, cx, cy;  // dialog units
    int id;
    std::u16string_view text;
    UINT iconId;
};

struct DialogResource {
    UINT id;
    DWORD style;
    short x, y, cx, cy;  // dialog units
    std::u16string_view caption;
    std::u16string_view faceName;
    WORD pointSize;
    std::span<const DialogItemResource> items;
};

struct VersionStringResource {
    std::u16string_view name;  // "FileVersion", "CompanyName", ...
    std::u16string_view value;
};

struct VersionResource {
    WORD fileVersion[4];
    WORD productVersion[4];
    WORD language;  // 0x0412
    WORD codePage;  // 1200
    std::span<const VersionStringResource> strings;
};

struct ResourceTables {
    WORD language;
    std::span<const MenuResource> menus;
    std::span<const AcceleratorTableResource> accelerators;
    std::span<const StringResource> strings;  // in id order
    std::span<const BitmapResource> bitmaps;
    std::span<const ToolBarResource> toolBars;
    std::span<const IconResource> icons;
    std::span<const DialogResource> dialogs;
    const VersionResource* version;
};

// The program's resources; defined by the program (res/).
const ResourceTables& applicationResources();

}  // namespace platform::mfc
