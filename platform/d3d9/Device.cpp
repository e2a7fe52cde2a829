#include "d3d9/Device.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "d3d9/HostSurface.h"
#include "win32/Window.h"

namespace platform::d3d9 {

namespace {

// Rows a band of GetRenderTargetData's copy: bands of a few hundred kilobytes at common sizes.
constexpr int kCopyBandRows = 32;

D3DMATRIX identity() noexcept {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

}  // namespace

Device::Device(HWND window, int width, int height, bool depthBuffer, D3DFORMAT format,
               unsigned threads)
    : link_(std::make_shared<DeviceLink>()),
      window_(window),
      frame_(std::make_shared<FrameBuffer>(width, height, depthBuffer)),
      format_(format),
      viewport_{0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0.0f, 1.0f},
      renderStates_(defaultRenderStates(depthBuffer)),
      stageStates_(defaultTextureStageStates()),
      samplerStates_(defaultSamplerStates()),
      pool_(threads),
      pending_(*frame_, pool_.size()) {
    link_->device = this;
    link_->finishDrawing = [](IDirect3DDevice9* device) noexcept {
        static_cast<Device*>(device)->finishDrawing();
    };
    transforms_.fill(identity());
}

// The back buffer outlives the device when the program holds it: it keeps the last picture.
Device::~Device() {
    finishDrawing();
    link_->device = nullptr;
}

void Device::finishDrawing() noexcept { pending_.draw(pool_, counters_); }

HRESULT Device::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                              D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                              HANDLE* pSharedHandle) noexcept {
    if (!ppTexture) return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    if (pSharedHandle || Width == 0 || Height == 0) return D3DERR_INVALIDCALL;
    if (Format != D3DFMT_A8R8G8B8 && Format != D3DFMT_X8R8G8B8) return D3DERR_INVALIDCALL;
    if (Usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) return D3DERR_INVALIDCALL;
    // Larger than any Direct3D 9 device allows; also keeps sizes well inside int.
    if (Width > 8192 || Height > 8192) return D3DERR_INVALIDCALL;
    try {
        *ppTexture = new Texture(link_, Width, Height, Levels, Usage, Format, Pool);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Device::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                   IDirect3DVertexBuffer9** ppVertexBuffer,
                                   HANDLE* pSharedHandle) noexcept {
    if (!ppVertexBuffer) return D3DERR_INVALIDCALL;
    *ppVertexBuffer = nullptr;
    if (pSharedHandle || Length == 0) return D3DERR_INVALIDCALL;
    try {
        *ppVertexBuffer = new VertexBuffer(link_, Length, Usage, FVF, Pool);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Device::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                  IDirect3DIndexBuffer9** ppIndexBuffer,
                                  HANDLE* pSharedHandle) noexcept {
    if (!ppIndexBuffer) return D3DERR_INVALIDCALL;
    *ppIndexBuffer = nullptr;
    if (pSharedHandle || Length == 0) return D3DERR_INVALIDCALL;
    if (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32) return D3DERR_INVALIDCALL;
    try {
        *ppIndexBuffer = new IndexBuffer(link_, Length, Usage, Format, Pool);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Device::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                              IDirect3DSurface9** ppBackBuffer) noexcept {
    if (!ppBackBuffer) return D3DERR_INVALIDCALL;
    *ppBackBuffer = nullptr;
    if (iSwapChain != 0 || iBackBuffer != 0 || Type != D3DBACKBUFFER_TYPE_MONO) {
        return D3DERR_INVALIDCALL;
    }
    try {
        if (!backBuffer_) backBuffer_ = ComRef(new BackBufferSurface(link_, frame_, format_));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    backBuffer_->AddRef();
    *ppBackBuffer = backBuffer_.get();
    return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                            D3DPOOL Pool, IDirect3DSurface9** ppSurface,
                                            HANDLE* pSharedHandle) noexcept {
    if (!ppSurface) return D3DERR_INVALIDCALL;
    *ppSurface = nullptr;
    if (pSharedHandle || Width == 0 || Height == 0 || Width > 8192 || Height > 8192) {
        return D3DERR_INVALIDCALL;
    }
    if ((Format != D3DFMT_A8R8G8B8 && Format != D3DFMT_X8R8G8B8) || Pool != D3DPOOL_SYSTEMMEM) {
        return D3DERR_INVALIDCALL;
    }
    try {
        *ppSurface = new HostSurface(link_, static_cast<int>(Width), static_cast<int>(Height),
                                     Format);
        return D3D_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                    IDirect3DSurface9* pDestSurface) noexcept {
    auto* host = dynamic_cast<HostSurface*>(pDestSurface);
    if (!pRenderTarget || pRenderTarget != backBuffer_.get() || !host ||
        !host->madeBy(link_.get()) || host->width() != frame_->width ||
        host->height() != frame_->height || host->format() != format_ || host->locked()) {
        return D3DERR_INVALIDCALL;
    }
    struct Copy {
        const FrameBuffer& frame;
        HostSurface& host;
        void rows(int top, int bottom) const noexcept {
            const auto rowPixels = static_cast<std::size_t>(frame.width);
            const std::size_t first = static_cast<std::size_t>(top) * rowPixels;
            std::memcpy(host.pixels() + first, frame.colour->data() + first,
                        static_cast<std::size_t>(bottom - top + 1) * rowPixels * 4);
        }
    } copy{*frame_, *host};
    // Drawing still pending copies each stripe's rows as soon as they are done, from the
    // drawing thread's caches.
    const RowsFinished copyRows{[](void* context, int top, int bottom) noexcept {
                                    static_cast<const Copy*>(context)->rows(top, bottom);
                                },
                                &copy};
    if (pending_.draw(pool_, counters_, copyRows)) return D3D_OK;
    auto band = [&](unsigned index) {
        const int top = static_cast<int>(index) * kCopyBandRows;
        copy.rows(top, std::min(top + kCopyBandRows, frame_->height) - 1);
    };
    pool_.run(static_cast<unsigned>((frame_->height + kCopyBandRows - 1) / kCopyBandRows), band);
    return D3D_OK;
}

HRESULT Device::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                      DWORD) noexcept {
    if (Count != 0 && !pRects) return D3DERR_INVALIDCALL;
    if ((Flags & D3DCLEAR_STENCIL) || ((Flags & D3DCLEAR_ZBUFFER) && frame_->depth.empty())) {
        return D3DERR_INVALIDCALL;  // no stencil buffer, or no depth buffer to clear
    }
    if ((Flags & D3DCLEAR_ZBUFFER) && !(Z >= 0.0f && Z <= 1.0f)) return D3DERR_INVALIDCALL;
    const Scissor view = scissor();
    const D3DRECT whole{view.left, view.top, view.right, view.bottom};
    const std::uint16_t depth = depthValue(Z);
    const DWORD rects = Count == 0 ? 1 : Count;
    for (DWORD i = 0; i < rects; ++i) {
        const D3DRECT& r = Count == 0 ? whole : pRects[i];
        const int left = std::max<int>(r.x1, view.left);
        const int right = std::min<int>(r.x2, view.right);
        const int top = std::max<int>(r.y1, view.top);
        const int bottom = std::min<int>(r.y2, view.bottom);
        if (left >= right || top >= bottom) continue;
        if (!pending_.fits(0, 0)) finishDrawing();
        try {
            pending_.addClear({left, top, right, bottom}, Flags, Color, depth);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    return D3D_OK;
}

HRESULT Device::BeginScene() noexcept {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() noexcept {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                        const RGNDATA* pDirtyRegion) noexcept {
    // A discard swap chain presents whole frames only.
    if (pSourceRect || pDestRect || pDirtyRegion) return D3DERR_INVALIDCALL;
    finishDrawing();
    HWND target = hDestWindowOverride ? hDestWindowOverride : window_;
    const win32::ParallelFor split{
        [](void* pool, unsigned count, void* context, win32::ParallelFor::Chunk chunk) noexcept {
            auto each = [=](unsigned index) noexcept { chunk(context, index); };
            static_cast<ThreadPool*>(pool)->run(count, each);
        },
        &pool_, pool_.size()};
    const bool swap = spareAfterPresent(target);
    const std::shared_ptr<FrameBuffer::Pixels>& presented = frame_->colour;
    target->presentKept({presented, presented->data()}, frame_->width, frame_->height,
                        frame_->width, split);
    if (swap) {
        std::swap(frame_->colour, shown_);
        shownIn_ = target;
    }
    return D3D_OK;
}

// A discard swap chain leaves the back buffer undefined after Present, so the next frame may go
// into the buffer presented before, once no window holds it any more: the frame presented now
// then stays as the window keeps it, with no copy. A window lets go of a kept frame when it is
// given the next one.
bool Device::spareAfterPresent(HWND target) noexcept {
    // A lock's pointer stays the back buffer's.
    if (backBuffer_ && backBuffer_->locked()) return false;
    if (!shown_) {
        try {
            shown_ = std::make_shared<FrameBuffer::Pixels>(frame_->colour->size(), 0xFF000000u);
        } catch (const std::bad_alloc&) {
            return false;  // then the back buffer stays where it is, as a window may see it
        }
        return true;
    }
    return shown_.use_count() <= (shownIn_ == target ? 2 : 1);
}

}  // namespace platform::d3d9
