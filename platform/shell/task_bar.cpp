// The task bar window along the top of the screen: title, clock and OK button.
#include "platform/shell/task_bar.h"

#include "platform/core/time.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/shell/internal/shell_paint.h"
#include "platform/shell/internal/shell_state.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/internal/task_bar_window.h"
#include "platform/user/user.h"

namespace platform::shell {
namespace {

constexpr UINT_PTR kSyncTimer = 1;
constexpr UINT_PTR kClockTimer = 2;
// The shell follows changes the program makes without input (a window shown or closed by a
// timer) this often; input and the shell's own calls update it at once.
constexpr UINT kSyncMs = 100;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

HWND g_taskBar = nullptr;
TaskBarView g_view;
bool g_okPressed = false;

std::u16string ClockText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const char16_t text[] = {static_cast<char16_t>(u'0' + now.wHour / 10),
                             static_cast<char16_t>(u'0' + now.wHour % 10), u':',
                             static_cast<char16_t>(u'0' + now.wMinute / 10),
                             static_cast<char16_t>(u'0' + now.wMinute % 10)};
    return std::u16string(text, 5);
}

// Wakes just after the next minute starts, so that the clock changes with the minute.
void ArmClock(HWND hwnd) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const UINT ms = (59 - now.wSecond) * 1000u + (1000u - now.wMilliseconds) + 20u;
    SetTimer(hwnd, kClockTimer, ms, nullptr);
}

RECT ClockRect(const RECT& client) {
    RECT r = client;
    const RECT ok = OkButtonRect();
    r.right = (ok.right > ok.left ? ok.left : client.right) - ScaleForDpi(6);
    r.left = r.right - ScaleForDpi(40);
    return r;
}

void PaintTaskBar(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    FillSolid(hdc, client, kBarColour);
    FillSolid(hdc, RECT{client.left, client.bottom - 1, client.right, client.bottom}, kBarLine);
    const RECT clock = ClockRect(client);
    DrawLabel(hdc, clock, ClockText(), kBarText, DT_RIGHT);
    const RECT title{client.left + ScaleForDpi(6), client.top, clock.left - ScaleForDpi(4),
                     client.bottom};
    DrawLabel(hdc, title, g_view.title, kBarText, DT_LEFT, true);
    const RECT ok = OkButtonRect();
    if (ok.right > ok.left) {
        FillSolid(hdc, ok, g_okPressed ? kBarPressed : kBarLine);
        DrawLabel(hdc, ok, g_view.cancelButton ? u"x" : u"ok", kBarText, DT_CENTER, true);
    }
    EndPaint(hwnd, &ps);
}

bool InOk(LPARAM lParam) {
    const RECT ok = OkButtonRect();
    return PtInRect(&ok, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void SetOkPressed(HWND hwnd, bool pressed) {
    if (g_okPressed != pressed) {
        g_okPressed = pressed;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

LRESULT OnStylus(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && InOk(lParam)) {
        SetCapture(hwnd);
        SetOkPressed(hwnd, true);
    } else if (message == WM_LBUTTONUP && GetCapture() == hwnd) {
        ReleaseCapture();
        SetOkPressed(hwnd, false);
        Sync();
        // The button belongs to the window in front now; only act while it is still shown.
        if (InOk(lParam) && g_view.okButton && IsWindow(g_view.front)) {
            const int id = g_view.cancelButton ? kIdCancel : kIdOk;
            PostMessageW(g_view.front, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        }
    }
    return 0;
}

LRESULT CALLBACK TaskBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintTaskBar(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == kClockTimer) {
                ArmClock(hwnd);
                InvalidateRect(hwnd, nullptr, FALSE);
            } else if (wParam == kSyncTimer) {
                Sync();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return OnStylus(hwnd, message, lParam);
        case WM_CAPTURECHANGED:
            SetOkPressed(hwnd, false);
            return 0;
        case WM_NCDESTROY:
            if (g_taskBar == hwnd)
                g_taskBar = nullptr;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LPCWSTR TaskBarClass() {
    static const LPCWSTR name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = TaskBarProc;
        wc.lpszClassName = u"ShellTaskBar";
        RegisterClassW(&wc);
        return u"ShellTaskBar";
    }();
    return name;
}

}  // namespace

HWND TaskBarWindow() {
    return IsWindow(g_taskBar) ? g_taskBar : nullptr;
}

HWND CreateTaskBar() {
    if (TaskBarWindow())
        return g_taskBar;
    g_view = TaskBarView{};
    g_taskBar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, TaskBarClass(), u"", WS_POPUP, 0,
                                0, GetSystemMetrics(SM_CXSCREEN), TaskBarHeight(), nullptr, nullptr,
                                nullptr, nullptr);
    if (!g_taskBar)
        return nullptr;
    SetTimer(g_taskBar, kSyncTimer, kSyncMs, nullptr);
    ArmClock(g_taskBar);
    ShowWindow(g_taskBar, SW_SHOWNA);
    return g_taskBar;
}

void ShowTaskBarView(const TaskBarView& view) {
    const HWND hwnd = TaskBarWindow();
    if (!hwnd)
        return;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), TaskBarHeight(),
                 SWP_NOACTIVATE | (view.visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (view == g_view)
        return;
    g_view = view;
    InvalidateRect(hwnd, nullptr, FALSE);
}

const TaskBarView& CurrentTaskBarView() {
    return g_view;
}

RECT OkButtonRect() {
    if (!g_view.okButton || !TaskBarWindow())
        return RECT{0, 0, 0, 0};
    RECT client;
    GetClientRect(g_taskBar, &client);
    const int inset = ScaleForDpi(3);
    return RECT{client.right - ScaleForDpi(34), client.top + inset, client.right - inset,
                client.bottom - inset};
}

}  // namespace platform::shell

BOOL SHDoneButton(HWND hwndRequester, DWORD dwState) {
    using namespace platform::shell;
    if (!IsWindow(hwndRequester)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    WindowRecord& record = RecordFor(GetAncestorTop(hwndRequester));
    if (dwState & SHDB_HIDE) {
        record.done = DoneButton::Hidden;
    } else if (dwState & SHDB_SHOWCANCEL) {
        record.done = DoneButton::ShownCancel;
    } else if (dwState & SHDB_SHOW) {
        record.done = DoneButton::Shown;
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Sync();
    return TRUE;
}
