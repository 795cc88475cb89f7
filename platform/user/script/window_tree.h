// Reading this process's windows through the public window API, for state dumps, and closing
// the program from a script or a termination signal.
#pragma once

#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform {

// The top-level windows of this process, topmost first (UI thread).
std::vector<HWND> TopLevelWindows();

// The window tree (UI thread) as a JSON array: each window {"class", "title", "rect", "visible",
// "foreground", "children"}, siblings in z-order.
std::string WindowTreeJson();

// Posts WM_CLOSE to every top-level window, so that the program's normal shutdown order runs.
// Any thread: the broadcast is resolved into windows when the UI thread retrieves it.
void PostCloseToTopLevelWindows();

}  // namespace platform
