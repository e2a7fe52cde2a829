// Buffers.h: vertex and index buffers, plain system memory behind the Direct3D interfaces.
// Locks nest as Direct3D 9's do; a lock range outside the buffer is refused.
#pragma once

#include <cstdint>
#include <vector>

#include "d3d9/RefCounted.h"

namespace platform::d3d9 {

// The storage and the lock rules both buffer kinds share.
class BufferStorage {
public:
    explicit BufferStorage(UINT length) : bytes_(length) {}

    HRESULT lock(UINT offset, UINT size, void** ppData) noexcept;
    HRESULT unlock() noexcept;

    const std::uint8_t* data() const noexcept { return bytes_.data(); }
    UINT size() const noexcept { return static_cast<UINT>(bytes_.size()); }

private:
    std::vector<std::uint8_t> bytes_;
    unsigned lockCount_ = 0;
};

class VertexBuffer final : public Resource<IDirect3DVertexBuffer9> {
public:
    VertexBuffer(std::shared_ptr<DeviceLink> link, UINT length, DWORD usage, DWORD fvf,
                 D3DPOOL pool);

    D3DRESOURCETYPE GetType() noexcept override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) noexcept override;
    HRESULT Unlock() noexcept override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* pDesc) noexcept override;

    const BufferStorage& storage() const noexcept { return storage_; }

private:
    BufferStorage storage_;
    D3DVERTEXBUFFER_DESC desc_;
};

class IndexBuffer final : public Resource<IDirect3DIndexBuffer9> {
public:
    IndexBuffer(std::shared_ptr<DeviceLink> link, UINT length, DWORD usage, D3DFORMAT format,
                D3DPOOL pool);

    D3DRESOURCETYPE GetType() noexcept override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) noexcept override;
    HRESULT Unlock() noexcept override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* pDesc) noexcept override;

    const BufferStorage& storage() const noexcept { return storage_; }
    UINT indexSize() const noexcept { return desc_.Format == D3DFMT_INDEX32 ? 4 : 2; }

private:
    BufferStorage storage_;
    D3DINDEXBUFFER_DESC desc_;
};

}  // namespace platform::d3d9
