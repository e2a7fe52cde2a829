#include "ResourceTesting.h"

#include <set>

namespace test {

std::string utf8(std::u16string_view text) {
    std::string out;
    auto put = [&out](char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else {
            put(high || low ? char32_t{0xFFFD} : char32_t{unit});
        }
    }
    return out;
}

std::optional<std::string> stringFor(UINT id) {
    const auto* entry = findById(platform::mfc::applicationResources().strings, id);
    if (!entry) return std::nullopt;
    return utf8(entry->text);
}

std::optional<std::string> pictureFault(const platform::mfc::PictureResource& picture) {
    if (picture.width <= 0 || picture.height <= 0) return "empty size";
    if (picture.palette.size() != picture.argb.size()) return "palette and colours differ in count";
    if (std::set<char>(picture.palette.begin(), picture.palette.end()).size() !=
        picture.palette.size())
        return "a palette character stands for two colours";
    if (picture.rows.size() != static_cast<std::size_t>(picture.height))
        return "has " + std::to_string(picture.rows.size()) + " rows";
    for (std::size_t y = 0; y < picture.rows.size(); ++y) {
        const std::string_view row = picture.rows[y];
        if (row.size() != static_cast<std::size_t>(picture.width))
            return "row " + std::to_string(y) + " is " + std::to_string(row.size()) + " wide";
        const auto stray = row.find_first_not_of(picture.palette);
        if (stray != std::string_view::npos)
            return "row " + std::to_string(y) + " column " + std::to_string(stray) + " is '" +
                   row[stray] + "'";
    }
    return std::nullopt;
}

}  // namespace test
