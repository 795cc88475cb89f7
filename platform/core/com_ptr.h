// ComPtr<T>: the owning reference to a COM-style interface. It releases what it holds, and
// QueryInterface through As() names the interface id once, at the call.
#pragma once

#include <utility>

#include "platform/core/unknown.h"

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to `p`.
    explicit ComPtr(T* p) : p_(p) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    void Reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    // Adopts a reference the caller already owns (an out-parameter's result).
    void Attach(T* p) {
        Reset();
        p_ = p;
    }
    // Gives up ownership without releasing.
    T* Detach() { return std::exchange(p_, nullptr); }
    // For out-parameters: releases what is held and returns the slot to fill.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &p_;
    }
    // QueryInterface for `iid` into `out`; the interface type must match `iid`.
    template <typename U>
    HRESULT As(REFIID iid, ComPtr<U>* out) const {
        if (!p_)
            return E_POINTER;
        return p_->QueryInterface(iid, reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
    }
    template <typename U>
    HRESULT As(ComPtr<U>* out) const {
        return As(InterfaceIdOf<U>(), out);
    }
    // Copies a new reference into an out-parameter.
    HRESULT CopyTo(T** out) const {
        if (!out)
            return E_POINTER;
        *out = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

  private:
    T* p_ = nullptr;
};
