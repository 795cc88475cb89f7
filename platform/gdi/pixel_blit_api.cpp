#include "platform/gdi/pixel_blit_api.h"

#include "platform/core/error.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/raster_stretch.h"
#include "platform/gdi/stretch_plan.h"

namespace platform {

bool QueryDrawSurface(HDC hdc, DrawSurfaceInfo* info) {
    const auto dc = LookupDC(hdc);
    if (!dc || !info)
        return false;
    const DrawTarget target = dc->Target();
    info->format = target.pixels.format;
    info->clipBox = RECT{target.clip.left - target.origin.x, target.clip.top - target.origin.y,
                         target.clip.right - target.origin.x, target.clip.bottom - target.origin.y};
    return true;
}

BOOL DrawPixels(HDC hdc, int x, int y, const PixelView& pixels, bool mirrorX, bool mirrorY,
                bool premultipliedAlpha) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (pixels.Empty() || (premultipliedAlpha && pixels.format != PixelFormat::Bgra32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // At equal sizes the plan maps column i to i (or to width - 1 - i when mirrored): a negative
    // source extent runs back from its start.
    const StretchExtent from{mirrorX ? pixels.width - 1 : 0, mirrorY ? pixels.height - 1 : 0,
                             mirrorX ? -pixels.width : pixels.width,
                             mirrorY ? -pixels.height : pixels.height};
    const DrawTarget to = dc->Target();
    const StretchPlan plan = PlanStretch(to, StretchExtent{x, y, pixels.width, pixels.height},
                                         pixels, POINT{0, 0}, from);
    if (premultipliedAlpha)
        raster::StretchBlend(to.pixels, plan, pixels, raster::Blend{255, true});
    else
        raster::StretchCopy(to.pixels, plan, pixels, raster::Rop3(SRCCOPY), 0);
    return TRUE;
}

}  // namespace platform
