#include <filesystem>
#include <string>

#include <d3dx9tex.h>
#include <gtest/gtest.h>

#include "PeakMemory.h"
#include "RecordingDevice.h"
#include "TestFiles.h"

namespace {

using test::Bytes;
using test::RecordingDevice;

// 3x2, six distinct colours; the top row is red, green, blue.
Bytes bmp3x2() {
    test::BmpFile bmp;
    bmp.rows = {{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x30, 0x20, 0x10},
                {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00}};
    return test::writeBmp(bmp);
}

// 2x2 with alpha, origin top-left.
Bytes tga2x2() {
    test::TgaFile tga;
    tga.width = 2;
    tga.height = 2;
    tga.pixelBits = 32;
    tga.descriptor = 0x28;
    tga.pixels = {0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x40,
                  0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    return test::writeTga(tga);
}

Bytes png3x2() {
    test::PngFile png;
    png.rows = {{0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF},
                {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10, 0x20, 0x30}};
    return test::writePng(png);
}

class TextureLoader : public ::testing::Test {
protected:
    std::string file(const std::string& name, const Bytes& bytes) {
        const std::string path = folder_ + "/" + name;
        test::writeFileBytes(path, bytes);
        return path;
    }

    // A pointer the loader must leave as it is whenever it fails.
    static IDirect3DTexture9* sentinel() {
        return reinterpret_cast<IDirect3DTexture9*>(static_cast<std::uintptr_t>(0x1234));
    }

    void TearDown() override { std::filesystem::remove_all(folder_); }

    const std::string folder_ = [] {
        const std::string path = ::testing::TempDir() + "orvek_textures_" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(path);
        return path;
    }();
    RecordingDevice device_;
};

TEST_F(TextureLoader, FillsEveryLevelOfAManagedTextureOfTheFilesSize) {
    IDirect3DTexture9* texture = sentinel();
    ASSERT_EQ(D3D_OK,
              D3DXCreateTextureFromFileA(&device_, file("face.bmp", bmp3x2()).c_str(), &texture));
    ASSERT_NE(nullptr, texture);
    // Full chain (0 levels), no usage, X8R8G8B8 (22) for an opaque image, managed pool (1).
    EXPECT_EQ("CreateTexture(3, 2, 0, 0x0, 22, 1) -> tex1\n", device_.log());
    EXPECT_EQ((std::vector<DWORD>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000,
                                  0xFF102030}),
              device_.texturePixels(texture));

    ASSERT_EQ(2u, texture->GetLevelCount());
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(D3D_OK, texture->LockRect(1, &locked, nullptr, 0));
    // 1x1: red, green, white and black averaged (blue only from white: 255 / 4, rounded); the
    // third column has nothing below it.
    EXPECT_EQ(0xFF808040u, *static_cast<const DWORD*>(locked.pBits));
    texture->UnlockRect(1);

    texture->Release();
    EXPECT_EQ(0, device_.liveResources());
}

TEST_F(TextureLoader, ChoosesTheFormatByContentAndTheTextureFormatByAlpha) {
    struct Case {
        int line;
        std::string name;
        Bytes bytes;
        std::string created;
    };
    const Case kCases[] = {
        {__LINE__, "alpha.tga", tga2x2(), "CreateTexture(2, 2, 0, 0x0, 21, 1) -> tex1\n"},
        {__LINE__, "png_named.jpg", png3x2(), "CreateTexture(3, 2, 0, 0x0, 22, 1) -> tex1\n"},
        {__LINE__, "bmp_named.tga", bmp3x2(), "CreateTexture(3, 2, 0, 0x0, 22, 1) -> tex1\n"},
        {__LINE__, "no_extension", tga2x2(), "CreateTexture(2, 2, 0, 0x0, 21, 1) -> tex1\n"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        RecordingDevice device;
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3D_OK,
                  D3DXCreateTextureFromFileA(&device, file(c.name, c.bytes).c_str(), &texture));
        EXPECT_EQ(c.created, device.log());
        if (texture) texture->Release();
        EXPECT_EQ(0, device.liveResources());
    }
}

TEST_F(TextureLoader, FailsWithoutATextureForFilesItCannotRead) {
    std::filesystem::create_directories(folder_ + "/folder.bmp");
    struct Case {
        int line;
        std::string path;
    };
    const Case kCases[] = {
        {__LINE__, folder_ + "/missing.bmp"},
        {__LINE__, folder_ + "/folder.bmp"},
        {__LINE__, file("empty.bmp", {})},
        {__LINE__, file("text.bmp", {'h', 'e', 'l', 'l', 'o', '\n'})},
        {__LINE__, file("signature_only.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        IDirect3DTexture9* texture = sentinel();
        EXPECT_EQ(E_FAIL, D3DXCreateTextureFromFileA(&device_, c.path.c_str(), &texture));
        EXPECT_EQ(sentinel(), texture);
    }
    EXPECT_EQ("", device_.log());  // no texture was even asked for
}

// A few dozen bytes that claim gigabytes: refused within a bounded peak, silently, and the
// caller's pointer left as it was.
TEST_F(TextureLoader, RefusesASmallFileThatClaimsAHugeCostWithinABoundedPeakAndSaysNothing) {
    const Bytes text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'a', 'b', 'c'};
    const Bytes compressed = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0, 0x78, 0x9C};
    struct Case {
        int line;
        Bytes bytes;
    };
    const Case kCases[] = {
        {__LINE__, test::pngWithClaimingChunk("tEXt", 0x7FFFFFFF, text)},
        {__LINE__, test::pngWithClaimingChunk("zTXt", 0x7FFFFFFF, compressed)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        ASSERT_EQ(52u, c.bytes.size());
        const std::string path = file("face.png", c.bytes);
        IDirect3DTexture9* texture = sentinel();
        HRESULT hr = S_OK;
        testing::internal::CaptureStderr();
        EXPECT_LT(test::PeakGrowthBytes([&] {
                      hr = D3DXCreateTextureFromFileA(&device_, path.c_str(), &texture);
                  }),
                  4 * test::kMiB);
        EXPECT_EQ("", testing::internal::GetCapturedStderr());
        EXPECT_EQ(E_FAIL, hr);
        EXPECT_EQ(sentinel(), texture);
    }
    EXPECT_EQ("", device_.log());
}

TEST_F(TextureLoader, FailsWithoutATextureAtEveryTruncationOfTheFile) {
    const Bytes whole = bmp3x2();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const std::string path = file(
            "cut.bmp", Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        IDirect3DTexture9* texture = sentinel();
        EXPECT_EQ(E_FAIL, D3DXCreateTextureFromFileA(&device_, path.c_str(), &texture)) << size;
        EXPECT_EQ(sentinel(), texture) << size;
    }
    EXPECT_EQ("", device_.log());
}

TEST_F(TextureLoader, RefusesNullArgumentsAndAnEmptyName) {
    const std::string path = file("face.bmp", bmp3x2());
    struct Case {
        int line;
        bool device;
        const char* name;
        HRESULT result;
    };
    const Case kCases[] = {
        {__LINE__, false, path.c_str(), D3DERR_INVALIDCALL},
        {__LINE__, true, nullptr, D3DERR_INVALIDCALL},
        {__LINE__, true, "", E_FAIL},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        IDirect3DTexture9* texture = sentinel();
        EXPECT_EQ(c.result,
                  D3DXCreateTextureFromFileA(c.device ? &device_ : nullptr, c.name, &texture));
        EXPECT_EQ(sentinel(), texture);
    }
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXCreateTextureFromFileA(&device_, path.c_str(), nullptr));
    EXPECT_EQ("", device_.log());
}

TEST_F(TextureLoader, PassesOnTheDevicesRefusal) {
    device_.refuse("CreateTexture");
    IDirect3DTexture9* texture = sentinel();
    EXPECT_EQ(D3DERR_INVALIDCALL,
              D3DXCreateTextureFromFileA(&device_, file("face.bmp", bmp3x2()).c_str(), &texture));
    EXPECT_EQ(sentinel(), texture);
    EXPECT_EQ(0, device_.liveResources());
}

}  // namespace
