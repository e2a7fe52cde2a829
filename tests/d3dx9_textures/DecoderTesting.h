// DecoderTesting.h: checks shared by the decoder suites.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "d3dx9/Image.h"

namespace test {

// "2x1 alpha {ffff0000 ff00ff00}": one string, so a mismatch shows the whole picture.
inline std::string describe(const std::optional<platform::d3dx9::Image>& image) {
    if (!image) return "no image";
    std::string text = std::to_string(image->width) + "x" + std::to_string(image->height) +
                       (image->hasAlpha ? " alpha {" : " opaque {");
    for (std::size_t i = 0; i < image->pixels.size(); ++i) {
        char pixel[12];
        std::snprintf(pixel, sizeof pixel, "%s%08x", i == 0 ? "" : " ", image->pixels[i]);
        text += pixel;
    }
    return text + "}";
}

inline std::string describe(std::uint32_t width, std::uint32_t height, bool hasAlpha,
                            const std::vector<std::uint32_t>& pixels) {
    return describe(platform::d3dx9::Image{width, height, pixels, hasAlpha});
}

// Every proper prefix of a valid file is refused. Each prefix is its own allocation of exactly
// its size, so under AddressSanitizer a read one byte too far is caught.
template <class Decode>
void expectEveryTruncationFails(Decode decode, const Bytes& file) {
    ASSERT_TRUE(decode(file).has_value()) << "the whole file must decode";
    for (std::size_t size = 0; size < file.size(); ++size) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(decode(prefix).has_value())
            << "decoded the first " << size << " of " << file.size() << " bytes";
    }
}

}  // namespace test
