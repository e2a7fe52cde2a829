// GlyphCache.h: the faces of one font and every glyph drawn with it so far. A code point the
// primary face lacks is looked up through fontconfig once (Hangul in a Latin face finds a Korean
// one); faces and glyphs are kept, so text drawn before costs lookups only, no allocation.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "d3dx9/FontFace.h"
#include "d3dx9/FontMatch.h"
#include "d3dx9/Glyph.h"

namespace platform::d3dx9 {

class GlyphCache {
public:
    // Null when no installed face matches the request or it cannot take the size.
    static std::unique_ptr<GlyphCache> create(const FontRequest& request, const FaceSize& size);

    // The primary face's metrics lay out every line, whichever face a glyph comes from.
    int ascent() const { return faces_.front()->ascent(); }
    int cellHeight() const { return faces_.front()->cellHeight(); }

    // The glyph from the first face that has one; the primary face's "missing" glyph when no
    // installed face has. The reference stays valid as long as the cache. Throws
    // std::bad_alloc on a miss when memory runs out.
    const Glyph& glyph(char32_t codePoint);

private:
    GlyphCache(FontRequest request, FaceSize size, std::unique_ptr<FreeTypeLibrary> library,
               std::unique_ptr<FontFace> primary);
    std::uint32_t faceFor(char32_t codePoint);
    std::uint32_t openFallback(char32_t codePoint);

    FontRequest request_;
    FaceSize size_;
    std::unique_ptr<FreeTypeLibrary> library_;  // before faces_: outlives them
    std::vector<std::unique_ptr<FontFace>> faces_;  // [0] the primary face
    std::unordered_map<char32_t, std::uint32_t> faceOf_;
    std::unordered_map<std::uint64_t, Glyph> glyphs_;  // by face << 32 | code point
};

}  // namespace platform::d3dx9
