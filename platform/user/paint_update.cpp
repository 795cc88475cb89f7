// Update rectangles: invalidation, validation, and which window gets the next WM_PAINT.
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

// Depth first in painting order, skipping hidden subtrees: nothing below a hidden window is
// painted.
Window* FirstToPaint(Window& w, const Window* within) {
    if (!(w.style & WS_VISIBLE))
        return nullptr;
    if (w.hasUpdate && (!within || IsSelfOrAncestor(*within, w)))
        return &w;
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
        if (Window* found = FirstToPaint(**it, within))
            return found;
    }
    return nullptr;
}

// Invalidates in `w` what of `screenArea` it shows, its border included.
void InvalidateOnScreen(Window& w, const RECT& screenArea) {
    const RECT hit = Intersect(VisibleOnScreen(w, true), screenArea);
    if (Empty(hit))
        return;
    const POINT origin = ClientOrigin(w);
    const RECT local = Offset(hit, -origin.x, -origin.y);
    InvalidateClient(w, &local, true, !Covers(ClientOnScreen(w), hit));
}

void PaintNow(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w || !w->hasUpdate || !IsShown(*w))
        return;
    const unsigned validations = w->validations;
    SendLocal(hwnd, WM_PAINT, 0, 0);
    FinishPaint(hwnd, validations);
}

}  // namespace

void InvalidateClient(Window& w, const RECT* clientRect, bool erase, bool frame) {
    RECT area = ClientRect(w);
    if (clientRect)
        area = Intersect(area, *clientRect);
    frame = frame && BorderWidth(w) > 0;
    if (Empty(area) && !frame)
        return;
    if (!w.hasUpdate) {
        w.hasUpdate = true;
        w.update = RECT{0, 0, 0, 0};
        ++PendingPaints();
    }
    w.update = Bounding(w.update, area);
    w.erase = w.erase || erase;
    w.frameDirty = w.frameDirty || frame;
}

void InvalidateWhole(Window& w) {
    InvalidateClient(w, nullptr, true, true);
}

void InvalidateScreenArea(const RECT& screenRect) {
    if (Empty(screenRect))
        return;
    ForEachInPaintOrder(Desktop(), [&](Window& w) { InvalidateOnScreen(w, screenRect); });
}

void RepaintDrawnAfter(Window& w, const RECT& screenArea) {
    if (Empty(screenArea))
        return;
    ForEachDrawnAfter(w, [&](Window& other) { InvalidateOnScreen(other, screenArea); });
}

void ClearUpdate(Window& w) {
    ++w.validations;
    if (!w.hasUpdate)
        return;
    w.hasUpdate = false;
    w.update = RECT{0, 0, 0, 0};
    w.erase = false;
    w.frameDirty = false;
    --PendingPaints();
}

Window* NextWindowToPaint(HWND filter) {
    if (PendingPaints() == 0)
        return nullptr;
    const Window* within = filter ? Lookup(filter) : nullptr;
    if (filter && !within)
        return nullptr;
    return FirstToPaint(Desktop(), within);
}

void FinishPaint(HWND hwnd, unsigned validationsBefore) {
    Window* w = Lookup(hwnd);
    if (w && w->hasUpdate && w->validations == validationsBefore)
        ClearUpdate(*w);
}

}  // namespace platform::wm

using namespace platform::wm;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    if (!hwnd) {
        if (!OnUiThread("InvalidateRect"))
            return FALSE;
        InvalidateScreenArea(ScreenRect());
        return TRUE;
    }
    Window* w = Checked(hwnd, "InvalidateRect");
    if (!w)
        return FALSE;
    InvalidateClient(*w, rect, erase != FALSE);
    return TRUE;
}

// What remains of the update rectangle must stay one rectangle, so a validated part in its
// middle leaves it whole: painting a little more is harmless, painting less is not.
BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    if (!hwnd)
        return InvalidateRect(nullptr, nullptr, TRUE);
    Window* w = Checked(hwnd, "ValidateRect");
    if (!w)
        return FALSE;
    if (!rect) {
        ClearUpdate(*w);
        return TRUE;
    }
    if (!w->hasUpdate)
        return TRUE;
    const RECT remaining = SubtractBand(w->update, *rect);
    if (Empty(remaining) && !w->frameDirty) {
        ClearUpdate(*w);
    } else {
        w->update = remaining;
        ++w->validations;
    }
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = Checked(hwnd, "UpdateWindow");
    if (!w)
        return FALSE;
    std::vector<HWND> order;
    ForEachInPaintOrder(*w, [&](Window& x) {
        if (x.hasUpdate && IsShown(x))
            order.push_back(x.handle);
    });
    for (HWND h : order)
        PaintNow(h);
    return TRUE;
}
