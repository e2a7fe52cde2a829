// PixelLock.h: the lock rule that the back buffer and every texture level share: 32-bit pixels,
// one lock at a time, a rectangle that lies inside the image or none for all of it.
#pragma once

#include <cstdint>

#include <d3d9.h>

namespace platform::d3d9 {

class PixelLock {
public:
    // pixels: the image's first pixel; pitch in pixels.
    HRESULT lock(std::uint32_t* pixels, int width, int height, int pitch, const RECT* rect,
                 D3DLOCKED_RECT* out) noexcept;
    HRESULT unlock() noexcept;
    bool locked() const noexcept { return locked_; }

private:
    bool locked_ = false;
};

}  // namespace platform::d3d9
