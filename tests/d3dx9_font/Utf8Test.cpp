#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "d3dx9/Utf8.h"

namespace {

using platform::d3dx9::decodeUtf8;
constexpr char32_t R = platform::d3dx9::kReplacementCharacter;

// Decodes from a heap block of exactly the text's size, so a read past the end is an error
// under the address sanitizer.
std::vector<char32_t> decodeAll(const std::string& text) {
    const auto block = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), block.get());
    std::vector<char32_t> out;
    const char* at = block.get();
    const char* const end = at + text.size();
    while (at < end) out.push_back(decodeUtf8(at, end));
    return out;
}

struct Case {
    const char* name;
    std::string bytes;
    std::vector<char32_t> codePoints;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class Utf8Decode : public ::testing::TestWithParam<Case> {};

TEST_P(Utf8Decode, GivesTheCodePointsWithOneReplacementPerIllFormedPart) {
    EXPECT_EQ(GetParam().codePoints, decodeAll(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Decode,
    ::testing::Values(
        Case{"Ascii", "Az", {U'A', U'z'}},
        Case{"TwoBytes", "\xC3\xA9", {0xE9}},
        Case{"Hangul", "\xEA\xB0\x80\xED\x9E\xA3", {0xAC00, 0xD7A3}},
        Case{"FourBytes", "\xF0\x9F\x98\x80", {0x1F600}},
        Case{"Highest", "\xF4\x8F\xBF\xBF", {0x10FFFF}},
        Case{"StrayContinuation", "\x80" "A", {R, U'A'}},
        Case{"OverlongTwoBytes", "\xC0\x80", {R, R}},
        Case{"OverlongThreeBytes", "\xE0\x80\x80", {R, R, R}},
        Case{"Surrogate", "\xED\xA0\x80", {R, R, R}},
        Case{"PastHighest", "\xF4\x90\x80\x80", {R, R, R, R}},
        Case{"NeverALead", "\xF5\xFF" "B", {R, R, U'B'}},
        Case{"CutShortByAscii", "\xE2\x82" "A", {R, U'A'}},
        Case{"CutShortAtEnd", "A\xF0\x9F\x98", {U'A', R}},
        Case{"LeadAtEnd", "\xEA", {R}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
