// The busy indicator the wait cursor stands for: a ring turning in the middle of the screen.
#pragma once

#include "platform/core/types.h"

namespace platform::shell {

// Shows it and draws it at once (the UI thread may not pump for a while after SetCursor).
void ShowBusyIndicator();
// Removes it; the windows under it paint again.
void HideBusyIndicator();
HWND BusyIndicatorWindow();

}  // namespace platform::shell
