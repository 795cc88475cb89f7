// Keyboard focus, stylus capture, activation and the foreground window, and the key state.
#pragma once

#include "platform/core/types.h"
#include "platform/user/window.h"

// Each returns the previous window (null when there was none or on failure).
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();

HWND GetForegroundWindow();
// A handle with its low bit set, (HWND)((ULONG_PTR)hwnd | 1), brings the window and its owned
// pop-ups to the front and activates the topmost of them. Windows of other processes are
// asked to come to the front themselves.
BOOL SetForegroundWindow(HWND hwnd);

// The high bit is set while the key is down (UI thread: as of the last key message taken from
// the queue; GetAsyncKeyState, any thread: as of now).
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
