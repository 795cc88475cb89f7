// What the window layer keeps for each class and window. Only the UI thread reads or changes
// these objects; other threads see nothing but handles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/user/window.h"

namespace platform::wm {

struct WindowClass {
    ATOM atom = 0;
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCWSTR menuName = nullptr;  // as registered when it is a resource number
    std::u16string menuNameText;
    int liveWindows = 0;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    // One whole LONG_PTR per byte offset of the class's extra bytes (see SetWindowLongW).
    std::vector<LONG_PTR> extra;
    std::u16string text;

    // The desktop is every top-level window's parent; only the desktop has none.
    Window* parent = nullptr;
    HWND owner = nullptr;
    // Top of the z-order first.
    std::vector<Window*> children;
    // In the parent's client coordinates (screen coordinates for top-level windows).
    RECT rect{};

    // The update rectangle in client coordinates, merged from every invalidation.
    bool hasUpdate = false;
    RECT update{};
    bool erase = false;
    bool frameDirty = false;
    // Counts validations, so that dispatching WM_PAINT can tell whether the window painted.
    unsigned validations = 0;

    bool destroying = false;
    bool published = false;
};

}  // namespace platform::wm
