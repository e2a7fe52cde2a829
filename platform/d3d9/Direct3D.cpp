// The Direct3D object: makes windowed software devices on the layer's windows.
#include <atomic>
#include <new>
#include <system_error>
#include <thread>

#include "d3d9/Device.h"
#include "d3d9/DeviceOptions.h"
#include "win32/Window.h"

namespace platform::d3d9 {

namespace {

std::atomic<unsigned> requestedThreads{0};

// Larger back buffers would leave the guard band's fixed-point range (see Clipper.h).
constexpr LONG kMaxBackBufferSize = 8192;

class Direct3D final : public RefCounted<IDirect3D9> {
public:
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                         DWORD BehaviorFlags, D3DPRESENT_PARAMETERS* pp,
                         IDirect3DDevice9** ppDevice) noexcept override {
        if (!ppDevice) return D3DERR_INVALIDCALL;
        *ppDevice = nullptr;
        if (!pp || Adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
        if (DeviceType != D3DDEVTYPE_HAL && DeviceType != D3DDEVTYPE_REF &&
            DeviceType != D3DDEVTYPE_SW) {
            return D3DERR_INVALIDCALL;
        }
        // Exactly one way of processing vertices must be named; all of them run here in software.
        const DWORD processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                                  D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                                  D3DCREATE_MIXED_VERTEXPROCESSING);
        if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING &&
            processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
            processing != D3DCREATE_MIXED_VERTEXPROCESSING) {
            return D3DERR_INVALIDCALL;
        }
        HWND window = pp->hDeviceWindow ? pp->hDeviceWindow : hFocusWindow;
        if (!window || !pp->Windowed || pp->MultiSampleType != D3DMULTISAMPLE_NONE) {
            return D3DERR_INVALIDCALL;  // windowed, single-sampled devices only
        }
        D3DFORMAT format = pp->BackBufferFormat;
        if (format == D3DFMT_UNKNOWN) format = D3DFMT_X8R8G8B8;
        if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8) return D3DERR_INVALIDCALL;
        if (pp->EnableAutoDepthStencil && pp->AutoDepthStencilFormat != D3DFMT_D16) {
            return D3DERR_INVALIDCALL;
        }
        const SIZE client = window->clientSize();
        const LONG width = pp->BackBufferWidth ? static_cast<LONG>(pp->BackBufferWidth) : client.cx;
        const LONG height =
            pp->BackBufferHeight ? static_cast<LONG>(pp->BackBufferHeight) : client.cy;
        if (width <= 0 || height <= 0 || width > kMaxBackBufferSize ||
            height > kMaxBackBufferSize) {
            return D3DERR_INVALIDCALL;
        }
        try {
            *ppDevice = new Device(window, width, height, pp->EnableAutoDepthStencil != FALSE,
                                   format, renderThreads(window->presentingProcessors()));
        } catch (const std::bad_alloc&) {
            return D3DERR_OUTOFVIDEOMEMORY;
        } catch (const std::system_error&) {
            return D3DERR_NOTAVAILABLE;  // no threads to be had
        }
        // Direct3D writes back what it chose for the zeros.
        pp->BackBufferWidth = static_cast<UINT>(width);
        pp->BackBufferHeight = static_cast<UINT>(height);
        pp->BackBufferFormat = format;
        if (pp->BackBufferCount == 0) pp->BackBufferCount = 1;
        return D3D_OK;
    }
};

}  // namespace

void setRenderThreads(unsigned threads) noexcept { requestedThreads = threads; }

unsigned renderThreads(unsigned busy) noexcept {
    const unsigned requested = requestedThreads;
    if (requested != 0) return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > busy ? cores - busy : 1;
}

}  // namespace platform::d3d9

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
    if (SDKVersion != D3D_SDK_VERSION) return nullptr;
    try {
        return new platform::d3d9::Direct3D();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
