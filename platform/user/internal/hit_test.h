// Which window is under a point of the screen.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// The deepest shown window under `screenPoint`, looking at children before their parent and
// at the top of the z-order first. A disabled child passes the point to its parent; a
// disabled top-level window takes it and null is returned, so a stylus tap never falls through
// to a window below. Null over the bare desktop.
Window* HitTest(POINT screenPoint);

}  // namespace platform::wm
