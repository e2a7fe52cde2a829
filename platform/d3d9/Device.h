// Device.h: the software IDirect3DDevice9. It keeps Direct3D 9's state blocks and holds a
// reference to everything bound to it. Clears and draws are checked and their vertices
// transformed when called, then wait in a pending frame that is drawn in one go on the device's
// threads when its pixels can be seen: at Present, when the back buffer is read back (each
// stripe's rows copied as soon as they are drawn) or locked, when a texture is locked, and
// before the device goes. EndScene only closes the scene, as it queues work on a card.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "d3d9/BackBufferSurface.h"
#include "d3d9/Buffers.h"
#include "d3d9/ComRef.h"
#include "d3d9/FrameBuffer.h"
#include "d3d9/PendingFrame.h"
#include "d3d9/Pipeline.h"
#include "d3d9/RefCounted.h"
#include "d3d9/RenderStates.h"
#include "d3d9/Texture.h"
#include "d3d9/ThreadPool.h"

namespace platform::d3d9 {

class Device final : public RefCounted<IDirect3DDevice9> {
public:
    Device(HWND window, int width, int height, bool depthBuffer, D3DFORMAT format,
           unsigned threads);
    ~Device() override;

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
    HRESULT CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool,
                                        IDirect3DSurface9** ppSurface,
                                        HANDLE* pSharedHandle) noexcept override;
    // The copy runs in bands of rows on the device's threads.
    HRESULT GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                IDirect3DSurface9* pDestSurface) noexcept override;

    // What a Direct3D 9 device of the common kind reports: more in one draw is refused.
    static constexpr DWORD kMaxPrimitiveCount = 0xFFFFF;
    static constexpr DWORD kMaxVertexIndex = 0xFFFFFF;
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

    // Draws the pending clears and draws into the back buffer.
    void finishDrawing() noexcept;

private:
    struct Stream {
        ComRef<VertexBuffer> buffer;
        UINT offset = 0;
        UINT stride = 0;
    };

    // Checks the stream against the vertex format; on success `layout` and `firstVertex` (the
    // vertex buffer's vertex 0 of this stream) are set and `vertexCount` vertices fit from there.
    HRESULT streamVertices(VertexLayout& layout, const std::uint8_t*& firstVertex,
                           std::uint64_t& vertexCount) const noexcept;
    // Transforms `count` vertices from `first` into slot_, has assemble(begin, end) put the
    // corners of triangles [begin, end) there (false: an index out of range), and records the
    // `triangles` triangles, or returns D3DERR_INVALIDCALL with nothing recorded.
    template <class Assemble>
    HRESULT drawTriangles(const VertexLayout& layout, const std::uint8_t* first, std::size_t count,
                          std::size_t triangles, Assemble assemble) noexcept;
    PixelState pixelState() const noexcept;
    Scissor scissor() const noexcept;
    // The corners of triangles [begin, end) of a draw of `type`, slot(k) giving the vertex of
    // the draw's k-th corner.
    template <class Slot>
    void assembleTriangles(D3DPRIMITIVETYPE type, std::size_t begin, std::size_t end,
                           Slot slot) noexcept;
    // Points slot_ at room for a draw in the pending frame.
    HRESULT reserveDraw(std::size_t vertices, std::size_t triangles) noexcept;
    // Whether Present to `target` may leave the back buffer to shown_ and draw on into the
    // buffer shown before; makes shown_ on the first Present.
    bool spareAfterPresent(HWND target) noexcept;

    std::shared_ptr<DeviceLink> link_;
    HWND window_;
    std::shared_ptr<FrameBuffer> frame_;
    D3DFORMAT format_;
    ComRef<BackBufferSurface> backBuffer_;
    std::shared_ptr<FrameBuffer::Pixels> shown_;  // the frame last presented, as swapped out
    HWND shownIn_ = nullptr;                       // the window it was presented to
    bool inScene_ = false;

    std::array<D3DMATRIX, 11> transforms_;
    D3DVIEWPORT9 viewport_;
    D3DMATERIAL9 material_{};
    RenderStateBlock renderStates_;
    TextureStageBlock stageStates_;
    SamplerBlock samplerStates_;
    std::array<ComRef<Texture>, kTextureStageCount> textures_;
    Stream stream_;
    ComRef<IndexBuffer> indices_;
    DWORD fvf_ = 0;

    ThreadPool pool_;
    PendingFrame pending_;
    DrawSlot slot_{};  // of the draw being recorded
    DrawCounters counters_;

    friend DrawCounts drawCounts(IDirect3DDevice9* device) noexcept;
};

}  // namespace platform::d3d9
