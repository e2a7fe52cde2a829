#include "d3d9/Buffers.h"

namespace platform::d3d9 {

HRESULT BufferStorage::lock(UINT offset, UINT size, void** ppData) noexcept {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = nullptr;
    // 64-bit sums: an offset near 4 GiB plus a size must not wrap into range.
    const std::uint64_t end = size == 0 ? bytes_.size() : std::uint64_t{offset} + size;
    if (offset >= bytes_.size() || end > bytes_.size()) return D3DERR_INVALIDCALL;
    ++lockCount_;
    *ppData = bytes_.data() + offset;
    return D3D_OK;
}

HRESULT BufferStorage::unlock() noexcept {
    if (lockCount_ == 0) return D3DERR_INVALIDCALL;
    --lockCount_;
    return D3D_OK;
}

VertexBuffer::VertexBuffer(std::shared_ptr<DeviceLink> link, UINT length, DWORD usage, DWORD fvf,
                           D3DPOOL pool)
    : Resource(std::move(link)),
      storage_(length),
      desc_{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf} {}

HRESULT VertexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD) noexcept {
    return storage_.lock(OffsetToLock, SizeToLock, ppbData);
}

HRESULT VertexBuffer::Unlock() noexcept { return storage_.unlock(); }

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* pDesc) noexcept {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    return D3D_OK;
}

IndexBuffer::IndexBuffer(std::shared_ptr<DeviceLink> link, UINT length, DWORD usage,
                         D3DFORMAT format, D3DPOOL pool)
    : Resource(std::move(link)),
      storage_(length),
      desc_{format, D3DRTYPE_INDEXBUFFER, usage, pool, length} {}

HRESULT IndexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD) noexcept {
    return storage_.lock(OffsetToLock, SizeToLock, ppbData);
}

HRESULT IndexBuffer::Unlock() noexcept { return storage_.unlock(); }

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* pDesc) noexcept {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    return D3D_OK;
}

}  // namespace platform::d3d9
