// Cursors. The device has no pointer: the wait cursor is shown as the busy indicator, a ring
// turning in the middle of the screen; any other cursor removes it.
#pragma once

#include "platform/core/types.h"
#include "platform/user/resource.h"

inline const LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);
inline const LPCWSTR IDC_WAIT = MAKEINTRESOURCEW(32514);

// The system cursors IDC_ARROW and IDC_WAIT; null with ERROR_RESOURCE_NAME_NOT_FOUND otherwise.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR cursorName);
// Returns the previous cursor. The wait cursor is drawn at once, so that long work on the UI
// thread that follows still shows it.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
