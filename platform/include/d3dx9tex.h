// d3dx9tex.h: texture loading from image files: BMP, TGA, JPEG and PNG.
#pragma once

#include "d3d9.h"

// Loads the file into a managed-pool texture of the file's own size with a full mip chain, and
// writes *ppTexture only then. Returns E_FAIL (or D3DERR_INVALIDCALL for null arguments) and
// leaves *ppTexture as it was for a missing, empty, truncated, oversized or malformed file, an
// empty name or an unknown format.
HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                   IDirect3DTexture9** ppTexture);
#define D3DXCreateTextureFromFile D3DXCreateTextureFromFileA
