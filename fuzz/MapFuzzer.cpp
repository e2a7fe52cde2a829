// The ground made from a fuzzed map file on a headless software device: created, drawn once,
// released twice. Beyond not crashing: a ground is made only within the device's limits for one
// draw, and a refused map leaves nothing behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <d3d9.h>

#include "MemoryFile.h"
#include "Terrain.h"
#include "d3d9/ComRef.h"
#include "d3d9/HeadlessDevice.h"

namespace {

struct Scene {
    Scene() : window(64, 48) {
        d3d = platform::ComRef<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
        device = platform::d3d9::createHeadlessDevice(d3d.get(), window);
        if (!device || FAILED(device->GetDeviceCaps(&caps))) std::abort();
    }
    platform::d3d9::HeadlessWindow window;
    platform::ComRef<IDirect3D9> d3d;
    platform::ComRef<IDirect3DDevice9> device;
    D3DCAPS9 caps{};
    fuzz::MemoryFile map;
};

void checkMade(const CTerrain& terrain, const D3DCAPS9& caps) {
    const std::uint64_t triangles = std::uint64_t{2} * (terrain.m_nCols - 1) * (terrain.m_nRows - 1);
    const std::uint64_t vertices = std::uint64_t(terrain.m_nCols) * std::uint64_t(terrain.m_nRows);
    if (terrain.m_nCols < 2 || terrain.m_nRows < 2 || triangles > caps.MaxPrimitiveCount ||
        vertices - 1 > caps.MaxVertexIndex || !terrain.m_pVB || !terrain.m_pIB ||
        !terrain.m_pPositions || !terrain.m_pTriangles ||
        terrain.m_nTriangles != static_cast<int>(triangles))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scene scene;
    const char* const noTextures[CTerrain::kTextures] = {"", "", "", ""};
    const D3DXVECTOR3 scale(2.0f, 0.0f, 2.0f);
    CTerrain terrain;
    const HRESULT hr =
        terrain.Create(scene.device.get(), &scale, scene.map.hold(data, size), noTextures);
    if (FAILED(scene.device->BeginScene())) std::abort();
    terrain.Render();
    scene.device->EndScene();
    if (SUCCEEDED(hr)) {
        checkMade(terrain, scene.caps);
    } else if (terrain.m_pVB || terrain.m_pIB || terrain.m_pPositions || terrain.m_nTriangles) {
        std::abort();
    }
    terrain.Release();
    terrain.Release();
    return 0;
}
