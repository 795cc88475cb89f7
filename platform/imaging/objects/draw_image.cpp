#include "platform/imaging/objects/draw_image.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/pixel_blit_api.h"
#include "platform/imaging/pixels/resample.h"

namespace platform::imaging {

namespace {

// One axis of a draw: destination pixels [lo, hi) show source [s0, s1), reversed if mirrored.
struct AxisMap {
    int lo = 0;
    int hi = 0;
    bool mirror = false;
    double s0 = 0;
    double s1 = 0;
    // The visible destination pixels and the source span they show.
    int visibleLo = 0;
    int visibleHi = 0;
    double sourceLo = 0;
    double sourceHi = 0;

    bool Clip(int clipLo, int clipHi) {
        visibleLo = std::max(lo, clipLo);
        visibleHi = std::min(hi, clipHi);
        if (visibleLo >= visibleHi)
            return false;
        const double k = (s1 - s0) / (hi - lo);
        sourceLo = mirror ? s0 + (hi - visibleHi) * k : s0 + (visibleLo - lo) * k;
        sourceHi = mirror ? s0 + (hi - visibleLo) * k : s0 + (visibleHi - lo) * k;
        return true;
    }
    // The size of the whole picture at the scale this axis is drawn at, within 1..full.
    int NeededSize(int full) const {
        const double scaled = std::ceil(full * (hi - lo) / (s1 - s0) - 1e-9);
        return static_cast<int>(std::clamp(scaled, 1.0, static_cast<double>(full)));
    }
};

AxisMap MapAxis(int d0, int d1, int s0, int s1) {
    AxisMap axis;
    axis.lo = std::min(d0, d1);
    axis.hi = std::max(d0, d1);
    axis.mirror = d1 < d0;
    axis.s0 = s0;
    axis.s1 = s1;
    return axis;
}

PixelFormatID BufferFormatFor(platform::PixelFormat surface, bool hasAlpha) {
    if (hasAlpha)
        return PixelFormat32bppPARGB;
    switch (surface) {
        case platform::PixelFormat::Rgb565:
            return PixelFormat16bppRGB565;
        case platform::PixelFormat::Rgb555:
            return PixelFormat16bppRGB555;
        default:
            return PixelFormat24bppRGB;
    }
}

platform::PixelFormat GdiFormatOf(PixelFormatID format) {
    switch (format) {
        case PixelFormat16bppRGB565:
            return platform::PixelFormat::Rgb565;
        case PixelFormat16bppRGB555:
            return platform::PixelFormat::Rgb555;
        case PixelFormat24bppRGB:
            return platform::PixelFormat::Bgr24;
        default:
            return platform::PixelFormat::Bgra32;
    }
}

// The source span of one axis in the delivered raster, which may be smaller than the picture.
void ScaleSpan(double lo, double hi, int full, int delivered, double* outLo, double* outHi) {
    const double k = static_cast<double>(delivered) / full;
    *outLo = std::clamp(lo * k, 0.0, static_cast<double>(delivered));
    *outHi = std::clamp(hi * k, *outLo, static_cast<double>(delivered));
    if (*outHi - *outLo < 1e-6)  // a sliver still shows the pixel under it
        *outHi = std::min(*outLo + 1e-6, static_cast<double>(delivered));
}

}  // namespace

HRESULT DrawImage(HDC hdc, const RECT* dst, const RECT* src, int width, int height, bool hasAlpha,
                  const DrawRasterSource& raster) {
    platform::DrawSurfaceInfo surface;
    if (!dst || width <= 0 || height <= 0 || !platform::QueryDrawSurface(hdc, &surface))
        return E_INVALIDARG;
    const RECT whole{0, 0, width, height};
    const RECT from = src ? *src : whole;
    if (from.left < 0 || from.top < 0 || from.right > width || from.bottom > height ||
        from.left >= from.right || from.top >= from.bottom)
        return E_INVALIDARG;
    AxisMap x = MapAxis(dst->left, dst->right, from.left, from.right);
    AxisMap y = MapAxis(dst->top, dst->bottom, from.top, from.bottom);
    if (x.lo == x.hi || y.lo == y.hi || !x.Clip(surface.clipBox.left, surface.clipBox.right) ||
        !y.Clip(surface.clipBox.top, surface.clipBox.bottom))
        return S_OK;

    PixelBuffer scratch;
    RasterView pixels;
    HRESULT hr = raster(x.NeededSize(width), y.NeededSize(height), &scratch, &pixels);
    if (FAILED(hr))
        return hr;
    SourceRect area;
    ScaleSpan(x.sourceLo, x.sourceHi, width, pixels.width, &area.left, &area.right);
    ScaleSpan(y.sourceLo, y.sourceHi, height, pixels.height, &area.top, &area.bottom);

    PixelBuffer visible;
    const PixelFormatID format = BufferFormatFor(surface.format, hasAlpha);
    hr = PixelBuffer::Allocate(x.visibleHi - x.visibleLo, y.visibleHi - y.visibleLo, format,
                               &visible);
    if (SUCCEEDED(hr))
        hr = Resample(pixels, area, visible.View(), InterpolationHintDefault);
    if (FAILED(hr))
        return hr;
    const platform::PixelView view{visible.Data(), visible.Stride(), visible.Width(),
                                   visible.Height(), GdiFormatOf(format)};
    return platform::DrawPixels(hdc, x.visibleLo, y.visibleLo, view, x.mirror, y.mirror, hasAlpha)
               ? S_OK
               : E_FAIL;
}

}  // namespace platform::imaging
