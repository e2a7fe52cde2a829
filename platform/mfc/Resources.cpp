#include "mfc/Resources.h"

#include <algorithm>

namespace platform::mfc {
namespace {

template <typename Table>
auto findById(std::span<const Table> tables, UINT id) noexcept -> const Table* {
    const auto it = std::find_if(tables.begin(), tables.end(),
                                 [id](const Table& table) { return table.id == id; });
    return it == tables.end() ? nullptr : &*it;
}

}  // namespace

const MenuResource* findMenu(UINT id) noexcept {
    return findById(applicationResources().menus, id);
}

const AcceleratorTableResource* findAccelerators(UINT id) noexcept {
    return findById(applicationResources().accelerators, id);
}

std::optional<std::u16string_view> findString(UINT id) noexcept {
    const StringResource* entry = findById(applicationResources().strings, id);
    if (!entry) return std::nullopt;
    return entry->text;
}

const BitmapResource* findBitmap(UINT id) noexcept {
    return findById(applicationResources().bitmaps, id);
}

const ToolBarResource* findToolBar(UINT id) noexcept {
    return findById(applicationResources().toolBars, id);
}

const IconResource* findIcon(UINT id) noexcept {
    return findById(applicationResources().icons, id);
}

const DialogResource* findDialog(UINT id) noexcept {
    return findById(applicationResources().dialogs, id);
}

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string loadString(UINT id) {
    const auto text = findString(id);
    return text ? toQString(*text).toStdString() : std::string();
}

QImage toImage(const PictureResource& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rows.size() != static_cast<std::size_t>(picture.height) ||
        picture.palette.size() > picture.argb.size())
        return {};
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        const std::string_view row = picture.rows[static_cast<std::size_t>(y)];
        if (row.size() != static_cast<std::size_t>(picture.width)) return {};
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t index = picture.palette.find(row[static_cast<std::size_t>(x)]);
            if (index == std::string_view::npos) return {};
            line[x] = picture.argb[index];
        }
    }
    return image;
}

}  // namespace platform::mfc
