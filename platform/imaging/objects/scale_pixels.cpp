#include "platform/imaging/objects/scale_pixels.h"

#include "platform/imaging/pixels/convert.h"
#include "platform/imaging/pixels/resample.h"

namespace platform::imaging {

namespace {

// The stored format closest to a header format the decoders may report but do not store
// (1 and 4 bits per pixel, ARGB1555 ...).
PixelFormatID NearestStored(PixelFormatID format) {
    if (IsStoredPixelFormat(format))
        return format;
    if (IsIndexedPixelFormat(format))
        return PixelFormat8bppIndexed;
    return IsAlphaPixelFormat(format) ? PixelFormat32bppARGB : PixelFormat24bppRGB;
}

}  // namespace

HRESULT ResolveTargetFormat(PixelFormatID source, PixelFormatID requested, bool keepsSize,
                            PixelFormatID* target) {
    if (requested == PixelFormatDontCare) {
        const PixelFormatID own = NearestStored(source);
        *target = (own == PixelFormat8bppIndexed && !keepsSize) ? PixelFormat32bppARGB : own;
        return S_OK;
    }
    if (!IsStoredPixelFormat(requested))
        return IMGERR_NOCONVERSION;
    if (IsIndexedPixelFormat(requested) &&
        (!keepsSize || NearestStored(source) != PixelFormat8bppIndexed))
        return IMGERR_NOCONVERSION;
    *target = requested;
    return S_OK;
}

HRESULT ScalePixels(const RasterView& source, int width, int height, PixelFormatID format,
                    InterpolationHint hint, PixelBuffer* out) {
    if (source.Empty() || width <= 0 || height <= 0)
        return E_INVALIDARG;
    const bool sameSize = width == source.width && height == source.height;
    if (sameSize ? !CanConvert(source.format, format) : IsIndexedPixelFormat(format))
        return IMGERR_NOCONVERSION;
    PixelBuffer made;
    HRESULT hr = PixelBuffer::Allocate(width, height, format, &made);
    if (FAILED(hr))
        return hr;
    if (IsIndexedPixelFormat(format) && source.palette)
        made.ColorTable() = *source.palette;
    if (sameSize) {
        if (!ConvertPixels(source, made.View()))
            return IMGERR_NOCONVERSION;
    } else {
        hr = Resample(source, made.View(), hint);
        if (FAILED(hr))
            return hr;
    }
    *out = std::move(made);
    return S_OK;
}

}  // namespace platform::imaging
