// Image.h: the decoded form every image decoder returns, and the size limits they all enforce.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::d3dx9 {

struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;  // A8R8G8B8, top row first, width * height of them
    bool hasAlpha = false;              // false: every alpha byte is 0xFF
};

// A header may claim any size; these keep a small hostile file from asking for gigabytes.
constexpr std::uint32_t kMaxImageSide = 16384;
constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 24;  // 64 MiB of pixels

constexpr bool isAcceptableSize(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

// An image of that size with every pixel 0, or nothing when the size is outside the limits.
inline std::optional<Image> allocateImage(std::uint64_t width, std::uint64_t height,
                                          bool hasAlpha) {
    if (!isAcceptableSize(width, height)) return std::nullopt;
    Image image;
    image.width = static_cast<std::uint32_t>(width);
    image.height = static_cast<std::uint32_t>(height);
    image.pixels.resize(width * height);
    image.hasAlpha = hasAlpha;
    return image;
}

}  // namespace platform::d3dx9
