// The display's input events as the program receives them: stylus messages to the window under
// the stylus (or the capture window), keys to the focus window, and the device's turn and quit.
#include <algorithm>
#include <cstdlib>

#include "platform/core/time.h"
#include "platform/display/display.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/focus_internal.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/hit_test.h"
#include "platform/user/internal/input_internal.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/placement.h"
#include "platform/user/internal/queue.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/shell_hooks.h"

namespace platform::wm {
namespace {

struct LastTap {
    bool armed = false;
    HWND hwnd = nullptr;
    DWORD time = 0;
    POINT point{0, 0};
};

LastTap g_lastTap;

// A second tap soon after and close to the first, on the same window of a class that asks for
// double taps.
bool IsDoubleTap(const Window& w, POINT p, DWORD now) {
    const bool dbl = g_lastTap.armed && g_lastTap.hwnd == w.handle &&
                     (w.windowClass->style & CS_DBLCLKS) &&
                     now - g_lastTap.time <= GetDoubleClickTime() &&
                     std::abs(p.x - g_lastTap.point.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                     std::abs(p.y - g_lastTap.point.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
    g_lastTap = dbl ? LastTap{} : LastTap{true, w.handle, now, p};
    return dbl;
}

// A tap on a window of an inactive top-level window activates that window first.
Window* ActivateForTap(Window& target) {
    const HWND hwnd = target.handle;
    Window& top = TopLevelOf(target);
    if (FocusState().active != top.handle && CanActivate(top, true))
        Activate(top, WA_CLICKACTIVE);
    return Lookup(hwnd);
}

UINT StylusMessage(InputEvent::Kind kind, const Window& target, POINT p, DWORD now) {
    switch (kind) {
        case InputEvent::Kind::StylusDown:
            return IsDoubleTap(target, p, now) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        case InputEvent::Kind::StylusUp:
            return WM_LBUTTONUP;
        default:
            return WM_MOUSEMOVE;
    }
}

void OnStylus(const InputEvent& e) {
    const POINT p{ClampCoordinate(e.x), ClampCoordinate(e.y)};
    SetStylusPos(p);
    const bool down = e.kind == InputEvent::Kind::StylusDown;
    if (down || e.kind == InputEvent::Kind::StylusUp)
        SetKeyDown(VK_LBUTTON, down, true);
    Window* target = Lookup(FocusState().capture);
    if (!target)
        target = HitTest(p);
    if (target && down)
        target = ActivateForTap(*target);
    if (!target)
        return;
    const DWORD now = GetTickCount();
    const UINT message = StylusMessage(e.kind, *target, p, now);
    const POINT origin = ClientOrigin(*target);
    const WPARAM keys = IsKeyDown(VK_LBUTTON, true) ? MK_LBUTTON : 0;
    const LPARAM position =
        MAKELPARAM(static_cast<WORD>(p.x - origin.x), static_cast<WORD>(p.y - origin.y));
    QueueInput(MakeMessage(target->handle, message, keys, position));
}

// Keys go to the focus window, or to the active window when no window has the focus. The
// lParam carries a repeat count of 1 and the previous-state and transition bits.
void OnKey(UINT vk, bool down) {
    vk &= 0xFF;
    const bool wasDown = IsKeyDown(vk, true);
    SetKeyDown(vk, down, true);
    const Focus& f = FocusState();
    HWND target = Lookup(f.focus) ? f.focus : f.active;
    // The shell's menu bar takes the soft keys of its owner.
    if (const auto& route = GetShellHooks().routeKey)
        target = route(vk, down, target);
    if (!Lookup(target))
        return;
    const WORD flags = down ? (wasDown ? KF_REPEAT : 0) : (KF_REPEAT | KF_UP);
    QueueInput(MakeMessage(target, down ? WM_KEYDOWN : WM_KEYUP, vk, MAKELPARAM(1, flags)));
}

// The device turned: windows that filled the work area (or the whole screen) are laid over
// the new one, and every top-level window hears of it as the handheld tells it.
void OnRotate() {
    const RECT oldWork = WorkArea();
    const RECT oldScreen = ScreenRect();
    GetDisplay().Rotate();
    const RECT newWork = WorkArea();
    const RECT newScreen = ScreenRect();
    const std::vector<HWND> tops = TopLevelHandles();
    for (HWND hwnd : tops) {
        Window* w = Lookup(hwnd);
        if (!w)
            continue;
        if (EqualRect(&w->rect, &oldWork)) {
            SetRectSilently(*w, newWork, false);
        } else if (EqualRect(&w->rect, &oldScreen)) {
            SetRectSilently(*w, newScreen, false);
        }
    }
    // The shell lays its bars and full-screen windows over the new screen before anyone hears.
    if (const auto& turned = GetShellHooks().afterTurn)
        turned(oldScreen, oldWork);
    // The turned screen starts blank.
    InvalidateScreenArea(newScreen);
    for (HWND hwnd : tops) {
        if (!Lookup(hwnd))
            continue;
        SendLocal(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
        if (Window* w = Lookup(hwnd))
            SendLocal(hwnd, WM_SIZE, SIZE_RESTORED, ClientSizeParam(*w));
    }
}

}  // namespace

bool ConvertNextInput() {
    InputEvent e;
    if (!GetDisplay().NextInput(e))
        return false;
    switch (e.kind) {
        case InputEvent::Kind::StylusDown:
        case InputEvent::Kind::StylusMove:
        case InputEvent::Kind::StylusUp:
            OnStylus(e);
            break;
        case InputEvent::Kind::KeyDown:
        case InputEvent::Kind::KeyUp:
            OnKey(e.vk, e.kind == InputEvent::Kind::KeyDown);
            break;
        case InputEvent::Kind::Rotate:
            OnRotate();
            break;
        case InputEvent::Kind::Quit:
            // The program's own shutdown order runs, as when its windows are closed.
            PostToQueue(MakeMessage(HWND_BROADCAST, WM_CLOSE, 0, 0));
            break;
    }
    if (const auto& after = GetShellHooks().afterInput)
        after();
    return true;
}

}  // namespace platform::wm
