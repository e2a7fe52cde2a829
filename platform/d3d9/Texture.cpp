#include "d3d9/Texture.h"

#include <algorithm>

namespace platform::d3d9 {

UINT Texture::fullChainLength(UINT width, UINT height) noexcept {
    UINT count = 1;
    while (width > 1 || height > 1) {
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        ++count;
    }
    return count;
}

Texture::Texture(std::shared_ptr<DeviceLink> link, UINT width, UINT height, UINT levels,
                 DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : Resource(std::move(link)), usage_(usage), format_(format), pool_(pool) {
    const UINT chain = fullChainLength(width, height);
    const UINT count = levels == 0 ? chain : std::min(levels, chain);
    std::size_t total = 0;
    for (UINT i = 0, w = width, h = height; i < count; ++i) {
        total += std::size_t{w} * h;
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    texels_.assign(total, 0);
    locks_.resize(count);
    std::size_t offset = 0;
    for (UINT i = 0, w = width, h = height; i < count; ++i) {
        levels_.push_back({texels_.data() + offset, static_cast<int>(w), static_cast<int>(h)});
        offset += std::size_t{w} * h;
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
}

HRESULT Texture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) noexcept {
    if (!pDesc || Level >= levels_.size()) return D3DERR_INVALIDCALL;
    const MipLevel& level = levels_[Level];
    *pDesc = {format_,
              D3DRTYPE_SURFACE,
              usage_,
              pool_,
              D3DMULTISAMPLE_NONE,
              0,
              static_cast<UINT>(level.width),
              static_cast<UINT>(level.height)};
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                          DWORD) noexcept {
    if (Level >= levels_.size()) {
        if (pLockedRect) *pLockedRect = {0, nullptr};
        return D3DERR_INVALIDCALL;
    }
    finishDeviceDrawing();  // a pending draw may sample this level
    const MipLevel& level = levels_[Level];
    std::uint32_t* pixels = texels_.data() + (level.texels - texels_.data());
    return locks_[Level].lock(pixels, level.width, level.height, level.width, pRect, pLockedRect);
}

HRESULT Texture::UnlockRect(UINT Level) noexcept {
    if (Level >= levels_.size()) return D3DERR_INVALIDCALL;
    return locks_[Level].unlock();
}

}  // namespace platform::d3d9
