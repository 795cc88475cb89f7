// Drawing ready-made pixels into a device context 1:1, for the imaging service: it resamples a
// picture to the visible size itself and needs only the DC's clip box, surface format and a
// copy (or premultiplied blend) through the DC's clip and origin.
#pragma once

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/pixel_format.h"

namespace platform {

struct DrawSurfaceInfo {
    RECT clipBox{0, 0, 0, 0};  // logical coordinates; empty when nothing can be drawn
    PixelFormat format = PixelFormat::Rgb565;
};

// False (ERROR_INVALID_HANDLE) for a handle that is no DC.
bool QueryDrawSurface(HDC hdc, DrawSurfaceInfo* info);

// Puts `pixels` with its top-left corner at logical (x, y), mirrored left-right and/or
// upside-down when asked, through the DC's clip. With `premultipliedAlpha` the pixels must be
// 32-bit premultiplied and are blended over the destination; otherwise they are copied.
BOOL DrawPixels(HDC hdc, int x, int y, const PixelView& pixels, bool mirrorX, bool mirrorY,
                bool premultipliedAlpha);

}  // namespace platform
