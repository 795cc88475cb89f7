// GetWindowLongW and SetWindowLongW. The program stores pointers with the LONG forms, so every
// value is a whole LONG_PTR; each extra-byte offset holds one value of its own, which keeps a
// pointer intact on 64-bit hosts even where 32-bit offsets would overlap.
#include <optional>

#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

LONG_PTR* ExtraSlot(Window& w, int index) {
    const size_t offset = static_cast<size_t>(index);
    if (offset + sizeof(LONG) > w.extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return nullptr;
    }
    return &w.extra[offset];
}

LONG_PTR OwnerOrParent(const Window& w) {
    if (!IsTopLevel(w))
        return reinterpret_cast<LONG_PTR>(w.parent ? w.parent->handle : nullptr);
    return reinterpret_cast<LONG_PTR>(w.owner);
}

std::optional<LONG_PTR> ReadField(Window& w, int index) {
    switch (index) {
        case GWL_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w.proc);
        case GWL_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w.instance);
        case GWL_HWNDPARENT:
            return OwnerOrParent(w);
        case GWL_ID:
            return w.id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(w.style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w.exStyle);
        case GWL_USERDATA:
            return w.userData;
        default:
            break;
    }
    if (index < 0) {
        SetLastError(ERROR_INVALID_INDEX);
        return std::nullopt;
    }
    const LONG_PTR* slot = ExtraSlot(w, index);
    return slot ? std::optional<LONG_PTR>(*slot) : std::nullopt;
}

// A top-level window may be given another owner, but never one it owns itself: owner chains
// are walked when windows are raised and destroyed.
bool SetOwner(Window& w, LONG_PTR value) {
    const HWND owner = reinterpret_cast<HWND>(value);
    if (!IsTopLevel(w))
        return false;
    for (HWND o = owner; o; o = Lookup(o) ? Lookup(o)->owner : nullptr) {
        Window* ow = Lookup(o);
        if (!ow || ow == &w || !IsTopLevel(*ow))
            return false;
    }
    w.owner = owner;
    return true;
}

bool WriteField(Window& w, int index, LONG_PTR value) {
    switch (index) {
        case GWL_WNDPROC:
            if (!value)
                return false;
            w.proc = reinterpret_cast<WNDPROC>(value);
            return true;
        case GWL_HINSTANCE:
            w.instance = reinterpret_cast<HINSTANCE>(value);
            return true;
        case GWL_HWNDPARENT:
            return SetOwner(w, value);
        case GWL_ID:
            w.id = value;
            return true;
        case GWL_STYLE:
            // Whether a window is a child is fixed by the tree it lives in.
            w.style = (static_cast<DWORD>(value) & ~WS_CHILD) | (w.style & WS_CHILD);
            return true;
        case GWL_EXSTYLE:
            // Topmost changes only through SetWindowPos, which also moves the window.
            w.exStyle = (static_cast<DWORD>(value) & ~WS_EX_TOPMOST) | (w.exStyle & WS_EX_TOPMOST);
            return true;
        case GWL_USERDATA:
            w.userData = value;
            return true;
        default:
            break;
    }
    LONG_PTR* slot = index >= 0 ? ExtraSlot(w, index) : nullptr;
    if (!slot)
        return false;
    *slot = value;
    return true;
}

}  // namespace
}  // namespace platform::wm

LONG_PTR GetWindowLongW(HWND hwnd, int index) {
    platform::wm::Window* w = platform::wm::Checked(hwnd, "GetWindowLongW");
    if (!w)
        return 0;
    return platform::wm::ReadField(*w, index).value_or(0);
}

// Returns the previous value; the last error is cleared first so that a previous value of 0
// can be told from a failure.
LONG_PTR SetWindowLongW(HWND hwnd, int index, LONG_PTR value) {
    platform::wm::Window* w = platform::wm::Checked(hwnd, "SetWindowLongW");
    if (!w)
        return 0;
    SetLastError(ERROR_SUCCESS);
    const std::optional<LONG_PTR> previous = platform::wm::ReadField(*w, index);
    if (!previous)
        return 0;
    if (!platform::wm::WriteField(*w, index, value)) {
        if (GetLastError() == ERROR_SUCCESS)
            SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return *previous;
}
