// d3dx9core.h: text drawing onto the device's back buffer. No sprites: a null sprite draws at once.
#pragma once

#include "d3d9.h"

struct ID3DXSprite;
using LPD3DXSPRITE = ID3DXSprite*;

struct ID3DXFont : IUnknown {
    // Draws narrow text (UTF-8, this platform's narrow code page) in the rectangle with the
    // DT_ format flags and the ARGB colour; Count -1 draws up to the terminating zero.
    // Returns the height of the drawn text in pixels, 0 when nothing was drawn.
    virtual INT DrawTextA(LPD3DXSPRITE pSprite, LPCSTR pString, INT Count, LPRECT pRect,
                          DWORD Format, D3DCOLOR Color) noexcept = 0;

protected:
    ~ID3DXFont() = default;
};
using LPD3DXFONT = ID3DXFont*;

// Height is the character cell height in pixels; Width 0 takes the face's own proportions.
HRESULT D3DXCreateFontA(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight,
                        UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                        DWORD Quality, DWORD PitchAndFamily, LPCSTR pFaceName,
                        ID3DXFont** ppFont);
#define D3DXCreateFont D3DXCreateFontA
