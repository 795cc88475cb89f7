#include "platform/controls/internal/control_base.h"

#include <algorithm>

namespace platform::controls {

bool ControlBase::Notify(WORD code) {
    const HWND parent = Parent();
    if (parent) {
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(CtrlId()), code),
                     reinterpret_cast<LPARAM>(hwnd_));
    }
    return !destroyed_;
}

bool ControlBase::HandleCommon(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                InvalidateRect(hwnd_, nullptr, FALSE);
            result = 0;
            return true;
        case WM_GETFONT:
            result = reinterpret_cast<LRESULT>(font_);
            return true;
        case WM_ERASEBKGND:
            // Every control paints its whole client area from a back buffer.
            result = 1;
            return true;
        case WM_ENABLE:
            InvalidateRect(hwnd_, nullptr, FALSE);
            result = 0;
            return true;
        default:
            return false;
    }
}

std::u16string WindowText(HWND hwnd) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND TopLevelOf(HWND hwnd) {
    HWND top = hwnd;
    while ((GetWindowLongW(top, GWL_STYLE) & WS_CHILD) && GetParent(top))
        top = GetParent(top);
    return top;
}

LRESULT CopyText(LPWSTR dest, WPARAM capacity, std::u16string_view text) {
    if (!dest || capacity == 0)
        return 0;
    const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(capacity) - 1);
    std::copy_n(text.begin(), n, dest);
    dest[n] = u'\0';
    return static_cast<LRESULT>(n);
}

void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style, int extraBytes) {
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, name, &existing))
        return;
    WNDCLASSW wc{};
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extraBytes;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

}  // namespace platform::controls
