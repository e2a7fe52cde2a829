// PictureScene.h: the scene's objects drawn by the software device on a small headless window,
// with the view's own device states, projection and clear colour, so a test reads back the
// picture a user would see. Points of the world are projected with the same matrices, so a test
// can name the spot of an object it expects to see and read the pixel there.
//
// Set ORVEK_PICTURE_DIR to a directory to have every frame written there as a PPM file, named
// after the test and the frame, to look at what a test saw.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <d3dx9.h>

#include "Camera.h"
#include "d3d9/ComRef.h"
#include "d3d9/HeadlessDevice.h"

namespace test {

struct Rgb {
    int r, g, b;
};

inline std::ostream& operator<<(std::ostream& out, Rgb c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline Rgb RgbOf(std::uint32_t pixel) {
    return {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
}

// Every channel within the tolerance: filtering and JPEG noise move a flat area's colour by a
// few steps, the pictures' colours lie far further apart.
inline bool NearColour(Rgb expected, Rgb actual, int tolerance = 40) {
    return std::abs(expected.r - actual.r) <= tolerance &&
           std::abs(expected.g - actual.g) <= tolerance &&
           std::abs(expected.b - actual.b) <= tolerance;
}

inline std::string DataFile(const char* name) {
    return std::string(ORVEK_DATA_DIR) + "/" + name;
}

class PictureScene {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 180;
    static constexpr D3DCOLOR kClearColour = 0xFF6E93BF;  // the view's

    PictureScene() : window_(kWidth, kHeight) {
        d3d_ = platform::ComRef<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
        device_ = platform::d3d9::createHeadlessDevice(d3d_.get(), window_);
        EXPECT_TRUE(device_);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        D3DXMatrixPerspectiveFovLH(&projection_, D3DX_PI / 4, float(kWidth) / float(kHeight), 1.0f,
                                   1000.0f);
        device_->SetTransform(D3DTS_PROJECTION, &projection_);
        look(D3DXVECTOR3(0.0f, 0.0f, -5.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f),
             D3DXVECTOR3(0.0f, 1.0f, 0.0f));
    }

    IDirect3DDevice9* device() const { return device_.get(); }

    // The view transform the frame gives the device: the camera's look-at matrix.
    void look(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, const D3DXVECTOR3& up) {
        camera_.SetView(&eye, &at, &up);
        device_->SetTransform(D3DTS_VIEW, camera_.GetViewMatrix());
        D3DXMatrixMultiply(&viewProjection_, camera_.GetViewMatrix(), &projection_);
    }

    // One frame as the view makes it: clear, draw, present; named for ORVEK_PICTURE_DIR.
    void frame(const std::string& name, const std::function<void()>& draw) {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
        device_->BeginScene();
        draw();
        device_->EndScene();
        device_->Present(nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(std::size_t(kWidth) * kHeight, window_.lastFrame().size());
        save(name);
    }

    std::uint32_t pixel(int x, int y) const { return window_.pixel(x, y); }
    // Pixels of the last frame not of the clear colour.
    int pixelsDrawn() const {
        int drawn = 0;
        for (std::uint32_t p : window_.lastFrame())
            if ((p & 0xFFFFFF) != (kClearColour & 0xFFFFFF)) ++drawn;
        return drawn;
    }

    struct ScreenPoint {
        float x, y;  // pixels from the window's top-left corner
    };

    // Where a world point lands on the window, as a pixel; false when it lies behind the eye or
    // off the window.
    bool project(const D3DXVECTOR3& world, int& x, int& y) const {
        const Clip clip = transform(world);
        if (clip.w <= 0.0f) return false;
        const ScreenPoint p = toScreen(clip);
        x = int(std::floor(p.x));
        y = int(std::floor(p.y));
        return x >= 0 && x < kWidth && y >= 0 && y < kHeight;
    }

    // Where a world point in front of the eye lands, unrounded and unclipped.
    ScreenPoint screenPoint(const D3DXVECTOR3& world) const { return toScreen(transform(world)); }

private:
    struct Clip {
        float x, y, z, w;
    };

    Clip transform(const D3DXVECTOR3& p) const {
        const D3DXMATRIX& m = viewProjection_;
        return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41,
                p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
                p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43,
                p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44};
    }

    static ScreenPoint toScreen(const Clip& clip) {
        return {(clip.x / clip.w + 1.0f) * 0.5f * kWidth,
                (1.0f - clip.y / clip.w) * 0.5f * kHeight};
    }

    void save(const std::string& name) const {
        const char* dir = std::getenv("ORVEK_PICTURE_DIR");
        if (!dir) return;
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        const std::string path = std::string(dir) + "/" + info->test_suite_name() + "." +
                                 info->name() + "." + name + ".ppm";
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << kWidth << ' ' << kHeight << "\n255\n";
        for (std::uint32_t p : window_.lastFrame()) {
            const char rgb[] = {char(p >> 16), char(p >> 8), char(p)};
            out.write(rgb, sizeof rgb);
        }
    }

    platform::d3d9::HeadlessWindow window_;
    platform::ComRef<IDirect3D9> d3d_;
    platform::ComRef<IDirect3DDevice9> device_;
    CCamera camera_;
    D3DXMATRIX projection_;
    D3DXMATRIX viewProjection_;
};

}  // namespace test
