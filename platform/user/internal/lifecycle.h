// The end of a window's life and its publication to other processes.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// Sends WM_NCDESTROY to the window's descendants (deepest first) and then to the window, and
// frees them all: their handles stop being valid.
void SendNcDestroyAndFree(HWND hwnd);

// A top-level window with a class name and a title can be found by other processes.
void PublishIfNamed(Window& w);
void Unpublish(Window& w);

}  // namespace platform::wm
