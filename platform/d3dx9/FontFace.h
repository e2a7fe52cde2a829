// FontFace.h: one FreeType face sized to a GDI-style height, and its glyphs rendered as 8-bit
// anti-aliased coverage. FreeType's headers stay in the .cpp files.
#pragma once

#include <memory>

#include "d3dx9/FontMatch.h"
#include "d3dx9/Glyph.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace platform::d3dx9 {

// A FreeType instance; every face opened through it must go before it does.
class FreeTypeLibrary {
public:
    // Throws std::runtime_error when FreeType cannot start.
    FreeTypeLibrary();
    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_LibraryRec_* get() const { return library_; }

private:
    FT_LibraryRec_* library_ = nullptr;
};

struct FaceSize {
    // GDI's convention: positive is the cell height (ascent + descent) in pixels, negative the
    // character height (the em square) in pixels. Never 0.
    int height = 0;
    // Average character width in pixels; 0 keeps the face's own proportions.
    unsigned width = 0;
    // What was asked for; a face without it gets it synthesised.
    bool bold = false;
    bool italic = false;
};

class FontFace {
public:
    // Null when the file does not open as a scalable face or cannot take the size.
    static std::unique_ptr<FontFace> open(const FreeTypeLibrary& library,
                                          const FaceLocation& location, const FaceSize& size);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FaceLocation& location() const { return location_; }
    // Pixels from the top of the cell down to the baseline, and the whole cell.
    int ascent() const { return ascent_; }
    int cellHeight() const { return cellHeight_; }

    // 0 when the face has no glyph for the code point (0 is the face's "missing" glyph).
    unsigned glyphIndex(char32_t codePoint) const;
    // The glyph with the face's index; an empty coverage when it has no outline (a space).
    Glyph render(unsigned glyphIndex) const;

private:
    struct FaceCloser {
        void operator()(FT_FaceRec_* face) const noexcept;
    };
    using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

    FontFace(FacePtr face, FaceLocation location) noexcept;

    FacePtr face_;
    FaceLocation location_;
    bool emboldened_ = false;
    bool slanted_ = false;
    int ascent_ = 0;
    int cellHeight_ = 0;
};

}  // namespace platform::d3dx9
