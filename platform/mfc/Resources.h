// Resources.h: the program's resources found by id, and their texts and pictures in Qt's terms.
// Every lookup returns null (or nothing) for an id the program does not carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QImage>
#include <QString>

#include "mfc/ResourceTables.h"

namespace platform::mfc {

const MenuResource* findMenu(UINT id) noexcept;
const AcceleratorTableResource* findAccelerators(UINT id) noexcept;
std::optional<std::u16string_view> findString(UINT id) noexcept;
const BitmapResource* findBitmap(UINT id) noexcept;
const ToolBarResource* findToolBar(UINT id) noexcept;
const IconResource* findIcon(UINT id) noexcept;
const DialogResource* findDialog(UINT id) noexcept;

QString toQString(std::u16string_view text);
// The string table's entry as UTF-8, this platform's narrow code page; empty when missing.
std::string loadString(UINT id);

// The picture in ARGB; a picture whose rows or palette do not match its size gives a null image.
QImage toImage(const PictureResource& picture);

}  // namespace platform::mfc
