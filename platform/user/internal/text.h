// DefWindowProcW's side of the window text.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// Stores a new title (null means empty) and publishes it again if the window was published.
void StoreText(Window& w, LPCWSTR text);
// Copies the title into `buffer` of `capacity` units, truncated and terminated; the units
// copied without the terminator.
LRESULT CopyText(const Window& w, WPARAM capacity, LPARAM buffer);

}  // namespace platform::wm
