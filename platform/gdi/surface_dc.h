// How the window layer gets device contexts on the screen: a DC drawing into the display's
// surface at a window's client origin, clipped to the part of the window that may be painted.
#pragma once

#include "platform/core/types.h"
#include "platform/display/backend.h"

namespace platform {

// `origin` and `clip` are in screen coordinates; drawing at logical (0, 0) lands on `origin`.
// Released with DeleteDC (or ReleaseDC/EndPaint in the window layer, which call DeleteDC).
HDC CreateSurfaceDC(Surface& surface, POINT origin, const RECT& clip);

}  // namespace platform
