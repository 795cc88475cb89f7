// Fills, pattern operations, blits and single pixels on any device context.
#include "platform/core/error.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/geometry.h"
#include "platform/gdi/raster.h"

namespace {

using platform::Box;
using platform::DrawTarget;
namespace raster = platform::raster;

// The device rectangle a logical box covers, cut to the target's clip.
Box DeviceBox(const DrawTarget& target, const Box& logical) {
    return logical.Offset(target.origin.x, target.origin.y).Intersect(Box::From(target.clip));
}

// The device position of logical (x, y); false outside the clip.
bool DevicePoint(const DrawTarget& target, int x, int y, POINT& at) {
    const std::int64_t dx = std::int64_t{x} + target.origin.x;
    const std::int64_t dy = std::int64_t{y} + target.origin.y;
    if (!Box::From(target.clip).Contains(dx, dy))
        return false;
    at = POINT{static_cast<LONG>(dx), static_cast<LONG>(dy)};
    return true;
}

// A negative extent puts the rectangle on the other side of its start, as GDI takes it.
struct Extent {
    std::int64_t x, y, width, height, sourceX, sourceY;

    void Normalize() {
        if (width < 0) {
            x += width;
            sourceX += width;
            width = -width;
        }
        if (height < 0) {
            y += height;
            sourceY += height;
            height = -height;
        }
    }
};

// The destination-only part of PatBlt and BitBlt; the null brush paints nothing.
void ApplyPattern(const platform::DeviceContext& dc, const Box& logical, std::uint8_t rop3) {
    const DrawTarget target = dc.Target();
    const auto& brush = dc.SelectedBrush().object;
    if (raster::UsesPattern(rop3) && brush->IsNull())
        return;
    raster::PatternOp(target.pixels, DeviceBox(target, logical).ToRect(), rop3, brush->Color());
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return 0;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const platform::BrushPaint paint = platform::ResolveBrush(brush);
    if (!paint.valid) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!paint.visible)
        return 1;
    const DrawTarget target = dc->Target();
    raster::Fill(target.pixels, DeviceBox(target, Box::From(*rect)).ToRect(), paint.color);
    return 1;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return FALSE;
    const std::uint8_t rop3 = raster::Rop3(rop);
    if (raster::UsesSource(rop3)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Extent e{x, y, width, height, 0, 0};
    e.Normalize();
    ApplyPattern(*dc, Box::FromExtent(e.x, e.y, e.width, e.height), rop3);
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
            DWORD rop) {
    const auto destDc = platform::LookupDC(dest);
    if (!destDc)
        return FALSE;
    const std::uint8_t rop3 = raster::Rop3(rop);
    Extent e{x, y, width, height, xSource, ySource};
    e.Normalize();
    const Box logical = Box::FromExtent(e.x, e.y, e.width, e.height);
    if (!raster::UsesSource(rop3)) {
        ApplyPattern(*destDc, logical, rop3);
        return TRUE;
    }
    const auto sourceDc = platform::LookupDC(source);
    if (!sourceDc)
        return FALSE;
    const auto& brush = destDc->SelectedBrush().object;
    if (raster::UsesPattern(rop3) && brush->IsNull())
        return TRUE;

    const DrawTarget to = destDc->Target();
    const DrawTarget from = sourceDc->Target();
    // Device offset from a destination pixel to its source pixel; the source is clipped to its
    // pixels, the destination to its clip, and each cut carries over to the other side.
    const std::int64_t dx = (e.sourceX + from.origin.x) - (e.x + to.origin.x);
    const std::int64_t dy = (e.sourceY + from.origin.y) - (e.y + to.origin.y);
    const Box sourceBounds{0, 0, from.pixels.width, from.pixels.height};
    const Box area = DeviceBox(to, logical).Intersect(sourceBounds.Offset(-dx, -dy));
    if (area.Empty())
        return TRUE;
    const POINT sourceTopLeft{static_cast<LONG>(area.left + dx), static_cast<LONG>(area.top + dy)};
    raster::Blit(to.pixels, area.ToRect(), from.pixels, sourceTopLeft, rop3, brush->Color());
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return CLR_INVALID;
    const DrawTarget target = dc->Target();
    POINT at;
    if (!DevicePoint(target, x, y, at))
        return CLR_INVALID;
    return raster::ReadPixel(target.pixels, at.x, at.y);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    const auto dc = platform::LookupDC(hdc);
    if (!dc)
        return CLR_INVALID;
    const DrawTarget target = dc->Target();
    POINT at;
    if (!DevicePoint(target, x, y, at))
        return CLR_INVALID;
    return raster::WritePixel(target.pixels, at.x, at.y, color & 0x00FFFFFF);
}
