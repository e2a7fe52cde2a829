// FontLayout.h: where the glyphs of a text go. Lines break at '\n' ("\r\n" counts as one break)
// unless the text is drawn as a single line; there is no word wrapping and no kerning, as with
// GDI's DrawText. Pen positions are 64-bit, so a long line from a rectangle near INT_MAX does not
// overflow.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "d3dx9/GlyphCache.h"
#include "d3dx9/Utf8.h"

namespace platform::d3dx9 {

// Control characters (line breaks included, when they do not break) take no room and draw
// nothing: a font's glyph for them is its "missing" box.
constexpr bool isControl(char32_t codePoint) noexcept {
    return codePoint < 0x20 || codePoint == 0x7F;
}

// Calls visit(line, index) for every line of the text, breaks left out. Each break starts a
// line, so a text that ends in one ends with an empty line; an empty text has no line.
template <class Visit>
void forEachLine(std::string_view text, bool singleLine, Visit&& visit) {
    if (text.empty()) return;
    for (std::int64_t index = 0;; ++index) {
        const std::size_t lineBreak = singleLine ? std::string_view::npos : text.find('\n');
        if (lineBreak == std::string_view::npos) {
            visit(text, index);
            return;
        }
        std::string_view line = text.substr(0, lineBreak);
        if (line.ends_with('\r')) line.remove_suffix(1);
        visit(line, index);
        text.remove_prefix(lineBreak + 1);
    }
}

// Calls place(glyph, pen) for every glyph of one line, pen being the pixels from the line's start
// to the glyph's origin, and returns the line's width (the sum of the advances).
template <class Place>
std::int64_t layoutLine(GlyphCache& glyphs, std::string_view line, Place&& place) {
    std::int64_t pen = 0;
    const char* at = line.data();
    const char* const end = at + line.size();
    while (at < end) {
        const char32_t codePoint = decodeUtf8(at, end);
        if (isControl(codePoint)) continue;
        const Glyph& glyph = glyphs.glyph(codePoint);
        place(glyph, pen);
        pen += glyph.advance;
    }
    return pen;
}

inline std::int64_t lineWidth(GlyphCache& glyphs, std::string_view line) {
    return layoutLine(glyphs, line, [](const Glyph&, std::int64_t) {});
}

struct TextExtent {
    std::int64_t width = 0;  // of the widest line
    std::int64_t lines = 0;
};

// Caches every glyph of the text on the way, so drawing it afterwards renders nothing new.
inline TextExtent measureText(GlyphCache& glyphs, std::string_view text, bool singleLine) {
    TextExtent extent;
    forEachLine(text, singleLine, [&](std::string_view line, std::int64_t index) {
        extent.width = std::max(extent.width, lineWidth(glyphs, line));
        extent.lines = index + 1;
    });
    return extent;
}

}  // namespace platform::d3dx9
