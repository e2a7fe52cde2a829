#include "d3d9/PixelLock.h"

namespace platform::d3d9 {

HRESULT PixelLock::lock(std::uint32_t* pixels, int width, int height, int pitch, const RECT* rect,
                        D3DLOCKED_RECT* out) noexcept {
    if (!out) return D3DERR_INVALIDCALL;
    out->pBits = nullptr;
    out->Pitch = 0;
    if (locked_) return D3DERR_INVALIDCALL;
    RECT whole{0, 0, width, height};
    const RECT& r = rect ? *rect : whole;
    if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height || r.left >= r.right ||
        r.top >= r.bottom) {
        return D3DERR_INVALIDCALL;
    }
    locked_ = true;
    out->Pitch = pitch * 4;
    out->pBits = pixels + static_cast<std::ptrdiff_t>(r.top) * pitch + r.left;
    return D3D_OK;
}

HRESULT PixelLock::unlock() noexcept {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

}  // namespace platform::d3d9
