// Keeping the shell's windows in step with the program's: which window is in front, which bars
// show, whether the task bar shows, and when the shell ends.
#pragma once

#include "platform/core/types.h"
#include "platform/gdi/gdi_types.h"

namespace platform::shell {

// The shell's palette: dark bars with white text.
constexpr COLORREF kBarColour = RGB(28, 32, 40);
constexpr COLORREF kBarLine = RGB(70, 78, 92);
constexpr COLORREF kBarText = RGB(255, 255, 255);
constexpr COLORREF kBarGreyText = RGB(112, 118, 128);
constexpr COLORREF kBarPressed = RGB(48, 96, 176);

// Installs the window layer's hooks once (idempotent).
void EnsureShellHooks();
// Brings the task bar and the menu bars up to date with the windows as they are now.
void Sync();
// The top-level window of `hwnd` (itself when it is one); null for a bad handle.
HWND GetAncestorTop(HWND hwnd);
// The program's window in front: the active window, else the foreground window.
HWND FrontWindow();
// Windows of the shell itself (task bar, menu bars, busy indicator, helpers).
bool IsShellWindow(HWND hwnd);

}  // namespace platform::shell
