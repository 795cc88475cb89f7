// SHRecognizeGesture: a short loop after WM_LBUTTONDOWN that watches the stylus until it is
// lifted, moves away or has stayed long enough.
#include "platform/shell/gesture.h"

#include <cstdlib>

#include "platform/core/time.h"
#include "platform/shell/internal/hold_ring.h"
#include "platform/user/user.h"

namespace platform {

DWORD GestureHoldMs(DWORD flags) {
    return (flags & SHRG_LONGDELAY) ? 1000 : 500;
}

int GestureTolerance() {
    return ScaleForDpi(5);
}

}  // namespace platform

namespace platform::shell {
namespace {

constexpr UINT kTickMs = 30;

LRESULT CALLBACK TickProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A hidden window whose timer paces the loop, so that the loop takes no one else's WM_TIMER.
class TickWindow {
  public:
    TickWindow() {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = TickProc;
            wc.lpszClassName = u"ShellGestureTick";
            return RegisterClassW(&wc) != 0;
        }();
        if (registered) {
            hwnd_ = CreateWindowExW(WS_EX_NOACTIVATE, u"ShellGestureTick", u"", WS_POPUP, 0, 0, 0,
                                    0, nullptr, nullptr, nullptr, nullptr);
        }
        if (hwnd_)
            SetTimer(hwnd_, 1, kTickMs, nullptr);
    }
    ~TickWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    TickWindow(const TickWindow&) = delete;
    TickWindow& operator=(const TickWindow&) = delete;

    // Waits for the next tick; false when the loop cannot wait (no window, or quitting).
    bool Wait() {
        MSG m;
        return hwnd_ && GetMessageW(&m, hwnd_, WM_TIMER, WM_TIMER) > 0;
    }

  private:
    HWND hwnd_ = nullptr;
};

enum class Stylus { Holding, Left };

// Looks at the stylus messages waiting: moves within reach are taken (they belong to the
// hold); a move away, a lift or another tap stays queued for the window and ends the hold.
Stylus CheckStylus(POINT down) {
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
        if (m.message != WM_MOUSEMOVE)
            return Stylus::Left;
        POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        ClientToScreen(m.hwnd, &p);
        const int reach = GestureTolerance();
        if (std::abs(p.x - down.x) > reach || std::abs(p.y - down.y) > reach)
            return Stylus::Left;
        PeekMessageW(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    }
    return Stylus::Holding;
}

bool Held(POINT down, DWORD flags) {
    TickWindow ticks;
    HoldRing ring(down);
    const DWORD start = GetTickCount();
    const DWORD hold = GestureHoldMs(flags);
    for (;;) {
        if (CheckStylus(down) == Stylus::Left)
            return false;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= hold)
            return true;
        if (!(flags & SHRG_NOANIMATION))
            ring.Show(static_cast<double>(elapsed) / hold);
        if (!ticks.Wait())
            return false;
    }
}

}  // namespace
}  // namespace platform::shell

DWORD SHRecognizeGesture(SHRGINFO* shrg) {
    if (!shrg || shrg->cbSize != sizeof(SHRGINFO) || !IsWindow(shrg->hwndClient)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    POINT down = shrg->ptDown;
    ClientToScreen(shrg->hwndClient, &down);
    if (!platform::shell::Held(down, shrg->dwFlags))
        return 0;
    if (shrg->dwFlags & SHRG_RETURNCMD)
        return GN_CONTEXTMENU;
    const HWND client = shrg->hwndClient;
    const HWND target =
        (shrg->dwFlags & SHRG_NOTIFYPARENT) && GetParent(client) ? GetParent(client) : client;
    NMRGINFO info{};
    info.hdr.hwndFrom = client;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(client));
    info.hdr.code = GN_CONTEXTMENU;
    info.ptAction = down;
    return static_cast<DWORD>(
        SendMessageW(target, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info)));
}
