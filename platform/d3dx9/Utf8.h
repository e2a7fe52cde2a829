// Utf8.h: decoding of the narrow text the font draws. UTF-8 is this platform's narrow code page.
#pragma once

namespace platform::d3dx9 {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point at `at` and moves `at` past it; reads nothing at or past `end` (at < end
// on entry). An ill-formed sequence (a stray continuation byte, an overlong form, a surrogate,
// a value past U+10FFFF, a sequence cut short) gives U+FFFD and consumes only its longest valid
// start, at least one byte, so the characters after a bad byte still draw.
char32_t decodeUtf8(const char*& at, const char* end) noexcept;

}  // namespace platform::d3dx9
