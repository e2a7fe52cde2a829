// A desktop with no fonts at all: font creation fails cleanly. Its own executable, because the
// font configuration is read once per process and this one must be read before anything else.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FontTesting.h"

namespace test {
namespace {

using NoFont = FontFixture;

TEST_F(NoFont, CreationFailsAndLeavesTheOutPointerAlone) {
    const std::filesystem::path config =
        std::filesystem::path(::testing::TempDir()) / "orvek-no-fonts.conf";
    std::FILE* file = std::fopen(config.c_str(), "w");
    ASSERT_NE(nullptr, file);
    std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
    std::fclose(file);
    ASSERT_EQ(0, setenv("FONTCONFIG_FILE", config.c_str(), 1));

    ID3DXFont* const untouched = reinterpret_cast<ID3DXFont*>(0x1234);
    ID3DXFont* font = untouched;
    EXPECT_EQ(E_FAIL, createOverlayFont(device_.get(), &font));
    EXPECT_EQ(untouched, font);
    std::filesystem::remove(config);
}

}  // namespace
}  // namespace test
