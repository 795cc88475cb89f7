// Visibility, position, size, z-order and enabling.
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/focus_internal.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/placement.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

void RaiseAndRepaint(Window& w) {
    if (BringToTop(w))
        InvalidateScreenArea(VisibleOnScreen(w, true));
}

// Shows the window; a top-level window also comes to the top and, unless `activate` is false
// or it cannot be, becomes the active window.
void Show(HWND hwnd, bool activate) {
    ShowWithoutActivating(hwnd, true);
    Window* w = Lookup(hwnd);
    if (!w || !IsTopLevel(*w))
        return;
    if (activate && CanActivate(*w, true)) {
        Activate(*w, WA_ACTIVE);
    } else {
        RaiseAndRepaint(*w);
    }
}

// Moves and sizes, then tells the window: WM_MOVE when its client origin moved, WM_SIZE with
// `sizeType` when its size changed.
void MoveAndSize(HWND hwnd, const RECT& rect, bool redraw, WPARAM sizeType) {
    Window* w = Lookup(hwnd);
    if (!w)
        return;
    const RECT old = w->rect;
    const bool moved = old.left != rect.left || old.top != rect.top;
    const bool sized = old.right - old.left != rect.right - rect.left ||
                       old.bottom - old.top != rect.bottom - rect.top;
    if (!moved && !sized)
        return;
    SetRectSilently(*w, rect, redraw);
    if (moved)
        SendLocal(hwnd, WM_MOVE, 0, ClientPositionParam(*w));
    if (sized && (w = Lookup(hwnd)))
        SendLocal(hwnd, WM_SIZE, sizeType, ClientSizeParam(*w));
}

void Maximize(HWND hwnd) {
    Window* w = Lookup(hwnd);
    const RECT area = IsTopLevel(*w) ? WorkArea() : ClientRect(*w->parent);
    MoveAndSize(hwnd, area, true, SIZE_MAXIMIZED);
    Show(hwnd, true);
}

void Reorder(Window& w, HWND insertAfter, bool redraw) {
    bool changed = false;
    const bool topLevel = IsTopLevel(w);
    if (insertAfter == HWND_TOP) {
        changed = BringToTop(w);
    } else if (insertAfter == HWND_BOTTOM) {
        if (topLevel)
            w.exStyle &= ~WS_EX_TOPMOST;
        changed = SendToBottom(w);
    } else if (insertAfter == HWND_TOPMOST) {
        if (topLevel)
            w.exStyle |= WS_EX_TOPMOST;
        changed = BringToTop(w);
    } else if (insertAfter == HWND_NOTOPMOST) {
        if (topLevel && (w.exStyle & WS_EX_TOPMOST)) {
            w.exStyle &= ~WS_EX_TOPMOST;
            changed = BringToTop(w);
        }
    } else if (Window* sibling = Lookup(insertAfter)) {
        changed = PlaceBelow(w, *sibling);
    }
    if (changed && redraw)
        InvalidateScreenArea(VisibleOnScreen(w, true));
}

RECT NewRect(const Window& w, int x, int y, int cx, int cy, UINT flags) {
    RECT r = w.rect;
    const LONG width = (flags & SWP_NOSIZE) ? r.right - r.left : ClampLength(cx);
    const LONG height = (flags & SWP_NOSIZE) ? r.bottom - r.top : ClampLength(cy);
    if (!(flags & SWP_NOMOVE)) {
        r.left = ClampCoordinate(x);
        r.top = ClampCoordinate(y);
    }
    return RECT{r.left, r.top, r.left + width, r.top + height};
}

Window* CheckedMovable(HWND hwnd, const char* function) {
    Window* w = Checked(hwnd, function);
    if (w && IsDesktop(*w)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return w;
}

}  // namespace

void ShowWithoutActivating(HWND hwnd, bool notify) {
    Window* w = Lookup(hwnd);
    if (!w || (w->style & WS_VISIBLE))
        return;
    if (notify) {
        SendLocal(hwnd, WM_SHOWWINDOW, TRUE, 0);
        if (!(w = Lookup(hwnd)) || (w->style & WS_VISIBLE))
            return;
    }
    w->style |= WS_VISIBLE;
    InvalidateWhole(*w);
}

void Hide(HWND hwnd, bool notify) {
    Window* w = Lookup(hwnd);
    if (!w || !(w->style & WS_VISIBLE))
        return;
    if (notify) {
        SendLocal(hwnd, WM_SHOWWINDOW, FALSE, 0);
        if (!(w = Lookup(hwnd)) || !(w->style & WS_VISIBLE))
            return;
    }
    const RECT uncovered = VisibleOnScreen(*w, true);
    w->style &= ~WS_VISIBLE;
    InvalidateScreenArea(uncovered);
    MoveFocusAway(*w);
}

void SetRectSilently(Window& w, const RECT& rect, bool redraw) {
    const RECT before = VisibleOnScreen(w, true);
    w.rect = rect;
    if (!redraw)
        return;
    InvalidateScreenArea(before);
    InvalidateScreenArea(VisibleOnScreen(w, true));
}

}  // namespace platform::wm

using namespace platform::wm;

BOOL ShowWindow(HWND hwnd, int command) {
    Window* w = CheckedMovable(hwnd, "ShowWindow");
    if (!w)
        return FALSE;
    const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    switch (command) {
        case SW_HIDE:
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            // The handheld has no minimised state: minimising hides.
            Hide(hwnd, true);
            break;
        case SW_SHOWNORMAL:
        case SW_SHOW:
        case SW_RESTORE:
            Show(hwnd, true);
            break;
        case SW_SHOWNA:
        case SW_SHOWNOACTIVATE:
            Show(hwnd, false);
            break;
        case SW_MAXIMIZE:
            Maximize(hwnd);
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
    }
    return wasVisible;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = CheckedMovable(hwnd, "SetWindowPos");
    if (!w)
        return FALSE;
    const bool redraw = !(flags & SWP_NOREDRAW);
    const RECT rect = NewRect(*w, x, y, cx, cy, flags);
    if (!(flags & SWP_NOZORDER))
        Reorder(*w, insertAfter, redraw);
    if (flags & SWP_HIDEWINDOW)
        Hide(hwnd, false);
    MoveAndSize(hwnd, rect, redraw, SIZE_RESTORED);
    if (flags & SWP_SHOWWINDOW)
        ShowWithoutActivating(hwnd, false);
    if (!(flags & SWP_NOACTIVATE) && (w = Lookup(hwnd)) && CanActivate(*w, true)) {
        Activate(*w, WA_ACTIVE);
    }
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = Checked(hwnd, "IsWindowVisible");
    return w && IsShown(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = Checked(hwnd, "IsWindowEnabled");
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

// Returns whether the window was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = CheckedMovable(hwnd, "EnableWindow");
    if (!w)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        SendLocal(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendLocal(hwnd, WM_CANCELMODE, 0, 0);
        if (!(w = Lookup(hwnd)))
            return wasDisabled;
        w->style |= WS_DISABLED;
        // A disabled window can hold neither the focus nor the capture.
        Focus& f = FocusState();
        if (f.focus == hwnd)
            SetFocus(nullptr);
        Window* capture = Lookup(f.capture);
        if ((w = Lookup(hwnd)) && capture && IsSelfOrAncestor(*w, *capture))
            ReleaseCapture();
        SendLocal(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}
