// Update rectangles and the WM_PAINT side of retrieval.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// Adds to the update rectangle; a null rectangle means the whole client area. `frame` also
// marks the border for redrawing.
void InvalidateClient(Window& w, const RECT* clientRect, bool erase, bool frame = false);
void InvalidateWhole(Window& w);
// Everything shown in this part of the screen is painted again, the desktop included.
void InvalidateScreenArea(const RECT& screenRect);
void ClearUpdate(Window& w);
// After drawing `screenArea` of `w`: the windows drawn after it that overlap it paint again.
void RepaintDrawnAfter(Window& w, const RECT& screenArea);

// The first window in painting order that is shown, has an update rectangle and is accepted
// by `filter` (null, or the window or one of its ancestors).
Window* NextWindowToPaint(HWND filter);
// After WM_PAINT was handled: a window that did not validate is validated, so that a window
// procedure that ignores WM_PAINT does not get it again forever.
void FinishPaint(HWND hwnd, unsigned validationsBefore);

}  // namespace platform::wm
