// Texture.h: a 32-bit texture (A8R8G8B8 or X8R8G8B8) with its mip chain in one block of system
// memory. Levels are filled by whoever locks them; the device never generates mips itself.
#pragma once

#include <cstdint>
#include <vector>

#include "d3d9/PixelLock.h"
#include "d3d9/RefCounted.h"
#include "d3d9/Sampler.h"

namespace platform::d3d9 {

class Texture final : public Resource<IDirect3DTexture9> {
public:
    // levels 0 makes the full chain down to 1 x 1; more levels than the chain holds are cut.
    Texture(std::shared_ptr<DeviceLink> link, UINT width, UINT height, UINT levels, DWORD usage,
            D3DFORMAT format, D3DPOOL pool);

    D3DRESOURCETYPE GetType() noexcept override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() noexcept override { return static_cast<DWORD>(levels_.size()); }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) noexcept override;
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                     DWORD Flags) noexcept override;
    HRESULT UnlockRect(UINT Level) noexcept override;

    const std::vector<MipLevel>& levels() const noexcept { return levels_; }

    static UINT fullChainLength(UINT width, UINT height) noexcept;

private:
    std::vector<std::uint32_t> texels_;
    std::vector<MipLevel> levels_;
    std::vector<PixelLock> locks_;
    DWORD usage_;
    D3DFORMAT format_;
    D3DPOOL pool_;
};

}  // namespace platform::d3d9
