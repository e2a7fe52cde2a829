// FontMatch.h: finds font files through fontconfig, the way the desktop resolves a face name:
// "Arial" gives its metric-compatible stand-in (Liberation Sans), a GDI weight of 700 the bold
// face. Only scalable faces are returned: the glyphs are drawn at any cell height.
#pragma once

#include <optional>
#include <string>

namespace platform::d3dx9 {

struct FontRequest {
    std::string family;  // empty: the desktop's default face
    int weight = 400;    // GDI scale: 400 regular, 700 bold; 0 takes 400
    bool italic = false;
};

struct FaceLocation {
    std::string file;
    int index = 0;       // face within the file (collections), as FreeType numbers them
    std::string family;  // the family fontconfig chose, which may differ from the request
};

// The best installed match; nullopt only when fontconfig finds no font at all.
std::optional<FaceLocation> matchFont(const FontRequest& request);

// The best match for the request among the faces that have a glyph for the code point;
// nullopt when no installed face has one.
std::optional<FaceLocation> matchFontCovering(const FontRequest& request, char32_t codePoint);

}  // namespace platform::d3dx9
