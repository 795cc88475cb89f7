// Where the shell (platform/shell) hears of input and turns of the screen. The window layer does
// not depend on the shell: it calls whatever was registered, or nothing.
#pragma once

#include <functional>

#include "platform/core/types.h"

namespace platform {

struct ShellHooks {
    // Before a key message is queued: the window that should get it instead of `target` (the
    // menu bar takes the soft keys), or `target` itself.
    std::function<HWND(UINT vk, bool down, HWND target)> routeKey;
    // After an input event was turned into messages (a tap may have activated a window).
    std::function<void()> afterInput;
    // After the screen turned and the windows that filled it were resized, before the windows
    // are told; `oldScreen` and `oldWork` are the rectangles before the turn.
    std::function<void(const RECT& oldScreen, const RECT& oldWork)> afterTurn;
};

// UI thread. Replaces the hooks registered before; empty members do nothing.
void SetShellHooks(ShellHooks hooks);
const ShellHooks& GetShellHooks();

}  // namespace platform
