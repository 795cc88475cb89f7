// SetScrollInfo and its companions for scroll-bar controls.
#include <string_view>

#include "platform/controls/scroll_bar/scroll_bar_state.h"

namespace platform::controls {
namespace {

// The bar behind (hwnd, bar), or null with ERROR_INVALID_PARAMETER.
ScrollBar* FindBar(HWND hwnd, int bar) {
    WCHAR name[16] = {};
    if (bar != SB_CTL || !GetClassNameW(hwnd, name, 16) ||
        std::u16string_view(name) != std::u16string_view(WC_SCROLLBARW)) {
        if (IsWindow(hwnd))
            SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return StateOf<ScrollBar>(hwnd);
}

}  // namespace
}  // namespace platform::controls

using platform::controls::FindBar;
using platform::controls::ScrollBar;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    ScrollBar* b = FindBar(hwnd, bar);
    if (!b || !info || (info->cbSize != sizeof(SCROLLINFO))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    b->Model().Set(*info);
    if (redraw)
        b->Redraw();
    return b->Model().pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    ScrollBar* b = FindBar(hwnd, bar);
    if (!b || !info || info->cbSize != sizeof(SCROLLINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return b->Model().Get(*info) ? TRUE : FALSE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    ScrollBar* b = FindBar(hwnd, bar);
    if (!b)
        return 0;
    const int previous = b->Model().pos;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
    b->Model().Set(info);
    if (redraw)
        b->Redraw();
    return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
    ScrollBar* b = FindBar(hwnd, bar);
    return b ? b->Model().pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    ScrollBar* b = FindBar(hwnd, bar);
    if (!b)
        return FALSE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    b->Model().Set(info);
    if (redraw)
        b->Redraw();
    return TRUE;
}
