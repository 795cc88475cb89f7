// A bitmap of exactly the size and format asked, made from any IImage: pictures are decoded at
// the cheapest scale that still covers the size, then resampled; bitmaps are resampled; other
// images are pushed into a bitmap first.
#pragma once

#include "platform/imaging/imaging.h"

namespace platform::imaging {

// Exactly `width` x `height` (E_INVALIDARG for 0) in `format` (0 keeps the image's own; an
// indexed image at its own size stays indexed, at another size becomes 32bppARGB; an explicit
// indexed format at another size is IMGERR_NOCONVERSION). E_OUTOFMEMORY from the memory budget
// is passed on as is, so callers can retry smaller.
HRESULT BitmapFromImage(IImage* image, UINT width, UINT height, PixelFormatID format,
                        InterpolationHint hint, IBitmapImage** bitmap);

}  // namespace platform::imaging
