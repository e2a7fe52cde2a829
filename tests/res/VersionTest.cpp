#include <gtest/gtest.h>

#include <map>

#include "ResourceTesting.h"

namespace {

using platform::mfc::applicationResources;
using test::utf8;

std::map<std::string, std::string> versionStrings() {
    std::map<std::string, std::string> strings;
    for (const auto& entry : applicationResources().version->strings)
        strings[utf8(entry.name)] = utf8(entry.value);
    return strings;
}

TEST(VersionRecord, IsOnePointZeroPointZeroPointOneInKoreanUnicode) {
    const auto& resources = applicationResources();
    ASSERT_NE(nullptr, resources.version);
    const auto& version = *resources.version;
    const std::array<WORD, 4> kVersion = {1, 0, 0, 1};
    EXPECT_EQ(kVersion, std::to_array(version.fileVersion));
    EXPECT_EQ(kVersion, std::to_array(version.productVersion));
    EXPECT_EQ(0x0412, version.language);
    EXPECT_EQ(1200, version.codePage);
    EXPECT_EQ(0x0412, resources.language);
}

TEST(VersionRecord, StringsMatchTheNumbersAndNameTheProgram) {
    const auto& version = *applicationResources().version;
    auto spelled = [](const WORD(&parts)[4]) {
        return std::to_string(parts[0]) + ", " + std::to_string(parts[1]) + ", " +
               std::to_string(parts[2]) + ", " + std::to_string(parts[3]);
    };
    const auto strings = versionStrings();
    EXPECT_EQ(version.strings.size(), strings.size()) << "a name given twice";
    EXPECT_EQ(spelled(version.fileVersion), strings.at("FileVersion"));
    EXPECT_EQ(spelled(version.productVersion), strings.at("ProductVersion"));
    EXPECT_EQ("", strings.at("CompanyName"));
    EXPECT_EQ("", strings.at("LegalTrademarks"));
    for (const char* name :
         {"FileDescription", "InternalName", "OriginalFilename", "ProductName", "LegalCopyright"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(strings.contains(name));
        EXPECT_NE(std::string::npos, strings.at(name).find("Orvek"));
    }
}

}  // namespace
