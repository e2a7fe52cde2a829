// The Unicode "maximal subpart" rule: each ill-formed sequence becomes one U+FFFD.
#include "d3dx9/Utf8.h"

namespace platform::d3dx9 {

char32_t decodeUtf8(const char*& at, const char* end) noexcept {
    const auto lead = static_cast<unsigned char>(*at++);
    if (lead < 0x80) return lead;

    int following = 0;
    // The range of the first continuation byte: narrower after E0, ED, F0 and F4, which is what
    // rules out overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return kReplacementCharacter;
    }

    char32_t codePoint = lead & (0x3F >> following);
    for (int i = 0; i < following; ++i) {
        if (at == end) return kReplacementCharacter;
        const auto next = static_cast<unsigned char>(*at);
        if (next < low || next > high) return kReplacementCharacter;
        ++at;
        codePoint = (codePoint << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return codePoint;
}

}  // namespace platform::d3dx9
