#include "d3dx9/FontMatch.h"

#include <algorithm>
#include <memory>

#include <fontconfig/fontconfig.h>

namespace platform::d3dx9 {
namespace {

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

// A configuration of our own rather than the process's default, which FcInit sets up and never
// frees (leak checkers report a block of it at exit) and which Qt may be using too. Loaded once,
// with the desktop's files and font list, and freed at exit; null when it cannot be loaded.
FcConfig* configuration() {
    static const std::unique_ptr<FcConfig, ConfigDeleter> loaded(FcInitLoadConfigAndFonts());
    return loaded.get();
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct CharSetDeleter {
    void operator()(FcCharSet* charSet) const { FcCharSetDestroy(charSet); }
};
using CharSet = std::unique_ptr<FcCharSet, CharSetDeleter>;

Pattern makePattern(const FontRequest& request) {
    Pattern pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    if (!request.family.empty())
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(request.family.c_str()));
    // GDI weights are the OpenType scale; fontconfig has its own (bold is 200 there).
    const int weight = request.weight == 0 ? 400 : std::clamp(request.weight, 1, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

// Applies the desktop's aliases and defaults, then picks the closest installed face.
Pattern bestMatch(FcPattern& pattern) {
    FcConfig* const config = configuration();
    if (!config) return nullptr;
    if (!FcConfigSubstitute(config, &pattern, FcMatchPattern)) return nullptr;
    FcDefaultSubstitute(&pattern);
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, &pattern, &result));
    if (result != FcResultMatch) return nullptr;
    return match;
}

std::optional<FaceLocation> locationOf(const FcPattern& match) {
    const FcPattern* pattern = &match;
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch || !file)
        return std::nullopt;
    FaceLocation location;
    location.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) == FcResultMatch) location.index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch && family)
        location.family = reinterpret_cast<const char*>(family);
    return location;
}

}  // namespace

std::optional<FaceLocation> matchFont(const FontRequest& request) {
    const Pattern pattern = makePattern(request);
    if (!pattern) return std::nullopt;
    const Pattern match = bestMatch(*pattern);
    if (!match) return std::nullopt;
    return locationOf(*match);
}

std::optional<FaceLocation> matchFontCovering(const FontRequest& request, char32_t codePoint) {
    const Pattern pattern = makePattern(request);
    const CharSet wanted(FcCharSetCreate());
    if (!pattern || !wanted || !FcCharSetAddChar(wanted.get(), codePoint)) return std::nullopt;
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    const Pattern match = bestMatch(*pattern);
    if (!match) return std::nullopt;
    // The coverage weighs heavily in the match but does not filter: with no face having the
    // glyph, the closest face without it comes back.
    FcCharSet* covered = nullptr;
    if (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &covered) != FcResultMatch || !covered ||
        !FcCharSetHasChar(covered, codePoint))
        return std::nullopt;
    return locationOf(*match);
}

}  // namespace platform::d3dx9
