// The window that shows one open pop-up. It only paints: the tracking loop reads the stylus
// and the keys before they reach any window.
#include <algorithm>

#include "platform/controls/menu/menu_tracker.h"
#include "platform/user/user.h"

namespace platform::menu {
namespace {

// The class name Win32 gives its pop-up menu windows.
constexpr const WCHAR* kMenuClass = u"#32768";

const Level* LevelOf(HWND hwnd) {
    const Tracker* tracker = ActiveTracker();
    if (!tracker)
        return nullptr;
    const auto& levels = tracker->Levels();
    auto it = std::find_if(levels.begin(), levels.end(),
                           [hwnd](const Level& l) { return l.window == hwnd; });
    return it == levels.end() ? nullptr : &*it;
}

// Drawn off screen and copied once, so owner-drawn items never flicker.
void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    const Level* level = LevelOf(hwnd);
    if (dc && level) {
        const SIZE size = level->layout.size;
        ScopedDC memory(CreateCompatibleDC(dc));
        ScopedGdiObject bitmap(CreateCompatibleBitmap(dc, size.cx, size.cy));
        if (memory && bitmap) {
            ScopedSelectObject select(memory.Get(), bitmap.Get());
            DrawLevel(memory.Get(), *level, *ActiveTracker());
            BitBlt(dc, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool EnsureClass() {
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, kMenuClass, &existing))
        return true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = MenuWindowProc;
    wc.lpszClassName = kMenuClass;
    return RegisterClassW(&wc) != 0;
}

}  // namespace

HWND CreateLevelWindow(const RECT& rect) {
    if (!EnsureClass())
        return nullptr;
    const HWND hwnd =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kMenuClass, u"",
                        WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    if (hwnd)
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

}  // namespace platform::menu
