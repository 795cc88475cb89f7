// Device contexts on windows: BeginPaint/EndPaint, GetDC/ReleaseDC, and the window border.
//
// Windows are opaque and clipping is one rectangle, so a DC cannot leave out every window that
// overlaps the one drawn. Instead, a DC's clip leaves out what later-drawn windows cover
// entirely (or in full bands), and whatever they cover in part is invalidated in them when the
// painting starts, so they paint over it again afterwards.
#include <cstring>
#include <unordered_map>

#include "platform/core/no_destructor.h"
#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

struct OpenDc {
    HWND hwnd = nullptr;
    RECT drawn{};  // on screen: what may have changed, to show when the DC is released
};

std::unordered_map<HDC, OpenDc>& OpenDcs() {
    static NoDestructor<std::unordered_map<HDC, OpenDc>> dcs;
    return *dcs;
}

HDC Open(HWND hwnd, POINT origin, const RECT& clip, const RECT& drawn) {
    const HDC dc = CreateSurfaceDC(GetDisplay().Screen(), origin, clip);
    if (dc)
        OpenDcs()[dc] = OpenDc{hwnd, drawn};
    return dc;
}

bool Close(HDC dc, bool repaintOverlaps) {
    auto it = OpenDcs().find(dc);
    if (it == OpenDcs().end())
        return false;
    const OpenDc record = it->second;
    OpenDcs().erase(it);
    DeleteDC(dc);
    if (Empty(record.drawn))
        return true;
    GetDisplay().Present(record.drawn);
    Window* w = Lookup(record.hwnd);
    if (repaintOverlaps && w)
        RepaintDrawnAfter(*w, record.drawn);
    return true;
}

// Draws the parts of the border that are not covered; returns the bounding rectangle drawn.
RECT DrawFrame(Window& w) {
    const LONG b = BorderWidth(w);
    const RECT clip = UncoveredOnScreen(w, true);
    if (b == 0 || Empty(clip))
        return RECT{0, 0, 0, 0};
    const RECT window = WindowOnScreen(w);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const RECT strips[] = {{0, 0, width, b},
                           {0, height - b, width, height},
                           {0, b, b, height - b},
                           {width - b, b, width, height - b}};
    const HDC dc = CreateSurfaceDC(GetDisplay().Screen(), POINT{window.left, window.top}, clip);
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT drawn{0, 0, 0, 0};
    for (const RECT& strip : strips) {
        if (dc)
            FillRect(dc, &strip, black);
        drawn = Bounding(drawn, Intersect(Offset(strip, window.left, window.top), clip));
    }
    if (dc)
        DeleteDC(dc);
    return drawn;
}

}  // namespace
}  // namespace platform::wm

using namespace platform::wm;

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* w = Checked(hwnd, "BeginPaint");
    if (!w || !paint) {
        if (w)
            SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const bool erase = w->erase;
    const bool frame = w->frameDirty;
    const RECT update = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
    ClearUpdate(*w);
    const POINT origin = ClientOrigin(*w);
    const RECT clip = Intersect(Offset(update, origin.x, origin.y), UncoveredOnScreen(*w, false));
    const RECT drawn = frame ? Bounding(clip, DrawFrame(*w)) : clip;
    RepaintDrawnAfter(*w, drawn);
    std::memset(paint, 0, sizeof(*paint));
    paint->hdc = Open(hwnd, origin, clip, drawn);
    if (!Empty(clip))
        paint->rcPaint = Offset(clip, -origin.x, -origin.y);
    if (erase && paint->hdc) {
        const LRESULT erased =
            SendLocal(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0);
        paint->fErase = erased ? FALSE : TRUE;
    }
    return paint->hdc;
}

// The window may be gone by now (destroyed while it painted); the DC is released all the same.
BOOL EndPaint(HWND /*hwnd*/, const PAINTSTRUCT* paint) {
    if (!paint || !OnUiThread("EndPaint"))
        return FALSE;
    return Close(paint->hdc, false) ? TRUE : FALSE;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd) {
        if (!OnUiThread("GetDC"))
            return nullptr;
        return Open(nullptr, POINT{0, 0}, ScreenRect(), ScreenRect());
    }
    Window* w = Checked(hwnd, "GetDC");
    if (!w)
        return nullptr;
    const RECT clip = UncoveredOnScreen(*w, false);
    return Open(hwnd, ClientOrigin(*w), clip, clip);
}

HDC GetWindowDC(HWND hwnd) {
    if (!hwnd)
        return GetDC(nullptr);
    Window* w = Checked(hwnd, "GetWindowDC");
    if (!w)
        return nullptr;
    const RECT window = WindowOnScreen(*w);
    const RECT clip = UncoveredOnScreen(*w, true);
    return Open(hwnd, POINT{window.left, window.top}, clip, clip);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    Window* w = Checked(hwnd, "GetUpdateRect");
    if (!w)
        return FALSE;
    const bool any = w->hasUpdate && !Empty(w->update);
    if (rect)
        *rect = any ? w->update : RECT{0, 0, 0, 0};
    if (any && erase && w->erase) {
        w->erase = false;
        const POINT origin = ClientOrigin(*w);
        const RECT clip =
            Intersect(Offset(w->update, origin.x, origin.y), UncoveredOnScreen(*w, false));
        if (const HDC dc = Open(hwnd, origin, clip, clip)) {
            SendLocal(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            Close(dc, true);
        }
    }
    return any ? TRUE : FALSE;
}

int ReleaseDC(HWND /*hwnd*/, HDC hdc) {
    if (!OnUiThread("ReleaseDC"))
        return 0;
    return Close(hdc, true) ? 1 : 0;
}
