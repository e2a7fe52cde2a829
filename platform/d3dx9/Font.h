// Font.h: the ID3DXFont that D3DXCreateFontA makes: one font's glyphs, drawn straight onto the
// device's back buffer (no sprites). The font holds a reference on the device, so releasing the
// device first leaves it usable.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include <d3dx9core.h>

#include "d3d9/ComRef.h"
#include "d3d9/RefCounted.h"
#include "d3dx9/GlyphCache.h"

namespace platform::d3dx9 {

class Font final : public d3d9::RefCounted<ID3DXFont> {
public:
    Font(ComRef<IDirect3DDevice9> device, std::unique_ptr<GlyphCache> glyphs) noexcept;

    // Formats: DT_LEFT, DT_CENTER or DT_RIGHT; DT_TOP, DT_VCENTER or DT_BOTTOM (for the whole
    // block of lines); DT_SINGLELINE; DT_NOCLIP (clipped to the back buffer only); DT_CALCRECT
    // (sets the rectangle's right and bottom to the text's extent and draws nothing). Other
    // flags, DT_WORDBREAK among them, are ignored. Invalid UTF-8 draws U+FFFD; nothing past
    // Count bytes is read. Returns 0 for an empty text, a null text or rectangle, a Count below
    // -1, or a back buffer that cannot be locked.
    INT DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect, DWORD Format,
                  D3DCOLOR Color) noexcept override;

private:
    // Throws std::bad_alloc when a glyph not drawn before cannot be cached.
    INT drawText(std::string_view text, RECT& rect, DWORD format, D3DCOLOR colour);
    // False when the back buffer cannot be locked.
    bool drawLines(std::string_view text, const RECT& rect, std::int64_t top, DWORD format,
                   D3DCOLOR colour);

    ComRef<IDirect3DDevice9> device_;
    std::unique_ptr<GlyphCache> glyphs_;
};

}  // namespace platform::d3dx9
