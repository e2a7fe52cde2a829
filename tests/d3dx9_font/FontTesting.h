// FontTesting.h: a software device on a headless window, the overlay's font on it, and the back
// buffer as a picture a test can search for the pixels the text changed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include <d3dx9.h>

#include "d3d9/ComRef.h"
#include "d3d9/HeadlessDevice.h"

namespace test {

using platform::ComRef;

constexpr D3DCOLOR kYellow = 0xFFFFFF00;
constexpr D3DCOLOR kBackground = 0xFF000000;

// The rows and columns a picture differs from the background in; empty when it does not.
struct Extent {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
    bool empty() const { return left >= right; }
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    bool operator==(const Picture&) const = default;

    Extent changed(std::uint32_t background = kBackground) const {
        Extent e{width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) != background) {
                    e.left = std::min(e.left, x);
                    e.top = std::min(e.top, y);
                    e.right = std::max(e.right, x + 1);
                    e.bottom = std::max(e.bottom, y + 1);
                }
        if (e.right == 0) return {};
        return e;
    }
};

class FontFixture : public ::testing::Test {
protected:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 120;

    FontFixture() : window_(kWidth, kHeight) {
        d3d_ = ComRef<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
        device_ = platform::d3d9::createHeadlessDevice(d3d_.get(), window_);
        EXPECT_TRUE(device_);
    }

    // The font the overlay makes.
    static HRESULT createOverlayFont(IDirect3DDevice9* device, ID3DXFont** font,
                                     const char* face = "Arial") {
        return D3DXCreateFontA(device, 20, 0, FW_BOLD, 0, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               face, font);
    }

    ComRef<ID3DXFont> overlayFont() {
        ComRef<ID3DXFont> font;
        EXPECT_EQ(D3D_OK, createOverlayFont(device_.get(), font.put()));
        return font;
    }

    void clear(D3DCOLOR colour = kBackground) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
    }

    Picture picture() {
        ComRef<IDirect3DSurface9> surface;
        EXPECT_EQ(D3D_OK, device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, surface.put()));
        D3DSURFACE_DESC desc{};
        surface->GetDesc(&desc);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(D3D_OK, surface->LockRect(&locked, nullptr, D3DLOCK_READONLY));
        Picture out{int(desc.Width), int(desc.Height),
                    std::vector<std::uint32_t>(std::size_t(desc.Width) * desc.Height)};
        for (UINT y = 0; y < desc.Height; ++y)
            std::memcpy(out.pixels.data() + std::size_t(y) * desc.Width,
                        static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch,
                        desc.Width * 4);
        surface->UnlockRect();
        return out;
    }

    // Clears, draws one text at (x, y) and returns the back buffer.
    Picture drawn(ID3DXFont& font, const char* text, int x, int y, DWORD format = DT_NOCLIP,
                  D3DCOLOR colour = kYellow, INT count = -1) {
        clear();
        RECT rect{x, y, 0, 0};
        font.DrawTextA(nullptr, text, count, &rect, format, colour);
        return picture();
    }

    platform::d3d9::HeadlessWindow window_;
    ComRef<IDirect3D9> d3d_;
    ComRef<IDirect3DDevice9> device_;
};

}  // namespace test
