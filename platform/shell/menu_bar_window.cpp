// The bar window: draws the two keys, runs a key on a tap or on F1/F2, answers the SHCMBM_
// messages, and frees its object with the window.
#include "platform/controls/menu.h"
#include "platform/gdi/text.h"
#include "platform/shell/internal/menu_bar_object.h"
#include "platform/shell/internal/shell_paint.h"
#include "platform/shell/internal/shell_sync.h"
#include "platform/shell/menu_bar.h"
#include "platform/user/user.h"

namespace platform::shell {
namespace {

void PaintBar(HWND hwnd, const MenuBar& bar) {
    PAINTSTRUCT ps;
    const HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    FillSolid(hdc, client, bar.background);
    FillSolid(hdc, RECT{client.left, client.top, client.right, client.top + 1}, kBarLine);
    const int count = static_cast<int>(bar.keys.size());
    for (int i = 0; i < count && i < 2; ++i) {
        const SoftKey& key = bar.keys[static_cast<size_t>(i)];
        const RECT r = KeyRect(client, i, count);
        if (i == bar.pressed && key.enabled)
            FillSolid(hdc, RECT{r.left, r.top + 1, r.right, r.bottom}, kBarPressed);
        DrawLabel(hdc, r, key.text, key.enabled ? kBarText : kBarGreyText, DT_CENTER, true);
    }
    if (count >= 2) {
        const LONG mid = KeyRect(client, 1, count).left;
        const LONG inset = (client.bottom - client.top) / 4;
        FillSolid(hdc, RECT{mid, client.top + inset, mid + 1, client.bottom - inset}, kBarLine);
    }
    EndPaint(hwnd, &ps);
}

int KeyAt(HWND hwnd, const MenuBar& bar, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int count = static_cast<int>(bar.keys.size());
    for (int i = 0; i < count && i < 2; ++i) {
        const RECT r = KeyRect(client, i, count);
        if (PtInRect(&r, p))
            return i;
    }
    return -1;
}

void SetPressed(HWND hwnd, MenuBar& bar, int index) {
    if (bar.pressed != index) {
        bar.pressed = index;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

LRESULT OnStylus(HWND hwnd, MenuBar& bar, UINT message, LPARAM lParam) {
    const int key = KeyAt(hwnd, bar, lParam);
    if (message == WM_LBUTTONDOWN) {
        SetCapture(hwnd);
        SetPressed(hwnd, bar, key);
    } else if (message == WM_MOUSEMOVE && GetCapture() == hwnd) {
        SetPressed(hwnd, bar, key == bar.pressed ? key : -1);
    } else if (message == WM_LBUTTONUP && GetCapture() == hwnd) {
        const int pressed = bar.pressed;
        ReleaseCapture();
        SetPressed(hwnd, bar, -1);
        if (pressed >= 0 && pressed == key)
            PressKey(hwnd, pressed);
    }
    return 0;
}

HMENU SubMenuOf(const MenuBar& bar, UINT command) {
    for (const SoftKey& key : bar.keys) {
        if (key.command == command)
            return key.popup;
    }
    return nullptr;
}

LRESULT CALLBACK MenuBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* bar = static_cast<MenuBar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        bar->hwnd = hwnd;
        return 0;
    }
    MenuBar* bar = BarOfWindow(hwnd);
    if (!bar)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            PaintBar(hwnd, *bar);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return OnStylus(hwnd, *bar, message, lParam);
        case WM_CAPTURECHANGED:
            SetPressed(hwnd, *bar, -1);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_TSOFT1 || wParam == VK_TSOFT2)
                PressKey(hwnd, wParam == VK_TSOFT1 ? 0 : 1);
            return 0;
        case SHCMBM_GETSUBMENU:
            return reinterpret_cast<LRESULT>(SubMenuOf(*bar, static_cast<UINT>(lParam)));
        case SHCMBM_GETMENU:
            return reinterpret_cast<LRESULT>(bar->menu);
        case SHCMBM_SETBKCOLOR:
            bar->background = static_cast<COLORREF>(lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case WM_NCDESTROY:
            if (bar->menu)
                DestroyMenu(bar->menu);
            ForgetBar(hwnd);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LPCWSTR MenuBarClass() {
    static const LPCWSTR name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = MenuBarProc;
        wc.lpszClassName = u"ShellMenuBar";
        RegisterClassW(&wc);
        return u"ShellMenuBar";
    }();
    return name;
}

void PlaceBar(MenuBar& bar) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int barHeight = MenuBarHeight();
    SetWindowPos(bar.hwnd, nullptr, 0, height - barHeight, width, barHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PressKey(HWND hwnd, int index) {
    MenuBar* bar = BarOfWindow(hwnd);
    if (!bar || index < 0 || static_cast<size_t>(index) >= bar->keys.size())
        return;
    const SoftKey key = bar->keys[static_cast<size_t>(index)];
    if (!key.enabled)
        return;
    const HWND owner = bar->owner;
    if (!key.popup) {
        // Posted, so that an owner that destroys itself (and the bar) on the command is safe.
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(key.command), 0), 0);
        return;
    }
    RECT anchor;
    GetWindowRect(hwnd, &anchor);
    RECT client{0, 0, anchor.right - anchor.left, anchor.bottom - anchor.top};
    RECT keyRect = KeyRect(client, index, static_cast<int>(bar->keys.size()));
    OffsetRect(&keyRect, anchor.left, anchor.top);
    const UINT align = index == 0 ? TPM_LEFTALIGN : TPM_RIGHTALIGN;
    TrackPopupMenuAbove(key.popup, align | TPM_BOTTOMALIGN, keyRect, owner);
}

}  // namespace platform::shell
