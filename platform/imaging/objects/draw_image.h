// IImage::Draw for every image object: only the part of the destination inside the DC's clip is
// computed, resampled from the matching fractional source area and put 1:1 into the DC.
#pragma once

#include <functional>

#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

// The pixels Draw samples: any size from minWidth x minHeight up to the picture's own (a
// picture decodes at the cheapest scale that covers it; a bitmap gives its pixels). `scratch`
// holds them when they had to be made.
using DrawRasterSource =
    std::function<HRESULT(int minWidth, int minHeight, PixelBuffer* scratch, RasterView* view)>;

// `src` in picture pixels (null = the whole picture, else non-empty and inside it); `dst` may run
// right-to-left and/or bottom-to-top to mirror the picture (both: a 180-degree turn).
// E_INVALIDARG for a bad DC or rectangle; S_OK without drawing when nothing is visible.
HRESULT DrawImage(HDC hdc, const RECT* dst, const RECT* src, int width, int height, bool hasAlpha,
                  const DrawRasterSource& raster);

}  // namespace platform::imaging
