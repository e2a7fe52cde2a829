// d3d9.h: the Direct3D 9 subset this program calls, as reference-counted abstract interfaces.
// Fixed-function pipeline only. Every method returns an HRESULT (or a count), nulls its
// out-pointers first and fills them only on success, and never throws.
#pragma once

#include "d3d9types.h"

#define D3D_SDK_VERSION 31

constexpr HRESULT D3D_OK = S_OK;
constexpr HRESULT D3DERR_WRONGTEXTUREFORMAT = static_cast<HRESULT>(0x88760818u);
constexpr HRESULT D3DERR_NOTFOUND = static_cast<HRESULT>(0x88760866u);
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);

struct RGNDATA;

struct IUnknown {
    virtual ULONG AddRef() noexcept = 0;
    // Destroys the object when the count reaches zero; returns the new count.
    virtual ULONG Release() noexcept = 0;

protected:
    ~IUnknown() = default;  // only Release destroys
};

struct IDirect3DDevice9;

struct IDirect3DResource9 : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** ppDevice) noexcept = 0;
    virtual D3DRESOURCETYPE GetType() noexcept = 0;

protected:
    ~IDirect3DResource9() = default;
};

struct IDirect3DBaseTexture9 : IDirect3DResource9 {
    virtual DWORD GetLevelCount() noexcept = 0;

protected:
    ~IDirect3DBaseTexture9() = default;
};

struct IDirect3DSurface9 : IDirect3DResource9 {
    virtual HRESULT GetDesc(D3DSURFACE_DESC* pDesc) noexcept = 0;
    // pRect null locks the whole surface. Pitch is in bytes.
    virtual HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                             DWORD Flags) noexcept = 0;
    virtual HRESULT UnlockRect() noexcept = 0;

protected:
    ~IDirect3DSurface9() = default;
};

struct IDirect3DTexture9 : IDirect3DBaseTexture9 {
    virtual HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) noexcept = 0;
    virtual HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                             DWORD Flags) noexcept = 0;
    virtual HRESULT UnlockRect(UINT Level) noexcept = 0;

protected:
    ~IDirect3DTexture9() = default;
};

struct D3DVERTEXBUFFER_DESC {
    D3DFORMAT Format;
    D3DRESOURCETYPE Type;
    DWORD Usage;
    D3DPOOL Pool;
    UINT Size;
    DWORD FVF;
};

struct D3DINDEXBUFFER_DESC {
    D3DFORMAT Format;
    D3DRESOURCETYPE Type;
    DWORD Usage;
    D3DPOOL Pool;
    UINT Size;
};

struct IDirect3DVertexBuffer9 : IDirect3DResource9 {
    // OffsetToLock and SizeToLock in bytes; SizeToLock 0 locks from the offset to the end.
    // A range outside the buffer gives D3DERR_INVALIDCALL.
    virtual HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData,
                         DWORD Flags) noexcept = 0;
    virtual HRESULT Unlock() noexcept = 0;
    virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* pDesc) noexcept = 0;

protected:
    ~IDirect3DVertexBuffer9() = default;
};

struct IDirect3DIndexBuffer9 : IDirect3DResource9 {
    virtual HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData,
                         DWORD Flags) noexcept = 0;
    virtual HRESULT Unlock() noexcept = 0;
    virtual HRESULT GetDesc(D3DINDEXBUFFER_DESC* pDesc) noexcept = 0;

protected:
    ~IDirect3DIndexBuffer9() = default;
};

struct IDirect3DDevice9 : IUnknown {
    // Resources.
    virtual HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                  D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                                  HANDLE* pSharedHandle) noexcept = 0;
    virtual HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                       IDirect3DVertexBuffer9** ppVertexBuffer,
                                       HANDLE* pSharedHandle) noexcept = 0;
    virtual HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                      IDirect3DIndexBuffer9** ppIndexBuffer,
                                      HANDLE* pSharedHandle) noexcept = 0;
    // The back buffer as a surface; reading it sees every draw issued before the call.
    virtual HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                  IDirect3DSurface9** ppBackBuffer) noexcept = 0;
    // A plain surface in host memory (D3DPOOL_SYSTEMMEM, the back buffer's formats), for
    // GetRenderTargetData to copy into.
    virtual HRESULT CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                D3DPOOL Pool, IDirect3DSurface9** ppSurface,
                                                HANDLE* pSharedHandle) noexcept = 0;
    // Copies the back buffer, with every draw issued before the call, into an unlocked surface
    // of this device made by CreateOffscreenPlainSurface with its size and format.
    virtual HRESULT GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                        IDirect3DSurface9* pDestSurface) noexcept = 0;

    // Limits: a draw past them fails with D3DERR_INVALIDCALL.
    virtual HRESULT GetDeviceCaps(D3DCAPS9* pCaps) noexcept = 0;

    // Frames.
    virtual HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                          float Z, DWORD Stencil) noexcept = 0;
    virtual HRESULT BeginScene() noexcept = 0;
    virtual HRESULT EndScene() noexcept = 0;
    virtual HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect,
                            HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) noexcept = 0;

    // State.
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) noexcept = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) noexcept = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT9* pViewport) noexcept = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT9* pViewport) noexcept = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9* pMaterial) noexcept = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL9* pMaterial) noexcept = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) noexcept = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) noexcept = 0;
    virtual HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) noexcept = 0;
    virtual HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                         DWORD Value) noexcept = 0;
    virtual HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                         DWORD* pValue) noexcept = 0;
    virtual HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                    DWORD Value) noexcept = 0;
    virtual HRESULT GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                                    DWORD* pValue) noexcept = 0;

    // Geometry.
    virtual HRESULT SetFVF(DWORD FVF) noexcept = 0;
    virtual HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                    UINT OffsetInBytes, UINT Stride) noexcept = 0;
    virtual HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData) noexcept = 0;
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                  UINT PrimitiveCount) noexcept = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                         UINT MinVertexIndex, UINT NumVertices, UINT StartIndex,
                                         UINT PrimitiveCount) noexcept = 0;

protected:
    ~IDirect3DDevice9() = default;
};

struct IDirect3D9 : IUnknown {
    // A windowed device on hFocusWindow (or pPresentationParameters->hDeviceWindow when set);
    // back-buffer width and height 0 take the window's client size.
    virtual HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                 DWORD BehaviorFlags,
                                 D3DPRESENT_PARAMETERS* pPresentationParameters,
                                 IDirect3DDevice9** ppReturnedDeviceInterface) noexcept = 0;

protected:
    ~IDirect3D9() = default;
};

using LPDIRECT3D9 = IDirect3D9*;
using LPDIRECT3DDEVICE9 = IDirect3DDevice9*;
using LPDIRECT3DVERTEXBUFFER9 = IDirect3DVertexBuffer9*;
using LPDIRECT3DINDEXBUFFER9 = IDirect3DIndexBuffer9*;
using LPDIRECT3DTEXTURE9 = IDirect3DTexture9*;
using LPDIRECT3DSURFACE9 = IDirect3DSurface9*;

// Null when SDKVersion is not D3D_SDK_VERSION.
IDirect3D9* Direct3DCreate9(UINT SDKVersion);
