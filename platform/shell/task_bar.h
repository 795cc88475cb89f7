// The task bar along the top of the screen: the foreground window's title, a clock and the OK
// (Done) button. Started once by the host; it ends when the last program window is gone.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

constexpr DWORD SHDB_SHOW = 0x0001;
constexpr DWORD SHDB_HIDE = 0x0002;
constexpr DWORD SHDB_SHOWCANCEL = 0x0004;

// Shows or hides the OK button of `hwnd` (SHDB_SHOWCANCEL shows an "x" that sends IDCANCEL).
// The button is seen while `hwnd` is the foreground window.
BOOL SHDoneButton(HWND hwndRequester, DWORD dwState);

namespace platform {
// Idempotent; the UI thread calls it before the program creates its windows.
void StartShell();
// True while the task bar exists.
bool ShellRunning();
// Brings the task bar and the menu bars up to date at once. The shell does this by itself on
// input, on its own calls and a few times a second.
void RefreshShell();
}  // namespace platform
