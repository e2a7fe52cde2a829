// The whole texture loader on a fuzzed file: format sniffing, decoding and every mip level,
// into a headless software device's texture. Beyond not crashing: a texture comes with its full
// chain, each level half the one above; a failure leaves the caller's pointer as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <d3dx9tex.h>

#include "MemoryFile.h"
#include "d3d9/ComRef.h"
#include "d3d9/HeadlessDevice.h"
#include "d3dx9/MipChain.h"

namespace {

struct Scene {
    Scene() : window(8, 8) {
        d3d = platform::ComRef<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
        device = platform::d3d9::createHeadlessDevice(d3d.get(), window);
        if (!device) std::abort();
    }
    platform::d3d9::HeadlessWindow window;
    platform::ComRef<IDirect3D9> d3d;
    platform::ComRef<IDirect3DDevice9> device;
    fuzz::MemoryFile file;
};

void checkLevels(IDirect3DTexture9& texture) {
    D3DSURFACE_DESC top{};
    if (FAILED(texture.GetLevelDesc(0, &top))) std::abort();
    if (texture.GetLevelCount() != platform::d3dx9::mipLevelCount(top.Width, top.Height))
        std::abort();
    for (UINT level = 1; level < texture.GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc{};
        if (FAILED(texture.GetLevelDesc(level, &desc)) ||
            desc.Width != std::max(1u, top.Width >> level) ||
            desc.Height != std::max(1u, top.Height >> level))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scene scene;
    IDirect3DTexture9* const untouched = reinterpret_cast<IDirect3DTexture9*>(std::uintptr_t{8});
    IDirect3DTexture9* texture = untouched;
    const HRESULT hr = D3DXCreateTextureFromFileA(scene.device.get(),
                                                  scene.file.hold(data, size), &texture);
    if (FAILED(hr)) {
        if (texture != untouched) std::abort();
        return 0;
    }
    if (!texture) std::abort();
    checkLevels(*texture);
    if (texture->Release() != 0) std::abort();
    return 0;
}
