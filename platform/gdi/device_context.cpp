#include "platform/gdi/device_context.h"

#include "platform/core/error.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/geometry.h"
#include "platform/gdi/stock_objects.h"

namespace platform {
namespace {

PixelView SurfaceView(Surface& surface) {
    const auto needed = static_cast<std::size_t>(surface.stride) * surface.height;
    if (surface.width <= 0 || surface.height <= 0 || surface.stride < surface.width ||
        surface.pixels.size() < needed) {
        return {};
    }
    PixelView view;
    view.top = reinterpret_cast<std::uint8_t*>(surface.pixels.data());
    view.stride = static_cast<std::ptrdiff_t>(surface.stride) * 2;
    view.width = surface.width;
    view.height = surface.height;
    view.format = PixelFormat::Rgb565;
    return view;
}

}  // namespace

std::shared_ptr<DeviceContext> DeviceContext::ForSurface(Surface& surface, POINT origin,
                                                         const RECT& clip) {
    auto dc = std::make_shared<DeviceContext>();
    dc->surface_ = &surface;
    dc->origin_ = origin;
    dc->surfaceClip_ = clip;
    return dc;
}

std::shared_ptr<DeviceContext> DeviceContext::ForMemory() {
    auto dc = std::make_shared<DeviceContext>();
    dc->bitmap_ = {DefaultBitmapHandle(), DefaultBitmap()};
    return dc;
}

DeviceContext::DeviceContext() : GdiObject(GdiKind::DeviceContext) {
    const HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    SelectBrush(white, LookupGdiObjectAs<Brush>(white));
    const HGDIOBJ systemFont = GetStockObject(SYSTEM_FONT);
    SelectFont(systemFont, LookupGdiObjectAs<Font>(systemFont));
    const HGDIOBJ blackPen = GetStockObject(BLACK_PEN);
    SelectPen(blackPen, LookupGdiObjectAs<Pen>(blackPen));
}

DeviceContext::~DeviceContext() {
    if (brush_.object)
        brush_.object->RemoveSelection();
    if (font_.object)
        font_.object->RemoveSelection();
    if (pen_.object)
        pen_.object->RemoveSelection();
    if (bitmap_.object && bitmap_.object != DefaultBitmap())
        bitmap_.object->RemoveSelection();
}

DrawTarget DeviceContext::Target() const {
    DrawTarget target;
    if (surface_) {
        target.pixels = SurfaceView(*surface_);
        target.origin = origin_;
        const RECT bounds{0, 0, target.pixels.width, target.pixels.height};
        target.clip = IntersectRects(surfaceClip_, bounds);
        return target;
    }
    target.pixels = bitmap_.object->View();
    // The default bitmap is shared by every memory DC, so drawing into it is dropped.
    if (bitmap_.object != DefaultBitmap()) {
        target.clip = RECT{0, 0, target.pixels.width, target.pixels.height};
    }
    return target;
}

HGDIOBJ DeviceContext::SelectBrush(HGDIOBJ handle, std::shared_ptr<Brush> brush) {
    brush->AddSelection();
    if (brush_.object)
        brush_.object->RemoveSelection();
    const HGDIOBJ previous = brush_.handle;
    brush_ = {handle, std::move(brush)};
    return previous;
}

HGDIOBJ DeviceContext::SelectFont(HGDIOBJ handle, std::shared_ptr<Font> font) {
    font->AddSelection();
    if (font_.object)
        font_.object->RemoveSelection();
    const HGDIOBJ previous = font_.handle;
    font_ = {handle, std::move(font)};
    return previous;
}

HGDIOBJ DeviceContext::SelectPen(HGDIOBJ handle, std::shared_ptr<Pen> pen) {
    pen->AddSelection();
    if (pen_.object)
        pen_.object->RemoveSelection();
    const HGDIOBJ previous = pen_.handle;
    pen_ = {handle, std::move(pen)};
    return previous;
}

HGDIOBJ DeviceContext::SelectBitmap(HGDIOBJ handle, std::shared_ptr<Bitmap> bitmap) {
    if (!IsMemory())
        return nullptr;
    const HGDIOBJ previous = bitmap_.handle;
    if (bitmap == bitmap_.object)
        return previous;
    if (bitmap != DefaultBitmap() && !bitmap->TryAddOnlySelection())
        return nullptr;
    if (bitmap_.object != DefaultBitmap())
        bitmap_.object->RemoveSelection();
    bitmap_ = {handle, std::move(bitmap)};
    return previous;
}

std::shared_ptr<DeviceContext> LookupDC(HDC hdc) {
    auto dc = LookupGdiObjectAs<DeviceContext>(ToGdiHandle(hdc));
    if (!dc)
        SetLastError(ERROR_INVALID_HANDLE);
    return dc;
}

}  // namespace platform
