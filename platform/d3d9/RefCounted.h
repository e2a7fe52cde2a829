// RefCounted.h: the reference count behind every object this device hands out. An object
// starts with one reference, the creator's; the last Release destroys it.
#pragma once

#include <memory>

#include <d3d9.h>

namespace platform::d3d9 {

template <class Interface>
class RefCounted : public Interface {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    ULONG AddRef() noexcept override { return ++count_; }
    ULONG Release() noexcept override {
        const ULONG left = --count_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~RefCounted() = default;

private:
    ULONG count_ = 1;
};

// What a resource knows of the device that made it. The device clears it when it goes, so a
// buffer the program still holds after releasing the device answers GetDevice with an error
// instead of a dangling pointer.
struct DeviceLink {
    IDirect3DDevice9* device = nullptr;
    // Draws what the device has accepted and not yet drawn: before a lock reads or writes pixels
    // that pending draws read or write.
    void (*finishDrawing)(IDirect3DDevice9* device) noexcept = nullptr;
};

template <class Interface>
class Resource : public RefCounted<Interface> {
public:
    explicit Resource(std::shared_ptr<DeviceLink> link) : link_(std::move(link)) {}

    HRESULT GetDevice(IDirect3DDevice9** ppDevice) noexcept override {
        if (!ppDevice) return D3DERR_INVALIDCALL;
        *ppDevice = nullptr;
        if (!link_ || !link_->device) return D3DERR_INVALIDCALL;
        link_->device->AddRef();
        *ppDevice = link_->device;
        return D3D_OK;
    }

    // Whether the device behind `link` made this resource.
    bool madeBy(const DeviceLink* link) const noexcept { return link_.get() == link; }

protected:
    void finishDeviceDrawing() const noexcept {
        if (link_ && link_->device && link_->finishDrawing) link_->finishDrawing(link_->device);
    }

private:
    std::shared_ptr<DeviceLink> link_;
};

}  // namespace platform::d3d9
