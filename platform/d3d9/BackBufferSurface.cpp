#include "d3d9/BackBufferSurface.h"

namespace platform::d3d9 {

BackBufferSurface::BackBufferSurface(std::shared_ptr<DeviceLink> link,
                                     std::shared_ptr<FrameBuffer> frame, D3DFORMAT format)
    : Resource(std::move(link)), frame_(std::move(frame)), format_(format) {}

HRESULT BackBufferSurface::GetDesc(D3DSURFACE_DESC* pDesc) noexcept {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = {format_,
              D3DRTYPE_SURFACE,
              D3DUSAGE_RENDERTARGET,
              D3DPOOL_DEFAULT,
              D3DMULTISAMPLE_NONE,
              0,
              static_cast<UINT>(frame_->width),
              static_cast<UINT>(frame_->height)};
    return D3D_OK;
}

HRESULT BackBufferSurface::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                    DWORD) noexcept {
    finishDeviceDrawing();
    return lock_.lock(frame_->colour->data(), frame_->width, frame_->height, frame_->width, pRect,
                      pLockedRect);
}

HRESULT BackBufferSurface::UnlockRect() noexcept { return lock_.unlock(); }

}  // namespace platform::d3d9
