// StretchBlt, TransparentImage and AlphaBlend: the blits that may change the picture's size.
#include "platform/core/error.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/raster_stretch.h"
#include "platform/gdi/stretch_plan.h"

namespace {

using platform::StretchExtent;
namespace raster = platform::raster;

// The pixels a blit reads: a DC's (at its origin) or a bitmap's own.
struct Source {
    platform::PixelView pixels;
    POINT origin{0, 0};
    std::shared_ptr<platform::GdiObject> owner;  // keeps the pixels alive for the call
};

bool ResolveSource(HANDLE handle, Source& source) {
    auto object = platform::LookupGdiObject(handle);
    if (object && object->Kind() == platform::GdiKind::DeviceContext) {
        const platform::DrawTarget target = static_cast<platform::DeviceContext&>(*object).Target();
        source.pixels = target.pixels;
        source.origin = target.origin;
    } else if (object && object->Kind() == platform::GdiKind::Bitmap) {
        source.pixels = static_cast<platform::Bitmap&>(*object).View();
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    source.owner = std::move(object);
    return true;
}

bool AnyNegative(std::initializer_list<int> values) {
    for (int v : values) {
        if (v < 0)
            return true;
    }
    return false;
}

}  // namespace

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                int widthSource, int heightSource, DWORD rop) {
    const auto destDc = platform::LookupDC(dest);
    if (!destDc)
        return FALSE;
    const std::uint8_t rop3 = raster::Rop3(rop);
    if (!raster::UsesSource(rop3)) {
        // The same pixels a stretch would cover, whichever way the extents run.
        const int left = width < 0 ? x + width + 1 : x;
        const int top = height < 0 ? y + height + 1 : y;
        return PatBlt(dest, left, top, width < 0 ? -width : width, height < 0 ? -height : height,
                      rop);
    }
    Source from;
    if (!ResolveSource(platform::ToGdiHandle(source), from))
        return FALSE;
    const auto& brush = destDc->SelectedBrush().object;
    if (raster::UsesPattern(rop3) && brush->IsNull())
        return TRUE;
    const platform::DrawTarget to = destDc->Target();
    const platform::StretchPlan plan =
        platform::PlanStretch(to, StretchExtent{x, y, width, height}, from.pixels, from.origin,
                              StretchExtent{xSource, ySource, widthSource, heightSource});
    raster::StretchCopy(to.pixels, plan, from.pixels, rop3, brush->Color());
    return TRUE;
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE source, int xSource,
                      int ySource, int widthSource, int heightSource, COLORREF transparent) {
    const auto destDc = platform::LookupDC(dest);
    if (!destDc)
        return FALSE;
    if (AnyNegative({width, height, widthSource, heightSource})) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Source from;
    if (!ResolveSource(source, from))
        return FALSE;
    const platform::DrawTarget to = destDc->Target();
    const platform::StretchPlan plan =
        platform::PlanStretch(to, StretchExtent{x, y, width, height}, from.pixels, from.origin,
                              StretchExtent{xSource, ySource, widthSource, heightSource});
    raster::StretchKeyed(to.pixels, plan, from.pixels, transparent & 0x00FFFFFF);
    return TRUE;
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                int widthSource, int heightSource, BLENDFUNCTION blend) {
    const auto destDc = platform::LookupDC(dest);
    if (!destDc)
        return FALSE;
    const bool perPixel = blend.AlphaFormat == AC_SRC_ALPHA;
    if (blend.BlendOp != AC_SRC_OVER || blend.BlendFlags != 0 ||
        (blend.AlphaFormat != 0 && !perPixel) ||
        AnyNegative({width, height, widthSource, heightSource})) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Source from;
    if (!ResolveSource(platform::ToGdiHandle(source), from))
        return FALSE;
    // Per-pixel alpha needs a source that has an alpha channel.
    if (perPixel && from.pixels.format != platform::PixelFormat::Bgra32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const platform::DrawTarget to = destDc->Target();
    const platform::StretchPlan plan =
        platform::PlanStretch(to, StretchExtent{x, y, width, height}, from.pixels, from.origin,
                              StretchExtent{xSource, ySource, widthSource, heightSource});
    raster::StretchBlend(to.pixels, plan, from.pixels,
                         raster::Blend{blend.SourceConstantAlpha, perPixel});
    return TRUE;
}
