// D3DXCreateTextureFromFileA: reads the whole file, decodes it by its content, and fills every
// level of a managed texture of the image's own size, each level box-filtered from the one above.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <d3dx9tex.h>

#include "d3d9/ComRef.h"
#include "d3dx9/ImageDecoder.h"
#include "d3dx9/MipChain.h"

namespace platform::d3dx9 {
namespace {

// Far above any file that decodes within the image limits; refuses a device file or a huge
// file before it is read whole.
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<std::vector<std::uint8_t>> readFile(const char* name) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name, "rb"));
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[1 << 16];
    while (const std::size_t count = std::fread(chunk, 1, sizeof chunk, file.get())) {
        if (count > kMaxFileBytes - bytes.size()) return std::nullopt;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    if (std::ferror(file.get()) || bytes.empty()) return std::nullopt;
    return bytes;
}

HRESULT writeLevel(IDirect3DTexture9& texture, UINT level, const Image& image) {
    D3DSURFACE_DESC desc{};
    HRESULT hr = texture.GetLevelDesc(level, &desc);
    if (FAILED(hr)) return hr;
    // A level of another size than the one computed here would be written out of bounds.
    if (desc.Width != image.width || desc.Height != image.height) return E_FAIL;

    D3DLOCKED_RECT locked{};
    hr = texture.LockRect(level, &locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    const std::size_t rowBytes = std::size_t{image.width} * 4;
    if (!locked.pBits || locked.Pitch < 0 || static_cast<std::size_t>(locked.Pitch) < rowBytes) {
        texture.UnlockRect(level);
        return E_FAIL;
    }
    auto* bits = static_cast<std::uint8_t*>(locked.pBits);
    for (std::uint32_t y = 0; y < image.height; ++y)
        std::memcpy(bits + std::size_t{y} * static_cast<std::size_t>(locked.Pitch),
                    image.pixels.data() + std::size_t{y} * image.width, rowBytes);
    return texture.UnlockRect(level);
}

HRESULT fillLevels(IDirect3DTexture9& texture, const Image& top) {
    const DWORD levels = texture.GetLevelCount();
    if (levels == 0 || levels > mipLevelCount(top.width, top.height)) return E_FAIL;
    Image below;
    const Image* current = &top;
    for (UINT level = 0; level < levels; ++level) {
        if (level > 0) {
            below = halveImage(*current);
            current = &below;
        }
        const HRESULT hr = writeLevel(texture, level, *current);
        if (FAILED(hr)) return hr;
    }
    return D3D_OK;
}

}  // namespace
}  // namespace platform::d3dx9

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                   IDirect3DTexture9** ppTexture) {
    using namespace platform::d3dx9;
    if (!ppTexture || !pDevice || !pSrcFile) return D3DERR_INVALIDCALL;
    if (*pSrcFile == '\0') return E_FAIL;
    try {
        const auto file = readFile(pSrcFile);
        if (!file) return E_FAIL;
        const auto image = decodeImage(*file);
        if (!image) return E_FAIL;

        platform::ComRef<IDirect3DTexture9> texture;
        const HRESULT hr = pDevice->CreateTexture(
            image->width, image->height, 0, 0, image->hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8,
            D3DPOOL_MANAGED, texture.put(), nullptr);
        if (FAILED(hr)) return hr;
        if (!texture) return E_FAIL;
        const HRESULT filled = fillLevels(*texture.get(), *image);
        if (FAILED(filled)) return filled;
        *ppTexture = texture.release();
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
