// The device's state calls: transforms, viewport, material, the three state blocks and the
// bindings of textures, streams and indices.
#include <optional>

#include "d3d9/Device.h"

namespace platform::d3d9 {

namespace {

// Slots of Device::transforms_: view, projection, world, then the eight texture matrices.
std::optional<std::size_t> transformSlot(D3DTRANSFORMSTATETYPE state) noexcept {
    if (state == D3DTS_VIEW) return 0;
    if (state == D3DTS_PROJECTION) return 1;
    if (state == D3DTS_WORLD) return 2;
    if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + 8) return 3 + (state - D3DTS_TEXTURE0);
    return std::nullopt;
}

}  // namespace

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) noexcept {
    const auto slot = transformSlot(State);
    if (!pMatrix || !slot) return D3DERR_INVALIDCALL;
    transforms_[*slot] = *pMatrix;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) noexcept {
    const auto slot = transformSlot(State);
    if (!pMatrix || !slot) return D3DERR_INVALIDCALL;
    *pMatrix = transforms_[*slot];
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* pViewport) noexcept {
    if (!pViewport) return D3DERR_INVALIDCALL;
    const D3DVIEWPORT9& v = *pViewport;
    const auto width = static_cast<std::uint64_t>(frame_->width);
    const auto height = static_cast<std::uint64_t>(frame_->height);
    if (v.Width == 0 || v.Height == 0 || std::uint64_t{v.X} + v.Width > width ||
        std::uint64_t{v.Y} + v.Height > height) {
        return D3DERR_INVALIDCALL;
    }
    if (!(v.MinZ >= 0.0f && v.MinZ <= 1.0f && v.MaxZ >= 0.0f && v.MaxZ <= 1.0f)) {
        return D3DERR_INVALIDCALL;
    }
    viewport_ = v;
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* pCaps) noexcept {
    if (!pCaps) return D3DERR_INVALIDCALL;
    *pCaps = D3DCAPS9{kMaxPrimitiveCount, kMaxVertexIndex};
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* pViewport) noexcept {
    if (!pViewport) return D3DERR_INVALIDCALL;
    *pViewport = viewport_;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* pMaterial) noexcept {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    material_ = *pMaterial;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* pMaterial) noexcept {
    if (!pMaterial) return D3DERR_INVALIDCALL;
    *pMaterial = material_;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) noexcept {
    if (State == 0 || State >= kRenderStateCount) return D3DERR_INVALIDCALL;
    renderStates_[State] = Value;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) noexcept {
    if (!pValue || State == 0 || State >= kRenderStateCount) return D3DERR_INVALIDCALL;
    *pValue = renderStates_[State];
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) noexcept {
    if (Stage >= kTextureStageCount) return D3DERR_INVALIDCALL;
    // Only this device's own textures can be sampled.
    auto* texture = dynamic_cast<Texture*>(pTexture);
    if (pTexture && !texture) return D3DERR_INVALIDCALL;
    textures_[Stage] = ComRef<Texture>::share(texture);
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                     DWORD Value) noexcept {
    if (Stage >= kTextureStageCount || Type == 0 || Type >= kTextureStageStateCount) {
        return D3DERR_INVALIDCALL;
    }
    stageStates_[Stage][Type] = Value;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                     DWORD* pValue) noexcept {
    if (!pValue || Stage >= kTextureStageCount || Type == 0 || Type >= kTextureStageStateCount) {
        return D3DERR_INVALIDCALL;
    }
    *pValue = stageStates_[Stage][Type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) noexcept {
    if (Sampler >= kSamplerCount || Type == 0 || Type >= kSamplerStateCount) {
        return D3DERR_INVALIDCALL;
    }
    samplerStates_[Sampler][Type] = Value;
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) noexcept {
    if (!pValue || Sampler >= kSamplerCount || Type == 0 || Type >= kSamplerStateCount) {
        return D3DERR_INVALIDCALL;
    }
    *pValue = samplerStates_[Sampler][Type];
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD FVF) noexcept {
    fvf_ = FVF;  // checked at draw time, as Direct3D does
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                UINT OffsetInBytes, UINT Stride) noexcept {
    if (StreamNumber >= 16) return D3DERR_INVALIDCALL;
    auto* buffer = dynamic_cast<VertexBuffer*>(pStreamData);
    if (pStreamData && !buffer) return D3DERR_INVALIDCALL;
    // The fixed-function stage reads stream 0 only; the others are accepted and never drawn.
    if (StreamNumber != 0) return D3D_OK;
    stream_.buffer = ComRef<VertexBuffer>::share(buffer);
    stream_.offset = OffsetInBytes;
    stream_.stride = Stride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* pIndexData) noexcept {
    auto* buffer = dynamic_cast<IndexBuffer*>(pIndexData);
    if (pIndexData && !buffer) return D3DERR_INVALIDCALL;
    indices_ = ComRef<IndexBuffer>::share(buffer);
    return D3D_OK;
}

}  // namespace platform::d3d9
