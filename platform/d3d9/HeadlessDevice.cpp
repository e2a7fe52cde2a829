#include "d3d9/HeadlessDevice.h"

namespace platform::d3d9 {

ComRef<IDirect3DDevice9> createHeadlessDevice(IDirect3D9* d3d, HeadlessWindow& window) noexcept {
    if (!d3d) return {};
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ComRef<IDirect3DDevice9> device;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, device.put())))
        return {};
    return device;
}

}  // namespace platform::d3d9
