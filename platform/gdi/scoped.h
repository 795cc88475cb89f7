// Owning wrappers that undo a drawing-layer step when they go out of scope.
#pragma once

#include <utility>

#include "platform/gdi/gdi.h"

namespace platform {

// Owns one handle and frees it with `Free` at scope end.
template <typename Handle, BOOL (*Free)(Handle)>
class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_)
            Free(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

// A brush, pen, bitmap or font, deleted with DeleteObject.
using ScopedGdiObject = ScopedHandle<HGDIOBJ, DeleteObject>;
// A DC made by CreateCompatibleDC or CreateSurfaceDC, deleted with DeleteDC.
using ScopedDC = ScopedHandle<HDC, DeleteDC>;

// Selects an object into a DC and puts the previous one back.
class ScopedSelectObject {
  public:
    ScopedSelectObject(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(SelectObject(hdc, object)) {}
    ~ScopedSelectObject() {
        if (previous_)
            SelectObject(hdc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

    // False when the selection failed (then nothing is restored).
    explicit operator bool() const { return previous_ != nullptr; }

  private:
    HDC hdc_;
    HGDIOBJ previous_;
};

}  // namespace platform
