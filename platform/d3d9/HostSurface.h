// HostSurface.h: a plain surface in host memory, made by CreateOffscreenPlainSurface, that the
// device copies its back buffer into for GetRenderTargetData.
#pragma once

#include <cstdint>
#include <vector>

#include "d3d9/PixelLock.h"
#include "d3d9/RefCounted.h"

namespace platform::d3d9 {

class HostSurface final : public Resource<IDirect3DSurface9> {
public:
    HostSurface(std::shared_ptr<DeviceLink> link, int width, int height, D3DFORMAT format);

    D3DRESOURCETYPE GetType() noexcept override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) noexcept override;
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) noexcept override;
    HRESULT UnlockRect() noexcept override;

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    D3DFORMAT format() const noexcept { return format_; }
    bool locked() const noexcept { return lock_.locked(); }
    std::uint32_t* pixels() noexcept { return pixels_.data(); }  // rows packed: pitch = width

private:
    int width_;
    int height_;
    D3DFORMAT format_;
    std::vector<std::uint32_t> pixels_;
    PixelLock lock_;
};

}  // namespace platform::d3d9
