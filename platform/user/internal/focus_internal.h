// Activation and focus changes made by the window layer itself.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// Whether top-level window `w` may become the active window: enabled, not being destroyed,
// not WS_EX_NOACTIVATE and, where `mustBeShown`, shown.
bool CanActivate(const Window& w, bool mustBeShown);
// Activates top-level window `w` (WM_ACTIVATE to the old and the new window), brings it to the
// top and gives it the focus unless it already holds it. Returns the previously active window.
HWND Activate(Window& w, WORD how);
// Before `w` is hidden or destroyed: focus, capture and activation leave it and its
// descendants (activation goes to its owner or the topmost other window).
void MoveFocusAway(Window& w);
// Key state: `async` is the state as of now; otherwise as of the last key message retrieved.
void SetKeyDown(UINT vk, bool down, bool async);
bool IsKeyDown(UINT vk, bool async);

}  // namespace platform::wm
