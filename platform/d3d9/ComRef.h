// ComRef.h: holds one reference to a COM-style interface and releases it when it goes.
#pragma once

#include <utility>

namespace platform {

template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already holds (a Create call's result).
    explicit ComRef(T* adopted) noexcept : ptr_(adopted) {}
    ComRef(const ComRef& other) noexcept : ptr_(other.ptr_) {
        if (ptr_) ptr_->AddRef();
    }
    ComRef(ComRef&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~ComRef() { reset(); }

    // Adds a reference of its own to a pointer somebody else keeps.
    static ComRef share(T* borrowed) noexcept {
        if (borrowed) borrowed->AddRef();
        return ComRef(borrowed);
    }

    void reset() noexcept {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }
    // Hands the reference to the caller.
    T* release() noexcept { return std::exchange(ptr_, nullptr); }
    // For Create calls: drops what is held and gives the slot to fill.
    T** put() noexcept {
        reset();
        return &ptr_;
    }

    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

private:
    T* ptr_ = nullptr;
};

}  // namespace platform
