#include "platform/shell/internal/busy_indicator.h"

#include <cmath>
#include <numbers>

#include "platform/shell/internal/shell_paint.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/user/user.h"

namespace platform::shell {
namespace {

constexpr UINT_PTR kSpinTimer = 1;
constexpr UINT kSpinMs = 80;
constexpr int kDots = 10;

HWND g_busy = nullptr;
int g_phase = 0;

// The dot at the head of the turn is brightest; the ones behind it fade into the panel.
COLORREF DotColour(int age) {
    const int level = 255 - age * (255 - 60) / (kDots - 1);
    return RGB(static_cast<BYTE>(level / 3), static_cast<BYTE>(level * 2 / 3),
               static_cast<BYTE>(level));
}

void PaintBusy(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    FillSolid(hdc, client, kBarColour);
    const int cx = (client.right - client.left) / 2;
    const int cy = (client.bottom - client.top) / 2;
    const int radius = ScaleForDpi(14);
    const int dot = std::max(2, ScaleForDpi(3));
    for (int i = 0; i < kDots; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kDots;
        const int x = cx + static_cast<int>(std::lround(radius * std::sin(angle)));
        const int y = cy - static_cast<int>(std::lround(radius * std::cos(angle)));
        const int age = (g_phase - i + kDots) % kDots;
        FillDot(hdc, x, y, dot, DotColour(age));
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BusyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintBusy(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            g_phase = (g_phase + 1) % kDots;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_NCDESTROY:
            if (g_busy == hwnd)
                g_busy = nullptr;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

RECT CentredRect() {
    const int size = ScaleForDpi(48);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - size) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - size) / 2;
    return RECT{x, y, x + size, y + size};
}

}  // namespace

HWND BusyIndicatorWindow() {
    return IsWindow(g_busy) ? g_busy : nullptr;
}

void ShowBusyIndicator() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BusyProc;
        wc.lpszClassName = u"ShellBusy";
        return RegisterClassW(&wc) != 0;
    }();
    const RECT r = CentredRect();
    if (!BusyIndicatorWindow() && registered) {
        g_phase = 0;
        g_busy = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, u"ShellBusy", u"", WS_POPUP,
                                 r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                                 nullptr, nullptr, nullptr);
        if (g_busy)
            SetTimer(g_busy, kSpinTimer, kSpinMs, nullptr);
    }
    if (!g_busy)
        return;
    SetWindowPos(g_busy, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(g_busy);
}

void HideBusyIndicator() {
    if (HWND hwnd = BusyIndicatorWindow())
        DestroyWindow(hwnd);
}

}  // namespace platform::shell
