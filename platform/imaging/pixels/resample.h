// Scaling pictures between sizes. One separable filter engine: the default hint averages the
// source area under each destination pixel when shrinking and interpolates linearly when
// enlarging; bicubic uses a cubic kernel widened by the shrink factor. Nearest takes one sample.
#pragma once

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// A source rectangle with fractional edges, in source pixels.
struct SourceRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Fills every pixel of `dest` from `area` of `source` (any stored formats; dest not indexed).
// `area` must lie inside the source and be non-empty. Alpha is filtered premultiplied, so
// transparent pixels do not bleed their colour. E_OUTOFMEMORY when working rows cannot be had.
HRESULT Resample(const RasterView& source, const SourceRect& area, const RasterView& dest,
                 InterpolationHint hint);

// The whole of `source` into the whole of `dest`.
HRESULT Resample(const RasterView& source, const RasterView& dest, InterpolationHint hint);

}  // namespace platform::imaging
