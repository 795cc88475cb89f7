// DestroyWindow: owned windows first, then WM_DESTROY from the window down to its children and
// WM_NCDESTROY from the deepest child up to the window, after which the handles are invalid.
// Every step looks the windows up again, because any window procedure may destroy windows too,
// including its own from inside a message it is handling.
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/focus_internal.h"
#include "platform/user/internal/lifecycle.h"
#include "platform/user/internal/placement.h"
#include "platform/user/internal/timers_internal.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

void MarkDestroying(Window& w) {
    w.destroying = true;
    for (Window* c : w.children)
        MarkDestroying(*c);
}

void SendDestroy(HWND hwnd) {
    SendLocal(hwnd, WM_DESTROY, 0, 0);
    Window* w = Lookup(hwnd);
    if (!w)
        return;
    for (HWND child : ChildHandles(*w)) {
        if (Lookup(child))
            SendDestroy(child);
    }
}

void DestroyOwnedWindows(HWND owner) {
    for (HWND owned : OwnedHandles(owner)) {
        Window* o = Lookup(owned);
        if (o && !o->destroying)
            DestroyWindow(owned);
    }
}

}  // namespace

void SendNcDestroyAndFree(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w)
        return;
    w->destroying = true;
    for (HWND child : ChildHandles(*w))
        SendNcDestroyAndFree(child);
    KillWindowTimers(hwnd);
    SendLocal(hwnd, WM_NCDESTROY, 0, 0);
    if (!(w = Lookup(hwnd)))
        return;
    // Children a procedure created or moved here meanwhile go with it.
    for (HWND child : ChildHandles(*w))
        SendNcDestroyAndFree(child);
    Unlink(*w);
    RemoveWindow(hwnd);
}

}  // namespace platform::wm

BOOL DestroyWindow(HWND hwnd) {
    using namespace platform::wm;
    Window* w = Checked(hwnd, "DestroyWindow");
    if (!w)
        return FALSE;
    if (IsDesktop(*w)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // Asked again while its destruction runs (from WM_DESTROY, say): the first call finishes it.
    if (w->destroying)
        return TRUE;
    MarkDestroying(*w);
    DestroyOwnedWindows(hwnd);
    if (!(w = Lookup(hwnd)))
        return TRUE;
    if (w->style & WS_VISIBLE) {
        Hide(hwnd, false);
    } else {
        MoveFocusAway(*w);
    }
    if (!(w = Lookup(hwnd)))
        return TRUE;
    Unpublish(*w);
    SendDestroy(hwnd);
    SendNcDestroyAndFree(hwnd);
    return TRUE;
}
