// Calling window procedures on the UI thread.
#pragma once

#include "platform/core/types.h"

namespace platform::wm {

// Calls `hwnd`'s window procedure directly; 0 with ERROR_INVALID_WINDOW_HANDLE when the window
// is gone. Callers must look the window up again afterwards: the procedure may destroy it.
LRESULT SendLocal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::wm
