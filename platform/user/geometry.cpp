// Frames, client areas and what of them is on screen.
#include "platform/user/internal/geometry.h"

#include <algorithm>

#include "platform/display/display.h"
#include "platform/user/internal/tree.h"
#include "platform/user/metrics.h"

namespace platform::wm {

LONG ClampCoordinate(long long value) {
    return static_cast<LONG>(std::clamp<long long>(value, kMinCoordinate, kMaxCoordinate));
}

LONG ClampLength(long long value) {
    return static_cast<LONG>(std::clamp<long long>(value, 0, kMaxCoordinate));
}

RECT Intersect(const RECT& a, const RECT& b) {
    const RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return Empty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT Bounding(const RECT& a, const RECT& b) {
    if (Empty(a))
        return Empty(b) ? RECT{0, 0, 0, 0} : b;
    if (Empty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT Offset(const RECT& r, LONG dx, LONG dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool Covers(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

RECT SubtractBand(const RECT& clip, const RECT& cover) {
    if (Empty(clip) || Empty(Intersect(clip, cover)))
        return clip;
    if (Covers(cover, clip))
        return RECT{0, 0, 0, 0};
    RECT r = clip;
    const bool fullWidth = cover.left <= clip.left && cover.right >= clip.right;
    const bool fullHeight = cover.top <= clip.top && cover.bottom >= clip.bottom;
    if (fullWidth && cover.top <= clip.top) {
        r.top = cover.bottom;
    } else if (fullWidth && cover.bottom >= clip.bottom) {
        r.bottom = cover.top;
    } else if (fullHeight && cover.left <= clip.left) {
        r.left = cover.right;
    } else if (fullHeight && cover.right >= clip.right) {
        r.right = cover.left;
    }
    return r;
}

int BorderWidth(const Window& w) {
    return (w.parent && (w.style & WS_BORDER)) ? GetSystemMetrics(SM_CXBORDER) : 0;
}

RECT ClientInWindow(const Window& w) {
    const LONG width = w.rect.right - w.rect.left;
    const LONG height = w.rect.bottom - w.rect.top;
    const LONG b = std::min<LONG>(BorderWidth(w), std::min(width, height) / 2);
    return RECT{b, b, width - b, height - b};
}

RECT ClientRect(const Window& w) {
    if (!w.parent)
        return ScreenRect();
    const RECT c = ClientInWindow(w);
    return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}

POINT ClientOrigin(const Window& w) {
    POINT p{0, 0};
    for (const Window* x = &w; x->parent; x = x->parent) {
        const RECT c = ClientInWindow(*x);
        p.x += x->rect.left + c.left;
        p.y += x->rect.top + c.top;
    }
    return p;
}

RECT WindowOnScreen(const Window& w) {
    if (!w.parent)
        return ScreenRect();
    const POINT origin = ClientOrigin(*w.parent);
    return Offset(w.rect, origin.x, origin.y);
}

RECT ClientOnScreen(const Window& w) {
    const POINT origin = ClientOrigin(w);
    return Offset(ClientRect(w), origin.x, origin.y);
}

RECT ScreenRect() {
    const Surface& screen = GetDisplay().Screen();
    return RECT{0, 0, screen.width, screen.height};
}

RECT VisibleOnScreen(const Window& w, bool frame) {
    if (!IsShown(w))
        return RECT{0, 0, 0, 0};
    RECT r = Intersect(frame ? WindowOnScreen(w) : ClientOnScreen(w), ScreenRect());
    for (const Window* p = w.parent; p && !Empty(r); p = p->parent) {
        r = Intersect(r, ClientOnScreen(*p));
    }
    return r;
}

RECT UncoveredOnScreen(Window& w, bool frame) {
    RECT r = VisibleOnScreen(w, frame);
    if (Empty(r))
        return r;
    ForEachDrawnAfter(w, [&](Window& other) {
        if (!Empty(r))
            r = SubtractBand(r, VisibleOnScreen(other, true));
    });
    return r;
}

LPARAM ClientSizeParam(const Window& w) {
    const RECT c = ClientRect(w);
    return MAKELPARAM(static_cast<WORD>(c.right), static_cast<WORD>(c.bottom));
}

LPARAM ClientPositionParam(const Window& w) {
    const RECT c = ClientInWindow(w);
    return MAKELPARAM(static_cast<WORD>(w.rect.left + c.left),
                      static_cast<WORD>(w.rect.top + c.top));
}

}  // namespace platform::wm
