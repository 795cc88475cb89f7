// Focus, capture, activation and the foreground window, and the key state.
#include <array>
#include <atomic>

#include "platform/display/display.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/focus_internal.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/remote.h"

namespace platform::wm {
namespace {

std::array<std::atomic<bool>, 256> g_asyncKeys{};
std::array<bool, 256> g_queuedKeys{};

void Deactivate() {
    Focus& f = FocusState();
    const HWND previous = f.active;
    f.active = nullptr;
    if (Lookup(previous))
        SendLocal(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    if (f.focus && !f.active)
        SetFocus(nullptr);
}

// The window to activate when the active window `leaving` goes away: its owner if that can be
// active, else the topmost other window that can.
Window* Successor(const Window& leaving) {
    Window* owner = Lookup(leaving.owner);
    if (owner && CanActivate(*owner, true))
        return owner;
    for (Window* top : Desktop().children) {
        if (top != &leaving && CanActivate(*top, true))
            return top;
    }
    return nullptr;
}

// The topmost shown, enabled window owned by `w` (through any depth of ownership), or `w`.
Window& TopmostOwnedPopup(Window& w) {
    for (Window* top : Desktop().children) {
        if (top->owner == w.handle && CanActivate(*top, true))
            return TopmostOwnedPopup(*top);
    }
    return w;
}

bool FocusInside(const Window& w) {
    const Window* focus = Lookup(FocusState().focus);
    return focus && IsSelfOrAncestor(w, *focus);
}

}  // namespace

bool CanActivate(const Window& w, bool mustBeShown) {
    return IsTopLevel(w) && !w.destroying && !(w.style & WS_DISABLED) &&
           !(w.exStyle & WS_EX_NOACTIVATE) && (!mustBeShown || IsShown(w));
}

HWND Activate(Window& target, WORD how) {
    Focus& f = FocusState();
    const HWND hwnd = target.handle;
    const HWND previous = f.active;
    if (previous != hwnd && Lookup(previous)) {
        SendLocal(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0),
                  reinterpret_cast<LPARAM>(hwnd));
        // The old window's procedure may have activated another window itself.
        if (f.active != previous)
            return previous;
    }
    Window* w = Lookup(hwnd);
    if (!w || w->destroying)
        return previous;
    f.active = hwnd;
    if (BringToTop(*w))
        InvalidateScreenArea(VisibleOnScreen(*w, true));
    if (previous != hwnd) {
        SendLocal(hwnd, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(previous));
    }
    w = Lookup(hwnd);
    if (w && f.active == hwnd && !FocusInside(*w))
        SetFocus(hwnd);
    return previous;
}

void MoveFocusAway(Window& leaving) {
    const HWND hwnd = leaving.handle;
    Focus& f = FocusState();
    if (Window* capture = Lookup(f.capture); capture && IsSelfOrAncestor(leaving, *capture)) {
        ReleaseCapture();
    }
    // Activation moves first; the focus follows the newly active window.
    Window* w = Lookup(hwnd);
    if (w && IsTopLevel(*w) && f.active == hwnd) {
        if (Window* next = Successor(*w)) {
            Activate(*next, WA_ACTIVE);
        } else {
            Deactivate();
        }
    }
    w = Lookup(hwnd);
    if (w && FocusInside(*w))
        SetFocus(IsTopLevel(*w) ? nullptr : w->parent->handle);
}

void SetKeyDown(UINT vk, bool down, bool async) {
    if (async) {
        g_asyncKeys[vk & 0xFF] = down;
    } else {
        g_queuedKeys[vk & 0xFF] = down;
    }
}

bool IsKeyDown(UINT vk, bool async) {
    return async ? g_asyncKeys[vk & 0xFF].load() : g_queuedKeys[vk & 0xFF];
}

}  // namespace platform::wm

using namespace platform::wm;

HWND SetFocus(HWND hwnd) {
    if (!OnUiThread("SetFocus"))
        return nullptr;
    Focus& f = FocusState();
    const HWND before = f.focus;
    if (hwnd) {
        Window* w = Checked(hwnd, "SetFocus");
        if (!w)
            return nullptr;
        if (w->destroying || IsDesktop(*w)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        Window& top = TopLevelOf(*w);
        if (f.active != top.handle && CanActivate(top, false))
            Activate(top, WA_ACTIVE);
        if (!Lookup(hwnd))
            return before;
    }
    const HWND previous = f.focus;
    if (previous == hwnd)
        return before;
    f.focus = hwnd;
    if (Lookup(previous)) {
        SendLocal(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        // The old window's procedure may have moved the focus elsewhere.
        if (f.focus != hwnd)
            return before;
    }
    if (hwnd && Lookup(hwnd))
        SendLocal(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return before;
}

HWND GetFocus() {
    return OnUiThread("GetFocus") ? FocusState().focus : nullptr;
}

HWND SetCapture(HWND hwnd) {
    if (!hwnd) {
        const HWND previous = GetCapture();
        ReleaseCapture();
        return previous;
    }
    if (!Checked(hwnd, "SetCapture"))
        return nullptr;
    Focus& f = FocusState();
    const HWND previous = f.capture;
    f.capture = hwnd;
    if (previous && previous != hwnd && Lookup(previous)) {
        SendLocal(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    return previous;
}

BOOL ReleaseCapture() {
    if (!OnUiThread("ReleaseCapture"))
        return FALSE;
    Focus& f = FocusState();
    const HWND previous = f.capture;
    f.capture = nullptr;
    if (Lookup(previous))
        SendLocal(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return OnUiThread("GetCapture") ? FocusState().capture : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
    Window* w = Checked(hwnd, "SetActiveWindow");
    if (!w)
        return nullptr;
    Window& top = TopLevelOf(*w);
    if (!CanActivate(top, false)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Activate(top, WA_ACTIVE);
}

HWND GetActiveWindow() {
    return OnUiThread("GetActiveWindow") ? FocusState().active : nullptr;
}

// Only this process's windows are shown on the device screen, so the foreground window is the
// active one.
HWND GetForegroundWindow() {
    return GetActiveWindow();
}

BOOL SetForegroundWindow(HWND hwnd) {
    const auto value = reinterpret_cast<uintptr_t>(hwnd);
    const bool withPopups = (value & 1) != 0;
    hwnd = reinterpret_cast<HWND>(value & ~uintptr_t{1});
    if (hwnd && !Exists(hwnd) && platform::IsRemoteWindow(hwnd)) {
        return platform::SetRemoteForegroundWindow(hwnd);
    }
    Window* w = Checked(hwnd, "SetForegroundWindow");
    if (!w || IsDesktop(*w))
        return FALSE;
    Window& top = TopLevelOf(*w);
    if (BringToTop(top))
        InvalidateScreenArea(VisibleOnScreen(top, true));
    Window& target = withPopups ? TopmostOwnedPopup(top) : top;
    if (CanActivate(target, false))
        Activate(target, WA_ACTIVE);
    platform::GetDisplay().Raise();
    return TRUE;
}

SHORT GetKeyState(int virtualKey) {
    if (!OnUiThread("GetKeyState"))
        return 0;
    return IsKeyDown(static_cast<UINT>(virtualKey), false) ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) {
    return IsKeyDown(static_cast<UINT>(virtualKey), true) ? static_cast<SHORT>(0x8000) : 0;
}
