// The program started in a working directory whose data has one bad file in place of a good
// one: it keeps running, says why the ground is missing in one line, says nothing of a texture
// (that face or the ground is drawn bare), and its memory stays bounded whatever the file
// claims.
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PeakMemory.h"
#include "SceneFixture.h"
#include "Terrain.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Kind { File, Directory };

struct BadFile {
    const char* label;
    const char* name;  // the data file it replaces
    Kind kind;
    Bytes bytes;
    std::string report;  // the one line on standard error after "Orvek: ", or "" for none
};

void PrintTo(const BadFile& bad, std::ostream* out) { *out << bad.label; }

// 54 bytes: a bitmap's file and information headers with the given width and height.
Bytes mapHeaders(std::int32_t width, std::int32_t height) {
    Bytes bytes(54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    return bytes;
}

// 52 bytes: a 1x1 PNG's signature and header, then a chunk that declares 2^31 - 1 bytes.
Bytes pngClaiming(const char (&type)[5], const Bytes& data) {
    Bytes bytes = {0x89, 'P',  'N',  'G',  '\r', '\n', 0x1A, '\n', 0,    0,    0,    13,
                   'I',  'H',  'D',  'R',  0,    0,    0,    1,    0,    0,    0,    1,
                   8,    2,    0,    0,    0,    0x90, 0x77, 0x53, 0xDE, 0x7F, 0xFF, 0xFF, 0xFF};
    bytes.insert(bytes.end(), type, type + 4);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

const Bytes kText = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'a', 'b', 'c'};
const Bytes kCompressed = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0, 0x78, 0x9C};
const std::string kTextFile = "This is a text file, not a bitmap: its bytes 18 to 25 are letters.\n";

const BadFile kBadFiles[] = {
    {"MapOfGigabytes", "map1.bmp", Kind::File, mapHeaders(11000, 12000),
     "no ground can be made from the map \"map1.bmp\": its header's width 11000 and height 12000 "
     "make 263954002 triangles, more than the 1048575 the device draws in one call"},
    {"MapThatIsADirectory", "map1.bmp", Kind::Directory, {},
     "no ground can be made from the map \"map1.bmp\": it cannot be read: Is a directory"},
    {"MapThatIsText", "map1.bmp", Kind::File, Bytes(kTextFile.begin(), kTextFile.end()),
     "no ground can be made from the map \"map1.bmp\": its header's width 1847602277 and height "
     "1629516911 make 6021398303392974320 triangles, more than the 1048575 the device draws in "
     "one call"},
    {"FaceOfTwoGigabytesOfText", "zUp.jpg", Kind::File, pngClaiming("tEXt", kText), ""},
    {"FaceOfCompressedText", "zUp.jpg", Kind::File, pngClaiming("zTXt", kCompressed), ""},
    {"GroundTextureOfText", "check.bmp", Kind::File, pngClaiming("tEXt", kText), ""},
};

// A copy of the data folder with the bad file in place, made the working directory before the
// program starts, with standard error captured and the peak memory so far noted.
class BadDataFolder {
protected:
    explicit BadDataFolder(const BadFile& bad)
        : previous_(std::filesystem::current_path()),
          folder_(std::filesystem::temp_directory_path() /
                  ("orvek-bad-data-" + std::string(bad.label))) {
        std::filesystem::remove_all(folder_);
        std::filesystem::copy(previous_, folder_);
        const std::filesystem::path replaced = folder_ / bad.name;
        std::filesystem::remove(replaced);
        if (bad.kind == Kind::Directory) {
            std::filesystem::create_directory(replaced);
        } else {
            std::FILE* out = std::fopen(replaced.c_str(), "wb");
            std::fwrite(bad.bytes.data(), 1, bad.bytes.size(), out);
            std::fclose(out);
        }
        std::filesystem::current_path(folder_);
        testing::internal::CaptureStderr();
        peakBefore_ = test::PeakResidentBytes();
    }
    ~BadDataFolder() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    std::size_t peakBefore_ = 0;

private:
    const std::filesystem::path previous_;
    const std::filesystem::path folder_;
};

class BadDataTest : public ::testing::WithParamInterface<BadFile>,
                    public BadDataFolder,
                    public test::SceneTest {
protected:
    BadDataTest() : BadDataFolder(GetParam()) {}
};

// The lines the program itself wrote; Qt's platform plugin has its own say on standard error.
std::string programLines(const std::string& captured) {
    std::string lines;
    for (std::size_t at = captured.find("Orvek: "); at != std::string::npos;
         at = captured.find("Orvek: ", at + 1))
        lines += captured.substr(at + 7, captured.find('\n', at) - at - 7) + "\n";
    return lines;
}

TEST_P(BadDataTest, KeepsRunningSaysWhyTheGroundIsMissingAndStaysWithinBoundedMemory) {
    const BadFile& bad = GetParam();
    settle();
    framesAfter(settle(), 3, test::kPollGap);
    const std::string captured = testing::internal::GetCapturedStderr();
    EXPECT_EQ(bad.report.empty() ? "" : bad.report + "\n", programLines(captured)) << captured;
    EXPECT_FALSE(picture().isNull());

    const CTerrain& ground = *view().m_pTerrain;
    const bool mapIsBad = std::string(bad.name) == "map1.bmp";
    EXPECT_EQ(mapIsBad, ground.m_pVB == nullptr);
    EXPECT_EQ(mapIsBad, ground.m_nTriangles == 0);
    // A ground without a map loads no texture.
    EXPECT_EQ(mapIsBad || std::string(bad.name) == "check.bmp", ground.m_pTex[0] == nullptr);
    EXPECT_EQ(std::string(bad.name) == "zUp.jpg", view().m_Cube.m_pTex[0] == nullptr);
    for (int face = 1; face < 6; ++face) EXPECT_NE(nullptr, view().m_Cube.m_pTex[face]) << face;

    // The whole program, started: a file that claimed gigabytes cost next to nothing.
    EXPECT_LT(test::PeakResidentBytes() - peakBefore_, 200 * test::kMiB);
}

INSTANTIATE_TEST_SUITE_P(OneBadFile, BadDataTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
