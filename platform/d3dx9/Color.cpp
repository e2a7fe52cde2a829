#include <algorithm>

#include <d3dx9math.h>

namespace {

DWORD channelToByte(float value) {
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    return static_cast<DWORD>(clamped * 255.0f + 0.5f);
}

float byteToChannel(DWORD value) { return static_cast<float>(value & 0xFF) / 255.0f; }

}  // namespace

D3DXCOLOR::D3DXCOLOR(DWORD argb)
    : r(byteToChannel(argb >> 16)),
      g(byteToChannel(argb >> 8)),
      b(byteToChannel(argb)),
      a(byteToChannel(argb >> 24)) {}

D3DXCOLOR::operator DWORD() const {
    return (channelToByte(a) << 24) | (channelToByte(r) << 16) | (channelToByte(g) << 8) |
           channelToByte(b);
}
