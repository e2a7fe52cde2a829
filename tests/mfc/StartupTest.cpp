// What the layer's start-up keeps of the user's locale: its character set for Qt, and not its
// number format, which would reach every number the program prints or reads with the C runtime.
#include <clocale>
#include <cstdio>
#include <string>

#include "LayerFixture.h"

namespace test {
namespace {

TEST_F(LayerTest, NumbersKeepTheCFormatUnderTheUsersLocale) {
    // The test processes run under C.UTF-8, which Qt takes for every category at its start.
    EXPECT_EQ(std::string(std::setlocale(LC_CTYPE, nullptr)), "C.UTF-8");
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), "C");
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 59.9);
    EXPECT_STREQ(text, "59.9");
}

}  // namespace
}  // namespace test
