#include "d3dx9/FontFace.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace platform::d3dx9 {
namespace {

// The face's vertical extent in font units, as GDI measures a cell: the OS/2 table's Windows
// ascent and descent when present (they bound every glyph), else the face's own.
struct VerticalMetrics {
    double ascent;
    double descent;
};

VerticalMetrics verticalMetrics(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0)
        return {static_cast<double>(os2->usWinAscent), static_cast<double>(os2->usWinDescent)};
    return {static_cast<double>(face->ascender), -static_cast<double>(face->descender)};
}

// The horizontal size in pixels per em that gives the requested average character width.
double widthPerEm(FT_Face face, unsigned width, double heightPerEm) {
    if (width == 0) return heightPerEm;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (!os2 || os2->xAvgCharWidth <= 0) return width;
    return static_cast<double>(width) * face->units_per_EM / os2->xAvgCharWidth;
}

FT_F26Dot6 toFixed(double pixels) { return static_cast<FT_F26Dot6>(std::lround(pixels * 64)); }

int roundedPixels(FT_Pos fixed) { return static_cast<int>((fixed + 32) >> 6); }

// Row y of a FreeType bitmap, counted from the top whichever way its rows run in memory.
const unsigned char* bitmapRow(const FT_Bitmap& bitmap, unsigned y) {
    if (bitmap.pitch >= 0) return bitmap.buffer + static_cast<std::size_t>(y) * bitmap.pitch;
    return bitmap.buffer + static_cast<std::size_t>(bitmap.rows - 1 - y) * -bitmap.pitch;
}

}  // namespace

FreeTypeLibrary::FreeTypeLibrary() {
    if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("FreeType did not start");
}

FreeTypeLibrary::~FreeTypeLibrary() { FT_Done_FreeType(library_); }

void FontFace::FaceCloser::operator()(FT_FaceRec_* face) const noexcept { FT_Done_Face(face); }

FontFace::FontFace(FacePtr face, FaceLocation location) noexcept
    : face_(std::move(face)), location_(std::move(location)) {}

FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::open(const FreeTypeLibrary& library,
                                         const FaceLocation& location, const FaceSize& size) {
    if (size.height == 0) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library.get(), location.file.c_str(), location.index, &face) != 0)
        return nullptr;
    FacePtr owned(face);  // before the new below, which may throw
    std::unique_ptr<FontFace> opened(new FontFace(std::move(owned), location));
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;

    const VerticalMetrics metrics = verticalMetrics(face);
    const double unitsPerCell = metrics.ascent + metrics.descent;
    if (unitsPerCell <= 0) return nullptr;
    const double perEm = size.height > 0 ? size.height * face->units_per_EM / unitsPerCell
                                         : -static_cast<double>(size.height);
    const double pixelsPerUnit = perEm / face->units_per_EM;
    // At 72 dots per inch a point is a pixel.
    if (FT_Set_Char_Size(face, toFixed(widthPerEm(face, size.width, perEm)), toFixed(perEm), 72,
                         72) != 0)
        return nullptr;

    opened->ascent_ = static_cast<int>(std::lround(metrics.ascent * pixelsPerUnit));
    opened->cellHeight_ = size.height > 0
                              ? size.height
                              : static_cast<int>(std::lround(unitsPerCell * pixelsPerUnit));
    opened->emboldened_ = size.bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    opened->slanted_ = size.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    return opened;
}

unsigned FontFace::glyphIndex(char32_t codePoint) const {
    return FT_Get_Char_Index(face_.get(), codePoint);
}

Glyph FontFace::render(unsigned glyphIndex) const {
    Glyph glyph;
    // Outlines only: embedded bitmaps are often one bit deep, and the text is anti-aliased.
    if (FT_Load_Glyph(face_.get(), glyphIndex, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
        return glyph;
    FT_GlyphSlot slot = face_->glyph;
    if (emboldened_) FT_GlyphSlot_Embolden(slot);
    if (slanted_) FT_GlyphSlot_Oblique(slot);
    glyph.advance = roundedPixels(slot->advance.x);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;

    const FT_Bitmap& bitmap = slot->bitmap;
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256;
    if (!gray && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
    std::uint8_t* out = glyph.coverage.data();
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        const unsigned char* row = bitmapRow(bitmap, y);
        for (unsigned x = 0; x < bitmap.width; ++x)
            *out++ = gray ? row[x] : ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255;
    }
    return glyph;
}

}  // namespace platform::d3dx9
