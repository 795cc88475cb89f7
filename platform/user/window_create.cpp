// CreateWindowExW: placement, the creation messages and the first show.
#include "platform/user/internal/class_table.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/lifecycle.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/remote.h"

namespace platform::wm {
namespace {

// CW_USEDEFAULT gives a top-level window the work area, as on the handheld, and a child 0.
RECT InitialRect(DWORD style, int x, int y, int width, int height) {
    if (style & WS_CHILD) {
        auto orZero = [](int v) { return v == CW_USEDEFAULT ? 0 : v; };
        x = orZero(x);
        y = orZero(y);
        width = orZero(width);
        height = orZero(height);
    } else {
        const RECT work = WorkArea();
        if (x == CW_USEDEFAULT) {
            x = work.left;
            y = work.top;
        } else if (y == CW_USEDEFAULT) {
            y = work.top;
        }
        if (width == CW_USEDEFAULT) {
            width = work.right - work.left;
            height = work.bottom - work.top;
        } else if (height == CW_USEDEFAULT) {
            height = work.bottom - work.top;
        }
    }
    const LONG left = ClampCoordinate(x);
    const LONG top = ClampCoordinate(y);
    return RECT{left, top, left + ClampLength(width), top + ClampLength(height)};
}

struct Relatives {
    Window* parent = nullptr;
    HWND owner = nullptr;
};

// A child needs a live parent; any other window is top-level and owned by the top-level
// window of the parent it was given.
bool ResolveRelatives(DWORD style, HWND parentArg, Relatives& out) {
    if (!parentArg) {
        if (style & WS_CHILD) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return false;
        }
        out.parent = &Desktop();
        return true;
    }
    Window* given = Checked(parentArg, "CreateWindowExW");
    if (!given)
        return false;
    if (given->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (style & WS_CHILD) {
        out.parent = given;
    } else {
        out.parent = &Desktop();
        if (!IsDesktop(*given))
            out.owner = TopLevelOf(*given).handle;
    }
    return true;
}

Window* NewWindow(const std::shared_ptr<WindowClass>& windowClass, const Relatives& relatives,
                  const CREATESTRUCTW& cs) {
    Window* w = AddWindow(windowClass);
    if (!w) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // WS_VISIBLE is set by the first show, after the creation messages.
    w->style = static_cast<DWORD>(cs.style) & ~WS_VISIBLE;
    w->exStyle = cs.dwExStyle;
    w->instance = cs.hInstance;
    w->owner = relatives.owner;
    w->id = (cs.style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(cs.hMenu) : 0;
    w->text = cs.lpszName ? cs.lpszName : u"";
    w->rect = RECT{cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    LinkNew(*relatives.parent, *w);
    return w;
}

// WM_NCCREATE, WM_CREATE, WM_SIZE and WM_MOVE; false when the window did not survive them.
bool SendCreationMessages(HWND hwnd, CREATESTRUCTW& cs) {
    const LPARAM csParam = reinterpret_cast<LPARAM>(&cs);
    if (!SendLocal(hwnd, WM_NCCREATE, 0, csParam)) {
        if (Lookup(hwnd))
            SendNcDestroyAndFree(hwnd);
        return false;
    }
    if (!Lookup(hwnd))
        return false;
    if (SendLocal(hwnd, WM_CREATE, 0, csParam) == -1) {
        if (Lookup(hwnd))
            DestroyWindow(hwnd);
        return false;
    }
    Window* w = Lookup(hwnd);
    if (!w || w->destroying)
        return false;
    SendLocal(hwnd, WM_SIZE, SIZE_RESTORED, ClientSizeParam(*w));
    if (!(w = Lookup(hwnd)))
        return false;
    SendLocal(hwnd, WM_MOVE, 0, ClientPositionParam(*w));
    w = Lookup(hwnd);
    return w && !w->destroying;
}

}  // namespace
}  // namespace platform::wm

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    using namespace platform::wm;
    if (!OnUiThread("CreateWindowExW"))
        return nullptr;
    std::shared_ptr<WindowClass> windowClass = FindClass(className);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Relatives relatives;
    if (!ResolveRelatives(style, parent, relatives))
        return nullptr;
    const RECT rect = InitialRect(style, x, y, width, height);
    CREATESTRUCTW cs{param,
                     instance,
                     menu,
                     parent,
                     static_cast<int>(rect.bottom - rect.top),
                     static_cast<int>(rect.right - rect.left),
                     static_cast<int>(rect.top),
                     static_cast<int>(rect.left),
                     static_cast<LONG>(style),
                     windowName,
                     windowClass->name.c_str(),
                     exStyle};
    Window* w = NewWindow(windowClass, relatives, cs);
    if (!w)
        return nullptr;
    const HWND hwnd = w->handle;
    if (!SendCreationMessages(hwnd, cs))
        return nullptr;
    PublishIfNamed(*Lookup(hwnd));
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return Lookup(hwnd) ? hwnd : nullptr;
}
