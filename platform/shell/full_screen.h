// Full-screen switching: a window that hides the task bar may cover the whole screen while it is
// the foreground window. The state is kept per window.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
constexpr DWORD SHFS_SHOWSTARTICON = 0x0010;
constexpr DWORD SHFS_HIDESTARTICON = 0x0020;

// FALSE with ERROR_INVALID_WINDOW_HANDLE for a window that is not one of ours.
BOOL SHFullScreen(HWND hwndRequester, DWORD dwState);

namespace platform {
// The part of the screen `hwnd` may use: the whole screen while it hides the task bar, else
// the work area.
RECT ShellUsableArea(HWND hwnd);
}  // namespace platform
