// TempFiles.h: a scratch directory that goes with the test, and the small bitmap files the world
// tests write into it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvek-world-XXXXXX");
        if (char* made = mkdtemp(pattern.data())) path_ = made;
        EXPECT_FALSE(path_.empty()) << "cannot make a scratch directory";
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::string path = file(name);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << "cannot write " << path;
        return path;
    }

private:
    std::filesystem::path path_;
};

inline void PutLE(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value,
                  int size) {
    for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The 54 bytes of a bitmap's file and information headers, for an uncompressed image of the
// given bit depth, followed by no pixel data.
inline std::vector<std::uint8_t> BmpHeaders(std::int32_t width, std::int32_t height,
                                            std::uint16_t bitCount = 24,
                                            std::uint32_t compression = 0) {
    std::vector<std::uint8_t> bytes(54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLE(bytes, 10, 54, 4);  // bfOffBits
    PutLE(bytes, 14, 40, 4);  // biSize
    PutLE(bytes, 18, static_cast<std::uint32_t>(width), 4);
    PutLE(bytes, 22, static_cast<std::uint32_t>(height), 4);
    PutLE(bytes, 26, 1, 2);
    PutLE(bytes, 28, bitCount, 2);
    PutLE(bytes, 30, compression, 4);
    return bytes;
}

// A complete 24-bit bottom-up bitmap of one colour, 0xRRGGBB.
inline std::vector<std::uint8_t> SolidBmp(std::int32_t width, std::int32_t height,
                                          std::uint32_t rgb) {
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> bytes = BmpHeaders(width, height);
    bytes.resize(54 + rowBytes * static_cast<std::size_t>(height), 0);
    PutLE(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    PutLE(bytes, 34, static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(height)), 4);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y) * rowBytes + x * 3;
            bytes[at + 0] = static_cast<std::uint8_t>(rgb);
            bytes[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
            bytes[at + 2] = static_cast<std::uint8_t>(rgb >> 16);
        }
    }
    return bytes;
}

}  // namespace test
