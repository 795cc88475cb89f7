// The bitmap's IBasicBitmapOps: new bitmaps from Clone, Flip, Rotate and Resize, and the tonal
// adjustments in place.
#include <cmath>

#include "platform/imaging/objects/bitmap_object.h"
#include "platform/imaging/objects/scale_pixels.h"
#include "platform/imaging/pixels/bitmap_ops.h"

namespace platform::imaging {

namespace {

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// Clockwise quarter turns 0..3 for a multiple of 90 degrees, or -1 for any other angle.
int QuarterTurns(FLOAT angle) {
    if (!std::isfinite(angle))
        return -1;
    const double turns = static_cast<double>(angle) / 90.0;
    if (turns != std::floor(turns))
        return -1;
    const double normalised = std::fmod(turns, 4.0);
    return static_cast<int>(normalised < 0 ? normalised + 4 : normalised);
}

}  // namespace

HRESULT BitmapObject::Clone(const RECT* rect, IBitmapImage** outBitmap, BOOL cloneProperties) {
    if (!outBitmap)
        return E_POINTER;
    *outBitmap = nullptr;
    std::lock_guard guard(mutex_);
    const RECT whole{0, 0, pixels_.Width(), pixels_.Height()};
    const RECT area = rect ? Intersect(*rect, whole) : whole;
    if (area.left >= area.right || area.top >= area.bottom)
        return E_INVALIDARG;
    PixelBuffer copy;
    const HRESULT hr = ScalePixels(ViewOf(area), area.right - area.left, area.bottom - area.top,
                                   pixels_.Format(), InterpolationHintDefault, &copy);
    if (FAILED(hr))
        return hr;
    return MakeBitmap(std::move(copy), cloneProperties != FALSE, outBitmap);
}

HRESULT BitmapObject::Flip(BOOL flipX, BOOL flipY, IBitmapImage** outBitmap) {
    if (!outBitmap)
        return E_POINTER;
    *outBitmap = nullptr;
    std::lock_guard guard(mutex_);
    PixelBuffer flipped;
    const HRESULT hr = FlipPixels(pixels_.View(), flipX != FALSE, flipY != FALSE, &flipped);
    if (FAILED(hr))
        return hr;
    return MakeBitmap(std::move(flipped), false, outBitmap);
}

HRESULT BitmapObject::Rotate(FLOAT angle, InterpolationHint, IBitmapImage** outBitmap) {
    if (!outBitmap)
        return E_POINTER;
    *outBitmap = nullptr;
    const int turns = QuarterTurns(angle);
    // Free angles are not offered; callers fall back to their own turning.
    if (turns < 0)
        return E_NOTIMPL;
    std::lock_guard guard(mutex_);
    PixelBuffer turned;
    const HRESULT hr = RotatePixels(pixels_.View(), turns, &turned);
    if (FAILED(hr))
        return hr;
    return MakeBitmap(std::move(turned), false, outBitmap);
}

HRESULT BitmapObject::Resize(UINT newWidth, UINT newHeight, PixelFormatID pixelFormat,
                             InterpolationHint hints, IBitmapImage** outBitmap) {
    if (!outBitmap)
        return E_POINTER;
    *outBitmap = nullptr;
    if (newWidth == 0 || newHeight == 0 || newWidth > INT32_MAX || newHeight > INT32_MAX)
        return E_INVALIDARG;
    std::lock_guard guard(mutex_);
    const int width = static_cast<int>(newWidth);
    const int height = static_cast<int>(newHeight);
    const bool keepsSize = width == pixels_.Width() && height == pixels_.Height();
    PixelFormatID format = PixelFormatUndefined;
    HRESULT hr = ResolveTargetFormat(pixels_.Format(), pixelFormat, keepsSize, &format);
    if (FAILED(hr))
        return hr;
    PixelBuffer scaled;
    hr = ScalePixels(pixels_.View(), width, height, format, hints, &scaled);
    if (FAILED(hr))
        return hr;
    return MakeBitmap(std::move(scaled), false, outBitmap);
}

HRESULT BitmapObject::AdjustBrightness(FLOAT percent) {
    std::lock_guard guard(mutex_);
    const HRESULT hr = CheckWritable();
    return FAILED(hr) ? hr : AdjustBrightnessPixels(pixels_.View(), &pixels_.ColorTable(), percent);
}

HRESULT BitmapObject::AdjustContrast(FLOAT shadow, FLOAT highlight) {
    std::lock_guard guard(mutex_);
    const HRESULT hr = CheckWritable();
    return FAILED(hr)
               ? hr
               : AdjustContrastPixels(pixels_.View(), &pixels_.ColorTable(), shadow, highlight);
}

HRESULT BitmapObject::AdjustGamma(FLOAT gamma) {
    std::lock_guard guard(mutex_);
    const HRESULT hr = CheckWritable();
    return FAILED(hr) ? hr : AdjustGammaPixels(pixels_.View(), &pixels_.ColorTable(), gamma);
}

}  // namespace platform::imaging
