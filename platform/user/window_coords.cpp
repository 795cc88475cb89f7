// Rectangles, coordinate mapping and hit testing.
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/hit_test.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

Window* DeepestEnabledAt(Window& w, POINT p) {
    if (!Contains(ClientOnScreen(w), p))
        return &w;
    for (Window* child : w.children) {
        if (!(child->style & WS_VISIBLE) || !Contains(WindowOnScreen(*child), p))
            continue;
        if (child->style & WS_DISABLED)
            return &w;
        return DeepestEnabledAt(*child, p);
    }
    return &w;
}

// The origin of a window's client area on screen; the screen's for null (the desktop).
bool OriginOf(HWND hwnd, POINT& origin, const char* function) {
    if (!hwnd) {
        origin = POINT{0, 0};
        return OnUiThread(function);
    }
    Window* w = Checked(hwnd, function);
    if (w)
        origin = ClientOrigin(*w);
    return w != nullptr;
}

}  // namespace

Window* HitTest(POINT p) {
    if (!Contains(ScreenRect(), p))
        return nullptr;
    for (Window* top : Desktop().children) {
        if (!(top->style & WS_VISIBLE) || !Contains(WindowOnScreen(*top), p))
            continue;
        if (top->style & WS_DISABLED)
            return nullptr;
        return DeepestEnabledAt(*top, p);
    }
    return nullptr;
}

}  // namespace platform::wm

using namespace platform::wm;

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = Checked(hwnd, "GetClientRect");
    if (!w || !rect)
        return FALSE;
    *rect = ClientRect(*w);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = Checked(hwnd, "GetWindowRect");
    if (!w || !rect)
        return FALSE;
    *rect = WindowOnScreen(*w);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    Window* w = Checked(hwnd, "ClientToScreen");
    if (!w || !point)
        return FALSE;
    const POINT origin = ClientOrigin(*w);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    Window* w = Checked(hwnd, "ScreenToClient");
    if (!w || !point)
        return FALSE;
    const POINT origin = ClientOrigin(*w);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT a{};
    POINT b{};
    if (!OriginOf(from, a, "MapWindowPoints") || !OriginOf(to, b, "MapWindowPoints"))
        return 0;
    const LONG dx = a.x - b.x;
    const LONG dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND WindowFromPoint(POINT point) {
    if (!OnUiThread("WindowFromPoint"))
        return nullptr;
    Window* w = HitTest(point);
    return w ? w->handle : nullptr;
}

// Every child counts, hidden and disabled ones too, as on the handheld.
HWND ChildWindowFromPoint(HWND parent, POINT point) {
    Window* w = Checked(parent, "ChildWindowFromPoint");
    if (!w || !Contains(ClientRect(*w), point))
        return nullptr;
    const POINT origin = ClientOrigin(*w);
    const POINT onScreen{point.x + origin.x, point.y + origin.y};
    for (Window* child : w->children) {
        if (Contains(WindowOnScreen(*child), onScreen))
            return child->handle;
    }
    return parent;
}
