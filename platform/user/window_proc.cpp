// DefWindowProcW, one handler per message it does something for; everything else answers 0.
#include "platform/gdi/gdi.h"
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/text.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/ui_work.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

LRESULT OnClose(HWND hwnd) {
    DestroyWindow(hwnd);
    return 0;
}

LRESULT OnEraseBackground(const Window& w, HDC hdc) {
    const HBRUSH brush = w.windowClass->background;
    if (!brush || !hdc)
        return 0;
    const RECT client = ClientRect(w);
    FillRect(hdc, &client, brush);
    return 1;
}

LRESULT OnPaint(HWND hwnd) {
    PAINTSTRUCT ps{};
    if (BeginPaint(hwnd, &ps))
        EndPaint(hwnd, &ps);
    return 0;
}

// The active window takes the focus unless one of its own windows holds it already.
LRESULT OnActivate(Window& w, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE)
        return 0;
    Window* focus = Lookup(FocusState().focus);
    if (!focus || !IsSelfOrAncestor(w, *focus))
        SetFocus(w.handle);
    return 0;
}

LRESULT OnCancelMode(HWND hwnd) {
    if (GetCapture() == hwnd)
        ReleaseCapture();
    return 0;
}

// Edit and list controls are drawn in window colours, everything else in the dialog colours.
LRESULT OnControlColor(UINT message, HDC hdc) {
    const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    const int background = window ? COLOR_WINDOW : COLOR_STATIC;
    SetTextColor(hdc, GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_STATICTEXT));
    SetBkColor(hdc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

}  // namespace

LRESULT SendLocal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Lookup(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const WNDPROC proc = w->proc;
    SendOriginScope origin(false);
    return proc(hwnd, message, wParam, lParam);
}

}  // namespace platform::wm

using namespace platform::wm;

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        return TRUE;
    Window* w = Checked(hwnd, "DefWindowProcW");
    if (!w)
        return 0;
    switch (message) {
        case WM_CLOSE:
            return OnClose(hwnd);
        case WM_ERASEBKGND:
            return OnEraseBackground(*w, reinterpret_cast<HDC>(wParam));
        case WM_PAINT:
            return OnPaint(hwnd);
        case WM_SETTEXT:
            StoreText(*w, reinterpret_cast<LPCWSTR>(lParam));
            return TRUE;
        case WM_GETTEXT:
            return CopyText(*w, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_ACTIVATE:
            return OnActivate(*w, wParam);
        case WM_CANCELMODE:
            return OnCancelMode(hwnd);
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return OnControlColor(message, reinterpret_cast<HDC>(wParam));
        default:
            return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return proc(hwnd, message, wParam, lParam);
}
