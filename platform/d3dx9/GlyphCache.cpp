#include "d3dx9/GlyphCache.h"

#include <utility>

namespace platform::d3dx9 {

GlyphCache::GlyphCache(FontRequest request, FaceSize size,
                       std::unique_ptr<FreeTypeLibrary> library, std::unique_ptr<FontFace> primary)
    : request_(std::move(request)), size_(size), library_(std::move(library)) {
    faces_.push_back(std::move(primary));
}

std::unique_ptr<GlyphCache> GlyphCache::create(const FontRequest& request, const FaceSize& size) {
    const auto location = matchFont(request);
    if (!location) return nullptr;
    auto library = std::make_unique<FreeTypeLibrary>();
    auto primary = FontFace::open(*library, *location, size);
    if (!primary) return nullptr;
    return std::unique_ptr<GlyphCache>(
        new GlyphCache(request, size, std::move(library), std::move(primary)));
}

const Glyph& GlyphCache::glyph(char32_t codePoint) {
    const std::uint32_t face = faceFor(codePoint);
    const std::uint64_t key = std::uint64_t{face} << 32 | codePoint;
    if (const auto found = glyphs_.find(key); found != glyphs_.end()) return found->second;
    const FontFace& from = *faces_[face];
    return glyphs_.emplace(key, from.render(from.glyphIndex(codePoint))).first->second;
}

std::uint32_t GlyphCache::faceFor(char32_t codePoint) {
    if (faces_.front()->glyphIndex(codePoint) != 0) return 0;
    if (const auto found = faceOf_.find(codePoint); found != faceOf_.end()) return found->second;
    std::uint32_t face = 1;
    while (face < faces_.size() && faces_[face]->glyphIndex(codePoint) == 0) ++face;
    if (face == faces_.size()) face = openFallback(codePoint);
    faceOf_.emplace(codePoint, face);
    return face;
}

std::uint32_t GlyphCache::openFallback(char32_t codePoint) {
    const auto location = matchFontCovering(request_, codePoint);
    if (!location) return 0;
    for (const auto& open : faces_)
        if (open->location().file == location->file && open->location().index == location->index)
            return 0;  // open already, and it lacks the glyph despite what fontconfig says
    auto fallback = FontFace::open(*library_, *location, size_);
    if (!fallback || fallback->glyphIndex(codePoint) == 0) return 0;
    faces_.push_back(std::move(fallback));
    return static_cast<std::uint32_t>(faces_.size() - 1);
}

}  // namespace platform::d3dx9
