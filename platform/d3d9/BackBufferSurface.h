// BackBufferSurface.h: the back buffer as an IDirect3DSurface9. It shares the pixels with the
// device, so a lock reads every draw issued before it, and it stays valid if the program keeps
// it after releasing the device.
#pragma once

#include <memory>

#include "d3d9/FrameBuffer.h"
#include "d3d9/PixelLock.h"
#include "d3d9/RefCounted.h"

namespace platform::d3d9 {

class BackBufferSurface final : public Resource<IDirect3DSurface9> {
public:
    BackBufferSurface(std::shared_ptr<DeviceLink> link, std::shared_ptr<FrameBuffer> frame,
                      D3DFORMAT format);

    D3DRESOURCETYPE GetType() noexcept override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) noexcept override;
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) noexcept override;
    HRESULT UnlockRect() noexcept override;

    bool locked() const noexcept { return lock_.locked(); }

private:
    std::shared_ptr<FrameBuffer> frame_;
    D3DFORMAT format_;
    PixelLock lock_;
};

}  // namespace platform::d3d9
