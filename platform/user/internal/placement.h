// Showing and hiding windows, shared by ShowWindow, SetWindowPos and DestroyWindow.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// Sets WS_VISIBLE and invalidates the window; WM_SHOWWINDOW first when `notify`.
void ShowWithoutActivating(HWND hwnd, bool notify);
// Clears WS_VISIBLE, repaints what it uncovers and moves focus, capture and activation away;
// WM_SHOWWINDOW first when `notify`.
void Hide(HWND hwnd, bool notify);
// Moves and sizes without messages; repaints the old and the new area.
void SetRectSilently(Window& w, const RECT& rect, bool redraw);

}  // namespace platform::wm
