#include "d3d9/HostSurface.h"

namespace platform::d3d9 {

HostSurface::HostSurface(std::shared_ptr<DeviceLink> link, int width, int height,
                         D3DFORMAT format)
    : Resource(std::move(link)),
      width_(width),
      height_(height),
      format_(format),
      pixels_(static_cast<std::size_t>(width) * height, 0) {}

HRESULT HostSurface::GetDesc(D3DSURFACE_DESC* pDesc) noexcept {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = {format_,
              D3DRTYPE_SURFACE,
              0,
              D3DPOOL_SYSTEMMEM,
              D3DMULTISAMPLE_NONE,
              0,
              static_cast<UINT>(width_),
              static_cast<UINT>(height_)};
    return D3D_OK;
}

HRESULT HostSurface::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD) noexcept {
    return lock_.lock(pixels_.data(), width_, height_, width_, pRect, pLockedRect);
}

HRESULT HostSurface::UnlockRect() noexcept { return lock_.unlock(); }

}  // namespace platform::d3d9
