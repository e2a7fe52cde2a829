// RecordingDevice.h: a test double of IDirect3DDevice9 that records every call with its
// arguments, one line each, so a whole draw is one string to compare. Resources it creates are
// named by kind and number ("vb1", "ib1", "tex1") and live in memory; the device keeps them until
// it goes, so a release too many is counted instead of touching freed memory.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <d3d9.h>

namespace test {

class RecordingDevice final : public IDirect3DDevice9 {
public:
    explicit RecordingDevice(UINT backBufferWidth = 64, UINT backBufferHeight = 48);
    ~RecordingDevice();

    // Every call since construction or the last clearLog, one line each, ending in '\n'.
    std::string log() const { return log_; }
    void clearLog() { log_.clear(); }

    // Makes the named operation fail from now on: "CreateVertexBuffer", "CreateIndexBuffer",
    // "CreateTexture", "VertexBufferLock", "IndexBufferLock", "BeginScene", "GetDeviceCaps".
    void refuse(const std::string& operation) { refused_.insert(operation); }

    // What GetDeviceCaps reports; the software device's limits until set.
    void setCaps(const D3DCAPS9& caps) { caps_ = caps; }

    // Resources whose reference count has not reached zero.
    int liveResources() const;
    // Release calls on resources already at zero: each one a double release in the caller.
    int overReleases() const { return overReleases_; }

    // The pixels of a texture this device made, level 0, row by row (A8R8G8B8).
    std::vector<DWORD> texturePixels(IDirect3DBaseTexture9* texture) const;
    UINT textureWidth(IDirect3DBaseTexture9* texture) const;
    UINT textureHeight(IDirect3DBaseTexture9* texture) const;

    void record(const std::string& line) { log_ += line + '\n'; }
    bool isRefused(const std::string& operation) const { return refused_.count(operation) != 0; }
    void countOverRelease() { ++overReleases_; }

    // IUnknown
    ULONG AddRef() noexcept override { return ++references_; }
    ULONG Release() noexcept override { return references_ > 0 ? --references_ : 0; }

    // IDirect3DDevice9
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                          D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                          HANDLE* pSharedHandle) noexcept override;
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                               IDirect3DVertexBuffer9** ppVertexBuffer,
                               HANDLE* pSharedHandle) noexcept override;
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DIndexBuffer9** ppIndexBuffer,
                              HANDLE* pSharedHandle) noexcept override;
    HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                          IDirect3DSurface9** ppBackBuffer) noexcept override;
    // The program reads no frames back: recorded and refused.
    HRESULT CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool,
                                        IDirect3DSurface9** ppSurface,
                                        HANDLE* pSharedHandle) noexcept override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                IDirect3DSurface9* pDestSurface) noexcept override;
    HRESULT GetDeviceCaps(D3DCAPS9* pCaps) noexcept override;
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                  DWORD Stencil) noexcept override;
    HRESULT BeginScene() noexcept override;
    HRESULT EndScene() noexcept override;
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const RGNDATA* pDirtyRegion) noexcept override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) noexcept override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) noexcept override;
    HRESULT SetViewport(const D3DVIEWPORT9* pViewport) noexcept override;
    HRESULT GetViewport(D3DVIEWPORT9* pViewport) noexcept override;
    HRESULT SetMaterial(const D3DMATERIAL9* pMaterial) noexcept override;
    HRESULT GetMaterial(D3DMATERIAL9* pMaterial) noexcept override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) noexcept override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) noexcept override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) noexcept override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                 DWORD Value) noexcept override;
    HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                 DWORD* pValue) noexcept override;
    HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) noexcept override;
    HRESULT GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type,
                            DWORD* pValue) noexcept override;
    HRESULT SetFVF(DWORD FVF) noexcept override;
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                            UINT OffsetInBytes, UINT Stride) noexcept override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData) noexcept override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                          UINT PrimitiveCount) noexcept override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                 UINT MinVertexIndex, UINT NumVertices, UINT StartIndex,
                                 UINT PrimitiveCount) noexcept override;

    class Resource;

private:
    template <class T>
    T* adopt(std::unique_ptr<T> resource);
    const Resource* find(const void* resource) const;
    std::string nameOf(const void* resource) const;

    std::string log_;
    std::set<std::string> refused_;
    std::vector<std::unique_ptr<Resource>> resources_;
    std::map<std::string, int> createdByKind_;
    int overReleases_ = 0;
    ULONG references_ = 1;
    UINT backBufferWidth_;
    UINT backBufferHeight_;
    std::unique_ptr<Resource> backBuffer_;
    std::map<DWORD, D3DMATRIX> transforms_;
    std::map<DWORD, DWORD> renderStates_;
    std::map<std::pair<DWORD, DWORD>, DWORD> stageStates_;
    std::map<std::pair<DWORD, DWORD>, DWORD> samplerStates_;
    D3DVIEWPORT9 viewport_;
    D3DMATERIAL9 material_{};
    D3DCAPS9 caps_{0xFFFFF, 0xFFFFFF};
};

// "{a b c d|e f g h|...}" with %g numbers: how the log shows a matrix.
std::string formatMatrix(const D3DMATRIX& matrix);

}  // namespace test
